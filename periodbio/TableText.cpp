#include "TableText.h"

#include "Platform.h"

#include <cstdio>

namespace orbitra::periodbio {

bool decodeTable(std::string_view bytes, TableText& table, std::string& error) {
    table = {};
    for (const bool bigEndian : {false, true}) {
        if (bytes.substr(0, 2) == (bigEndian ? "\xFE\xFF" : "\xFF\xFE")) {
            table.readAs = bigEndian ? "UTF-16 (big-endian)" : "UTF-16";
            if (!utf16ToUtf8(bytes.substr(2), bigEndian, table.text)) {
                error = "is not valid " + table.readAs + " text";
                return false;
            }
            return true;
        }
    }
    const bool marked = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    table.text = bytes.substr(marked ? 3 : 0);
    if (!marked && !isUtf8(bytes)) {
        table.systemCodePage = true;
        table.readAs = systemCodePageName();
    }
    return true;
}

bool decodeField(const TableText& table, std::string_view field, std::string& text,
                 std::string& problem) {
    std::size_t decoded = 0;
    if (table.systemCodePage) {
        decoded = systemToUtf8(field, text);
    } else {
        while (decoded < field.size()) {
            std::size_t next = decoded;
            if (nextUtf8(field, next) == kNotUtf8) {
                break;
            }
            decoded = next;
        }
        text = field.substr(0, decoded);
    }
    if (decoded == field.size()) {
        return true;
    }
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(field[decoded]));
    problem = "holds the byte " + std::string(byte) + " after \"" + text +
              "\", which begins no character in " +
              (table.systemCodePage ? table.readAs : std::string("UTF-8"));
    return false;
}

}  // namespace orbitra::periodbio
