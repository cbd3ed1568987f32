#include "Edit.h"
#include "ElementRecord.h"
#include "Program.h"
#include "TileBox.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace orbitra;
using testsupport::messageBoxText;
using testsupport::readFile;
using testsupport::ScratchFolder;
using testsupport::writeFile;

namespace {

QByteArray bytesOf(const ElementRecord& record) {
    const RecordBytes encoded = encodeRecord(record);
    return QByteArray(reinterpret_cast<const char*>(encoded.data()), kRecordSize);
}

// Record N holds "Name<N>", "<N>" and "Fusion<N>" in its first, second and last
// field, for records 1..count.
ElementRecord sample(int n) {
    ElementRecord record;
    record.fields[0] = "Name" + std::to_string(n);
    record.fields[1] = std::to_string(n);
    record.fields[13] = "Fusion" + std::to_string(n);
    return record;
}
QByteArray dataFile(int count) {
    QByteArray bytes;
    for (int n = 1; n <= count; ++n) {
        bytes += bytesOf(sample(n));
    }
    return bytes;
}

// The chemical name as the box shows it: padded to the field's 13 characters.
QString shownName(int n) {
    return QStringLiteral("Name%1").arg(n).leftJustified(13);
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testsupport::quietOffscreenWarnings(); }
    void init() { start(dataFile(13)); }
    void cleanup();

    void layout_data();
    void layout();
    void windowAndMenus();
    void focusTabAndKeys();

    void loadsAfterEachKeystroke();
    void loadReadsTheNumberStrictly_data();
    void loadReadsTheNumberStrictly();
    void saveWritesOneRecord_data();
    void saveWritesOneRecord();

    void refusedSaveKeepsEverything_data();
    void refusedSaveKeepsEverything();
    void failedWriteReportsAndKeepsText();

    void reopeningLoadsAfreshAndKeepsTilesWorking();
    void worksAfterMainWindowClosed();
    void worksWhenSecondOpeningFails();
    void aboutAndHelp();

private:
    // Starts the program on a data file holding `contents`, or on a data file
    // that is a link to /dev/full (every write fails), and opens the editor.
    void start(const QByteArray& contents, bool diskFull = false);
    QLineEdit* box(const char* name) const {
        return editor()->findChild<QLineEdit*>(QLatin1String(name));
    }
    Edit* editor() const { return program_->editor(); }
    QByteArray file() const { return readFile(folder_->file("period.bio")); }
    QString save() {
        return messageBoxText([this] {
            QTest::mouseClick(editor()->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
    }

    std::unique_ptr<ScratchFolder> folder_;
    std::unique_ptr<Program> program_;
};

void EditorTest::start(const QByteArray& contents, bool diskFull) {
    program_.reset();
    folder_.reset();
    folder_ = std::make_unique<ScratchFolder>();
    if (diskFull) {
        QVERIFY(QFile::link("/dev/full", folder_->file("period.bio")));
    } else {
        writeFile(folder_->file("period.bio"), contents);
    }
    program_ = std::make_unique<Program>();
    QVERIFY(program_->start());
    program_->showEditor();
    QVERIFY(QTest::qWaitForWindowExposed(editor()));
}

void EditorTest::cleanup() {
    program_.reset();
    folder_.reset();
}

void EditorTest::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("colour");
    const QColor field(0xC0, 0xFF, 0xFF);
    const QColor back(0xC0, 0xC0, 0xFF);
    const auto row = [](const char* name, const char* caption, QRect place, QColor colour) {
        QTest::newRow(name) << QString(name) << QString(caption) << place << colour;
    };
    row("cname", "", twipsRect(1560, 240, 1700, 330), field);
    row("cHF", "", twipsRect(2040, 3360, 1200, 330), field);
    row("Text1", "", twipsRect(3960, 2880, 1695, 375), QColor(0xC0, 0xFF, 0xC0));
    row("Label15", "Boiling Point:", twipsRect(120, 1680, 1095, 375), back);
    row("Label33", "Electron Configuration:", twipsRect(3600, 600, 1695, 255), back);
    row("Label1", "Record number.", twipsRect(3960, 2400, 1215, 255), back);
    row("Command1", "Save", twipsRect(5880, 2880, 1335, 375), QColor());
    row("Command2", "Cancel", twipsRect(5880, 3360, 1335, 375), QColor());
}

void EditorTest::layout() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QColor, colour);
    QWidget* widget = editor()->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), editor()->centralWidget());
    QCOMPARE(widget->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->palette().color(QPalette::Window), colour);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault() && !button->autoDefault());
    } else {
        QCOMPARE(qobject_cast<QLineEdit*>(widget)->palette().color(QPalette::Base), colour);
        QCOMPARE(qobject_cast<QLineEdit*>(widget)->text(), QString());
    }
}

void EditorTest::windowAndMenus() {
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Edit data"));
    QCOMPARE(editor()->centralWidget()->size(), QSize(486, 261));
    QCOMPARE(editor()->centralWidget()->palette().color(QPalette::Window),
             QColor(0xC0, 0xC0, 0xFF));
    QVERIFY(editor()->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(editor()->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(editor()->findChildren<QLabel*>().size(), 15);

    QStringList menus;  // name:caption, a drop-down's items after it in brackets
    for (QAction* action : editor()->menuBar()->actions()) {
        QMenu* menu = action->menu();
        menus << (menu ? menu->objectName() : action->objectName()) + ':' + action->text();
        for (QAction* item : menu ? menu->actions() : QList<QAction*>()) {
            menus << '[' + item->objectName() + ':' + item->text() + ']';
        }
    }
    QCOMPARE(menus.join(' '),
             QStringLiteral("mhelp:&Help [mhel:&Help] [mabout:&About] mreset:&Reset"));
}

void EditorTest::focusTabAndKeys() {
    QApplication::setActiveWindow(editor());
    QVERIFY(QTest::qWaitForWindowActive(editor()));
    QCOMPARE(QApplication::focusWidget(), box("cHF"));

    QStringList visited;
    for (int i = 0; i < 17; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited.join(' '), QStringLiteral("cTC EC cHV cEC cVE cCS cSH cAW cMP cBP cDen cAN "
                                               "cname Command1 Text1 Command2 cHF"));

    box("Text1")->setText("2");
    const QByteArray before = file();
    for (const char* name : {"Text1", "cname"}) {
        box(name)->setFocus();
        QTest::keyClick(box(name), Qt::Key_Return);
        QTest::keyClick(box(name), Qt::Key_Enter);
        QTest::keyClick(box(name), Qt::Key_Escape);
    }
    QCOMPARE(file(), before);
    QVERIFY(editor() && editor()->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
    for (QLineEdit* field : editor()->fieldBoxes()) {
        QCOMPARE(field->text(), QString());
    }
    QCOMPARE(box("Text1")->text(), QStringLiteral("2"));
}

void EditorTest::loadsAfterEachKeystroke() {
    QTest::keyClicks(box("Text1"), "1");
    QCOMPARE(box("cname")->text(), shownName(1));
    QTest::keyClick(box("Text1"), '2');
    QCOMPARE(box("cname")->text(), shownName(12));
    QCOMPARE(box("cHF")->text(), QStringLiteral("Fusion12  "));
    QCOMPARE(box("cname")->cursorPosition(), 0);
    QCOMPARE(messageBoxText([this] { QTest::keyClicks(box("Text1"), "abc"); }), QString());
    QCOMPARE(box("cname")->text(), shownName(12));
}

void EditorTest::loadReadsTheNumberStrictly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");  // cname afterwards; record 2 was shown before
    QTest::newRow("blanks around") << " 7 " << shownName(7);
    QTest::newRow("half up to even") << "7.5" << shownName(8);
    QTest::newRow("half down to even") << "6.5" << shownName(6);
    QTest::newRow("past the end") << "50" << QString();
    QTest::newRow("zero") << "0" << shownName(2);
    QTest::newRow("negative") << "-5" << shownName(2);
    QTest::newRow("letters") << "abc" << shownName(2);
    QTest::newRow("too large") << "40000" << shownName(2);
    QTest::newRow("empty") << "" << shownName(2);
}

void EditorTest::loadReadsTheNumberStrictly() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    box("Text1")->setText("2");
    QCOMPARE(messageBoxText([&] { box("Text1")->setText(text); }), QString());
    for (QLineEdit* field : editor()->fieldBoxes()) {
        QCOMPARE(field->text().isEmpty(), shown.isEmpty());
    }
    QCOMPARE(box("cname")->text(), shown);
}

void EditorTest::saveWritesOneRecord_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");  // typed into cname after loading; null: none
    QTest::addColumn<bool>("reset");
    QTest::addColumn<int>("record");
    QTest::addColumn<QByteArray>("stored");
    const auto named = [](int n, const char* name) {
        ElementRecord record = n <= 13 ? sample(n) : ElementRecord{};
        record.fields[0] = name;
        return bytesOf(record);
    };
    QTest::newRow("unchanged") << "3" << QString() << false << 3 << bytesOf(sample(3));
    QTest::newRow("overlong box") << "4"
                                  << "ABCDEFGHIJKLMNOPQRST" << false << 4
                                  << named(4, "ABCDEFGHIJKLM");
    QTest::newRow("reset") << "5" << QString() << true << 5 << QByteArray(175, ' ') + "\r\n";
    QTest::newRow("past the end") << "50"
                                  << "Fifty" << false << 50 << named(50, "Fifty");
    QTest::newRow("letters after number") << "12abc"
                                          << "Twelve" << false << 12 << named(12, "Twelve");
    QTest::newRow("half to even") << "2.5"
                                  << "Two" << false << 2 << named(2, "Two");
}

void EditorTest::saveWritesOneRecord() {
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(bool, reset);
    QFETCH(int, record);
    QFETCH(QByteArray, stored);
    const QByteArray before = file();
    QTest::keyClicks(box("Text1"), number);
    if (!name.isNull()) {
        box("cname")->setText(name);
    }
    if (reset) {
        QTest::keyClick(editor(), Qt::Key_R, Qt::AltModifier);
    }
    QCOMPARE(save(), QString());
    QCOMPARE(box("Text1")->text(), number);
    const int at = (record - 1) * kRecordSize;
    const QByteArray padded = before.leftJustified(at, '\0');
    QCOMPARE(file(), padded.left(at) + stored + padded.mid(at + kRecordSize));

    RecordBytes bytes{};
    std::copy(stored.begin(), stored.end(), bytes.begin());
    const ElementRecord expected = decodeRecord(bytes);
    box("Text1")->setText(QString::number(record) + ' ');  // reload
    for (int i = 0; i < kPropertyCount; ++i) {
        QCOMPARE(editor()->fieldBoxes()[i]->text().toStdString(), expected.fields[i]);
    }
}

void EditorTest::refusedSaveKeepsEverything_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    const QString low = QStringLiteral("1 or more");
    const QString high = QStringLiteral("32767 or less");
    QTest::newRow("empty") << "" << low;
    QTest::newRow("letters") << "abc" << low;
    QTest::newRow("zero") << "0.4" << low;
    QTest::newRow("negative") << "-3" << low;
    QTest::newRow("above loadable") << "40000" << high;
    QTest::newRow("typo") << "2000000000" << high;
    QTest::newRow("beyond 32 bits") << "99999999999" << high;
}

void EditorTest::refusedSaveKeepsEverything() {
    QFETCH(QString, text);
    QFETCH(QString, reason);
    const QByteArray before = file();
    box("Text1")->setText(text);
    box("cname")->setText("Kept");
    const QString message = save();
    QVERIFY2(message.startsWith("The record was not saved.") && message.contains(reason),
             qPrintable(message));
    QCOMPARE(file(), before);
    QCOMPARE(box("Text1")->text(), text);
    QCOMPARE(box("cname")->text(), QStringLiteral("Kept"));
}

void EditorTest::failedWriteReportsAndKeepsText() {
    start(QByteArray(), true);
    box("Text1")->setText("1");
    box("cname")->setText("Lost?");
    const QString message = save();
    QVERIFY2(message.contains("No space left on device"), qPrintable(message));
    QCOMPARE(box("Text1")->text(), QStringLiteral("1"));
    QCOMPARE(box("cname")->text(), QStringLiteral("Lost?"));
    QVERIFY(editor()->isVisible());
}

void EditorTest::reopeningLoadsAfreshAndKeepsTilesWorking() {
    QLineEdit* mainName = program_->mainWindow()->detailBoxes()[0];
    QTest::mouseClick(program_->mainWindow()->tile(1), Qt::LeftButton);
    box("Text1")->setText("1");
    box("cname")->setText("Saved");
    QCOMPARE(save(), QString());
    QCOMPARE(program_->showEditor(), editor());
    QCOMPARE(box("cname")->text(), QStringLiteral("Saved"));
    QCOMPARE(mainName->text(), shownName(1));
    QTest::mouseClick(program_->mainWindow()->tile(1), Qt::LeftButton);
    QCOMPARE(mainName->text(), QStringLiteral("Saved").leftJustified(13));

    for (int round = 0; round < 6; ++round) {
        QVERIFY(program_->files().isOpen(Edit::kOwnHandle));
        if (round % 2 == 0) {
            QTest::mouseClick(editor()->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        } else {
            editor()->close();
        }
        QTRY_VERIFY(!editor());
        QVERIFY(!program_->files().isOpen(Edit::kOwnHandle));
        QVERIFY(program_->files().isOpen(Edit::kSharedHandle));
        program_->showEditor();
        QCOMPARE(box("Text1")->text(), QString());
        QCOMPARE(box("cname")->text(), QString());
    }
    QTest::mouseClick(program_->mainWindow()->tile(2), Qt::LeftButton);
    QCOMPARE(mainName->text(), shownName(2));

    delete editor();
    QVERIFY(!program_->files().isOpen(Edit::kOwnHandle));
}

void EditorTest::worksAfterMainWindowClosed() {
    program_->mainWindow()->close();
    QTRY_VERIFY(!program_->mainWindow());
    QVERIFY(!program_->files().isOpen(Edit::kSharedHandle));
    QCOMPARE(messageBoxText([this] { box("Text1")->setText("6"); }), QString());
    QCOMPARE(box("cname")->text(), shownName(6));
    box("cname")->setText("After");
    QCOMPARE(save(), QString());
    QCOMPARE(file().mid(5 * kRecordSize, 13), QByteArray("After        "));
}

void EditorTest::worksWhenSecondOpeningFails() {
    editor()->close();
    QTRY_VERIFY(!editor());
    QVERIFY(program_->files().open(Edit::kOwnHandle).ok());  // the editor's opening will fail
    program_->showEditor();
    box("Text1")->setText("7");
    QCOMPARE(box("cname")->text(), shownName(7));
    box("cname")->setText("Seven");
    QCOMPARE(save(), QString());
    QCOMPARE(file().mid(6 * kRecordSize, 13), QByteArray("Seven        "));
    editor()->close();
    QTRY_VERIFY(!editor());
    QVERIFY(program_->files().isOpen(Edit::kOwnHandle));  // not the editor's to close
}

void EditorTest::aboutAndHelp() {
    QString seen;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            seen = QStringList{box->windowTitle(), box->text(), QString::number(int(box->icon())),
                               QString::number(int(box->standardButtons()))}
                       .join('|');
            box->accept();
        }
    });
    timer.start(50);
    editor()->findChild<QAction*>("mabout")->trigger();
    QCOMPARE(seen, QStringLiteral("about|Edit data Element 1.0|%1|%2")
                       .arg(int(QMessageBox::NoIcon))
                       .arg(int(QMessageBox::Ok)));

    QSignalSpy help(editor(), &Edit::helpRequested);
    editor()->findChild<QAction*>("mhel")->trigger();
    QCOMPARE(help.count(), 1);
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
