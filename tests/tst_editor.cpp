// The record editor as a user drives it: the keys, what Save writes, and the
// data file failing or shared beneath it.
#include "testsupport.h"

#include "Platform.h"

#include <optional>
#ifdef Q_OS_WIN
#include <windows.h>

#include <sddl.h>
#endif

using namespace orbitra;
using namespace testsupport;

namespace {

// Why a save is refused: a full disk, a read-only file, writing denied to the user.
enum Refusal { FullDisk, ReadOnly, Denied };

// Keys pressed with the focus in `focus` (empty: where it is at start); the focus
// ends in `endsAt` (empty: the window closed) and the file changed if `saves`.
struct Keys {
    QString focus;
    QList<int> keys;
    QString endsAt;
    bool saves = false;
};

// `keys` are typed over "2" (record 2 shown) and each one loads a record; then
// `name` is typed into cname (empty: it keeps the record's), or with `reset`
// Reset empties every box; then Save. The file then holds `stored` at
// `record` (0: nothing written), or the message of the refused save gives
// `reason`.
struct Save {
    QString keys, name;
    int record;
    QByteArray stored;
    QString reason = {};
    bool reset = false;
};

// `typed` into the record-number box has `heard` announced there.
struct Loaded {
    QString typed, heard;
};

}  // namespace

class EditorTest : public ProgramTest {
    Q_OBJECT
public:
    EditorTest() : ProgramTest(13) {}

private:
    template <typename Widget = QLineEdit>
    Widget* box(const char* name) const {
        return editor()->findChild<Widget*>(QLatin1String(name));
    }
    // The editor while it is shown; open() opens it from the main window's menu
    // or brings it forward.
    static Edit* editor() { return shownWindow<Edit>("Edit"); }
    Edit* open() {
        choose("main", "medit");
        return QTest::qWaitForWindowExposed(editor()) ? editor() : nullptr;
    }
    // Clicks Save; returns any message.
    QString clickSave() {
        return messageBoxText(
            [&] { QTest::mouseClick(box<QPushButton>("Command1"), Qt::LeftButton); });
    }
    // Enters `number`, types `name` into cname and clicks Save; returns any
    // message, of the loads too.
    QString save(const QString& number, const QString& name) {
        return messageBoxText([&] {
            box("Text1")->setText(number);
            box("cname")->setText(name);
            QTest::mouseClick(box<QPushButton>("Command1"), Qt::LeftButton);
        });
    }

    // Puts `stored` in place of record `n` of `bytes`, zero bytes filling any gap.
    static void put(QByteArray& bytes, int n, const QByteArray& stored) {
        bytes = bytes.leftJustified(n * kRecordSize, '\0');
        bytes.replace((n - 1) * kRecordSize, kRecordSize, stored);
    }

private Q_SLOTS:
    // The focus starts in the heat-of-fusion box and Tab visits Save, the record
    // number and Cancel last; Enter presses the focused button and nothing else,
    // and Escape closes nothing.
    void keys_data() {
        addRows<Keys>({
            {"Tab at start", {"", {Qt::Key_Tab}, "cTC"}},
            {"Enter in the number box", {"Text1", {Qt::Key_Return}, "Text1"}},
            {"Tab to Save and Enter", {"cname", {Qt::Key_Tab, Qt::Key_Return}, "Command1", true}},
            {"keypad Enter on Save", {"Command1", {Qt::Key_Enter}, "Command1", true}},
            {"Escape on Cancel", {"Command2", {Qt::Key_Escape}, "Command2"}},
            {"Tab to Cancel and Enter",
             {"cname", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}, ""}},
        });
    }
    void keys() {
        QFETCH(Keys, row);
        const auto& [focus, keys, endsAt, saves] = row;
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
        QCOMPARE(editor() ? QApplication::focusWidget()->objectName() : QString(), endsAt);
    }

    void heardLoading_data() {
        addRows<Loaded>({
            {"a record at each digit", {"12", "Name12"}},
            {"past the end", {"20", "Record 20 is empty"}},
            {"no number", {"x0", ""}},
        });
    }
    void heardLoading() {
        QFETCH(Loaded, row);
        QApplication::setActiveWindow(open());
        box("Text1")->setFocus();
        QTest::keyClicks(box("Text1"), row.typed);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(box("Text1"))->text(QAccessible::Description),
            row.heard);
        // Once the focus has gone, the box is the record number again; Shift+Tab
        // selects the text of the box it lands in.
        QTest::keyClick(box("Text1"), Qt::Key_Tab);
        QTRY_COMPARE(box("Text1")->accessibleDescription(), QString());
        box("cname")->setFocus();
        QTest::keyClick(box("cname"), Qt::Key_Backtab);
        QTRY_COMPARE(box("cAN")->selectedText(), box("cAN")->text());
        // Each field box has the unit of the main window's box as its description.
        for (QLineEdit* field : window()->detailBoxes()) {
            QCOMPARE(box(qPrintable(field->objectName()))->accessibleDescription(),
                     field->accessibleDescription());
        }
    }

    void typeAndSave_data() {
        addRows<Save>({
            {"unchanged", {"3", {}, 3, recordBytes(sampleRecord(3))}},
            {"first key", {"1", "One", 1, recordBytes(sampleRecord(1, "One"))}},
            {"overlong box",
             {"4", "ABCDEFGHIJKLMNOPQRST", 4, recordBytes(sampleRecord(4, "ABCDEFGHIJKLM"))}},
            {"reset", {"5", {}, 5, QByteArray(175, ' ') + "\r\n", {}, true}},
            {"past the end", {"50", "Fifty", 50, recordBytes({{"Fifty"}})}},
            {"empty", {"\b", "Kept", 0, {}, "1 or more"}},  // Backspace
            {"zero", {"0", {}, 0, {}, "1 or more"}},
            {"largest", {"32767", "Top", 32767, recordBytes({{"Top"}})}},
            {"just above the largest", {"32768", "Kept", 0, {}, "32767 or less"}},
            {"beyond 32 bits", {"99999999999", "Kept", 0, {}, "from 1 to 32767"}},
            // The first character the code page lacks is named, however many bytes it takes.
            {"unstorable, 4 bytes",
             {"4", "\u00E9\u20AC\U0001F600\u0E18", 0, {}, "\"\U0001F600\" in"}},
            {"unstorable, 3 bytes",
             {"4", "\u00E9\u0E18\U0001F600", 0, {}, "\"\u0E18\" in Chemical Name"}},
            {"unstorable but cut",
             {"4", "ABCDEFGHIJKLM\u0E18", 4, recordBytes(sampleRecord(4, "ABCDEFGHIJKLM"))}},
        });
    }
    void typeAndSave() {
        QFETCH(Save, row);
        const auto& [keys, name, record, stored, reason, reset] = row;
        open();
        const QByteArray before = file();
        box("Text1")->setText("2");
        box("Text1")->selectAll();
        QCOMPARE(messageBoxText([&] { QTest::keyClicks(box("Text1"), keys); }), QString());
        QCOMPARE(box("cname")->cursorPosition(), 0);
        if (reset) {
            QTest::keyClick(editor(), Qt::Key_R, Qt::AltModifier);
        } else if (!name.isEmpty()) {
            box("cname")->setText(name);
        }
        const QString shown = box("Text1")->text() + '|' + box("cname")->text();
        const QString message = clickSave();
        QVERIFY2(reason.isEmpty()
                     ? message.isEmpty()
                     : message.startsWith("The record was not saved.") && message.contains(reason),
                 qPrintable(message));
        QCOMPARE(box("Text1")->text() + '|' + box("cname")->text(), shown);
        QByteArray expected = before;
        if (record) {
            put(expected, record, stored);
        }
        QCOMPARE(file(), expected);
    }

    // A save the file or its disk refuses says why, keeps what was typed and
    // changes nothing; the tiles still show the records of a file that may be
    // read, not written. Only a file that is read-only is said to be; where the
    // user's rights alone refuse (others may write it; on Windows an entry of
    // its access list), the system's reason is given.
    void refusedSaveKeepsWhatWasTyped_data() {
        addRows<Refusal>(
            {{"full disk", FullDisk}, {"read-only file", ReadOnly}, {"writing denied", Denied}});
    }
    void refusedSaveKeepsWhatWasTyped() {
        QFETCH(Refusal, row);
        program_.reset();
        const auto kept = row == FullDisk ? std::nullopt : std::make_optional<ReadOnlyFile>(path());
        QString expected = QStringLiteral("\"period.bio\" is read-only");
        if (row == Denied) {  // others may write it, not the user
            QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOther);
#ifdef Q_OS_WIN
            PSECURITY_DESCRIPTOR denied = nullptr;  // users may not write, everyone may do the rest
            QVERIFY(ConvertStringSecurityDescriptorToSecurityDescriptorW(
                        L"D:(D;;0x6;;;BU)(A;;FA;;;WD)", SDDL_REVISION_1, &denied, nullptr) &&
                    SetFileSecurityW(qUtf16Printable(path()), DACL_SECURITY_INFORMATION, denied));
#endif
            QFile file(path());  // what the system tells any program that asks to write it
            expected = file.open(QIODevice::ReadWrite) ? "(writable)" : file.errorString();
        } else if (row == FullDisk) {
#ifdef Q_OS_WIN
            // Under wine: a folder whose period.bio leads to Linux's /dev/full.
            const QString full = qEnvironmentVariable("ORBITRA_FULL_DISK_FOLDER");
            if (full.isEmpty()) {
                QSKIP("needs a folder on a full disk (ORBITRA_FULL_DISK_FOLDER)");
            }
            QDir::setCurrent(full);
            expected = qt_error_string(ERROR_DISK_FULL);
#else
            QFile::remove(path());
            QVERIFY(QFile::link("/dev/full", path()));
            expected = qt_error_string(ENOSPC);
#endif
        }
        program_ = std::make_unique<Program>();
        QVERIFY(program_->start());
        QTest::mouseClick(window()->tile(5), Qt::LeftButton);
        QCOMPARE(window()->detailBoxes()[0]->text().trimmed(), row != FullDisk ? "Name5" : "");
        open();
        const QString message = save("3", "Lithium");
        QVERIFY2(message.contains(expected) && message.contains("read-only") == (row == ReadOnly),
                 qPrintable(message));
        QCOMPARE(box("Text1")->text() + '|' + box("cname")->text(), QStringLiteral("3|Lithium"));
        QVERIFY(editor()->isVisible() && window()->isVisible());
        QVERIFY(row == FullDisk || file() == sampleDataFile(13));  // (a full disk reads as zeros)
    }

    // Closed and opened again, the editor comes up empty. It has a handle of its
    // own, opened when first needed if that failed at the start, and through it
    // it carries on once the main window is closed; gone without being closed,
    // it lets the handle go.
    void lifetime() {
        open();
        QVERIFY(save("1", "Saved").isEmpty());
        const QPointer<Edit> first = editor();
        QCOMPARE(open(), first.data());  // comes forward unchanged
        QCOMPARE(box("cname")->text(), QStringLiteral("Saved"));
        QTest::mouseClick(box<QPushButton>("Command2"), Qt::LeftButton);
        QTRY_VERIFY(!first);
        QVERIFY(program_->files().isOpen(kMainHandle) && !program_->files().isOpen(kEditorHandle));
        QTest::mouseClick(window()->tile(1), Qt::LeftButton);
        QCOMPARE(window()->detailBoxes()[0]->text(), QStringLiteral("Saved").leftJustified(13));
#ifndef Q_OS_WIN
        const QString kept = path() + ".kept";
        QVERIFY(QFile::rename(path(), kept) && QDir().mkdir(path()));  // the editor's open fails
#endif
        open();
        QCOMPARE(box("Text1")->text() + box("cname")->text(), QString());
        window()->close();
        QTRY_VERIFY(!window());
#ifdef Q_OS_WIN
        QVERIFY(!QFile::remove(path()));  // Windows keeps the file while the editor holds it
#else
        QVERIFY(save("1", "x").contains(folderMessage()));
        QVERIFY(QDir().rmdir(path()) && QFile::rename(kept, path()));
#endif
        QCOMPARE(save("6", "Six") + save("2", "Two"), QString());
        QByteArray expected = sampleDataFile(13);
        put(expected, 1, recordBytes(sampleRecord(1, "Saved")));
        put(expected, 2, recordBytes(sampleRecord(2, "Two")));
        put(expected, 6, recordBytes(sampleRecord(6, "Six")));
        QCOMPARE(file(), expected);
        box("Text1")->setText("7");
        QCOMPARE(box("cname")->text().trimmed(), QStringLiteral("Name7"));
        delete editor();
        QVERIFY(!program_->files().isOpen(kEditorHandle));
    }

    // Another program replaces the data file by rename, as a save by rename or a
    // periodbio build does: the tiles show the new file and a save lands in it,
    // also once its folder has been renamed. Once the file is removed, a save says so and keeps
    // what was typed. Windows lets neither happen while the program holds the file.
    void replacedOrRemovedFile() {
        open();
        QByteArray replacement = sampleDataFile(20);
        put(replacement, 1, recordBytes(sampleRecord(1, "Replaced")));
        writeFile(folder_->file("new.bio"), replacement);
        std::string error;
        const bool replaced = replaceFile("new.bio", "period.bio", error);
#ifdef Q_OS_WIN
        // periodbio's build replaces the file the same way, and says why it cannot.
        QVERIFY2(!replaced && error.find("open in another program") != std::string::npos,
                 error.c_str());
        QVERIFY(!QFile::remove(path()));
        QCOMPARE(file(), sampleDataFile(13));
        return;
#endif
        QVERIFY(replaced);
        QTest::mouseClick(window()->tile(1), Qt::LeftButton);
        QCOMPARE(window()->detailBoxes()[0]->text().trimmed(), QStringLiteral("Replaced"));
        QCOMPARE(save("16", "Sulfur"), QString());
        put(replacement, 16, recordBytes(sampleRecord(16, "Sulfur")));
        QCOMPARE(file(), replacement);

        // The folder renamed meanwhile: the file is still there and takes saves.
        const QString folder = QFileInfo(path()).absolutePath();
        QVERIFY(QDir().rename(folder, folder + "-moved"));
        QCOMPARE(save("18", "Argon"), QString());
        QVERIFY(QDir().rename(folder + "-moved", folder));
        put(replacement, 18, recordBytes(sampleRecord(18, "Argon")));
        QCOMPARE(file(), replacement);

        QVERIFY(QFile::remove(path()));
        const QString message = save("17", "Chlorine");
        QVERIFY2(message.contains("removed"), qPrintable(message));
        QCOMPARE(box("Text1")->text() + '|' + box("cname")->text(), QStringLiteral("17|Chlorine"));
        QVERIFY(!QFile::exists(path()));
        QTest::mouseClick(window()->tile(16), Qt::LeftButton);  // reads go on
        QCOMPARE(window()->detailBoxes()[0]->text().trimmed(), QStringLiteral("Sulfur"));
    }
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
