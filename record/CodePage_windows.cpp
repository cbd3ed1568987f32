#include "Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

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

// The system's code page when it holds one byte per character, else 1252.
UINT dataCodePage() {
    static const UINT codePage = [] {
        CPINFO info{};
        return GetCPInfo(GetACP(), &info) && info.MaxCharSize == 1 ? GetACP() : 1252u;
    }();
    return codePage;
}

std::string narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring normalized(NORM_FORM form, const std::wstring& text) {
    if (text.empty()) {
        return text;
    }
    const int size = static_cast<int>(text.size());
    int length = NormalizeString(form, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    length = NormalizeString(form, text.data(), size, out.data(), length);
    if (length <= 0) {
        return text;
    }
    out.resize(static_cast<std::size_t>(length));
    return out;
}

// Vietnamese (1258) writes a letter with a tone mark as a letter and a
// combining mark, where Unicode text mostly holds one precomposed character.
bool composes(UINT codePage) {
    return codePage == 1258;
}

// The one byte of the data file's code page for `character`.
bool toByte(const std::wstring& character, char& byte) {
    char bytes[8];
    BOOL lossy = FALSE;
    const int n =
        WideCharToMultiByte(dataCodePage(), WC_NO_BEST_FIT_CHARS, character.data(),
                            static_cast<int>(character.size()), bytes, sizeof bytes, "?", &lossy);
    byte = bytes[0];
    return n == 1 && !lossy;
}

// A precomposed character the code page lacks, as the code page composes it: its
// letter with as many of its marks as the code page holds precomposed, then the
// other marks (ệ: ê and the combining dot below). Empty when some part has no
// byte there.
std::string decomposed(const std::wstring& character) {
    if (!composes(dataCodePage())) {
        return {};
    }
    const std::wstring parts = normalized(NormalizationD, character);
    if (parts.size() < 2) {
        return {};
    }
    std::wstring letter = parts.substr(0, 1), marks;
    for (const wchar_t mark : parts.substr(1)) {
        const std::wstring joined = normalized(NormalizationC, letter + mark);
        char byte = 0;
        if (joined.size() == 1 && toByte(joined, byte)) {
            letter = joined;
        } else {
            marks += mark;
        }
    }
    std::string out;
    for (const wchar_t part : letter + marks) {
        char byte = 0;
        if (!toByte(std::wstring(1, part), byte)) {
            return {};
        }
        out += byte;
    }
    return out;
}

}  // namespace

std::string codePageName() {
    const UINT codePage = dataCodePage();
    return (codePage == 874 || (codePage >= 1250 && codePage <= 1258) ? "Windows-" : "code page ") +
           std::to_string(codePage);
}

std::string ansiToUtf8(const unsigned char* bytes, std::size_t size) {
    std::wstring wide =
        widen(dataCodePage(), reinterpret_cast<const char*>(bytes), static_cast<int>(size));
    if (composes(dataCodePage())) {
        wide = normalized(NormalizationC, wide);
    }
    return narrow(CP_UTF8, wide);
}

std::string utf8ToAnsi(std::string_view text) {
    // Broken UTF-8 arrives here as U+FFFD, which no single-byte code page holds.
    const std::wstring wide = widen(CP_UTF8, text.data(), static_cast<int>(text.size()));
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        // One character at a time, a surrogate pair being one character.
        const std::size_t units = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size()) ? 2 : 1;
        const std::wstring character = wide.substr(i, units);
        char byte = 0;
        if (toByte(character, byte)) {
            out += byte;
        } else if (const std::string composed = decomposed(character); !composed.empty()) {
            out += composed;
        } else {
            out += '?';
        }
        i += units - 1;
    }
    return out;
}

}  // namespace orbitra
