// The periodbio tool run as a user runs it: build a data file from CSV, dump it,
// build the dump back, and be refused with the line and field named.
#include "DataFiles.h"
#include "Platform.h"
#include "testsupport.h"

using namespace orbitra;
using namespace testsupport;

namespace {

const QByteArray kHeader = "cname,cAN,cAW,cMP,cBP,cDen,cEC,cVE,cCS,cSH,cTC,EC,cHV,cHF\n";

// Runs periodbio with its output going to `output` and its messages to
// "messages.txt"; returns its exit code, or -1 when it did not end normally.
int periodbio(const QStringList& arguments, const QString& output = QProcess::nullDevice()) {
    QProcess process;
    process.setStandardOutputFile(output);
    process.setStandardErrorFile("messages.txt");
    process.start(qEnvironmentVariable("PERIODBIO"), arguments);
    const bool ended =
        process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return ended ? process.exitCode() : -1;
}

constexpr int kRefused = -1;

// File and folder names beyond the system's code page, as Windows users have them.
const QString kDump = QString::fromUtf8("Jos\u00E9e \u0416.csv");
const QString kBuilt = QString::fromUtf8("\u0416/p\u00E9riod.bio");

// A device whose every write fails for want of space; on Windows the tests run
// under wine, which shows Linux's as drive Z:.
#ifdef Q_OS_WIN
const QString kFullDevice = QStringLiteral("Z:/dev/full");
#else
const QString kFullDevice = QStringLiteral("/dev/full");
#endif

// Byte offset of a field of a record in the data file.
int at(int record, int field) {
    return (record - 1) * kRecordSize + kFields[field].offset;
}

}  // namespace

class tst_periodbio : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchFolder> scratch_;

private Q_SLOTS:
    void init() { scratch_ = std::make_unique<ScratchFolder>(); }
    void cleanup() { scratch_.reset(); }

    // The dump, a UTF-8 file with a byte-order mark so that a spreadsheet opened
    // on it reads it so, builds the same bytes, as it is and saved again as a
    // spreadsheet or a shell saves it: UTF-8 without a mark, UTF-16 with one, or
    // the system's code page with CR LF line ends (where that code page, being
    // the data file's, holds every character of the record).
    void dumpThenBuildGivesIdenticalBytes_data() {
        QTest::addColumn<QString>("savedAs");
        for (const char* savedAs :
             {"as dumped", "UTF-8 without mark", "UTF-16LE", "UTF-16BE", "system code page"}) {
            QTest::newRow(savedAs) << savedAs;
        }
    }

    void dumpThenBuildGivesIdenticalBytes() {
        QFETCH(QString, savedAs);
        // As the editor leaves a file: a cleared record of blanks at 3, gaps of
        // zero bytes around it, and in every field texts a spreadsheet must get
        // back whole.
        ElementRecord odd;
        odd.fields = {
            "Iron, pure", "26",    "\xC2\x81 x", "µ°é",   "-1.5e3", "\"", "two\r\nlines\rx",
            " \"bcc\"",   "a\tb ", "0,5",        "'=1+1", "+7",     "  ", "x "};
        writeFile("a.bio", QByteArray(2 * kRecordSize, '\0') + recordBytes({}) +
                               QByteArray(116 * kRecordSize, '\0') + recordBytes(odd));
        QCOMPARE(periodbio({"dump", "a.bio", kDump}), 0);
        QCOMPARE(readFile("messages.txt"), QByteArray());  // whole records: no warning
        QVERIFY(QDir().mkdir(QString::fromUtf8("\u0416")));
        const QByteArray dump = readFile(kDump);
        QVERIFY(dump.startsWith("\xEF\xBB\xBFrecord,cname,"));
        const QString text = QString::fromUtf8(dump.mid(3));
        QByteArray saved = dump;
        if (savedAs == u"UTF-8 without mark") {
            saved = dump.mid(3);
        } else if (savedAs.startsWith(u"UTF-16")) {
            saved = QStringEncoder(
                savedAs == u"UTF-16LE" ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                QStringConverter::Flag::WriteBom)(text);
        } else if (savedAs == u"system code page") {
            if (systemCodePageName() != codePageName()) {
                QSKIP("the record's texts are in the data file's code page, not the system's");
            }
            const QString crlf = QString(text).replace(QRegularExpression("(?<!\r)\n"), "\r\n");
            saved = QByteArray::fromStdString(utf8ToAnsi(crlf.toStdString()));
        }
        writeFile(kDump, saved);
        QCOMPARE(periodbio({"build", kDump, kBuilt}), 0);
        QCOMPARE(readFile(kBuilt), readFile("a.bio"));
    }

    // A table that builds stores `expected` at byte `offset`; a refused one prints
    // `expected` and leaves the old period.bio as it was.
    void buildStoresOrRefusesKeepingTheOldFile_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* name, const QByteArray& csv, int offset,
                            const std::string& expected) {
            QTest::newRow(name) << csv << offset << QByteArray::fromStdString(expected);
        };
        const QByteArray iron = "Iron,26,55.845,,,,,,,,,,,\n";
        row("CR LF, byte-order mark, last line without break",
            "\xEF\xBB\xBF" + QByteArray(kHeader).replace("\n", "\r\n") +
                "Oxygen,8,,,,,,\"-2,-1\",,,,,,\r\n\r\nSulfur,16,,,,,,,,,,,,x",
            at(16, 13), "x         \r\n");
        if (codePageName() == "Windows-1252") {
            row("Windows-1252 letters", kHeader + "É µ°,5,,,,,,,,,,,,\n", at(5, 0),
                "\xC9 \xB5\xB0         ");
        }
        row("empty name, blank before the number", kHeader + ", 26,55.845,,,,,,,,,,,\n", at(26, 1),
            " 26");
        row("semicolons, as Excel saves CSV in most of Europe",
            QByteArray(kHeader).replace(',', ';') + "Iron;26;55,845;;;;;\"a;b\";;;;;;\n", at(26, 2),
            "55,845   ");
        row("tabs in UTF-16, as Excel saves Unicode text",
            QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
                QString::fromUtf8("record\t" + QByteArray(kHeader).replace(',', '\t') +
                                  "8\tOxygen\t8\t\t\t\t\t\t-2, -1\t\t\t\t\t\t\n")),
            at(8, 7), "-2, -1                   ");
        row("a header separated by none of them", QByteArray(kHeader).replace(',', '|'), kRefused,
            "header separates its columns by none of a comma (,), a semicolon (;) or a tab");
        row("broken UTF-8 after a byte-order mark (C0 AF is no \"/\")",
            "\xEF\xBB\xBF" + kHeader + "Fe\xC0\xAF,26,,,,,,,,,,,,\n", kRefused,
            "line 2: field cname (Chemical Name:) holds the byte 0xC0 after \"Fe\", which begins "
            "no character in UTF-8");
        // A table that is not UTF-8 is in the system's code page: on Windows, a
        // single-byte one (Windows-1251 shown) or a double-byte one (932 shown),
        // elsewhere the data file's.
        if (systemCodePageName() == codePageName()) {
            row("not UTF-8: the system's code page (\u0416\u0435\u043B\u0435\u0437\u043E in "
                "Windows-1251)",
                kHeader + "\xC6\xE5\xEB\xE5\xE7\xEE \xC0\xAF,26,,,,,,,,,,,,\n", at(26, 0),
                "\xC6\xE5\xEB\xE5\xE7\xEE \xC0\xAF    ");
        }
        if (systemCodePageName() == "code page 932") {
            row("Shift-JIS \u9244 (iron)", kHeader + "\x93\x53,26,,,,,,,,,,,,\n", kRefused,
                "line 2: field cname (Chemical Name:) \"\u9244\" holds the character \u9244 "
                "(U+9244), which the code page " +
                    codePageName() + " lacks");
            row("Shift-JIS lead byte without its trail byte", kHeader + "Fe\x93,26,,,,,,,,,,,,\n",
                kRefused,
                "line 2: field cname (Chemical Name:) holds the byte 0x93 after \"Fe\", which "
                "begins no character in code page 932");
        }
        row("overlong name", kHeader + iron + "Rutherfordiums,104,,,,,,,,,,,,\n", kRefused,
            "line 3: field cname (Chemical Name:) \"Rutherfordiums\" has 14 characters");
        row("character outside the code page",
            kHeader + "Iron,26,,,,,,,\"bcc, \xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9\",,,,,\n",
            kRefused,
            "line 2: field cCS (Crystal Structure:) \"bcc, \xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9\" "
            "holds the character \xF0\x9F\x98\x80 (U+1F600), which the code page " +
                codePageName() + " lacks");
        row("UTF-16 beyond the first plane",
            QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
                QString::fromUtf8(kHeader + "\xF0\x9F\x98\x80,1,,,,,,,,,,,,\n")),
            kRefused, "(U+1F600)");
        row("UTF-16 with a lone surrogate", QByteArray::fromHex("fffe610000d86200"), kRefused,
            "not valid UTF-16");
        row("atomic number not a number", kHeader + "Iron,26x,,,,,,,,,,,,\n", kRefused,
            "line 2: atomic number (cAN) \"26x\" is not a whole number");
        row("record beyond the program's reach", kHeader + iron + "Far,32768,,,,,,,,,,,,\n",
            kRefused,
            "line 3: atomic number (cAN) \"32768\" is not a whole number from 1 to 32767");
        row("same record twice", kHeader + iron + "\n" + iron, kRefused,
            "line 4: record 26 is already given on line 2");
        row("missing fields", kHeader + "Iron,26,55.845\n", kRefused, "line 2: has 3 fields; 14");
        row("unclosed quote", kHeader + iron + "\"Iron,26,,,,,,,,,,,,\n", kRefused,
            "line 3: a quoted field is never closed");
        row("text after a closing quote", kHeader + "\"Iron\"x,26,,,,,,,,,,,,\n", kRefused,
            "line 2: text after the closing quote");
        row("columns in another order", "cAN,cname\n26,Iron\n", kRefused,
            "line 1: the header must");
        row("a first column not the record's", "id," + kHeader + "1," + iron, kRefused,
            "line 1: the header");
    }

    void buildStoresOrRefusesKeepingTheOldFile() {
        QFETCH(QByteArray, csv);
        QFETCH(int, offset);
        QFETCH(QByteArray, expected);
        // An old file, and a temporary file left behind by a build that was cut off:
        // neither may leave a byte in the new file.
        const QByteArray previous(2 * kRecordSize, '\x01');
        writeFile("period.bio", previous);
        writeFile("period.bio.tmp", QByteArray(200 * kRecordSize, '\x01'));
        writeFile("table.csv", csv);
        const int exitCode = periodbio({"build", "table.csv", "period.bio"});
        const QByteArray messages = readFile("messages.txt");
        if (offset != kRefused) {
            QVERIFY2(exitCode == 0, messages.constData());
            const QByteArray built = readFile("period.bio");
            QCOMPARE(built.mid(offset, expected.size()), expected);
            QVERIFY(!built.contains('\x01'));
            QVERIFY(!QFile::exists("period.bio.tmp"));
        } else {
            QCOMPARE(exitCode, 1);
            QVERIFY2(messages.contains(expected), messages.constData());
            QCOMPARE(readFile("period.bio"), previous);
        }
    }

    // Runs periodbio beside a data file whose second record is cut short, a table
    // of no rows and a folder; expects its exit code, a piece of what it prints (to
    // "out.csv" or the given file) and of what it says, and no temporary file left.
    void dumpAndMisuse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QByteArray>("said");
        const auto row = [](const char* tag, const QStringList& arguments, int exitCode,
                            const char* printed, const char* said) {
            QTest::newRow(tag) << arguments << exitCode << QByteArray(printed) << QByteArray(said);
        };
        row("incomplete last record", {"dump", "a.bio"}, 0,
            "\n2,\"Name2        \",\"2  \",\"    \",,", "incomplete");
        row("- is standard output", {"dump", "a.bio", "-"}, 0, "\n2,\"Name2", "");
        row("output refused", {"dump", "a.bio", ">" + kFullDevice}, 1, "", "could not be written");
        row("dump over the data file", {"dump", "a.bio", "a.bio"}, 1, "", "data file itself");
        row("dump over another data file", {"dump", "a.bio", "b.bio"}, 1, "",
            "b.bio holds the rec");
        row("dump's files swapped", {"dump", "t.csv", "a.bio"}, 1, "",
            "periodbio build t.csv a.bio");
        row("dump into a folder", {"dump", "a.bio", "folder"}, 1, "", "folder is a folder");
        row("missing file", {"dump", "none.bio"}, 1, "", "none.bio: no such file");
        row("build over its own table", {"build", "t.csv", "t.csv"}, 1, "", "the table itself");
        row("build over a table", {"build", "t.csv", "empty.csv"}, 1, "", "reads as a table");
        row("build from a data file", {"build", "a.bio", "b.bio"}, 1, "", "periodbio dump a.bio");
        row("build of a header alone", {"build", "empty.csv", "b.bio"}, 1, "", "no record rows");
        row("build into a read-only file", {"build", "t.csv", "ro.bio"}, 1, "",
            "ro.bio is read-only");
        row("folder as the table", {"build", "folder", "b.bio"}, 1, "", "folder is a folder");
        row("folder in place of the data file", {"build", "t.csv", "folder"}, 1, "", "a folder");
        row("diff of two files", {"diff", "b.bio", "a.bio"}, 1, "record 2 (Name2): only in a.bio",
            "");
        row("diff of a table", {"diff", "a.bio", "t.csv"}, 2, "", "t.csv reads as a table");
        row("--help", {"--help"}, 0, "usage: periodbio build", "");
        row("--version", {"--version"}, 0, "periodbio (Orbitra Table) 1.", "");
        row("unknown command", {"frob"}, 2, "", "unknown command \"frob\"\nusage:");
        row("build without a data file", {"build", "a.csv"}, 2, "", "build needs TABLE.csv and D");
    }

    void dumpAndMisuse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, printed);
        QFETCH(QByteArray, said);
        const std::map<QString, QByteArray> files = {
            {"a.bio", sampleDataFile(2).left(kRecordSize + 20)},
            {"b.bio", sampleDataFile(1)},
            {"ro.bio", sampleDataFile(1)},
            {"empty.csv", kHeader},
            {"t.csv", kHeader + "I,1,,,,,,,,,,,,"}};
        for (const auto& [name, bytes] : files) {
            writeFile(name, bytes);
        }
        QVERIFY(QFile::setPermissions("ro.bio", QFile::ReadOwner) &&
                QDir().mkpath("folder/inside"));
        const QString output = arguments.last().startsWith('>') ? arguments.takeLast().mid(1)
                                                                : QStringLiteral("out.csv");
        QCOMPARE(periodbio(arguments, output), exitCode);
        // Standard output, a pipe, gets no byte-order mark.
        QVERIFY(readFile("out.csv").contains(printed) && !readFile("out.csv").startsWith("\xEF"));
        QVERIFY2(readFile("messages.txt").contains(said), readFile("messages.txt").constData());
        QVERIFY(!QFile::exists("folder.tmp") && !QFile::exists("-"));
        for (const auto& [name, bytes] : files) {
            QCOMPARE(readFile(name), bytes);
        }
    }

    // periodbio upgrade merges the shipped file into the user's by record, each
    // file given as the names of its records ('.' an empty one): DATAFILE, the
    // base ('-' for none, FIRST then standing in) and the shipped file.
    void upgradeMerges_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("shipped");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<QByteArray>("note");
        const auto row = [](const char* tag, const char* data, const char* base,
                            const char* shipped, const char* merged, const char* note) {
            QTest::newRow(tag) << data << base << shipped << merged << QByteArray(note);
        };
        row("unchanged records take the corrections", "abc", "abc", "aBC", "aBC", "");
        row("a changed record stays", "Xbc", "abc", "abC", "XbC", "");
        row("changed by both: the user's stays, and is told", "Xbc", "abc", "ABc", "XBc",
            "keeps your version: 1 A.\nTo see");
        row("changed alike by both", "Abc", "abc", "Abc", "Abc", "");
        row("records past the shipped ones stay", "abcz.y", "abc", "aBc", "aBcz.y", "");
        row("new shipped records arrive", "ab", "ab", "abc", "abc", "");
        row("no base: the first release's stands in", "Xbc", "-", "aBc", "XBc", "");
        row("read-only data file", "abc!", "abc", "aBc", "abc", "");
        row("shipped as the base", "Xbc", "aBc", "aBc", "Xbc", "");
    }

    void upgradeMerges() {
        QFETCH(QString, data);
        QFETCH(QString, base);
        QFETCH(QString, shipped);
        QFETCH(QString, merged);
        QFETCH(QByteArray, note);
        const auto file = [](QString names) {
            QByteArray bytes;
            for (int n = 0; n < names.remove('!').size(); ++n) {
                ElementRecord record;
                record.fields = {
                    names.at(n).toLatin1() == '.' ? "" : std::string(1, names.at(n).toLatin1()),
                    std::to_string(n + 1)};
                bytes += names.at(n) == '.' ? QByteArray(kRecordSize, '\0') : recordBytes(record);
            }
            return bytes;
        };
        writeFile("period.bio", file(data));
        writeFile("shipped.bio", file(shipped));
        writeFile("first.bio", file("abc"));
        if (base != u"-") {
            writeFile("base.bio", file(base));
        }
        QVERIFY(QFile::setPermissions("period.bio", data.endsWith('!')
                                                        ? QFile::ReadOwner
                                                        : QFile::ReadOwner | QFile::WriteOwner));
        const QStringList arguments = {"upgrade", "shipped.bio", "period.bio", "base.bio",
                                       "first.bio"};
        QCOMPARE(periodbio(arguments, "note.txt"), 0);
        QCOMPARE(readFile("period.bio"), file(merged));
        QVERIFY2(
            note.isEmpty() ? readFile("note.txt").isEmpty() : readFile("note.txt").contains(note),
            readFile("note.txt").constData());
        QCOMPARE(readFile("base.bio"), data.endsWith('!') ? file(base) : file(shipped));
        // The user is told once: the next start finds the base up to date.
        QCOMPARE(periodbio(arguments, "note.txt"), 0);
        QCOMPARE(readFile("note.txt") + readFile("period.bio"), file(merged));
    }
};

QTEST_GUILESS_MAIN(tst_periodbio)
#include "tst_periodbio.moc"
