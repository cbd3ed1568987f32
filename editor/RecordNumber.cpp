#include "RecordNumber.h"

#include <algorithm>
#include <limits>
#include <string>

namespace orbitra {

namespace {

// A decimal number as sign, digits without leading zeros and the position of
// the decimal point counted from the first digit (negative: the point stands
// before it with zeros between; beyond the end: zeros follow the digits).
struct Decimal {
    bool negative = false;
    std::string digits;
    std::int64_t point = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an optional sign, then digits with at most one '.', from the start of
// `text`. Returns the number of characters taken, 0 when there is no digit.
std::size_t readMantissa(std::string_view text, Decimal& out) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out.negative = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            out.digits += c;
            if (!seenPoint) {
                ++out.point;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    return out.digits.empty() ? 0 : i;
}

// Reads an exponent ('e' or 'E', optional sign, at least one digit) from the
// start of `text` into `exponent`, saturating far beyond any useful size.
// Returns the number of characters taken, 0 when there is no exponent.
std::size_t readExponent(std::string_view text, std::int64_t& exponent) {
    constexpr std::int64_t kSaturation = 1'000'000'000'000;
    if (text.empty() || (text[0] != 'e' && text[0] != 'E')) {
        return 0;
    }
    std::size_t i = 1;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    std::int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (value < kSaturation) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (i == firstDigit) {
        return 0;
    }
    exponent = negative ? -value : value;
    return i;
}

void dropLeadingZeros(Decimal& d) {
    const std::size_t zeros = std::min(d.digits.find_first_not_of('0'), d.digits.size());
    d.digits.erase(0, zeros);
    d.point -= static_cast<std::int64_t>(zeros);
}

// Rounds to the nearest whole number, an exact half to the even neighbour.
// No value outside low..high.
std::optional<std::int64_t> roundHalfEven(const Decimal& d, std::int64_t low, std::int64_t high) {
    if (d.digits.empty() || d.point < 0) {
        return 0;  // zero, or below 0.1 in magnitude
    }
    if (d.point > 10) {
        return std::nullopt;  // at least 10^10 in magnitude
    }
    const auto whole = static_cast<std::size_t>(d.point);
    std::int64_t magnitude = 0;
    for (std::size_t i = 0; i < whole; ++i) {
        magnitude = magnitude * 10 + (i < d.digits.size() ? d.digits[i] - '0' : 0);
    }
    if (whole < d.digits.size()) {
        const std::string_view fraction = std::string_view(d.digits).substr(whole);
        const bool moreThanHalf =
            fraction[0] > '5' ||
            (fraction[0] == '5' && fraction.find_first_not_of('0', 1) != std::string_view::npos);
        const bool exactHalf = fraction[0] == '5' && !moreThanHalf;
        if (moreThanHalf || (exactHalf && magnitude % 2 != 0)) {
            ++magnitude;
        }
    }
    const std::int64_t value = d.negative ? -magnitude : magnitude;
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<std::int16_t> readLoadNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    Decimal d;
    if (text.empty() || readMantissa(text, d) != text.size()) {
        return std::nullopt;
    }
    dropLeadingZeros(d);
    const auto value = roundHalfEven(d, std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*value);
}

std::optional<std::int32_t> readSaveNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            packed += c;
        }
    }
    const std::string_view rest(packed);
    Decimal d;
    const std::size_t used = readMantissa(rest, d);
    if (used == 0) {
        return 0;
    }
    std::int64_t exponent = 0;
    readExponent(rest.substr(used), exponent);
    d.point += exponent;
    dropLeadingZeros(d);
    const auto value = roundHalfEven(d, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

}  // namespace orbitra
