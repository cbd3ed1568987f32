#include "Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace orbitra {

namespace {

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (length > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                             nullptr, nullptr);
        message.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), message.data(), size,
                            nullptr, nullptr);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
            message.pop_back();
        }
    }
    LocalFree(text);
    return message.empty() ? "System error " + std::to_string(code) : message;
}

HANDLE native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

}  // namespace

std::unique_ptr<NativeFile> NativeFile::open(const std::string& path, std::string& error) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), size);
    const HANDLE file =
        CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemMessage(GetLastError());
        return nullptr;
    }
    return std::unique_ptr<NativeFile>(new NativeFile(reinterpret_cast<std::intptr_t>(file)));
}

NativeFile::~NativeFile() {
    CloseHandle(native(handle_));
}

std::int64_t NativeFile::readAt(std::uint64_t offset, unsigned char* buffer, std::size_t size,
                                std::string& error) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position = at(offset + done);
        DWORD n = 0;
        if (!ReadFile(native(handle_), buffer + done, static_cast<DWORD>(size - done), &n,
                      &position)) {
            const DWORD code = GetLastError();
            if (code == ERROR_HANDLE_EOF) {
                break;
            }
            error = systemMessage(code);
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    return static_cast<std::int64_t>(done);
}

bool NativeFile::writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size,
                         std::string& error) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position = at(offset + done);
        DWORD n = 0;
        if (!WriteFile(native(handle_), data + done, static_cast<DWORD>(size - done), &n,
                       &position)) {
            error = systemMessage(GetLastError());
            return false;
        }
        if (n == 0) {
            error = systemMessage(ERROR_DISK_FULL);
            return false;
        }
        done += n;
    }
    return true;
}

bool NativeFile::sync(std::string& error) {
    if (!FlushFileBuffers(native(handle_))) {
        error = systemMessage(GetLastError());
        return false;
    }
    return true;
}

}  // namespace orbitra
