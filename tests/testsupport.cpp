#include "testsupport.h"

#include <QApplication>
#include <QMessageBox>

namespace testsupport {

ScratchFolder::ScratchFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder() {
    QDir::setCurrent(previous_);
}

orbitra::ElementRecord sampleRecord(int n, const char* name) {
    orbitra::ElementRecord record;
    record.fields[0] = name ? name : "Name" + std::to_string(n);
    record.fields[1] = std::to_string(n);
    record.fields[13] = "Fusion" + std::to_string(n);
    return record;
}

QByteArray recordBytes(const orbitra::ElementRecord& record) {
    const orbitra::RecordBytes encoded = orbitra::encodeRecord(record);
    return QByteArray(reinterpret_cast<const char*>(encoded.data()), orbitra::kRecordSize);
}

QByteArray sampleDataFile(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        bytes += recordBytes(sampleRecord(n));
    }
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString messageBoxText(const std::function<void()>& action) {
    QString text;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text += box->text();
            box->done(QMessageBox::Ok);
        }
    });
    timer.start();
    action();
    return text;
}

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns that it cannot pass on size hints or raise a
// window; those lines say nothing about the program.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints")) &&
        !message.contains(QLatin1String("does not support raise()"))) {
        previousHandler(type, context, message);
    }
}

}  // namespace

void ProgramTest::initTestCase() {
    previousHandler = qInstallMessageHandler(quietHandler);
}

void ProgramTest::init() {
    folder_ = std::make_unique<ScratchFolder>();
    program_ = std::make_unique<orbitra::Program>();
    if (records_ >= 0) {
        writeFile(path(), sampleDataFile(records_));
        QVERIFY(program_->start());
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
}

void ProgramTest::cleanup() {
    program_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    folder_.reset();
}

}  // namespace testsupport
