#include "DataFiles.h"
#include "ElementRecord.h"
#include "Platform.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orbitra;
using testsupport::readFile;
using testsupport::ScratchFolder;
using testsupport::writeFile;

namespace {

// Field widths as the file format fixes them, written out independently of the
// program's own table.
const int kWidths[14] = {13, 3, 9, 10, 10, 10, 20, 25, 25, 10, 10, 10, 10, 10};

ElementRecord sampleRecord(const std::string& name) {
    ElementRecord record;
    for (int i = 0; i < kPropertyCount; ++i) {
        record.fields[i] = name + std::to_string(i);
    }
    return record;
}

QString fieldText(const ElementRecord& record, int field) {
    return QString::fromStdString(record.fields[field]);
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storeField_data();
    void storeField();
    void readField_data();
    void readField();
    void recordLayout();
    void everyByteRoundTrips();

    void unstorableCharacters_data();
    void unstorableCharacters();
    void missingFileIsCreatedEmpty();
    void pastTheEnd();
    void badRecordNumbers_data();
    void badRecordNumbers();
    void damagedFileReadsWhatIsThere();
    void handles();
    void folderCannotBeOpened();
};

void RecordTest::storeField_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("short name padded") << 0 << "Hydrogen" << QByteArray("Hydrogen     ");
    QTest::newRow("overlong cut") << 7 << QString(30, QLatin1Char('x')) << QByteArray(25, 'x');
    QTest::newRow("exact width") << 1 << "110" << QByteArray("110");
    QTest::newRow("empty is spaces") << 2 << "" << QByteArray(9, ' ');
    QTest::newRow("accent is one byte")
        << 0 << QString::fromUtf8("Curié") << QByteArray("Curi\xe9        ");
    QTest::newRow("leading blanks kept") << 1 << " 7" << QByteArray(" 7 ");
}

void RecordTest::storeField() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    unsigned char out[32];
    std::memset(out, 0, sizeof out);
    encodeField(text.toStdString(), out, kWidths[field]);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(out), kWidths[field]), stored);
    QCOMPARE(out[kWidths[field]], 0);  // nothing written past the field
}

void RecordTest::readField_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("trailing spaces kept") << QByteArray("Iron         ") << "Iron         ";
    QTest::newRow("zero in fourth byte") << QByteArray("Fer\0on       ", 13) << "Fer";
    QTest::newRow("all zero") << QByteArray(13, '\0') << "";
    QTest::newRow("no zero, no spaces") << QByteArray("Praseodymium1") << "Praseodymium1";
}

void RecordTest::readField() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    const std::string decoded =
        decodeField(reinterpret_cast<const unsigned char*>(stored.constData()), 13);
    QCOMPARE(QString::fromStdString(decoded), text);
}

void RecordTest::recordLayout() {
    ElementRecord record;
    const char letters[] = "ABCDEFGHIJKLMN";
    QByteArray expected;
    for (int i = 0; i < kPropertyCount; ++i) {
        record.fields[i] = std::string(1, letters[i]);
        expected += letters[i] + QByteArray(kWidths[i] - 1, ' ');
    }
    expected += "\r\n";
    QCOMPARE(expected.size(), 177);
    const RecordBytes bytes = encodeRecord(record);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(bytes.data()), kRecordSize), expected);

    const ElementRecord back = decodeRecord(bytes);
    for (int i = 0; i < kPropertyCount; ++i) {
        QCOMPARE(back.fields[i].size(), std::size_t(kWidths[i]));
        QCOMPARE(back.fields[i][0], letters[i]);
    }
}

void RecordTest::everyByteRoundTrips() {
    for (int b = 1; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        const std::string text = ansiToUtf8(&byte, 1);
        const std::string back = utf8ToAnsi(text);
        QVERIFY2(back.size() == 1 && static_cast<unsigned char>(back[0]) == byte,
                 qPrintable(QStringLiteral("byte %1").arg(b)));
    }
    const unsigned char euro = 0x80;
    QCOMPARE(QString::fromStdString(ansiToUtf8(&euro, 1)), QString(QChar(0x20AC)));
    // Characters without a byte, and broken UTF-8, become '?' one for one.
    QCOMPARE(utf8ToAnsi("\xe0\xb8\x98"
                        "a"
                        "\xf0\x9f\x98\x80"
                        "b"
                        "\xff\xc3\xb5"),
             std::string("?a?b?\xf5"));
}

void RecordTest::unstorableCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unstorable");
    QTest::newRow("plain") << "Iron"
                           << "";
    QTest::newRow("code page letters") << QString::fromUtf8("€Öµ?") << "";
    QTest::newRow("Thai") << QString::fromUtf8("Feธาตุ") << QString::fromUtf8("ธ");
    QTest::newRow("emoji") << QString::fromUtf8("a\U0001F600") << QString::fromUtf8("\U0001F600");
    QTest::newRow("only past the width") << QString::fromUtf8("ABCDEFGHIJKLMธ") << "";
}

void RecordTest::unstorableCharacters() {
    QFETCH(QString, text);
    QFETCH(QString, unstorable);
    QCOMPARE(QString::fromStdString(firstUnstorable(text.toStdString(), 13)), unstorable);
}

void RecordTest::missingFileIsCreatedEmpty() {
    ScratchFolder folder;
    DataFiles files;
    QVERIFY(files.open(1).ok());
    QCOMPARE(QFileInfo(folder.file("period.bio")).size(), 0);
    ElementRecord record = sampleRecord("old");
    QVERIFY(files.read(1, 5, record).ok());
    QCOMPARE(record, ElementRecord{});
    QVERIFY(WriteRecord(files, 1, 1, sampleRecord("H")).ok());
    const QByteArray bytes = readFile(folder.file("period.bio"));
    QCOMPARE(bytes.size(), 177);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.startsWith("H0           H1 H2       "));
}

void RecordTest::pastTheEnd() {
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(110));
    DataFiles files;
    QVERIFY(files.open(1).ok());
    ElementRecord past = sampleRecord("old");
    QVERIFY(ReadRecord(files, 1, 111, past).ok());
    QCOMPARE(past, ElementRecord{});
    QCOMPARE(QFileInfo(folder.file("period.bio")).size(), 19470);
    QVERIFY(WriteRecord(files, 1, 120, sampleRecord("new")).ok());
    const QByteArray bytes = readFile(folder.file("period.bio"));
    QCOMPARE(bytes.size(), 21240);
    QCOMPARE(bytes.mid(110 * 177, 9 * 177), QByteArray(9 * 177, '\0'));
    QCOMPARE(bytes.left(110 * 177), testsupport::sampleDataFile(110));
    ElementRecord gap = sampleRecord("old");
    QVERIFY(ReadRecord(files, 1, 115, gap).ok());
    QCOMPARE(gap, ElementRecord{});
    ElementRecord written;
    QVERIFY(ReadRecord(files, 1, 120, written).ok());
    QCOMPARE(fieldText(written, 13), QStringLiteral("new13     "));
}

void RecordTest::badRecordNumbers_data() {
    QTest::addColumn<int>("number");
    QTest::newRow("zero") << 0;
    QTest::newRow("minus one") << -1;
    QTest::newRow("most negative") << int(INT32_MIN);
}

void RecordTest::badRecordNumbers() {
    QFETCH(int, number);
    ScratchFolder folder;
    writeFile(folder.file("period.bio"), testsupport::sampleDataFile(3));
    DataFiles files;
    QVERIFY(files.open(1).ok());
    ElementRecord record = sampleRecord("keep");
    QCOMPARE(ReadRecord(files, 1, number, record).error, RecordError::BadRecordNumber);
    QCOMPARE(record, sampleRecord("keep"));
    QCOMPARE(WriteRecord(files, 1, number, record).error, RecordError::BadRecordNumber);
    QCOMPARE(readFile(folder.file("period.bio")), testsupport::sampleDataFile(3));
}

void RecordTest::damagedFileReadsWhatIsThere() {
    ScratchFolder folder;
    // Record 1 ends in no CR LF; record 2 is cut off after its name and one byte.
    QByteArray bytes = testsupport::sampleDataFile(2).left(177 + 14);
    bytes[175] = 'x';
    bytes[176] = '\0';
    writeFile(folder.file("period.bio"), bytes);
    DataFiles files;
    QVERIFY(files.open(1).ok());
    ElementRecord record = sampleRecord("old");
    QVERIFY(ReadRecord(files, 1, 1, record).ok());
    QCOMPARE(fieldText(record, 0), QStringLiteral("Name1        "));
    QVERIFY(ReadRecord(files, 1, 2, record).ok());
    QCOMPARE(fieldText(record, 0), QStringLiteral("Name2        "));
    QCOMPARE(fieldText(record, 1), QStringLiteral("2"));
    QCOMPARE(fieldText(record, 2), QString());
}

void RecordTest::handles() {
    ScratchFolder folder;
    DataFiles files;
    ElementRecord record;
    QCOMPARE(ReadRecord(files, 1, 1, record).error, RecordError::BadFileHandle);
    QCOMPARE(WriteRecord(files, 1, 1, record).error, RecordError::BadFileHandle);
    QVERIFY(files.open(1).ok());
    QCOMPARE(files.open(1).error, RecordError::BadFileHandle);
    QVERIFY(files.open(2).ok());  // the same file a second time

    QVERIFY(WriteRecord(files, 1, 3, sampleRecord("one")).ok());
    QVERIFY(ReadRecord(files, 2, 3, record).ok());
    QCOMPARE(fieldText(record, 0), QStringLiteral("one0         "));

    QVERIFY(files.close(1).ok());
    QCOMPARE(files.close(1).error, RecordError::BadFileHandle);
    QVERIFY(files.isOpen(2));
    QVERIFY(WriteRecord(files, 2, 1, sampleRecord("two")).ok());
    QCOMPARE(readFile(folder.file("period.bio")).size(), 3 * 177);
}

void RecordTest::folderCannotBeOpened() {
    ScratchFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("period.bio")));
    DataFiles files;
    const Status status = files.open(1);
    QCOMPARE(status.error, RecordError::OpenFailed);
    QVERIFY(!status.message.empty());
    QVERIFY(!files.isOpen(1));
}

QTEST_GUILESS_MAIN(RecordTest)
#include "tst_record.moc"
