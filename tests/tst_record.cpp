// The record layer as the data file sees it: the bytes of a record, the code
// page, and reads and writes through the handles, on real files.
#include "DataFiles.h"
#include "Platform.h"
#include "testsupport.h"

#include <iconv.h>

using namespace orbitra;
using namespace testsupport;

class RecordTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordLayout() {
        // The widths of the fourteen fields as the file format fixes them.
        const int widths[14] = {13, 3, 9, 10, 10, 10, 20, 25, 25, 10, 10, 10, 10, 10};
        ElementRecord record;
        record.fields = {"Curi\xC3\xA9", "110", "", " 7", "12345678901234"};
        QByteArray expected = "Curi\xE9        110         " + QByteArray(" 7        1234567890");
        for (int i = 5; i < kPropertyCount; ++i) {
            record.fields[i] = std::string(1, char('A' + i));
            expected += char('A' + i) + QByteArray(widths[i] - 1, ' ');
        }
        expected += "\r\n";
        QCOMPARE(recordBytes(record), expected);
        const ElementRecord back = decodeRecord(encodeRecord(record));
        for (int i = 0, at = 0; i < kPropertyCount; at += widths[i++]) {
            QCOMPARE(QString::fromStdString(back.fields[i]),
                     QString::fromLatin1(expected.mid(at, widths[i])));
        }
    }

    void codePageIsWindows1252() {
        // The system's own converter is the reference; it leaves five bytes undefined,
        // which the program keeps as the control characters of the same value.
        const iconv_t reference = iconv_open("UTF-8", "WINDOWS-1252");
        QVERIFY(reference != iconv_t(-1));
        for (int b = 1; b < 256; ++b) {
            unsigned char byte = static_cast<unsigned char>(b);
            char utf8[8] = {};
            char* in = reinterpret_cast<char*>(&byte);
            char* out = utf8;
            size_t inLeft = 1;
            size_t outLeft = sizeof utf8;
            iconv(reference, nullptr, nullptr, nullptr, nullptr);
            const bool defined = iconv(reference, &in, &inLeft, &out, &outLeft) != size_t(-1);
            const QString expected = defined ? QString::fromUtf8(utf8) : QString(QChar(b));
            const std::string text = ansiToUtf8(&byte, 1);
            QVERIFY2(QString::fromStdString(text) == expected, qPrintable(QString::number(b, 16)));
            QCOMPARE(utf8ToAnsi(text), std::string(1, char(b)));
        }
        iconv_close(reference);
        // A character without a byte becomes one '?', broken UTF-8 one per byte.
        QCOMPARE(utf8ToAnsi("\xe3\x82\xa2-\xf0\x9f\x98\x80-\xff\xc3\xb5\xed\xa0\x80\xc3"),
                 std::string("?-?-?\xf5????"));
    }

    // A handle not open and a record number below 1 are refused without touching
    // the file; closing a handle, or the end of the registry, lets the file go.
    void handlesAndRecordNumbers() {
        ScratchFolder folder;
        const auto openDescriptors = [] {
            return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System);
        };
        const QStringList descriptors = openDescriptors();
        {
            DataFiles files;
            ElementRecord record = sampleRecord(3);
            QCOMPARE(WriteRecord(files, 1, 1, record).error, RecordError::BadFileHandle);
            QVERIFY(files.open(1).ok() && files.open(2).ok());  // the same file twice
            QCOMPARE(files.open(1).error, RecordError::BadFileHandle);
            for (const int bad : {0, -1, int(INT32_MIN)}) {
                QCOMPARE(ReadRecord(files, 1, bad, record).error, RecordError::BadRecordNumber);
                QCOMPARE(WriteRecord(files, 1, bad, record).error, RecordError::BadRecordNumber);
            }
            QCOMPARE(readFile(folder.file("period.bio")), QByteArray());
            QVERIFY(files.close(1).ok());
            QCOMPARE(files.close(1).error, RecordError::BadFileHandle);
            QCOMPARE(ReadRecord(files, 1, 3, record).error, RecordError::BadFileHandle);
            QVERIFY(WriteRecord(files, 2, 3, record).ok());  // the other handle carries on
            QCOMPARE(readFile(folder.file("period.bio")).size(), 3 * kRecordSize);
            QVERIFY(files.close(2).ok());
            QCOMPARE(openDescriptors(), descriptors);
            QVERIFY(files.open(1).ok());
        }
        QCOMPARE(openDescriptors(), descriptors);
    }
};

QTEST_GUILESS_MAIN(RecordTest)
#include "tst_record.moc"
