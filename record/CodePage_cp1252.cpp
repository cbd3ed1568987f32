#include "Platform.h"

#include <array>

namespace orbitra {

namespace {

// Windows-1252 at 0x80..0x9F; the five bytes it leaves undefined stand for the
// C1 control characters of the same value, so they survive a round trip.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t toUnicode(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte;
}

int toByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

}  // namespace

std::string codePageName() {
    return "Windows-1252";
}

std::string systemCodePageName() {
    return codePageName();
}

std::size_t systemToUtf8(std::string_view bytes, std::string& out) {
    out = ansiToUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return bytes.size();
}

std::string ansiToUtf8(const unsigned char* bytes, std::size_t size) {
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        appendUtf8(out, toUnicode(bytes[i]));
    }
    return out;
}

std::string utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextUtf8(text, i);
        const int byte = c == kNotUtf8 ? -1 : toByte(c);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

}  // namespace orbitra
