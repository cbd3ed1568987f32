#pragma once

// A table's bytes as text: UTF-8 with or without a byte-order mark, UTF-16 with
// one (Excel's "Unicode text", PowerShell's `>`), and any other file in the
// system's code page (Excel's plain CSV on that system), decoded by the record
// layer's code-page functions.

#include <string>
#include <string_view>

namespace orbitra::periodbio {

struct TableText {
    // The table after its byte-order mark: UTF-8, or bytes of the system's code
    // page when `systemCodePage`. Its fields are decoded one by one.
    std::string text;
    bool systemCodePage = false;
    // What the bytes were read as when not UTF-8, for messages; else empty.
    std::string readAs;
};

// Takes `bytes` as one of the encodings above. False with `error` when they
// carry a UTF-16 byte-order mark but are not UTF-16.
bool decodeTable(std::string_view bytes, TableText& table, std::string& error);

// One field of the table as UTF-8. False with `problem` saying which byte
// begins no character of the table's encoding.
bool decodeField(const TableText& table, std::string_view field, std::string& text,
                 std::string& problem);

}  // namespace orbitra::periodbio
