// The lenient (leading-number) record-number reading against a slow reference
// written apart from it: drop spaces, tabs and line feeds, take the longest
// prefix matching a number with std::regex, shift its decimal point by the
// exponent on the digit string itself and round half to even exactly, then
// check the result fits a signed 32-bit integer.

#include "RecordNumber.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

namespace {

std::optional<long long> reference(const std::string& text) {
    std::string packed;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            packed += c;
        }
    }
    static const std::regex number(R"(^([+-]?)([0-9]*)(?:\.([0-9]*))?(?:[eE]([+-]?[0-9]+))?)");
    std::smatch match;
    if (!std::regex_search(packed, match, number) ||
        (match[2].str().empty() && match[3].str().empty())) {
        return 0;
    }
    const bool negative = match[1].str() == "-";
    // value = digits x 10^(exponent - fraction length)
    std::string digits = match[2].str() + match[3].str();
    long long shift = -static_cast<long long>(match[3].str().size());
    const std::string exponent = match[4].str();
    digits.erase(0, digits.find_first_not_of('0') == std::string::npos
                        ? digits.size()
                        : digits.find_first_not_of('0'));
    if (digits.empty()) {
        return 0;
    }
    if (!exponent.empty()) {
        const bool down = exponent[0] == '-';
        std::string magnitude = exponent.substr(exponent[0] == '-' || exponent[0] == '+' ? 1 : 0);
        magnitude.erase(0, magnitude.find_first_not_of('0') == std::string::npos
                               ? magnitude.size()
                               : magnitude.find_first_not_of('0'));
        if (magnitude.size() > 6) {
            if (down) {
                return 0;  // far below one half
            }
            return std::nullopt;
        }
        shift += (down ? -1 : 1) * std::stoll(magnitude.empty() ? "0" : magnitude);
    }
    std::string whole;
    std::string fraction;
    if (shift >= 0) {
        if (static_cast<long long>(digits.size()) + shift > 11) {
            return std::nullopt;
        }
        whole = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const long long cut = static_cast<long long>(digits.size()) + shift;
        if (cut > 0) {
            whole = digits.substr(0, static_cast<std::size_t>(cut));
            fraction = digits.substr(static_cast<std::size_t>(cut));
        } else {
            fraction = std::string(static_cast<std::size_t>(-cut), '0') + digits;
        }
        if (whole.size() > 11) {
            return std::nullopt;
        }
    }
    long long value = whole.empty() ? 0 : std::stoll(whole);
    if (!fraction.empty()) {
        const bool above =
            fraction[0] > '5' ||
            (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string::npos);
        const bool tie = fraction[0] == '5' && !above;
        if (above || (tie && value % 2 == 1)) {
            ++value;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < -2147483648LL || value > 2147483647LL) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) {
        return 0;  // keeps std::regex off deep recursion
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> got = orbitra::readSaveNumber(text);
    const std::optional<long long> want = reference(text);
    if (got.has_value() != want.has_value() || (got && *got != *want)) {
        std::fprintf(stderr, "text \"%s\": got %s%ld, want %s%lld\n", text.c_str(),
                     got ? "" : "none ", got ? long(*got) : 0L, want ? "" : "none ",
                     want ? *want : 0LL);
        std::abort();
    }
    return 0;
}
