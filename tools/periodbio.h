#pragma once

// periodbio: builds the data file "period.bio" from a CSV table and dumps a data
// file back to CSV, through the record layer, so the file it writes is exactly
// what the program reads.
//
// CSV: comma-separated, lines ending in LF or CR LF, fields with commas, quotes
// or line breaks in double quotes, a quote inside doubled. The dump writes UTF-8;
// the build reads UTF-8 (with or without a byte-order mark), UTF-16 with a
// byte-order mark, and any other file in the data file's code page, as
// spreadsheets and PowerShell save tables.
// The first row names the columns: either the fourteen box names (cname ... cHF),
// each row then going to the record of its atomic number, or "record" followed
// by them, the record number then coming from that column (the dump layout).

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace orbitra::periodbio {

struct CsvRow {
    int line = 0;  // line of the file on which the row starts, from 1
    std::vector<std::string> fields;
};

// Splits CSV text into rows; blank lines are skipped. False with `error` (naming
// the line) on a quoted field that is never closed or has text after its
// closing quote.
bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, std::string& error);

// One field as CSV: quoted when it holds a comma, quote or line break, or begins
// or ends with a blank (so that spreadsheets keep the blanks), quotes doubled.
std::string csvField(std::string_view text);

// Checks every row of `csvPath` and, when all are sound, writes them to a fresh
// data file at `dataPath` (replacing it; a refused table leaves it untouched).
// Each problem goes to `err` with its line and field. Returns the exit code:
// 0 on success, 1 otherwise.
int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err);

// Prints the records of `dataPath` as CSV to `out`: a header, then the record
// number and the fourteen fields exactly as stored (trailing blanks kept) of
// every record that is not all zero bytes. Never creates or changes the file.
// Returns 0 on success, 1 with a message on `err` otherwise.
int dump(const std::string& dataPath, std::ostream& out, std::ostream& err);

// The same into the file `csvPath` (UTF-8), replacing it once the whole table is
// written; refuses to write over the data file itself.
int dump(const std::string& dataPath, const std::string& csvPath, std::ostream& err);

}  // namespace orbitra::periodbio
