// The strict record-number reading against a slow reference written apart
// from it: the text must be blanks, one decimal number, blanks; the value is
// rounded half to even and must lie in -32768..32767.

#include "RecordNumber.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}
bool digit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<long> reference(const std::string& text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && blank(text[b])) {
        ++b;
    }
    while (e > b && blank(text[e - 1])) {
        --e;
    }
    std::string body = text.substr(b, e - b);
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.erase(0, 1);
    }
    const std::size_t point = body.find('.');
    std::string whole = body.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : body.substr(point + 1);
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    for (char c : whole + fraction) {
        if (!digit(c)) {
            return std::nullopt;
        }
    }
    while (whole.size() > 1 && whole[0] == '0') {
        whole.erase(0, 1);
    }
    if (whole.size() > 7) {
        return std::nullopt;
    }
    long value = whole.empty() ? 0 : std::stol(whole);
    // Compare the fraction with one half, digit by digit.
    int versusHalf = 0;
    if (!fraction.empty()) {
        if (fraction[0] > '5') {
            versusHalf = 1;
        } else if (fraction[0] < '5') {
            versusHalf = -1;
        } else {
            versusHalf = fraction.find_first_not_of('0', 1) == std::string::npos ? 0 : 1;
        }
        if (versusHalf > 0 || (versusHalf == 0 && value % 2 == 1)) {
            ++value;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < -32768 || value > 32767) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int16_t> got = orbitra::readLoadNumber(text);
    const std::optional<long> want = reference(text);
    if (got.has_value() != want.has_value() || (got && *got != *want)) {
        std::fprintf(stderr, "text \"%s\": got %s%ld, want %s%ld\n", text.c_str(),
                     got ? "" : "none ", got ? long(*got) : 0L, want ? "" : "none ",
                     want ? *want : 0L);
        std::abort();
    }
    return 0;
}
