#include "Edit.h"
#include "ElementRecord.h"
#include "Program.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
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
using testsupport::recordBytes;
using testsupport::sampleRecord;

class EditorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testsupport::quietOffscreenWarnings(); }

    // Starts the program on a file of thirteen sample records and opens the editor.
    void init() {
        folder_ = std::make_unique<testsupport::ScratchFolder>();
        testsupport::writeFile(folder_->file("period.bio"), testsupport::sampleDataFile(13));
        program_ = std::make_unique<Program>();
        QVERIFY(program_->start());
        program_->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }
    void cleanup() { program_.reset(), folder_.reset(); }

    void layout_data() {
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::newRow("cname") << QRect(1560, 240, 1700, 330) << "";
        QTest::newRow("Text1") << QRect(3960, 2880, 1695, 375) << "";
        QTest::newRow("Label15") << QRect(120, 1680, 1095, 375) << "Boiling Point:";
        QTest::newRow("Label1") << QRect(3960, 2400, 1215, 255) << "Record number.";
        QTest::newRow("Command1") << QRect(5880, 2880, 1335, 375) << "Save";
        QTest::newRow("Command2") << QRect(5880, 3360, 1335, 375) << "Cancel";
    }
    void layout() {
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        auto* widget = box<QWidget>(QTest::currentDataTag());
        QVERIFY(widget && widget->parentWidget() == editor()->centralWidget());
        const auto px = [](int t) { return qRound(t / 15.0); };
        QCOMPARE(widget->geometry(),
                 QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
        QCOMPARE(widget->property("text").toString(), caption);
    }

    void windowAndMenus() {
        QCOMPARE(editor()->windowTitle(), QStringLiteral("Edit data"));
        QCOMPARE(editor()->centralWidget()->size(), QSize(486, 261));
        QCOMPARE(
            editor()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
            Qt::WindowMinimizeButtonHint);

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

    // Alt+R is pressed in typeAndSave.
    void focusAndTab() {
        QApplication::setActiveWindow(editor());
        QVERIFY(QTest::qWaitForWindowActive(editor()));
        QCOMPARE(QApplication::focusWidget(), box("cHF"));
        QStringList visited;
        for (int i = 0; i < 17; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(' '), QStringLiteral("cTC EC cHV cEC cVE cCS cSH cAW cMP cBP cDen "
                                                   "cAN cname Command1 Text1 Command2 cHF"));
    }

    // Enter presses the focused button and nothing else; Escape closes nothing.
    void enterAndEscape_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Enter in Text1") << "Text1" << int(Qt::Key_Return) << false << false;
        QTest::newRow("keypad Enter in cname") << "cname" << int(Qt::Key_Enter) << false << false;
        QTest::newRow("Escape in cname") << "cname" << int(Qt::Key_Escape) << false << false;
        QTest::newRow("Escape on Cancel") << "Command2" << int(Qt::Key_Escape) << false << false;
        QTest::newRow("Enter on Save") << "Command1" << int(Qt::Key_Return) << true << false;
        QTest::newRow("keypad Enter on Save") << "Command1" << int(Qt::Key_Enter) << true << false;
        QTest::newRow("Enter on Cancel") << "Command2" << int(Qt::Key_Return) << false << true;
    }
    void enterAndEscape() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, saves);
        QFETCH(bool, closes);
        box("Text1")->setText("2");
        box("cname")->setText("Changed");
        const QByteArray before = file();
        QApplication::setActiveWindow(editor());
        box<QWidget>(qPrintable(focus))->setFocus();
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(file() != before, saves);
        QCOMPARE(editor() && editor()->isVisible(), !closes);
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
        row("half to even", "2.5", "Two", 2, recordBytes(sampleRecord(2, "Two")));
        row("half up to even", "7.5", "Eight", 8, recordBytes(sampleRecord(8, "Eight")));
        row("letters after number", "12abc", "Twelve", 12, recordBytes(sampleRecord(12, "Twelve")));
        row("overlong box", "4", "ABCDEFGHIJKLMNOPQRST", 4,
            recordBytes(sampleRecord(4, "ABCDEFGHIJKLM")));
        row("reset", "5", "", 5, QByteArray(175, ' ') + "\r\n");
        row("past the end", "50", "Fifty", 50, recordBytes({{"Fifty"}}));
        row("empty", "\b", "Kept", 0, {}, "1 or more");  // Backspace
        row("zero", "0", QString(), 0, {}, "1 or more");
        row("negative", "-3", "Kept", 0, {}, "1 or more");
        row("above loadable", "40000", "Kept", 0, {}, "32767 or less");
        row("beyond 32 bits", "99999999999", "Kept", 0, {}, "from 1 to 32767");
        row("below 32 bits", "-99999999999", "Kept", 0, {}, "from 1 to 32767");
        row("unstorable character", "4", QString::fromUtf8("Fe\u0E18"), 0, {},
            "\"\u0E18\" in Chemical Name cannot be stored");
        row("unstorable but cut", "4", QString::fromUtf8("ABCDEFGHIJKLM\u0E18"), 4,
            recordBytes(sampleRecord(4, "ABCDEFGHIJKLM")));
    }
    void typeAndSave() {
        QFETCH(QString, keys);
        QFETCH(QString, name);
        QFETCH(int, record);
        QFETCH(QByteArray, stored);
        QFETCH(QString, reason);
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
        QLineEdit* mainName = program_->mainWindow()->detailBoxes()[0];
        QVERIFY(save("1", "Saved"));
        QCOMPARE(program_->showEditor(), editor());  // comes forward unchanged
        QCOMPARE(box("cname")->text(), QStringLiteral("Saved"));
        for (int round = 0; round < 6; ++round) {
            if (round % 2 == 0) {
                QTest::mouseClick(box<QPushButton>("Command2"), Qt::LeftButton);
            } else {
                editor()->close();
            }
            QTRY_VERIFY(!editor());
            QVERIFY(program_->files().isOpen(Edit::kSharedHandle) &&
                    !program_->files().isOpen(Edit::kOwnHandle));
            program_->showEditor();
            QVERIFY(program_->files().isOpen(Edit::kOwnHandle));
            QCOMPARE(box("Text1")->text() + box("cname")->text(), QString());
        }
        QTest::mouseClick(program_->mainWindow()->tile(1), Qt::LeftButton);
        QCOMPARE(mainName->text(), QStringLiteral("Saved").leftJustified(13));
        delete editor();  // gone without being closed
        QVERIFY(!program_->files().isOpen(Edit::kOwnHandle));
    }

    void worksWithoutOneOfTheHandles() {
        // Handle 2 taken before the editor opens: it works through handle 1 alone.
        editor()->close();
        QTRY_VERIFY(!editor());
        QVERIFY(program_->files().open(Edit::kOwnHandle).ok());
        program_->showEditor();
        QVERIFY(save("7", "Seven"));
        editor()->close();
        QTRY_VERIFY(!editor());
        QVERIFY(program_->files().close(Edit::kOwnHandle).ok());  // not the editor's to close

        // Main window closed: the editor carries on through its own handle.
        program_->showEditor();
        program_->mainWindow()->close();
        QTRY_VERIFY(!program_->mainWindow());
        QVERIFY(save("6", "Six"));
        QCOMPARE(file().mid(5 * kRecordSize, 2 * kRecordSize),
                 recordBytes(sampleRecord(6, "Six")) + recordBytes(sampleRecord(7, "Seven")));
    }

    void aboutAndHelp() {
        QString seen;
        QObject guard;
        QTimer::singleShot(50, &guard, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                                   QString::number(box->standardButtons())}
                           .join('|');
                box->accept();
            }
        });
        box<QAction>("mabout")->trigger();
        QCOMPARE(seen, QStringLiteral("about|Edit data Element 1.0|0|1024"));  // no icon, OK only
        QSignalSpy help(editor(), &Edit::helpRequested);
        box<QAction>("mhel")->trigger();
        QCOMPARE(help.count(), 1);
    }

private:
    template <typename Widget = QLineEdit>
    Widget* box(const char* name) const {
        return editor()->findChild<Widget*>(QLatin1String(name));
    }
    Edit* editor() const { return program_->editor(); }
    QByteArray file() const { return testsupport::readFile(folder_->file("period.bio")); }
    QString save() {
        return messageBoxText(
            [this] { QTest::mouseClick(box<QPushButton>("Command1"), Qt::LeftButton); });
    }
    // Enters `number`, types `name` into cname, saves; true when no message came.
    bool save(const QString& number, const char* name) {
        box("Text1")->setText(number);
        box("cname")->setText(name);
        return save().isEmpty();
    }

    std::unique_ptr<testsupport::ScratchFolder> folder_;
    std::unique_ptr<Program> program_;
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
