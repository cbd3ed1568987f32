#include "Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace orbitra {

namespace {

std::wstring widen(UINT codePage, const char* data, int size) {
    if (size <= 0) {
        return {};
    }
    const int length = MultiByteToWideChar(codePage, 0, data, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, data, size, wide.data(), length);
    return wide;
}

UINT dataCodePage() {
    static const UINT codePage = dataCodePageFor(GetACP());
    return codePage;
}

}  // namespace

unsigned dataCodePageFor(unsigned systemCodePage) {
    CPINFO info{};
    return GetCPInfo(systemCodePage, &info) && info.MaxCharSize == 1 ? systemCodePage : 1252;
}

std::string codePageName() {
    const UINT codePage = dataCodePage();
    return (codePage == 874 || (codePage >= 1250 && codePage <= 1258) ? "Windows-" : "code page ") +
           std::to_string(codePage);
}

std::string ansiToUtf8(const unsigned char* bytes, std::size_t size) {
    const std::wstring wide =
        widen(dataCodePage(), reinterpret_cast<const char*>(bytes), static_cast<int>(size));
    if (wide.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), length,
                        nullptr, nullptr);
    return out;
}

std::string utf8ToAnsi(std::string_view text) {
    // Broken UTF-8 arrives here as U+FFFD, which no single-byte code page holds.
    const std::wstring wide = widen(CP_UTF8, text.data(), static_cast<int>(text.size()));
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        // One character at a time, a surrogate pair being one character.
        const int units = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size()) ? 2 : 1;
        char bytes[8];
        BOOL lossy = FALSE;
        const int n = WideCharToMultiByte(dataCodePage(), WC_NO_BEST_FIT_CHARS, wide.data() + i,
                                          units, bytes, sizeof bytes, "?", &lossy);
        out += (n == 1 && !lossy) ? bytes[0] : '?';
        i += static_cast<std::size_t>(units - 1);
    }
    return out;
}

}  // namespace orbitra
