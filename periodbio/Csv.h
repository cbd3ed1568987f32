#pragma once

// CSV as periodbio reads and writes it: fields separated by a comma, a semicolon
// or a tab (the one the header row uses), lines ending in LF, CR LF or CR,
// fields holding the separator, a quote or a line break in double quotes, a
// quote inside doubled. Reading works on the table's bytes in UTF-8 or in a
// system code page alike: separators, quotes and line breaks are bytes below
// 0x40, which no such code page uses inside a character of two bytes.

#include <string>
#include <string_view>
#include <vector>

namespace orbitra::periodbio {

struct CsvRow {
    int line = 0;  // line of the file on which the row starts, from 1
    std::vector<std::string> fields;
};

// The separators a table may use, for messages.
inline constexpr std::string_view kSeparatorNames = "a comma (,), a semicolon (;) or a tab";

// The separator of the first line that is not blank (the header row): the first
// comma, semicolon or tab on it; 0 when it holds none.
char headerSeparator(std::string_view text);

// Splits CSV text into rows; blank lines are skipped. False with `error` (naming
// the line) on a quoted field that is never closed or has text after its
// closing quote.
bool parseCsv(std::string_view text, char separator, std::vector<CsvRow>& rows, std::string& error);

// One field as comma-separated CSV: quoted when it holds a comma, quote or line
// break, or begins or ends with a blank (so that spreadsheets keep the blanks),
// quotes doubled.
std::string csvField(std::string_view text);

}  // namespace orbitra::periodbio
