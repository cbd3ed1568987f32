#include "ElementRecord.h"
#include "Program.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace orbitra;
using testsupport::messageBoxText;
using testsupport::readFile;
using testsupport::ScratchFolder;
using testsupport::writeFile;

// The program meeting a hostile file system: each case runs through the real
// windows and must end in a clear message or the documented quiet behaviour,
// never in a crash or a changed byte outside the record being written.
class FaultsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testsupport::quietOffscreenWarnings(); }
    void fullDeviceSaveIsReported();
    void fileRemovedWhileRunning();
    void twoInstancesSaveDifferentRecords();
};

namespace {

QLineEdit* box(QWidget* window, const char* name) {
    return window->findChild<QLineEdit*>(QLatin1String(name));
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Types a record number and a name into the editor and presses Save; returns
// the text of any message box the save showed.
QString save(Edit* editor, const QString& number, const QString& name) {
    box(editor, "Text1")->setText(number);
    box(editor, "cname")->setText(name);
    return messageBoxText(
        [&] { click(editor->findChild<QPushButton*>(QStringLiteral("Command1"))); });
}

QString storedName(const QByteArray& file, int number) {
    return QString::fromLatin1(file.mid((number - 1) * kRecordSize, 13));
}

}  // namespace

void FaultsTest::fullDeviceSaveIsReported() {
    ScratchFolder folder;
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), folder.file("period.bio")));
    Program program;
    QVERIFY(program.start());
    Edit* editor = program.showEditor();
    const QString message = save(editor, QStringLiteral("3"), QStringLiteral("Lithium"));
    QVERIFY2(message.contains(QLatin1String("No space left on device")), qPrintable(message));
    QCOMPARE(box(editor, "cname")->text(), QStringLiteral("Lithium"));
    QCOMPARE(box(editor, "Text1")->text(), QStringLiteral("3"));
    QVERIFY(editor->isVisible());
    QVERIFY(program.mainWindow()->isVisible());
}

void FaultsTest::fileRemovedWhileRunning() {
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(3));
    Program program;
    QVERIFY(program.start());
    Edit* editor = program.showEditor();
    QVERIFY(QFile::remove(folder.file("period.bio")));
    click(program.mainWindow()->tile(2));
    QCOMPARE(box(program.mainWindow(), "cname")->text(), QStringLiteral("Name2        "));
    QCOMPARE(save(editor, QStringLiteral("3"), QStringLiteral("Changed")), QString());
    click(program.mainWindow()->tile(3));
    QCOMPARE(box(program.mainWindow(), "cname")->text(), QStringLiteral("Changed      "));
}

void FaultsTest::twoInstancesSaveDifferentRecords() {
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(10));
    Program first;
    Program second;
    QVERIFY(first.start());
    QVERIFY(second.start());
    Edit* one = first.showEditor();
    Edit* two = second.showEditor();
    QCOMPARE(save(one, QStringLiteral("5"), QStringLiteral("Boron")), QString());
    QCOMPARE(save(two, QStringLiteral("7"), QStringLiteral("Nitrogen")), QString());
    QCOMPARE(save(one, QStringLiteral("12"), QStringLiteral("Magnesium")), QString());
    const QByteArray file = readFile(folder.file("period.bio"));
    QCOMPARE(file.size(), 12 * kRecordSize);
    QCOMPARE(storedName(file, 5), QStringLiteral("Boron        "));
    QCOMPARE(storedName(file, 7), QStringLiteral("Nitrogen     "));
    QCOMPARE(storedName(file, 12), QStringLiteral("Magnesium    "));
    QCOMPARE(file.left(4 * kRecordSize), testsupport::sampleDataFile(4));
    QCOMPARE(storedName(file, 6), QStringLiteral("Name6        "));
    QCOMPARE(file.mid(10 * kRecordSize, kRecordSize), QByteArray(kRecordSize, '\0'));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
