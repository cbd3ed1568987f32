#pragma once

// What differs per platform: the ANSI code page and the raw file calls.
// The POSIX and Windows implementations live beside each other in record/;
// CMake compiles the one for the target.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orbitra {

// ANSI code page of the system. On Windows it is the system's active code page;
// elsewhere Windows-1252 with its five undefined bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) taken as U+0081..U+009D, so every byte value converts and back unchanged.
std::string ansiToUtf8(const unsigned char* bytes, std::size_t size);

// UTF-8 -> ANSI bytes, one byte per character. A character with no byte in the
// code page, and any malformed UTF-8 sequence, become '?'.
std::string utf8ToAnsi(std::string_view text);

// A data file open for reading and writing in binary mode, at byte offsets.
class NativeFile {
public:
    // Opens `path` for reading and writing, creating it empty when missing.
    // Returns null and fills `error` with the system's message on failure.
    static std::unique_ptr<NativeFile> open(const std::string& path, std::string& error);
    ~NativeFile();
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // Reads up to `size` bytes at `offset`; returns how many were read (fewer at
    // the end of the file, 0 past it), or -1 with `error` filled.
    std::int64_t readAt(std::uint64_t offset, unsigned char* buffer, std::size_t size,
                        std::string& error);

    // Writes all `size` bytes at `offset`, growing the file (with zero bytes in
    // between) when the offset lies past its end. False with `error` on failure.
    bool writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size,
                 std::string& error);

    // Pushes what was written through to the device (fsync, FlushFileBuffers).
    bool sync(std::string& error);

private:
    explicit NativeFile(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

}  // namespace orbitra
