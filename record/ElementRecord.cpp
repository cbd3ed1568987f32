#include "ElementRecord.h"

#include "Platform.h"

#include <algorithm>
#include <cstring>

namespace orbitra {

std::string decodeField(const unsigned char* bytes, int width) {
    const unsigned char* end = std::find(bytes, bytes + width, 0);
    return ansiToUtf8(bytes, static_cast<std::size_t>(end - bytes));
}

void encodeField(std::string_view text, unsigned char* out, int width) {
    const std::string ansi = utf8ToAnsi(text);
    const std::size_t used = std::min(ansi.size(), static_cast<std::size_t>(width));
    std::memcpy(out, ansi.data(), used);
    std::memset(out + used, ' ', static_cast<std::size_t>(width) - used);
}

std::string firstUnstorable(std::string_view text, int width) {
    std::size_t i = 0;
    for (int kept = 0; kept < width && i < text.size(); ++kept) {
        // One UTF-8 character: its lead byte tells how many bytes follow.
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view character = text.substr(i, length);
        if (character != "?" && utf8ToAnsi(character).find('?') != std::string::npos) {
            return std::string(character);
        }
        i += length;
    }
    return {};
}

RecordBytes encodeRecord(const ElementRecord& record) {
    RecordBytes bytes{};
    for (int i = 0; i < kPropertyCount; ++i) {
        encodeField(record.fields[i], bytes.data() + kFields[i].offset, kFields[i].width);
    }
    bytes[kFields[kTerminatorField].offset] = '\r';
    bytes[kFields[kTerminatorField].offset + 1] = '\n';
    return bytes;
}

ElementRecord decodeRecord(const RecordBytes& bytes) {
    ElementRecord record;
    for (int i = 0; i < kPropertyCount; ++i) {
        record.fields[i] = decodeField(bytes.data() + kFields[i].offset, kFields[i].width);
    }
    return record;
}

}  // namespace orbitra
