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
