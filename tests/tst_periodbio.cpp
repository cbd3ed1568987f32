// The periodbio tool run as a user runs it: build a data file from CSV, dump it,
// build the dump back, and be refused with the line and field named.
#include "DataFiles.h"
#include "ElementRecord.h"
#include "testsupport.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

using namespace orbitra;

namespace {

const QByteArray kHeader = "cname,cAN,cAW,cMP,cBP,cDen,cEC,cVE,cCS,cSH,cTC,EC,cHV,cHF\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run periodbio(const QStringList& arguments) {
    QProcess process;
    process.start(qEnvironmentVariable("PERIODBIO"), arguments);
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A data file as the editor leaves it: records written one by one, with gaps.
void writeEditedFile(const QString& path) {
    DataFiles files;
    QVERIFY(files.open(1, path.toStdString()).ok());
    ElementRecord iron;
    iron.fields = {"Iron, pure",   "26",         "55.845",
                   "1538",         "2861",       "7.86",
                   "[Ar] 3d6 4s2", "6,3,2,0,-2", " body \"centred\"",
                   "0.449",        "0.804",      "0.10",
                   "340",          "13.81 µ°é"};
    ElementRecord odd;
    odd.fields[0] = "\xC2\x81 x";  // a C1 control taken for one of the undefined bytes
    odd.fields[7] = "two\r\nlines";
    QVERIFY(WriteRecord(files, 1, 26, iron).ok());
    QVERIFY(WriteRecord(files, 1, 3, ElementRecord{}).ok());
    QVERIFY(WriteRecord(files, 1, 120, odd).ok());
    QVERIFY(files.close(1).ok());
}

}  // namespace

class tst_periodbio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dumpThenBuildGivesIdenticalBytes_data();
    void dumpThenBuildGivesIdenticalBytes();
    void quotedFieldsArriveWhole_data();
    void quotedFieldsArriveWhole();
    void refusalsNameLineAndFieldAndKeepTheOldFile_data();
    void refusalsNameLineAndFieldAndKeepTheOldFile();
    void dumpOfAMissingFileCreatesNothing();
};

void tst_periodbio::initTestCase() {
    QVERIFY2(QFile::exists(qEnvironmentVariable("PERIODBIO")), "PERIODBIO names no program");
}

void tst_periodbio::dumpThenBuildGivesIdenticalBytes_data() {
    QTest::addColumn<bool>("fromShippedTable");
    QTest::addColumn<int>("dumpedRecords");
    QTest::addColumn<qint64>("size");
    QTest::newRow("shipped table") << true << 110 << qint64(19470);
    QTest::newRow("edited file with gaps") << false << 3 << qint64(120 * kRecordSize);
}

void tst_periodbio::dumpThenBuildGivesIdenticalBytes() {
    QFETCH(bool, fromShippedTable);
    QFETCH(int, dumpedRecords);
    QFETCH(qint64, size);
    testsupport::ScratchFolder scratch;
    const QString original = scratch.file("original.bio");
    if (fromShippedTable) {
        const Run built =
            periodbio({"build", qEnvironmentVariable("ORBITRA_ELEMENTS_CSV"), original});
        QCOMPARE(built.exitCode, 0);
        QVERIFY2(built.err.isEmpty(), built.err.constData());
    } else {
        writeEditedFile(original);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
    QCOMPARE(QFile(original).size(), size);

    const Run dumped = periodbio({"dump", original});
    QCOMPARE(dumped.exitCode, 0);
    QVERIFY(dumped.out.startsWith("record," + kHeader));
    // Records made only of zero bytes (gaps) are left out; the cleared record
    // of spaces at number 3 is not such a gap.
    QCOMPARE(dumped.out.count("\n") - dumped.out.count("two\r\nlines"), dumpedRecords + 1);
    testsupport::writeFile(scratch.file("dump.csv"), dumped.out);

    const QString rebuilt = scratch.file("rebuilt.bio");
    const Run again = periodbio({"build", scratch.file("dump.csv"), rebuilt});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(testsupport::readFile(rebuilt), testsupport::readFile(original));
}

void tst_periodbio::quotedFieldsArriveWhole_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("commas inside quotes")
        << QByteArray(kHeader + "Iron,26,55.845,,,,,\"6,3,2,0,-2\",,,,,,\n") << 26 << 7
        << QByteArray("6,3,2,0,-2               ");
    QTest::newRow("doubled quotes") << QByteArray(kHeader + "\"say \"\"Fe\"\"\",26,,,,,,,,,,,,\n")
                                    << 26 << 0 << QByteArray("say \"Fe\"     ");
    QTest::newRow("CR LF, byte-order mark, last line without break")
        << QByteArray("\xEF\xBB\xBF" + QByteArray(kHeader).replace("\n", "\r\n") +
                      "Oxygen,8,,,,,,\"-2,-1\",,,,,,\r\n\r\nSulfur,16,,,,,,,,,,,,x")
        << 16 << 13 << QByteArray("x         ");
    QTest::newRow("Windows-1252 letters") << QByteArray(kHeader + "Éa µ°,5,,,,,,,,,,,,\n") << 5 << 0
                                          << QByteArray(
                                                 "\xC9"
                                                 "a \xB5\xB0        ");
}

void tst_periodbio::quotedFieldsArriveWhole() {
    QFETCH(QByteArray, csv);
    QFETCH(int, record);
    QFETCH(int, field);
    QFETCH(QByteArray, stored);
    testsupport::ScratchFolder scratch;
    testsupport::writeFile(scratch.file("table.csv"), csv);
    const Run run = periodbio({"build", scratch.file("table.csv"), scratch.file("period.bio")});
    QVERIFY2(run.exitCode == 0, run.err.constData());

    const QByteArray bytes = testsupport::readFile(scratch.file("period.bio"));
    QCOMPARE(bytes.size(), record * kRecordSize);
    const QByteArray recordBytes = bytes.mid((record - 1) * kRecordSize, kRecordSize);
    QCOMPARE(recordBytes.mid(kFields[field].offset, kFields[field].width), stored);
    QVERIFY(recordBytes.endsWith("\r\n"));
}

void tst_periodbio::refusalsNameLineAndFieldAndKeepTheOldFile_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("message");
    const QByteArray iron = "Iron,26,55.845,,,,,,,,,,,\n";
    QTest::newRow("overlong name")
        << QByteArray(kHeader + iron + "Rutherfordiums,104,,,,,,,,,,,,\n")
        << QByteArray(
               "line 3: field cname (Chemical Name:) \"Rutherfordiums\" has 14 "
               "characters; the field holds 13");
    QTest::newRow("overlong after quotes")
        << QByteArray(kHeader + "Iron,26,\"55,8450000\",,,,,,,,,,,\n")
        << QByteArray("line 2: field cAW (Atomic weight:) \"55,8450000\" has 10 characters");
    QTest::newRow("character outside the code page")
        << QByteArray(kHeader + "Iron,26,,,,,,,\"bcc, \xCE\xB1-iron\",,,,,\n")
        << QByteArray(
               "line 2: field cCS (Crystal Structure:) \"bcc, \xCE\xB1-iron\" holds the "
               "character \xCE\xB1 (U+03B1), which the code page Windows-1252 lacks");
    QTest::newRow("broken UTF-8") << QByteArray(kHeader + "Ir\xFFon,26,,,,,,,,,,,,\n")
                                  << QByteArray(
                                         "line 2: field cname (Chemical Name:) "
                                         "\"Ir\xFFon\" is not valid UTF-8");
    QTest::newRow("atomic number not a number")
        << QByteArray(kHeader + "Iron,Fe,,,,,,,,,,,,\n")
        << QByteArray("line 2: atomic number (cAN) \"Fe\" is not a whole number from 1 up");
    QTest::newRow("record number zero")
        << QByteArray("record," + kHeader + "0,Iron,26,,,,,,,,,,,,\n")
        << QByteArray("line 2: record number \"0\" is not a whole number from 1 up");
    QTest::newRow("same record twice")
        << QByteArray(kHeader + iron + "\n" + iron)
        << QByteArray("line 4: record 26 is already given on line 2");
    QTest::newRow("missing fields") << QByteArray(kHeader + "Iron,26,55.845\n")
                                    << QByteArray("line 2: has 3 fields; 14 expected");
    QTest::newRow("unclosed quote") << QByteArray(kHeader + iron + "\"Iron,26,,,,,,,,,,,,\n")
                                    << QByteArray("line 3: a quoted field is never closed");
    QTest::newRow("text after closing quote") << QByteArray(kHeader + "\"Iron\"x,26,,,,,,,,,,,,\n")
                                              << QByteArray("line 2: text after the closing quote");
    QTest::newRow("unknown header") << QByteArray("name,number\nIron,26\n")
                                    << QByteArray("line 1: the header must be cname,cAN,");
}

void tst_periodbio::refusalsNameLineAndFieldAndKeepTheOldFile() {
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, message);
    testsupport::ScratchFolder scratch;
    const QByteArray previous(2 * kRecordSize, 'k');
    testsupport::writeFile(scratch.file("period.bio"), previous);
    testsupport::writeFile(scratch.file("table.csv"), csv);

    const Run run = periodbio({"build", scratch.file("table.csv"), scratch.file("period.bio")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(message), run.err.constData());
    QCOMPARE(testsupport::readFile(scratch.file("period.bio")), previous);
    QVERIFY(!QFile::exists(scratch.file("period.bio.tmp")));
}

void tst_periodbio::dumpOfAMissingFileCreatesNothing() {
    testsupport::ScratchFolder scratch;
    const Run run = periodbio({"dump", scratch.file("period.bio")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("period.bio: no such file"), run.err.constData());
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(scratch.file("period.bio")));
    QCOMPARE(periodbio({"dump"}).exitCode, 2);
}

QTEST_GUILESS_MAIN(tst_periodbio)
#include "tst_periodbio.moc"
