#pragma once

#include "ElementRecord.h"
#include "Program.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace testsupport {

// Moves the process into a fresh empty folder for the life of the object.
class ScratchFolder {
public:
    ScratchFolder() { QDir::setCurrent(dir_.path()); }
    ~ScratchFolder() { QDir::setCurrent(previous_); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_ = QDir::currentPath();
};

// Record N of the sample data: "Name<N>" (or `name`) as its chemical name, N as
// its atomic number and "Fusion<N>" as its heat of fusion.
inline orbitra::ElementRecord sampleRecord(int n, const char* name = nullptr) {
    orbitra::ElementRecord record;
    record.fields[0] = name ? name : "Name" + std::to_string(n);
    record.fields[1] = std::to_string(n);
    record.fields[13] = "Fusion" + std::to_string(n);
    return record;
}

// The 177 bytes of `record` on disk.
inline QByteArray recordBytes(const orbitra::ElementRecord& record) {
    const orbitra::RecordBytes encoded = orbitra::encodeRecord(record);
    return QByteArray(reinterpret_cast<const char*>(encoded.data()), orbitra::kRecordSize);
}

// A data file of the sample records 1..count.
inline QByteArray sampleDataFile(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        bytes += recordBytes(sampleRecord(n));
    }
    return bytes;
}

// What the system says when the data file is a folder.
inline QString folderMessage() {
#ifdef Q_OS_WIN
    // The system's text, in its language, for an operation on a directory where
    // it has one (wine has none, and the program then says it in English).
    const QString text = qt_error_string(336);  // ERROR_DIRECTORY_NOT_SUPPORTED
    return text.startsWith(u"Unknown error") ? QStringLiteral("It is a directory.") : text;
#else
    return qt_error_string(EISDIR);
#endif
}

// Makes `path` read-only for the life of the object, as a user without write
// rights meets it: root on Linux keeps to the file's mode meanwhile.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : path_(path) {
        QFile::setPermissions(path_, QFileDevice::ReadOwner);
        override(false);
    }
    ~ReadOnlyFile() {
        override(true);
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    static void override([[maybe_unused]] bool on) {
#ifdef Q_OS_LINUX
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] = {};
        syscall(SYS_capget, &header, data);
        data[0].effective = on ? data[0].permitted : data[0].effective & ~(1u << CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &header, data);
#endif
    }
    QString path_;
};

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) >= 0);
}
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Declares the one column "row" of a data-driven test and adds the rows, each a
// tag and a Row; the test function reads its row with QFETCH(Row, row).
template <typename Row>
void addRows(std::initializer_list<std::pair<const char*, Row>> rows) {
    QTest::addColumn<Row>("row");
    for (const auto& [tag, row] : rows) {
        QTest::newRow(tag) << row;
    }
}

// Runs `action`, closing each message box it opens; returns their texts, one
// after another ("" when none appeared).
template <typename Action>
QString messageBoxText(Action action) {
    QString text;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text += box->text();
            box->done(QMessageBox::Ok);
        }
    });
    timer.start(20);
    action();
    return text;
}

// The base of the window tests: each test function runs in a fresh empty
// folder, with a period.bio of `records` sample records and the program started
// on it.
class ProgramTest : public QObject {
    Q_OBJECT
public:
    explicit ProgramTest(int records) : records_(records) {}

protected:
    QString path() const { return folder_->file("period.bio"); }
    QByteArray file() const { return readFile(path()); }
    orbitra::main* window() const { return program_->mainWindow(); }

    // The window named `name` ("main", "Edit", "EditHelp", "About") while it is
    // shown, else null.
    template <typename Window = QWidget>
    static Window* shownWindow(const QString& name) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->objectName() == name) {
                return qobject_cast<Window*>(w);
            }
        }
        return nullptr;
    }
    // Chooses the entry `entry` of a menu of the window `window`, or presses its
    // button of that name, as a click does; returns the texts of the message
    // boxes it showed.
    static QString choose(const QString& window, const char* entry) {
        QWidget* owner = shownWindow(window);
        QObject* target = owner ? owner->findChild<QObject*>(entry) : nullptr;
        auto* action = qobject_cast<QAction*>(target);  // in a menu, or else a button
        if (!target || (action && action->associatedObjects().isEmpty())) {
            QTest::qFail(qPrintable(window + ": no entry " + entry), __FILE__, __LINE__);
            return {};
        }
        return messageBoxText(
            [&] { QMetaObject::invokeMethod(target, action ? "trigger" : "click"); });
    }

    std::unique_ptr<ScratchFolder> folder_;
    std::unique_ptr<orbitra::Program> program_;

protected Q_SLOTS:
    void initTestCase() {
        // The offscreen platform warns that it cannot pass on size hints or raise a
        // window; those lines say nothing about the program.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.contains("propagateSizeHints") && !message.contains("raise()")) {
                    previous(type, context, message);
                }
            });
    }
    void init() {
        folder_ = std::make_unique<ScratchFolder>();
        program_ = std::make_unique<orbitra::Program>();
        writeFile(path(), sampleDataFile(records_));
        QVERIFY(program_->start());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    void cleanup() {
        program_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        folder_.reset();
    }

private:
    const int records_;
};

}  // namespace testsupport
