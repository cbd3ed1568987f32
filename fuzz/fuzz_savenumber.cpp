// The lenient (leading-number) record-number reading against a slow reference
// written apart from it: drop spaces, tabs and line feeds, take the longest
// prefix matching a number with std::regex, convert it with strtod in the C
// locale and round half to even into a signed 32-bit integer.

#include "RecordNumber.h"

#include <cfenv>
#include <cmath>
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
    static const std::regex number(R"(^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    std::smatch match;
    if (!std::regex_search(packed, match, number)) {
        return 0;
    }
    const double value = std::strtod(match.str(0).c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<long long>(rounded);
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
