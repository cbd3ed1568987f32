#include "Csv.h"

namespace orbitra::periodbio {

char headerSeparator(std::string_view text) {
    const std::size_t start = text.find_first_not_of("\r\n");
    if (start == std::string_view::npos) {
        return 0;
    }
    const std::size_t found = text.find_first_of(",;\t\r\n", start);
    return found == std::string_view::npos || text[found] == '\r' || text[found] == '\n'
               ? 0
               : text[found];
}

bool parseCsv(std::string_view text, char separator, std::vector<CsvRow>& rows,
              std::string& error) {
    rows.clear();
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
                if (i < text.size() && text[i] != separator && !atLineEnd(i)) {
                    error = "line " + std::to_string(line) + ": text after the closing quote";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != separator && !atLineEnd(i)) {
                    field += text[i++];
                }
            }
            row.fields.push_back(std::move(field));
            if (i < text.size() && text[i] == separator) {
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

}  // namespace orbitra::periodbio
