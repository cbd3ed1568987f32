#include "Periodbio.h"

#include "Csv.h"
#include "DataFiles.h"
#include "ElementRecord.h"
#include "Platform.h"
#include "TableText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <ostream>
#include <sstream>
#include <system_error>

namespace orbitra::periodbio {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRecordColumn = "record";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kStandardStream = "-";

using Records = std::map<std::int32_t, ElementRecord>;

// Says each problem of a table with its file and line, and counts them.
struct Problems {
    std::ostream& err;
    const std::string& csvPath;
    int count = 0;
    void add(int line, const std::string& what) {
        err << "periodbio: " << csvPath << ", line " << line << ": " << what << '\n';
        ++count;
    }
};

std::string inQuotes(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string fieldName(int f) {
    return "field " + std::string(kFields[f].box) + " (" + std::string(kFields[f].caption) + ")";
}

// "U+" and the number of the UTF-8 character that `character` begins with.
std::string codePoint(std::string_view character) {
    std::size_t i = 0;
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(nextUtf8(character, i)));
    return name;
}

// Why `text` (UTF-8) cannot be stored in a field of `width` bytes, or empty when
// it can.
std::string fieldProblem(std::string_view text, int width) {
    if (text.find('\0') != std::string_view::npos) {
        return "holds a NUL character, which the data file cannot keep";
    }
    const std::string unstorable = firstUnstorable(text, static_cast<int>(text.size()));
    if (!unstorable.empty()) {
        return "holds the character " + unstorable + " (" + codePoint(unstorable) +
               "), which the code page " + codePageName() + " lacks";
    }
    const std::size_t stored = utf8ToAnsi(text).size();
    if (stored > static_cast<std::size_t>(width)) {
        return "has " + std::to_string(stored) + " characters; the field holds " +
               std::to_string(width);
    }
    return {};
}

// A whole number from 1 to kLargestRecord, or 0.
std::int32_t recordNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < 1 ||
        value > kLargestRecord) {
        return 0;
    }
    return value;
}

// Reads the bytes of the file at `path`, or of standard input for "-".
bool readInput(const std::string& path, std::string& contents, std::string& error) {
    std::ostringstream buffer;
    if (path == kStandardStream) {
        buffer << std::cin.rdbuf();
        contents = buffer.str();
        return true;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(pathFromUtf8(path), ec);
    if (status.type() == fs::file_type::not_found) {
        error = path + ": no such file";
        return false;
    }
    if (status.type() == fs::file_type::directory) {
        error = path + " is a folder, not a file";
        return false;
    }
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) {
        error = path + ": cannot be read: " + std::strerror(errno);
        return false;
    }
    buffer << in.rdbuf();
    if (!in && !in.eof()) {
        error = path + ": cannot be read";
        return false;
    }
    contents = buffer.str();
    return true;
}

// The box names as a header row has them; true when `names` are they,
// optionally after "record" (then `withRecord`).
bool isHeader(const std::vector<std::string>& names, bool& withRecord) {
    std::vector<std::string> expected;
    for (int f = 0; f < kPropertyCount; ++f) {
        expected.emplace_back(kFields[f].box);
    }
    withRecord = !names.empty() && names.front() == kRecordColumn;
    return names == expected || (withRecord && std::equal(names.begin() + 1, names.end(),
                                                          expected.begin(), expected.end()));
}

// True when `bytes` begin with a header row as build reads it.
bool readsAsTable(std::string_view bytes) {
    TableText table;
    std::string error;
    if (!decodeTable(bytes, table, error)) {
        return false;
    }
    const char separator = headerSeparator(table.text);
    const std::size_t start = table.text.find_first_not_of("\r\n");
    if (separator == 0 || start == std::string::npos) {
        return false;
    }
    const std::size_t end = table.text.find_first_of("\r\n", start);
    std::vector<CsvRow> rows;
    bool withRecord = false;
    return parseCsv(std::string_view(table.text).substr(start, end - start), separator, rows,
                    error) &&
           !rows.empty() && isHeader(rows.front().fields, withRecord);
}

// True when `bytes` hold a record of a data file: one that ends as every
// record ends, and no header row of a table.
bool holdsRecords(std::string_view bytes) {
    if (readsAsTable(bytes)) {
        return false;
    }
    for (std::size_t end = kRecordSize; end <= bytes.size(); end += kRecordSize) {
        if (bytes.substr(end - 2, 2) == "\r\n") {
            return true;
        }
    }
    return false;
}

// The bytes of an existing regular file at `path`; empty for a missing file, a
// stream or anything unreadable.
std::string existingFile(const std::string& path) {
    std::error_code ec;
    std::string contents, error;
    if (path == kStandardStream || !fs::is_regular_file(pathFromUtf8(path), ec) ||
        !readInput(path, contents, error)) {
        return {};
    }
    return contents;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a != kStandardStream && b != kStandardStream &&
           fs::equivalent(pathFromUtf8(a), pathFromUtf8(b), ec);
}

// Writes `bytes` to the file `path` as saveFile does, or to standard output for
// "-"; says why not on `err`.
bool writeOutput(const std::string& path, std::string_view bytes, std::ostream& err) {
    if (path == kStandardStream) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush();
        if (!std::cout) {
            err << "periodbio: the output could not be written\n";
        }
        return static_cast<bool>(std::cout);
    }
    const WriteProblem problem = saveFile(pathFromUtf8(path), bytes);
    switch (problem.kind) {
        case WriteProblem::None:
            return true;
        case WriteProblem::ReadOnly:
            err << "periodbio: " << path << ' ' << writeRefusalWords({}) << ": not written\n";
            break;
        case WriteProblem::NotWritable:
            err << "periodbio: " << path << ' ' << writeRefusalWords(problem.reason) << '\n';
            break;
        case WriteProblem::Folder:
            err << "periodbio: " << path << " is a folder, not a file\n";
            break;
        case WriteProblem::Failed:
            err << "periodbio: " << path << ": " << problem.reason << '\n';
            break;
    }
    return false;
}

// The data file holding `records`, each at its number, zero bytes between them.
std::string dataFileBytes(const Records& records) {
    std::string bytes;
    for (const auto& [number, record] : records) {
        const RecordBytes encoded = encodeRecord(record);
        bytes.resize(static_cast<std::size_t>(number) * kRecordSize, '\0');
        std::copy(encoded.begin(), encoded.end(), bytes.end() - kRecordSize);
    }
    return bytes;
}

// Record `number` (from 1) of a data file's bytes; the cleared bytes past the end.
RecordBytes recordAt(std::string_view bytes, std::size_t number) {
    RecordBytes record{};
    const std::size_t offset = (number - 1) * kRecordSize;
    if (offset < bytes.size()) {
        const std::size_t size = std::min<std::size_t>(kRecordSize, bytes.size() - offset);
        std::copy_n(bytes.data() + offset, size, record.begin());
    }
    return record;
}

std::size_t recordCount(std::string_view bytes) {
    return (bytes.size() + kRecordSize - 1) / kRecordSize;
}

bool isEmptyRecord(const RecordBytes& record) {
    return std::all_of(record.begin(), record.end(), [](unsigned char b) { return b == 0; });
}

std::string withoutTrailingBlanks(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// Reads a data file for diff and upgrade: refused when it reads as a table.
bool readDataFile(const std::string& path, std::string& bytes, std::ostream& err) {
    std::string error;
    if (!readInput(path, bytes, error)) {
        err << "periodbio: " << error << '\n';
        return false;
    }
    if (readsAsTable(bytes)) {
        err << "periodbio: " << path << " reads as a table, not as a data file\n";
        return false;
    }
    return true;
}

// Checks the header row: the fourteen box names, optionally after "record"
// (then `withRecord`), separated by `separator`.
bool checkHeader(const CsvRow& header, char separator, bool& withRecord, Problems& problems) {
    if (separator == 0) {
        problems.add(header.line, "the header separates its columns by none of " +
                                      std::string(kSeparatorNames) +
                                      ", the separators periodbio reads");
        return false;
    }
    if (isHeader(header.fields, withRecord)) {
        return true;
    }
    std::string joined;
    for (int f = 0; f < kPropertyCount; ++f) {
        joined += (joined.empty() ? "" : std::string(1, separator)) + std::string(kFields[f].box);
    }
    problems.add(header.line, "the header must be " + joined + " (optionally after " +
                                  std::string(kRecordColumn) + ")");
    return false;
}

// Builds the records: each row decoded, its record number and fields checked.
Records buildRecords(const TableText& table, const std::vector<CsvRow>& rows, bool withRecord,
                     Problems& problems) {
    const std::size_t first = withRecord ? 1 : 0;
    const std::size_t columns = first + kPropertyCount;
    Records records;
    std::map<std::int32_t, int> lineOfRecord;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (row.fields.size() != columns) {
            problems.add(row.line, "has " + std::to_string(row.fields.size()) + " fields; " +
                                       std::to_string(columns) + " expected");
            continue;
        }
        std::vector<std::string> texts(columns);
        bool sound = true;
        for (std::size_t c = 0; c < columns; ++c) {
            std::string problem;
            if (!decodeField(table, row.fields[c], texts[c], problem)) {
                problems.add(row.line, (c < first ? "record number "
                                                  : fieldName(static_cast<int>(c - first)) + " ") +
                                           problem);
                sound = false;
            }
        }
        if (!sound) {
            continue;
        }
        const std::string& numberText = texts[withRecord ? 0 : first + 1];
        const std::int32_t number = recordNumber(numberText);
        if (number == 0) {
            problems.add(row.line,
                         std::string(withRecord ? "record number " : "atomic number (cAN) ") +
                             inQuotes(numberText) + " is not a whole number from 1 to " +
                             std::to_string(kLargestRecord) + "; it gives the record");
            sound = false;
        } else if (const auto seen = lineOfRecord.find(number); seen != lineOfRecord.end()) {
            problems.add(row.line, "record " + std::to_string(number) +
                                       " is already given on line " + std::to_string(seen->second));
            sound = false;
        }
        ElementRecord record;
        for (int f = 0; f < kPropertyCount; ++f) {
            const std::string& value = texts[first + f];
            if (const std::string problem = fieldProblem(value, kFields[f].width);
                !problem.empty()) {
                problems.add(row.line, fieldName(f) + " " + inQuotes(value) + " " + problem);
                sound = false;
            }
            record.fields[f] = value;
        }
        if (sound) {
            lineOfRecord[number] = row.line;
            records[number] = std::move(record);
        }
    }
    return records;
}

}  // namespace

int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err) {
    std::string bytes, error;
    TableText table;
    if (!readInput(csvPath, bytes, error)) {
        err << "periodbio: " << error << '\n';
        return 1;
    }
    // The slips that would put a data file over a table.
    if (sameFile(csvPath, dataPath)) {
        err << "periodbio: " << dataPath << " is the table itself; name the data file to write: "
            << "periodbio build " << csvPath << " period.bio\n";
        return 1;
    }
    if (holdsRecords(bytes)) {
        err << "periodbio: " << csvPath << " reads as a data file, not as a table; to write it "
            << "as a table: periodbio dump " << csvPath << " " << dataPath << '\n';
        return 1;
    }
    if (readsAsTable(existingFile(dataPath))) {
        err << "periodbio: " << dataPath << " reads as a table; build writes a data file, "
            << "such as period.bio, and never over a table. Nothing written\n";
        return 1;
    }
    if (!decodeTable(bytes, table, error)) {
        err << "periodbio: " << csvPath << " " << error << '\n';
        return 1;
    }
    if (!table.readAs.empty()) {
        err << "periodbio: " << csvPath << ": read as " << table.readAs << '\n';
    }
    const char separator = headerSeparator(table.text);
    std::vector<CsvRow> rows;
    if (!parseCsv(table.text, separator ? separator : ',', rows, error)) {
        err << "periodbio: " << csvPath << ", " << error << '\n';
        return 1;
    }
    if (rows.empty()) {
        err << "periodbio: " << csvPath << " is empty; it needs a header row\n";
        return 1;
    }
    Problems problems{err, csvPath};
    bool withRecord = false;
    if (!checkHeader(rows.front(), separator, withRecord, problems)) {
        return 1;
    }
    if (rows.size() == 1) {
        err << "periodbio: " << csvPath << " holds no record rows, only its header; " << dataPath
            << " not written\n";
        return 1;
    }
    const Records records = buildRecords(table, rows, withRecord, problems);
    if (problems.count > 0) {
        err << "periodbio: " << dataPath << " not written\n";
        return 1;
    }
    return writeOutput(dataPath, dataFileBytes(records), err) ? 0 : 1;
}

namespace {

// The dump of a data file's bytes: the header, then each record that is not
// all zero bytes.
std::string dumpText(std::string_view contents) {
    std::string text(kRecordColumn);
    for (int f = 0; f < kPropertyCount; ++f) {
        text.append(",").append(kFields[f].box);
    }
    text += '\n';
    for (std::size_t n = 1; n <= recordCount(contents); ++n) {
        const RecordBytes bytes = recordAt(contents, n);
        if (isEmptyRecord(bytes)) {
            continue;
        }
        text += std::to_string(n);
        for (const std::string& field : decodeRecord(bytes).fields) {
            text.append(",").append(csvField(field));
        }
        text += '\n';
    }
    return text;
}

// Reads the data file to dump; refuses a table, naming build.
bool readForDump(const std::string& dataPath, const std::string& csvPath, std::string& contents,
                 std::ostream& err) {
    std::string error;
    if (!readInput(dataPath, contents, error)) {
        err << "periodbio: " << error << '\n';
        return false;
    }
    if (readsAsTable(contents)) {
        err << "periodbio: " << dataPath << " reads as a table, not as a data file; to build a "
            << "data file from it: periodbio build " << dataPath << " "
            << (csvPath.empty() ? "period.bio" : csvPath) << '\n';
        return false;
    }
    if (contents.size() % kRecordSize != 0) {
        err << "periodbio: " << dataPath << ": " << contents.size()
            << " bytes is not a whole number of " << kRecordSize
            << "-byte records; the last record is incomplete\n";
    }
    return true;
}

}  // namespace

int dump(const std::string& dataPath, std::ostream& out, std::ostream& err) {
    std::string contents;
    if (!readForDump(dataPath, {}, contents, err)) {
        return 1;
    }
    out << dumpText(contents);
    out.flush();
    if (!out) {
        err << "periodbio: the output could not be written\n";
        return 1;
    }
    return 0;
}

int dump(const std::string& dataPath, const std::string& csvPath, std::ostream& err) {
    if (csvPath == kStandardStream) {
        return dump(dataPath, std::cout, err);
    }
    if (sameFile(dataPath, csvPath)) {
        err << "periodbio: " << csvPath << " is the data file itself; name another file\n";
        return 1;
    }
    std::string contents;
    if (!readForDump(dataPath, csvPath, contents, err)) {
        return 1;
    }
    if (holdsRecords(existingFile(csvPath))) {
        err << "periodbio: " << csvPath << " holds the records of a data file; a dump never "
            << "writes a table over one. Name a new file or a table, such as mine.csv\n";
        return 1;
    }
    // The byte-order mark tells a spreadsheet opening the file that it is UTF-8.
    return writeOutput(csvPath, std::string(kByteOrderMark) + dumpText(contents), err) ? 0 : 1;
}

int diff(const std::string& firstPath, const std::string& secondPath, std::ostream& out,
         std::ostream& err) {
    std::string first, second;
    if (!readDataFile(firstPath, first, err) || !readDataFile(secondPath, second, err)) {
        return 2;
    }
    int differing = 0;
    for (std::size_t n = 1; n <= std::max(recordCount(first), recordCount(second)); ++n) {
        const RecordBytes a = recordAt(first, n), b = recordAt(second, n);
        if (a == b) {
            continue;
        }
        ++differing;
        const ElementRecord left = decodeRecord(a), right = decodeRecord(b);
        const std::string name =
            withoutTrailingBlanks(isEmptyRecord(a) ? right.fields[0] : left.fields[0]);
        out << "record " << n << (name.empty() ? "" : " (" + name + ")");
        if (isEmptyRecord(a) != isEmptyRecord(b)) {
            out << ": only in " << (isEmptyRecord(a) ? secondPath : firstPath) << '\n';
            continue;
        }
        out << ":\n";
        for (int f = 0; f < kPropertyCount; ++f) {
            if (left.fields[f] == right.fields[f]) {
                continue;
            }
            // Values as shown, unless only their trailing blanks differ.
            const bool blanks =
                withoutTrailingBlanks(left.fields[f]) == withoutTrailingBlanks(right.fields[f]);
            const auto shown = [&](const std::string& v) {
                return inQuotes(blanks ? v : withoutTrailingBlanks(v));
            };
            out << "  " << fieldName(f) << ": " << shown(left.fields[f]) << " in " << firstPath
                << ", " << shown(right.fields[f]) << " in " << secondPath << '\n';
        }
        if (a[kRecordSize - 2] != b[kRecordSize - 2] || a[kRecordSize - 1] != b[kRecordSize - 1]) {
            out << "  the record's line end\n";
        }
    }
    out.flush();
    return differing == 0 ? 0 : 1;
}

int upgrade(const std::string& shippedPath, const std::string& dataPath,
            const std::string& basePath, const std::string& firstShippedPath, std::ostream& out,
            std::ostream& err) {
    std::string shipped, base, data, error;
    if (!readDataFile(shippedPath, shipped, err)) {
        return 1;
    }
    // Whoever has no base yet was given the first release's file, or nothing known.
    std::error_code ec;
    const bool hasBase = fs::exists(pathFromUtf8(basePath), ec);
    if (hasBase ? !readDataFile(basePath, base, err)
                : !firstShippedPath.empty() && !readDataFile(firstShippedPath, base, err)) {
        return 1;
    }
    const bool hasData = fs::exists(pathFromUtf8(dataPath), ec);
    if (hasData && base != shipped) {
        if (!readDataFile(dataPath, data, err)) {
            return 1;
        }
        if (writeProblem(pathFromUtf8(dataPath))) {
            // Made read-only by its user: left as it is, and merged once writable.
            return 0;
        }
        // Record by record: one the user left as shipped takes the new shipped
        // record; one the user changed stays; records past the shipped ones stay.
        std::string merged = data;
        std::vector<std::size_t> kept;
        merged.resize(std::max(data.size(), recordCount(shipped) * kRecordSize), '\0');
        for (std::size_t n = 1; n <= recordCount(shipped); ++n) {
            const RecordBytes mine = recordAt(data, n), given = recordAt(base, n),
                              now = recordAt(shipped, n);
            if (mine == given) {
                std::copy(now.begin(), now.end(), merged.begin() + (n - 1) * kRecordSize);
            } else if (now != given && now != mine) {
                kept.push_back(n);
            }
        }
        if (merged != data && !writeOutput(dataPath, merged, err)) {
            return 1;
        }
        if (!kept.empty()) {
            out << "Orbitra Table's new data corrects records that you had changed in " << dataPath
                << ", which keeps your version:";
            for (const std::size_t n : kept) {
                const std::string name =
                    withoutTrailingBlanks(decodeRecord(recordAt(shipped, n)).fields[0]);
                out << (n == kept.front() ? " " : ", ") << n << (name.empty() ? "" : " " + name);
            }
            out << ".\nTo see how they differ from the corrected ones: periodbio diff \""
                << dataPath << "\" \"" << basePath << "\"\n";
        }
    }
    if (hasBase && base == shipped) {
        return 0;
    }
    // The base becomes the shipped file just merged.
    fs::create_directories(pathFromUtf8(basePath).parent_path(), ec);
    return writeOutput(basePath, shipped, err) ? 0 : 1;
}

}  // namespace orbitra::periodbio
