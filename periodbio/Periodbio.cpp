#include "Periodbio.h"

#include "Csv.h"
#include "DataFiles.h"
#include "ElementRecord.h"
#include "Platform.h"
#include "TableText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <system_error>

namespace orbitra::periodbio {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRecordColumn = "record";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

// Reads the table: the bytes of the file at `path`.
bool readWholeFile(const std::string& path, std::string& contents, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(pathFromUtf8(path), ec)) {
        error = path + ": no such file";
        return false;
    }
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (!in && !in.eof()) {
        error = path + ": cannot be read";
        return false;
    }
    contents = buffer.str();
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
    std::vector<std::string> expected;
    for (int f = 0; f < kPropertyCount; ++f) {
        expected.emplace_back(kFields[f].box);
    }
    const std::vector<std::string>& names = header.fields;
    withRecord = !names.empty() && names.front() == kRecordColumn;
    if (names == expected || (withRecord && std::equal(names.begin() + 1, names.end(),
                                                       expected.begin(), expected.end()))) {
        return true;
    }
    std::string joined;
    for (const std::string& name : expected) {
        joined += (joined.empty() ? "" : std::string(1, separator)) + name;
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

// Writes the records to a fresh data file beside `dataPath`, then moves it over
// `dataPath`, so a failure midway leaves the old file as it was.
int writeDataFile(const Records& records, const std::string& dataPath, std::ostream& err) {
    const std::string temporary = dataPath + ".tmp";
    std::error_code ec;
    fs::remove(pathFromUtf8(temporary), ec);
    const auto fail = [&](const std::string& what) {
        err << "periodbio: " << dataPath << ": " << what << '\n';
        fs::remove(pathFromUtf8(temporary), ec);
        return 1;
    };
    {
        DataFiles files;
        Status status = files.open(1, temporary);
        if (!status.ok()) {
            return fail(status.message);
        }
        std::size_t written = 0;
        for (const auto& [number, record] : records) {
            ++written;
            status = WriteRecord(files, 1, number, record,
                                 written == records.size() ? Sync::Yes : Sync::No);
            if (!status.ok()) {
                files.close(1);
                return fail(status.message);
            }
        }
        files.close(1);
    }
    std::string error;
    if (!replaceFile(pathFromUtf8(temporary), pathFromUtf8(dataPath), error)) {
        return fail(error);
    }
    return 0;
}

}  // namespace

int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err) {
    std::string bytes, error;
    TableText table;
    if (!readWholeFile(csvPath, bytes, error)) {
        err << "periodbio: " << error << '\n';
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
    const Records records = buildRecords(table, rows, withRecord, problems);
    if (problems.count > 0) {
        err << "periodbio: " << dataPath << " not written\n";
        return 1;
    }
    return writeDataFile(records, dataPath, err);
}

int dump(const std::string& dataPath, std::ostream& out, std::ostream& err) {
    std::string contents;
    std::string error;
    if (!readWholeFile(dataPath, contents, error)) {
        err << "periodbio: " << error << '\n';
        return 1;
    }
    if (contents.size() % kRecordSize != 0) {
        err << "periodbio: " << dataPath << ": " << contents.size()
            << " bytes is not a whole number of " << kRecordSize
            << "-byte records; the last record is incomplete\n";
    }
    out << kRecordColumn;
    for (int f = 0; f < kPropertyCount; ++f) {
        out << ',' << kFields[f].box;
    }
    out << '\n';
    const std::size_t count = (contents.size() + kRecordSize - 1) / kRecordSize;
    for (std::size_t n = 0; n < count; ++n) {
        RecordBytes bytes{};
        const std::size_t offset = n * kRecordSize;
        const std::size_t size = std::min<std::size_t>(kRecordSize, contents.size() - offset);
        std::copy_n(contents.data() + offset, size, bytes.begin());
        if (std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; })) {
            continue;
        }
        const ElementRecord record = decodeRecord(bytes);
        out << n + 1;
        for (const std::string& field : record.fields) {
            out << ',' << csvField(field);
        }
        out << '\n';
    }
    out.flush();
    if (!out) {
        err << "periodbio: the output could not be written\n";
        return 1;
    }
    return 0;
}

int dump(const std::string& dataPath, const std::string& csvPath, std::ostream& err) {
    std::error_code ec;
    if (fs::equivalent(pathFromUtf8(dataPath), pathFromUtf8(csvPath), ec)) {
        err << "periodbio: " << csvPath << " is the data file itself; name another file\n";
        return 1;
    }
    // Into a file beside the target, then over it: a dump that fails midway
    // leaves the target as it was. The byte-order mark tells a spreadsheet
    // opening the file that it is UTF-8.
    const std::string temporary = csvPath + ".tmp";
    int status = 1;
    {
        std::ofstream out(pathFromUtf8(temporary), std::ios::binary | std::ios::trunc);
        if (!out) {
            err << "periodbio: " << csvPath << ": cannot be written\n";
            return 1;
        }
        out << kByteOrderMark;
        status = dump(dataPath, out, err);
    }
    std::string error;
    if (status == 0 && !replaceFile(pathFromUtf8(temporary), pathFromUtf8(csvPath), error)) {
        err << "periodbio: " << csvPath << ": " << error << '\n';
        status = 1;
    }
    if (status != 0) {
        fs::remove(pathFromUtf8(temporary), ec);
    }
    return status;
}

}  // namespace orbitra::periodbio
