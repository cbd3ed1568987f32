// The data file: the bytes of a record, the code page, reads and writes through
// the handles on real files, and the file shipped with the program as the build
// generates it. How each shipped value was chosen, cross-checked, held to the
// physics and to the handbook's values is tested by gather-elements.py --self-test.
#include "DataFiles.h"
#include "Platform.h"
#include "testsupport.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>

#include <atomic>
#include <thread>
#endif

using namespace orbitra;
using namespace testsupport;

class DataFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The shipped file: every element has its record, named, at its atomic
    // number; the backup is the same file.
    void shippedFile() {
        const QString file = qEnvironmentVariable("ORBITRA_DATA_DIR") + "/period.bio";
        const QByteArray shipped = readFile(file);
        QCOMPARE(shipped.size(), 110 * kRecordSize);
        QCOMPARE(readFile(QString(file).replace(".bio", ".bak")), shipped);
        for (int z = 1; z <= 110; ++z) {
            RecordBytes bytes;
            std::copy_n(shipped.constData() + (z - 1) * kRecordSize, kRecordSize, bytes.begin());
            const ElementRecord record = decodeRecord(bytes);
            QVERIFY(std::stoi(record.fields[1]) == z && record.fields[0] != std::string(13, ' '));
        }
    }

    void recordLayout() {
        // The widths of the fourteen fields as the file format fixes them.
        const int widths[14] = {13, 3, 9, 10, 10, 10, 20, 25, 25, 10, 10, 10, 10, 10};
        ElementRecord record;
        // The letter that byte 0xE9 stands for in the code page in use ("\u00E9" in
        // Windows-1252).
        const unsigned char e9 = 0xE9;
        record.fields = {"Curi" + ansiToUtf8(&e9, 1), "110", "", " 7", "12345678901234"};
        QByteArray expected = "Curi\xE9        110         " + QByteArray(" 7        1234567890");
        for (int i = 5; i < kPropertyCount; ++i) {
            record.fields[i] = std::string(1, char('A' + i));
            expected += char('A' + i) + QByteArray(widths[i] - 1, ' ');
        }
        expected += "\r\n";
        QCOMPARE(recordBytes(record), expected);
    }

    // Every byte reads as one character of the code page in use, a different one
    // each, and is stored back as itself. Elsewhere than on Windows the code page
    // is Windows-1252, checked against ICU's converter as Qt carries it; like
    // Windows, both keep the five bytes the code page leaves undefined as the
    // control characters of the same value. On Windows the tests run under
    // several system code pages.
    void codePage() {
        QSet<QString> seen;
        for (int b = 1; b < 256; ++b) {
            unsigned char byte = static_cast<unsigned char>(b);
            const QString text = QString::fromStdString(ansiToUtf8(&byte, 1));
            QVERIFY2(text.size() == 1 && !seen.contains(text), qPrintable(QString::number(b, 16)));
            seen << text;
            QCOMPARE(utf8ToAnsi(text.toStdString()), std::string(1, char(b)));
#ifndef Q_OS_WIN
            QStringDecoder reference("windows-1252");
            QCOMPARE(text, reference(QByteArrayView(&byte, 1)));
#endif
        }
#ifdef Q_OS_WIN
        // 0xC6: a capital letter in each; Windows-1251 (Cyrillic) holds no "\u00C6".
        const unsigned char c6 = 0xC6;
        QCOMPARE(QString::fromStdString(ansiToUtf8(&c6, 1)), codePageName() == "Windows-1251"
                                                                 ? QStringLiteral("\u0416")
                                                                 : QStringLiteral("\u00C6"));
        if (codePageName() == "Windows-1258") {
            // "ệ" precomposed, stored as "ê" and a combining dot below, read back whole.
            const std::string vietnam = "Vi\u1EC7t Nam";
            const std::string stored = utf8ToAnsi(vietnam);
            QCOMPARE(stored, std::string("Vi\xEA\xF2t Nam"));
            QCOMPARE(ansiToUtf8(reinterpret_cast<const unsigned char*>(stored.data()), 9), vietnam);
            QCOMPARE(firstUnstorable(vietnam, 13), std::string());
        }
#endif
    }

    // A character the code page lacks becomes one '?', and so does each byte of
    // broken UTF-8, which no system decodes: a stray or missing continuation
    // byte, a longer form than the shortest ("/" as C0 AF), a surrogate, a value
    // past U+10FFFF. What follows is kept.
    void unstorableAndBrokenText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("wellFormed");
        const auto row = [](const char* name, const char* text, const char* stored, bool ok) {
            QTest::newRow(name) << QByteArray(text) << QByteArray(stored) << ok;
        };
        row("beyond the first plane, katakana", "\xf0\x9f\x98\x80\xe3\x82\xa2", "??", true);
        row("stray bytes, a lead byte cut short", "\xff\x80\xc3", "???", false);
        row("\"/\" in two and in three bytes", "\xc0\xaf\xe0\x80\xaf", "?????", false);
        row("surrogate, past U+10FFFF", "\xed\xa0\x80\xf4\x90\x80\x80", "???????", false);
    }

    void unstorableAndBrokenText() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, stored);
        QFETCH(bool, wellFormed);
        // After it, the letter of byte 0xF5 ("\u00F5" in Windows-1252).
        const unsigned char f5 = 0xF5;
        QCOMPARE(utf8ToAnsi(text.toStdString() + ansiToUtf8(&f5, 1)),
                 stored.toStdString() + "\xF5");
        QCOMPARE(isUtf8(text.toStdString()), wellFormed);
    }

    // A handle not open and a record number below 1 are refused without touching
    // the file; closing a handle, or the end of the registry, lets the file go.
    void handlesAndRecordNumbers() {
        ScratchFolder folder;
        const auto openDescriptors = [] {
#ifdef Q_OS_WIN
            DWORD count = 0;
            GetProcessHandleCount(GetCurrentProcess(), &count);
            return int(count);
#else
            return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
#endif
        };
        const int descriptors = openDescriptors();
        {
            DataFiles files;
            ElementRecord record = sampleRecord(3);
            QVERIFY(openDataFile(files, 1).ok() &&
                    openDataFile(files, 2).ok());  // the same file twice
            QCOMPARE(openDataFile(files, 1).error, RecordError::BadFileHandle);
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
            QVERIFY(openDataFile(files, 1).ok());
        }
        QCOMPARE(openDescriptors(), descriptors);
    }

#ifndef Q_OS_WIN
    // Another program puts a file under the name and takes it away again, over
    // and over, while records are read (Windows lets nobody take the name of a
    // file held open). Where the name is gone as a handle follows it, the read
    // fails: an empty file created under it would shut the other program out.
    void followNeverCreatesTheName() {
        if (std::thread::hardware_concurrency() < 2) {
            QSKIP("the two programs meet mid-read only when they run side by side");
        }
        ScratchFolder folder;
        writeFile("a.bio", sampleDataFile(3));
        writeFile("b.bio", sampleDataFile(3));
        DataFiles files;
        QVERIFY(::link("a.bio", "period.bio") == 0 && openDataFile(files, 1).ok());
        std::atomic<bool> stop = false;
        int shutOut = 0;
        std::thread other([&] {
            for (int i = 0; !stop; ++i) {
                shutOut += ::unlink("period.bio") == 0 &&
                           ::link(i % 2 ? "a.bio" : "b.bio", "period.bio") != 0;
            }
        });
        for (QDeadlineTimer reading(200); !reading.hasExpired();) {
            ElementRecord record;
            ReadRecord(files, 1, 3, record);
        }
        stop = true;
        other.join();
        QCOMPARE(shutOut, 0);
    }
#endif
};

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
