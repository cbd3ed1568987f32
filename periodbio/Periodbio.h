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

// Wherever a path names the file to read or write, "-" stands for standard
// input or output. Every file is written as saveFile (Platform.h) writes it:
// through links, keeping its permissions and owner, a stream in place.

// Checks every row of `csvPath` and, when all are sound, writes them as the
// data file `dataPath`; a refused table leaves it untouched. Refuses, changing
// nothing, to write over the table itself or over a file that reads as a table,
// to take a data file as the table, and a table of no record rows. Each problem
// goes to `err` with its line and field. Returns the exit code: 0 on success, 1
// otherwise.
int build(const std::string& csvPath, const std::string& dataPath, std::ostream& err);

// Prints the records of `dataPath` as comma-separated UTF-8 CSV to `out`, without
// a byte-order mark: a header, then the record number and the fourteen fields
// exactly as stored (trailing blanks kept) of every record that is not all zero
// bytes. Never creates or changes the file; refuses a file that reads as a table,
// naming build. Returns 0 on success, 1 with a message on `err` otherwise.
int dump(const std::string& dataPath, std::ostream& out, std::ostream& err);

// The same into the file `csvPath`, after a UTF-8 byte-order mark (which tells a
// spreadsheet opened on the file its encoding), once the whole table is made;
// refuses to write over the data file itself or over any file that holds records.
int dump(const std::string& dataPath, const std::string& csvPath, std::ostream& err);

// Lists on `out`, record by record and field by field, where two data files
// differ. Returns 0 when they hold the same records, 1 when they differ, 2 with
// a message on `err` when one cannot be read or reads as a table.
int diff(const std::string& firstPath, const std::string& secondPath, std::ostream& out,
         std::ostream& err);

// Brings the corrections of a new release's data file `shippedPath` into the
// user's `dataPath`. `basePath` holds the shipped file the user was last given
// (`firstShippedPath`, the first release's, stands in while there is none).
// When the shipped file differs from the base, record by record: one still as
// the base has it takes the shipped record, one the user changed stays, and
// records past the shipped ones stay; the result replaces `dataPath` whole and
// the base becomes the shipped file. A data file its user may not write is left
// as it is, and so is the base, to be merged once it may. The records that the
// release changed and the user's edit kept out are named on `out`, with the
// command that shows how they differ: once, as the base then moves on. A
// missing data file only sets the base. Returns 0, or 1 with a message on `err`.
int upgrade(const std::string& shippedPath, const std::string& dataPath,
            const std::string& basePath, const std::string& firstShippedPath, std::ostream& out,
            std::ostream& err);

}  // namespace orbitra::periodbio
