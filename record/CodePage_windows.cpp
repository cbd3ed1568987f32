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

void appendUtf16(std::wstring& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<wchar_t>(c);
    } else {
        out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

std::string nameOf(UINT codePage) {
    if (codePage == CP_UTF8) {
        return "UTF-8";
    }
    return (codePage == 874 || (codePage >= 1250 && codePage <= 1258) ? "Windows-" : "code page ") +
           std::to_string(codePage);
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
    return nameOf(dataCodePage());
}

std::string systemCodePageName() {
    return nameOf(GetACP());
}

std::size_t systemToUtf8(std::string_view bytes, std::string& out) {
    const UINT codePage = GetACP();
    std::wstring wide;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t start = i;
        if (codePage == CP_UTF8) {
            const char32_t c = nextUtf8(bytes, i);
            if (c == kNotUtf8) {
                i = start;
                break;
            }
            appendUtf16(wide, c);
            continue;
        }
        // One character at a time, so that the first undefined one is found.
        const int size = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[i])) ? 2 : 1;
        wchar_t units[2];
        const int length = start + size > bytes.size()
                               ? 0
                               : MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS,
                                                     bytes.data() + start, size, units, 2);
        if (length <= 0) {
            break;
        }
        wide.append(units, static_cast<std::size_t>(length));
        i += static_cast<std::size_t>(size);
    }
    if (composes(codePage)) {
        wide = normalized(NormalizationC, wide);
    }
    out = narrow(CP_UTF8, wide);
    return i;
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
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextUtf8(text, i);
        if (c == kNotUtf8) {
            out += '?';
            continue;
        }
        std::wstring character;
        appendUtf16(character, c);
        char byte = 0;
        if (toByte(character, byte)) {
            out += byte;
        } else if (const std::string composed = decomposed(character); !composed.empty()) {
            out += composed;
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace orbitra
