#pragma once

// The two ways the editor reads a record number from the text of its
// record-number box. Standard C++ only, independent of the locale.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orbitra {

// Strict reading used to load a record: the whole text must be one decimal
// number, blanks (spaces, tabs) allowed before and after it: an optional sign,
// digits with at most one '.', at least one digit. A fraction rounds to the
// nearest whole number, an exact half to the even neighbour. Empty text, any
// other text and results outside -32768..32767 give no value.
std::optional<std::int16_t> readLoadNumber(std::string_view text);

// Lenient reading used to save a record: spaces, tabs and line feeds are
// skipped wherever they stand, then the longest leading number is taken
// (optional sign, digits, at most one '.', optional exponent 'e'/'E' with an
// optional sign and digits); text without a leading number gives 0. The value
// is rounded to the nearest whole number, an exact half to the even neighbour.
// No value when the result does not fit a signed 32-bit integer.
std::optional<std::int32_t> readSaveNumber(std::string_view text);

}  // namespace orbitra
