#pragma once

// The element data file "period.bio": fixed-width records of 177 bytes, record N
// (counted from 1) at byte offset (N - 1) * 177, no header. A record is fourteen
// text fields of one byte per character in the ANSI code page, then CR LF.
//
//   offset  width  field
//        0     13  chemical name            125     10  specific heat
//       13      3  atomic number            135     10  thermal conductivity
//       16      9  atomic weight            145     10  electrical conductivity
//       25     10  melting point            155     10  heat of vaporization
//       35     10  boiling point            165     10  heat of fusion
//       45     10  density                  175      2  line terminator (CR LF)
//       55     20  electron configuration
//       75     25  valence electron
//      100     25  crystal structure
//
// Everything in record/ is standard C++ with no Qt, so tools and tests use it
// without a display.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orbitra {

struct FieldSpec {
    std::string_view box;      // name of the text box that shows the field
    std::string_view caption;  // caption beside that box
    int width;                 // characters = bytes
    int offset;                // byte offset inside the record
};

inline constexpr int kPropertyCount = 14;
inline constexpr int kTerminatorField = 14;

inline constexpr std::array<FieldSpec, kPropertyCount + 1> kFields{{
    {"cname", "Chemical Name:", 13, 0},
    {"cAN", "Atomic Number:", 3, 13},
    {"cAW", "Atomic weight:", 9, 16},
    {"cMP", "Melting Point:", 10, 25},
    {"cBP", "Boiling Point:", 10, 35},
    {"cDen", "Density:", 10, 45},
    {"cEC", "Electron Configuration:", 20, 55},
    {"cVE", "Valence Electron:", 25, 75},
    {"cCS", "Crystal Structure:", 25, 100},
    {"cSH", "Specific Heat:", 10, 125},
    {"cTC", "Thermal conductivity:", 10, 135},
    {"EC", "Electical Conductivity:", 10, 145},
    {"cHV", "Heat of Vaporization:", 10, 155},
    {"cHF", "Heat of Fusion:", 10, 165},
    {"", "", 2, 175},
}};

inline constexpr int kRecordSize = 177;

constexpr bool fieldsAreContiguous() {
    int next = 0;
    for (const FieldSpec& f : kFields) {
        if (f.offset != next || f.width <= 0) {
            return false;
        }
        next += f.width;
    }
    return next == kRecordSize;
}
static_assert(fieldsAreContiguous(), "fields must follow one another and fill the record");
static_assert(kFields[kTerminatorField].width == 2);

using RecordBytes = std::array<unsigned char, kRecordSize>;

// One element's record as the program's text (UTF-8): the fourteen property
// fields in record order. The line terminator is not kept in memory; encoding
// always writes CR LF. A default-constructed record is the cleared record: it
// encodes as fourteen space-filled fields and reads back from zero bytes.
struct ElementRecord {
    std::array<std::string, kPropertyCount> fields;

    bool operator==(const ElementRecord&) const = default;
};

// Stored field bytes -> text: the bytes up to the first zero byte (all of them
// when there is none), converted from the ANSI code page. Trailing spaces stay.
std::string decodeField(const unsigned char* bytes, int width);

// Text -> stored field: converted to the ANSI code page (a character with no
// byte there becomes '?'), left-aligned, padded with spaces or cut to `width`.
// The empty text becomes a field of spaces, never of zero bytes.
void encodeField(std::string_view text, unsigned char* out, int width);

// The first character among the leading `width` characters of `text` (those a
// field of that width keeps) that the ANSI code page cannot store, and that
// encodeField would therefore write as '?'; empty when there is none.
std::string firstUnstorable(std::string_view text, int width);

// The record as its 177 bytes on disk, terminator CR LF included.
RecordBytes encodeRecord(const ElementRecord& record);

// The record read from 177 bytes; the terminator bytes are ignored.
ElementRecord decodeRecord(const RecordBytes& bytes);

}  // namespace orbitra
