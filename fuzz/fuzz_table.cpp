// Arbitrary bytes as a table's text. The strict UTF-8 decoder that reads every
// table agrees with a reference written apart from it, after the Unicode
// standard's table of well-formed byte sequences (the shortest form only, no
// surrogates, nothing past U+10FFFF), and re-encodes what it decodes to the same
// bytes. Any bytes, written as a CSV field as the dump writes one, read back
// whole as periodbio reads a table.

#include "Csv.h"
#include "Platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool wellFormed(const std::string& text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned lead = s[i];
        std::size_t length = 1;
        unsigned low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size() || s[i + 1] < low || s[i + 1] > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool valid = wellFormed(text);
    check(orbitra::isUtf8(text) == valid, "UTF-8 well-formedness");
    if (valid) {
        std::string again;
        for (std::size_t i = 0; i < text.size();) {
            orbitra::appendUtf8(again, orbitra::nextUtf8(text, i));
        }
        check(again == text, "UTF-8 decoded and encoded again");
    }
    std::vector<orbitra::periodbio::CsvRow> rows;
    std::string error;
    const std::string table = "x," + orbitra::periodbio::csvField(text) + "\r\n";
    check(orbitra::periodbio::parseCsv(table, ',', rows, error), "a written field parses");
    check(rows.size() == 1 && rows[0].fields == std::vector<std::string>{"x", text},
          "a written field reads back whole");
    return 0;
}
