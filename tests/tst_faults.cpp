#include "ElementRecord.h"
#include "Program.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include <cstdio>
#include <cstring>

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
    void readOnlyFileStopsStartup();
    void fullDeviceSaveIsReported();
    void fileTruncatedWhileRunning();
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

// Child process of readOnlyFileStopsStartup: drops root's privileges, then
// starts the program in `folder` and prints the message it showed.
int startWithoutPrivileges(int argc, char* argv[]) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
        std::perror("setuid");
        return 4;
    }
    if (chdir(argv[2]) != 0) {
        std::perror("chdir");
        return 4;
    }
    QApplication application(argc, argv);
    Program program;
    bool started = true;
    const QString message = messageBoxText([&] { started = program.start(); });
    std::printf("%s\n", qPrintable(message));
    return started ? 0 : 3;
}

}  // namespace

void FaultsTest::readOnlyFileStopsStartup() {
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(3));
    QFile::setPermissions(folder.file("period.bio"),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther);
    // Root may write any file, so the start runs in a child without privileges.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--start-in"), folder.path()});
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QCOMPARE(child.exitCode(), 3);
    QVERIFY2(output.contains(QLatin1String("period.bio")), qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("Permission denied")), qPrintable(output));
    QCOMPARE(readFile(folder.file("period.bio")), testsupport::sampleDataFile(3));
}

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

void FaultsTest::fileTruncatedWhileRunning() {
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(3));
    Program program;
    QVERIFY(program.start());
    // Record 2 now ends inside its atomic-number field.
    QVERIFY(QFile::resize(folder.file("period.bio"), kRecordSize + 15));
    click(program.mainWindow()->tile(2));
    QCOMPARE(box(program.mainWindow(), "cname")->text(), QStringLiteral("Name2        "));
    QCOMPARE(box(program.mainWindow(), "cAN")->text(), QStringLiteral("2 "));
    QCOMPARE(box(program.mainWindow(), "cHF")->text(), QString());
    click(program.mainWindow()->tile(3));
    QCOMPARE(box(program.mainWindow(), "cname")->text(), QString());
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

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--start-in") == 0) {
        return startWithoutPrivileges(argc, argv);
    }
    QApplication application(argc, argv);
    FaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
