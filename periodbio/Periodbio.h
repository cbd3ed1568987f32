#pragma once

// periodbio: builds the data file "period.bio" from a CSV table and dumps a data
// file back to CSV, through the record layer, so the file it writes is exactly
// what the program reads. The steps: read the table, decode its text
// (TableText.h), split it into rows (Csv.h), build the records, write the file.
//
// The first row names the columns: either the fourteen box names (cname ... cHF),
// each row then going to the record of its atomic number, or "record" followed
// by them, the record number then coming from that column (the dump layout).

#include <iosfwd>
#include <string>

namespace orbitra::periodbio {

// Checks every row of `csvPath` and, when all are sound, writes them to a fresh
// data file at `dataPath` (replacing it; a refused table leaves it untouched).
// Each problem goes to `err` with its line and field. Returns the exit code:
// 0 on success, 1 otherwise.
int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err);

// Prints the records of `dataPath` as comma-separated UTF-8 CSV to `out`, without
// a byte-order mark: a header, then the record number and the fourteen fields
// exactly as stored (trailing blanks kept) of every record that is not all zero
// bytes. Never creates or changes the file. Returns 0 on success, 1 with a
// message on `err` otherwise.
int dump(const std::string& dataPath, std::ostream& out, std::ostream& err);

// The same into the file `csvPath`, after a UTF-8 byte-order mark (which tells a
// spreadsheet opened on the file its encoding), replacing it once the whole
// table is written; refuses to write over the data file itself.
int dump(const std::string& dataPath, const std::string& csvPath, std::ostream& err);

}  // namespace orbitra::periodbio
