// The data file: the bytes of a record, the code page, reads and writes through
// the handles on real files, and the file shipped with the program as the build
// generates it, with anchor values from the CRC Handbook of Chemistry and
// Physics. How each shipped value was chosen, cross-checked and held to the
// physical relations between values is tested by gather-elements.py --self-test.
#include "DataFiles.h"
#include "Platform.h"
#include "testsupport.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <iconv.h>
#endif

using namespace orbitra;
using namespace testsupport;

namespace {

// A value of element `z`, in the box `field`, and how far from `expected` it may be.
struct Anchor {
    int z;
    const char* field;
    double expected, tolerance;
};

}  // namespace

class DataFileTest : public QObject {
    Q_OBJECT
    QByteArray shipped_;

    // The text of a field of the shipped file, by the name of the box that shows it.
    QString text(int z, std::string_view box) const {
        const FieldSpec& field = *std::find_if(kFields.begin(), kFields.end(),
                                               [&](const FieldSpec& f) { return f.box == box; });
        const QByteArray bytes = shipped_.mid((z - 1) * kRecordSize + field.offset, field.width);
        return QString::fromLatin1(bytes).trimmed();  // the values are ASCII
    }
    // The value of a box, or NaN when it holds none.
    double number(int z, std::string_view field) const {
        bool ok = false;
        const double value = text(z, field).remove('[').remove(']').toDouble(&ok);
        return ok ? value : qQNaN();
    }

private Q_SLOTS:
    // The shipped file: every element has its record, named, at its atomic
    // number; the backup is the same file.
    void initTestCase() {
        const QString file = qEnvironmentVariable("ORBITRA_DATA_DIR") + "/period.bio";
        shipped_ = readFile(file);
        QCOMPARE(shipped_.size(), 110 * kRecordSize);
        QCOMPARE(readFile(QString(file).replace(".bio", ".bak")), shipped_);
        for (int z = 1; z <= 110; ++z) {
            QVERIFY(text(z, "cAN") == QString::number(z) && !text(z, "cname").isEmpty());
        }
    }

    // Values as the CRC Handbook gives them, in the main window's units, each with
    // the tolerance it is checked to: at least one per numeric field, among them
    // the boiling points that the single earlier source had wrong.
    void anchors_data() {
        addRows<Anchor>({
            {"iron, atomic weight", {26, "cAW", 55.845, 0.001}},
            {"thorium, melting point C", {90, "cMP", 1750, 5}},
            {"copper, boiling point C", {29, "cBP", 2562, 5}},
            {"uranium, boiling point C", {92, "cBP", 4131, 5}},
            {"carbon, sublimation point C", {6, "cBP", 3825, 5}},
            {"boron, density g/ml", {5, "cDen", 2.34, 0.01}},
            {"hydrogen, gas density g/ml at 0 C", {1, "cDen", 8.988e-5, 0.01e-5}},
            {"iron, specific heat J/g-K", {26, "cSH", 0.449, 0.002}},
            {"copper, thermal conductivity W/cm-K", {29, "cTC", 4.01, 0.05}},
            {"copper, electrical conductivity 10^6/cm-ohm (1.725 uohm cm)",
             {29, "EC", 0.580, 0.01}},
            {"aluminium, heat of vaporization kJ/mol", {13, "cHV", 294, 1}},
            {"iron, heat of fusion kJ/mol", {26, "cHF", 13.81, 0.05}},
        });
    }
    void anchors() {
        QFETCH(Anchor, row);
        QVERIFY2(qAbs(number(row.z, row.field) - row.expected) <= row.tolerance,
                 qPrintable(text(row.z, "cname") + ": \"" + text(row.z, row.field) + '"'));
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
    // is Windows-1252, checked against the system's converter, which leaves five
    // bytes undefined: the program keeps them as the control characters of the
    // same value. On Windows the tests run under several system code pages.
    void codePage() {
#ifndef Q_OS_WIN
        const iconv_t reference = iconv_open("UTF-8", "WINDOWS-1252");
        QVERIFY(reference != iconv_t(-1));
#endif
        QSet<QString> seen;
        for (int b = 1; b < 256; ++b) {
            unsigned char byte = static_cast<unsigned char>(b);
            const QString text = QString::fromStdString(ansiToUtf8(&byte, 1));
            QVERIFY2(text.size() == 1 && !seen.contains(text), qPrintable(QString::number(b, 16)));
            seen << text;
            QCOMPARE(utf8ToAnsi(text.toStdString()), std::string(1, char(b)));
#ifndef Q_OS_WIN
            char utf8[8] = {};
            char* in = reinterpret_cast<char*>(&byte);
            char* out = utf8;
            size_t inLeft = 1;
            size_t outLeft = sizeof utf8;
            iconv(reference, nullptr, nullptr, nullptr, nullptr);
            const bool defined = iconv(reference, &in, &inLeft, &out, &outLeft) != size_t(-1);
            QCOMPARE(text, defined ? QString::fromUtf8(utf8) : QString(QChar(b)));
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
#else
        iconv_close(reference);
#endif
    }

    // A character the code page lacks becomes one '?'; broken UTF-8 becomes at
    // least one '?' (how many differs between systems), and what follows it is kept.
    void unstorableAndBrokenText() {
        // Between the broken pieces, the letter of byte 0xF5 ("\u00F5" in Windows-1252).
        const unsigned char f5 = 0xF5;
        const QStringList parts =
            QString::fromLatin1(utf8ToAnsi("\xf0\x9f\x98\x80-\xe3\x82\xa2-\xff" +
                                           ansiToUtf8(&f5, 1) + "\xed\xa0\x80\xc3"))
                .split('-');
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("?"));
        QCOMPARE(parts[1], QStringLiteral("?"));
        QVERIFY2(QRegularExpression("^\\?+\u00F5\\?+$").match(parts[2]).hasMatch(),
                 qPrintable(parts[2]));
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

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
