// The record editor as a user drives it: the keys, what Save writes, and the
// data file failing or shared beneath it.
#include "testsupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstring>

using namespace orbitra;
using namespace testsupport;

class EditorTest : public ProgramTest {
    Q_OBJECT
public:
    EditorTest() : ProgramTest(13) {}

private:
    template <typename Widget = QLineEdit>
    Widget* box(const char* name) const {
        return editor()->findChild<Widget*>(QLatin1String(name));
    }
    // The editor while it is open; open() opens it or brings it forward.
    Edit* editor() const { return program_->editor(); }
    Edit* open() {
        Edit* editor = program_->showEditor();
        return QTest::qWaitForWindowExposed(editor) ? editor : nullptr;
    }
    QString save() { return save(editor()); }
    QString save(const QString& number, const char* name) { return save(editor(), number, name); }
    // Enters `number`, types `name` into cname (unless null) and saves; returns any message.
    static QString save(Edit* editor, const QString& number = {}, const char* name = nullptr) {
        return messageBoxText([&] {
            if (name) {
                editor->findChild<QLineEdit*>("Text1")->setText(number);
                editor->findChild<QLineEdit*>("cname")->setText(QString::fromUtf8(name));
            }
            QTest::mouseClick(editor->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
    }

private Q_SLOTS:
    // The focus starts in the heat-of-fusion box and Tab visits Save, the record
    // number and Cancel last; Enter presses the focused button and nothing else,
    // and Escape closes nothing.
    void keys_data() {
        QTest::addColumn<QString>("focus");  // empty: where it is at start
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("endsAt");  // the focus afterwards; empty: window closed
        QTest::addColumn<bool>("saves");
        const auto row = [](const char* tag, const char* focus, QList<int> keys, const char* endsAt,
                            bool saves = false) {
            QTest::newRow(tag) << focus << keys << endsAt << saves;
        };
        row("Tab at start", "", {Qt::Key_Tab}, "cTC");
        row("Enter in the number box", "Text1", {Qt::Key_Return}, "Text1");
        row("keypad Enter in a field box", "cname", {Qt::Key_Enter}, "cname");
        row("Escape in a field box", "cname", {Qt::Key_Escape}, "cname");
        row("Tab to Save and Enter", "cname", {Qt::Key_Tab, Qt::Key_Return}, "Command1", true);
        row("keypad Enter on Save", "Command1", {Qt::Key_Enter}, "Command1", true);
        row("Escape on Cancel", "Command2", {Qt::Key_Escape}, "Command2");
        row("Tab from Cancel", "Command2", {Qt::Key_Tab}, "cHF");
        row("Tab to Cancel and Enter", "cname",
            {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}, "");
    }
    void keys() {
        QFETCH(QString, focus);
        QFETCH(QList<int>, keys);
        QFETCH(QString, endsAt);
        QFETCH(bool, saves);
        QApplication::setActiveWindow(open());
        box("Text1")->setText("2");
        box("cname")->setText("Changed");
        const QByteArray before = file();
        QTRY_COMPARE(QApplication::focusWidget(), box<QWidget>("cHF"));
        if (!focus.isEmpty()) {
            box<QWidget>(qPrintable(focus))->setFocus();
        }
        for (int key : keys) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        }
        QCOMPARE(file() != before, saves);
        QCOMPARE(editor() && editor()->isVisible(), !endsAt.isEmpty());
        if (!endsAt.isEmpty()) {
            QCOMPARE(QApplication::focusWidget()->objectName(), endsAt);
        }
    }

    // Keys are typed over "2" (record 2 shown) and each one loads a record; then an optional
    // edit, then Save. What Save writes shows what the boxes held.
    void typeAndSave_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("name");  // into cname; null: untouched; empty: Reset instead
        QTest::addColumn<int>("record");    // written at; 0: nothing written
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("reason");  // in the message of a refused save
        const auto row = [](const char* tag, const char* keys, const QString& name, int record,
                            const QByteArray& stored, const char* reason = "") {
            QTest::newRow(tag) << QString(keys) << name << record << stored << QString(reason);
        };
        row("unchanged", "3", QString(), 3, recordBytes(sampleRecord(3)));
        row("first key", "1", "One", 1, recordBytes(sampleRecord(1, "One")));
        row("second key", "13", "Thirteen", 13, recordBytes(sampleRecord(13, "Thirteen")));
        row("blank inside", "1 2", QString(), 12, recordBytes(sampleRecord(1)));
        row("overlong box", "4", "ABCDEFGHIJKLMNOPQRST", 4,
            recordBytes(sampleRecord(4, "ABCDEFGHIJKLM")));
        row("reset", "5", "", 5, QByteArray(175, ' ') + "\r\n");
        row("past the end", "50", "Fifty", 50, recordBytes({{"Fifty"}}));
        row("empty", "\b", "Kept", 0, {}, "1 or more");  // Backspace
        row("zero", "0", QString(), 0, {}, "1 or more");
        row("largest", "32767", "Top", 32767, recordBytes({{"Top"}}));
        row("just above the largest", "32768", "Kept", 0, {}, "32767 or less");
        row("above loadable", "40000", "Kept", 0, {}, "32767 or less");
        row("beyond 32 bits", "99999999999", "Kept", 0, {}, "from 1 to 32767");
        row("unstorable character", "4", QString::fromUtf8("\u00E9\u20AC\U0001F600\u0E18"), 0, {},
            "\"\U0001F600\" in Chemical Name cannot be stored");
        row("unstorable but cut", "4", QString::fromUtf8("ABCDEFGHIJKLM\u0E18"), 4,
            recordBytes(sampleRecord(4, "ABCDEFGHIJKLM")));
    }
    void typeAndSave() {
        QFETCH(QString, keys);
        QFETCH(QString, name);
        QFETCH(int, record);
        QFETCH(QByteArray, stored);
        QFETCH(QString, reason);
        open();
        const QByteArray before = file();
        box("Text1")->setText("2");
        box("Text1")->selectAll();
        QCOMPARE(messageBoxText([&] { QTest::keyClicks(box("Text1"), keys); }), QString());
        QCOMPARE(box("cname")->cursorPosition(), 0);
        if (name.isEmpty() && !name.isNull()) {
            QTest::keyClick(editor(), Qt::Key_R, Qt::AltModifier);
        } else if (!name.isNull()) {
            box("cname")->setText(name);
        }
        const QString shown = box("Text1")->text() + '|' + box("cname")->text();
        const QString message = save();
        QVERIFY2(reason.isEmpty()
                     ? message.isEmpty()
                     : message.startsWith("The record was not saved.") && message.contains(reason),
                 qPrintable(message));
        QCOMPARE(box("Text1")->text() + '|' + box("cname")->text(), shown);
        const int at = qMax(record - 1, 0) * kRecordSize;
        const QByteArray padded = before.leftJustified(at, '\0');
        QCOMPARE(file(), record ? padded.left(at) + stored + padded.mid(at + kRecordSize) : before);
    }

    void reopeningLoadsAfreshAndKeepsTilesWorking() {
        open();
        QVERIFY(save("1", "Saved").isEmpty());
        QCOMPARE(program_->showEditor(), editor());  // comes forward unchanged
        QCOMPARE(box("cname")->text(), QStringLiteral("Saved"));
        QTest::mouseClick(box<QPushButton>("Command2"), Qt::LeftButton);
        QTRY_VERIFY(!editor());
        QVERIFY(program_->files().isOpen(Edit::kSharedHandle) &&
                !program_->files().isOpen(Edit::kOwnHandle));
        open();
        QVERIFY(program_->files().isOpen(Edit::kOwnHandle));
        QCOMPARE(box("Text1")->text() + box("cname")->text(), QString());
        QTest::mouseClick(window()->tile(1), Qt::LeftButton);
        QCOMPARE(window()->detailBoxes()[0]->text(), QStringLiteral("Saved").leftJustified(13));
        delete editor();  // gone without being closed
        QVERIFY(!program_->files().isOpen(Edit::kOwnHandle));
    }

    // With the main window closed the editor carries on through a handle of its own.
    void outlivesTheMainWindow() {
        open();
        window()->close();
        QTRY_VERIFY(!window());
        QVERIFY(save("6", "Six").isEmpty());
        QCOMPARE(file().mid(5 * kRecordSize, kRecordSize), recordBytes(sampleRecord(6, "Six")));
        box("Text1")->setText("7");
        QCOMPARE(box("cname")->text().trimmed(), QStringLiteral("Name7"));
    }

    // A save the disk refuses says why and keeps what was typed.
    void fullDiskKeepsWhatWasTyped() {
        program_.reset();
        QFile::remove(path());
        QVERIFY(QFile::link("/dev/full", path()));
        program_ = std::make_unique<Program>();
        QVERIFY(program_->start());
        open();
        const QString message = save("3", "Lithium");
        QVERIFY2(message.contains("No space left on device"), qPrintable(message));
        QCOMPARE(box("Text1")->text() + '|' + box("cname")->text(), QStringLiteral("3|Lithium"));
        QVERIFY(editor()->isVisible() && window()->isVisible());
    }

    // A data file deleted while the program runs goes on serving both windows.
    void fileRemovedWhileRunning() {
        open();
        QVERIFY(QFile::remove(path()));
        QVERIFY(save("3", "Changed").isEmpty());
        for (int z : {2, 3}) {
            QTest::mouseClick(window()->tile(z), Qt::LeftButton);
            QCOMPARE(window()->detailBoxes()[0]->text().trimmed(), z == 2 ? "Name2" : "Changed");
        }
    }

    // An editor that could not open the file at first opens it once it needs to.
    void opensTheFileWhenFirstNeeded() {
        QVERIFY(QFile::remove(path()) && QDir().mkdir(path()));
        open();
        window()->close();
        QTRY_VERIFY(!window());
        QVERIFY(save("1", "One").contains(QString::fromLocal8Bit(std::strerror(EISDIR))));
        QVERIFY(QDir().rmdir(path()));
        QCOMPARE(save("1", "One") + save("2", "Two"), QString());
        QCOMPARE(file(), recordBytes({{"One"}}) + recordBytes({{"Two"}}));
    }

    // Two programs on one file each change only the record they save.
    void twoProgramsSaveTheirOwnRecords() {
        open();
        Program second;
        QVERIFY(second.start());
        QVERIFY(save("5", "Boron").isEmpty());
        QVERIFY(save(second.showEditor(), "15", "Phosphorus").isEmpty());
        QVERIFY(save("7", "Nitrogen").isEmpty());
        QByteArray expected = sampleDataFile(13) + QByteArray(kRecordSize, '\0');
        expected.replace(4 * kRecordSize, kRecordSize, recordBytes(sampleRecord(5, "Boron")));
        expected.replace(6 * kRecordSize, kRecordSize, recordBytes(sampleRecord(7, "Nitrogen")));
        expected += recordBytes({{"Phosphorus"}});
        QCOMPARE(file(), expected);
    }
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
