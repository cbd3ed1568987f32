#include "periodbio.h"

#include "DataFiles.h"
#include "ElementRecord.h"
#include "Platform.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <limits>
#include <map>
#include <ostream>
#include <sstream>
#include <system_error>

namespace orbitra::periodbio {

namespace fs = std::filesystem;

bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, std::string& error) {
    rows.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::size_t i = 0;
    int line = 1;
    const auto atLineEnd = [&](std::size_t at) {
        return at < text.size() && (text[at] == '\n' || text[at] == '\r');
    };
    // Consumes one line break (CR LF, LF or CR) at `i`.
    const auto skipLineEnd = [&] {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        ++i;
        ++line;
    };
    while (i < text.size()) {
        CsvRow row;
        row.line = line;
        bool quotedAny = false;
        while (true) {
            std::string field;
            if (i < text.size() && text[i] == '"') {
                quotedAny = true;
                const int startLine = line;
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        error = "line " + std::to_string(startLine) +
                                ": a quoted field is never closed";
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (atLineEnd(i)) {
                        const bool crlf =
                            text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
                        field.append(text.substr(i, crlf ? 2 : 1));
                        skipLineEnd();
                        continue;
                    }
                    field += text[i++];
                }
                if (i < text.size() && text[i] != ',' && !atLineEnd(i)) {
                    error = "line " + std::to_string(line) + ": text after the closing quote";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != ',' && !atLineEnd(i)) {
                    field += text[i++];
                }
            }
            row.fields.push_back(std::move(field));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < text.size()) {
            skipLineEnd();
        }
        const bool blank = !quotedAny && row.fields.size() == 1 && row.fields[0].empty();
        if (!blank) {
            rows.push_back(std::move(row));
        }
    }
    return true;
}

std::string csvField(std::string_view text) {
    const bool needsQuotes = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                             (!text.empty() && (text.front() == ' ' || text.front() == '\t' ||
                                                text.back() == ' ' || text.back() == '\t'));
    if (!needsQuotes) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}

namespace {

constexpr std::string_view kRecordColumn = "record";

// Length in bytes of the UTF-8 sequence that starts with `lead` (1 for a stray
// byte, which the code page conversion then reports).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

std::string codePoint(std::string_view character) {
    std::ostringstream out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(character.data());
    std::uint32_t value = bytes[0];
    if (character.size() > 1) {
        value = bytes[0] & (0xFF >> (character.size() + 1));
        for (std::size_t k = 1; k < character.size(); ++k) {
            value = (value << 6) | (bytes[k] & 0x3F);
        }
    }
    out << "U+" << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << value;
    return out.str();
}

// Why `text` (valid UTF-8) cannot be stored in a field of `width` bytes, or
// empty when it can.
std::string fieldProblem(std::string_view text, int width) {
    if (text.find('\0') != std::string_view::npos) {
        return "holds a NUL character, which the data file cannot keep";
    }
    const std::string ansi = utf8ToAnsi(text);
    if (std::count(ansi.begin(), ansi.end(), '?') != std::count(text.begin(), text.end(), '?')) {
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n =
                std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
            const std::string_view character = text.substr(i, n);
            if (character != "?" && utf8ToAnsi(character) == "?") {
                return "holds the character " + std::string(character) + " (" +
                       codePoint(character) + "), which the code page " + codePageName() + " lacks";
            }
            i += n;
        }
    }
    if (ansi.size() > static_cast<std::size_t>(width)) {
        return "has " + std::to_string(ansi.size()) + " characters; the field holds " +
               std::to_string(width);
    }
    return {};
}

// The highest record number the program reaches; a higher one would make a
// file of gigabytes, mostly zero bytes.
constexpr std::int32_t kHighestRecord = 32767;

// A whole number from 1 to kHighestRecord, or 0.
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
        value > kHighestRecord) {
        return 0;
    }
    return value;
}

std::string inQuotes(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

void appendUtf8(std::string& out, std::uint32_t value) {
    if (value < 0x80) {
        out += char(value);
    } else if (value < 0x800) {
        out += char(0xC0 | value >> 6);
        out += char(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += char(0xE0 | value >> 12);
        out += char(0x80 | (value >> 6 & 0x3F));
        out += char(0x80 | (value & 0x3F));
    } else {
        out += char(0xF0 | value >> 18);
        out += char(0x80 | (value >> 12 & 0x3F));
        out += char(0x80 | (value >> 6 & 0x3F));
        out += char(0x80 | (value & 0x3F));
    }
}

// UTF-16 text after its byte-order mark as UTF-8; false on a lone surrogate or
// an odd number of bytes.
bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    out.clear();
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t value = unit(i);
        if (value >= 0xD800 && value < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            value = 0x10000 + ((value - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (value >= 0xD800 && value < 0xE000) {
            return false;
        }
        appendUtf8(out, value);
    }
    return true;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = sequenceLength(lead);
        if ((lead >= 0x80 && n == 1) || lead == 0xC0 || lead == 0xC1 || lead > 0xF4 ||
            i + n > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

// A table as a spreadsheet or a shell may have saved it, as UTF-8: UTF-8 with or
// without a byte-order mark, UTF-16 with one (PowerShell's `>`, Excel's Unicode
// text), or else the code page of the data file (Excel's plain CSV). `how`
// names the encoding read when it was not UTF-8.
bool tableText(std::string_view bytes, std::string& text, std::string& how) {
    how.clear();
    for (const bool bigEndian : {false, true}) {
        if (bytes.substr(0, 2) == (bigEndian ? "\xFE\xFF" : "\xFF\xFE")) {
            how = bigEndian ? "UTF-16 (big-endian)" : "UTF-16";
            return utf16ToUtf8(bytes.substr(2), bigEndian, text);
        }
    }
    if (isUtf8(bytes)) {
        text = bytes;
        return true;
    }
    how = codePageName();
    text = ansiToUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return true;
}

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

}  // namespace

int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err) {
    std::string bytes, text, how;
    std::string error;
    if (!readWholeFile(csvPath, bytes, error)) {
        err << "periodbio: " << error << '\n';
        return 1;
    }
    if (!tableText(bytes, text, how)) {
        err << "periodbio: " << csvPath << " is not valid " << how << " text\n";
        return 1;
    }
    if (!how.empty()) {
        err << "periodbio: " << csvPath << ": read as " << how << '\n';
    }
    std::vector<CsvRow> rows;
    if (!parseCsv(text, rows, error)) {
        err << "periodbio: " << csvPath << ", " << error << '\n';
        return 1;
    }
    if (rows.empty()) {
        err << "periodbio: " << csvPath << " is empty; it needs a header row\n";
        return 1;
    }

    std::vector<std::string> expected;
    for (int f = 0; f < kPropertyCount; ++f) {
        expected.emplace_back(kFields[f].box);
    }
    const std::vector<std::string>& header = rows.front().fields;
    const bool withRecord = !header.empty() && header.front() == kRecordColumn;
    if (header != expected && !(withRecord && std::equal(header.begin() + 1, header.end(),
                                                         expected.begin(), expected.end()))) {
        std::string names;
        for (const std::string& name : expected) {
            names += (names.empty() ? "" : ",") + name;
        }
        err << "periodbio: " << csvPath << ", line " << rows.front().line << ": the header must be "
            << names << " (optionally after record)\n";
        return 1;
    }
    const std::size_t first = withRecord ? 1 : 0;

    std::map<std::int32_t, ElementRecord> records;
    std::map<std::int32_t, int> lineOfRecord;
    int problems = 0;
    const auto complain = [&](int line, const std::string& what) {
        err << "periodbio: " << csvPath << ", line " << line << ": " << what << '\n';
        ++problems;
    };
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (row.fields.size() != header.size()) {
            complain(row.line, "has " + std::to_string(row.fields.size()) + " fields; " +
                                   std::to_string(header.size()) + " expected");
            continue;
        }
        const std::string& numberText = row.fields[withRecord ? 0 : first + 1];
        const std::int32_t number = recordNumber(numberText);
        if (number == 0) {
            complain(row.line, std::string(withRecord ? "record number " : "atomic number (cAN) ") +
                                   inQuotes(numberText) + " is not a whole number from 1 to " +
                                   std::to_string(kHighestRecord) + "; it gives the record");
        } else if (const auto seen = lineOfRecord.find(number); seen != lineOfRecord.end()) {
            complain(row.line, "record " + std::to_string(number) + " is already given on line " +
                                   std::to_string(seen->second));
        }
        ElementRecord record;
        bool sound = number != 0 && !lineOfRecord.count(number);
        for (int f = 0; f < kPropertyCount; ++f) {
            const std::string& value = row.fields[first + f];
            const std::string problem = fieldProblem(value, kFields[f].width);
            if (!problem.empty()) {
                complain(row.line, "field " + std::string(kFields[f].box) + " (" +
                                       std::string(kFields[f].caption) + ") " + inQuotes(value) +
                                       " " + problem);
                sound = false;
            }
            record.fields[f] = value;
        }
        if (sound) {
            lineOfRecord[number] = row.line;
            records[number] = std::move(record);
        }
    }
    if (problems > 0) {
        err << "periodbio: " << dataPath << " not written\n";
        return 1;
    }

    // Written beside the target first, then moved over it, so a failure midway
    // leaves the old file as it was.
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
    if (!replaceFile(pathFromUtf8(temporary), pathFromUtf8(dataPath), error)) {
        return fail(error);
    }
    return 0;
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
    // leaves the target as it was.
    const std::string temporary = csvPath + ".tmp";
    int status = 1;
    {
        std::ofstream out(pathFromUtf8(temporary), std::ios::binary | std::ios::trunc);
        if (!out) {
            err << "periodbio: " << csvPath << ": cannot be written\n";
            return 1;
        }
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
