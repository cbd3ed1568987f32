#include "Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L  // "An operation is not supported on a directory."
#endif

namespace orbitra {

namespace {

std::string toUtf8(const wchar_t* text, int length) {
    if (length <= 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The system's text for an error code, in the user's language; `fallback` (or
// the number) where the system has none.
std::string systemMessage(DWORD code, const char* fallback = nullptr) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = toUtf8(text, static_cast<int>(length));
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    if (message.empty()) {
        return fallback ? fallback : "System error " + std::to_string(code);
    }
    return message;
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

// A refusal that lasts only while another program holds the file: a virus
// scanner or a sync client looking at a file just written.
bool isTransient(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Calls `attempt` until it returns true, for about a second at most.
template <typename Attempt>
void retryWhileHeld(Attempt attempt) {
    const ULONGLONG deadline = GetTickCount64() + 1000;
    while (!attempt() && GetTickCount64() < deadline) {
        Sleep(50);
    }
}

// Why `file`, opened for reading after writing was refused with `code`, may not
// be written: nothing where the file or its volume is read-only, else the
// system's message (an access control entry, Controlled Folder Access).
std::string whyNotWritable(HANDLE file, DWORD code) {
    BY_HANDLE_FILE_INFORMATION information{};
    DWORD volume = 0;
    if (code == ERROR_WRITE_PROTECT ||
        (GetFileInformationByHandle(file, &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) ||
        (GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr, &volume, nullptr, 0) &&
         (volume & FILE_READ_ONLY_VOLUME))) {
        return {};
    }
    return systemMessage(code);
}

bool isFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The message for a file `to` that could not be replaced with `code`.
std::string replaceRefusal(const std::filesystem::path& to, DWORD code) {
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
        code == ERROR_UNABLE_TO_REMOVE_REPLACED) {
        // A file that another program holds open without letting it be deleted
        // refuses to be replaced; asking for delete access tells that case apart.
        const HANDLE held = CreateFileW(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
            return "the file is open in another program (" +
                   systemMessage(ERROR_SHARING_VIOLATION) + "); close it there first";
        }
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
    }
    return systemMessage(code);
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(toUtf8(wide[i], static_cast<int>(wcslen(wide[i]))));
    }
    LocalFree(wide);
    return arguments;
}

void useBinaryStandardOutput() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The text is UTF-8; a console shows it so while the program runs.
    static const UINT previous = GetConsoleOutputCP();
    if (_isatty(_fileno(stdout)) || _isatty(_fileno(stderr))) {
        SetConsoleOutputCP(CP_UTF8);
        std::atexit([] { SetConsoleOutputCP(previous); });
    }
}

void markRunning() {
    // Held until the process ends, when Windows closes it; every copy opens the
    // same mutex, so a second copy runs as well as the first.
    static const HANDLE mark = CreateMutexW(nullptr, FALSE, L"Local\\OrbitraTableRunning");
    (void)mark;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error) {
    DWORD code = ERROR_SUCCESS;
    retryWhileHeld([&] {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            code = ERROR_SUCCESS;
            return true;
        }
        code = GetLastError();
        // A file held open without delete sharing refuses as "Access is denied".
        return !isTransient(code) && code != ERROR_ACCESS_DENIED;
    });
    if (code == ERROR_SUCCESS) {
        return true;
    }
    error = replaceRefusal(to, code);
    return false;
}

namespace {

bool writeAll(HANDLE file, std::string_view bytes, DWORD& code) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &n, nullptr) || n == 0) {
            code = n == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError();
            return false;
        }
        done += n;
    }
    return true;
}

WriteProblem failed(DWORD code) {
    return {WriteProblem::Failed, systemMessage(code)};
}

}  // namespace

WriteProblem writeProblem(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? WriteProblem{}
                                                                            : failed(code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return {WriteProblem::Folder, {}};
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        return {WriteProblem::ReadOnly, {}};
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_WRITE_PROTECT) {
            return {WriteProblem::ReadOnly, {}};
        }
        return isTransient(code) ? WriteProblem{}
                                 : WriteProblem{WriteProblem::NotWritable, systemMessage(code)};
    }
    CloseHandle(file);
    return {};
}

WriteProblem saveFile(const std::filesystem::path& path, std::string_view bytes) {
    if (const WriteProblem problem = writeProblem(path)) {
        return problem;
    }
    // A console, a pipe or a device (CON, NUL) takes the bytes where it is.
    const HANDLE existing =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        const bool stream = GetFileType(existing) != FILE_TYPE_DISK;
        DWORD code = ERROR_SUCCESS;
        const bool written = stream && writeAll(existing, bytes, code);
        CloseHandle(existing);
        if (stream) {
            return written ? WriteProblem{} : failed(code);
        }
    }
    const bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::error_code ec;
    // Through a symbolic link to the file itself.
    const std::filesystem::path target =
        exists ? std::filesystem::canonical(path, ec) : std::filesystem::absolute(path, ec);
    if (ec) {
        return failed(static_cast<DWORD>(ec.value()));
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    std::filesystem::path temporary = target;
    temporary += L".tmp";
    DeleteFileW(temporary.c_str());
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_ACCESS_DENIED
                   ? WriteProblem{WriteProblem::NotWritable, systemMessage(code)}
                   : failed(code);
    }
    DWORD code = ERROR_SUCCESS;
    bool written = writeAll(file, bytes, code);
    if (written && !FlushFileBuffers(file)) {
        code = GetLastError();
        written = false;
    }
    CloseHandle(file);
    bool replaced = false;
    std::string error;
    if (written && exists) {
        // ReplaceFileW gives the new file the old one's access list, owner and
        // named streams.
        retryWhileHeld([&] {
            replaced = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
            code = replaced ? ERROR_SUCCESS : GetLastError();
            return replaced || !(isTransient(code) || code == ERROR_UNABLE_TO_REMOVE_REPLACED);
        });
        error = replaced ? "" : replaceRefusal(target, code);
        // Not every system carries the attributes across: they are set again.
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (replaced && (attributes & kKept) != 0) {
            SetFileAttributesW(target.c_str(), attributes & kKept);
        }
    } else if (written) {
        // A new name takes the folder's defaults.
        replaced = replaceFile(temporary, target, error);
    } else {
        error = systemMessage(code);
    }
    if (!replaced) {
        DeleteFileW(temporary.c_str());
    }
    return replaced ? WriteProblem{} : WriteProblem{WriteProblem::Failed, error};
}

std::unique_ptr<NativeFile> NativeFile::open(const std::filesystem::path& path, std::string& error,
                                             bool create) {
    const auto openAs = [&path](DWORD access, DWORD disposition) {
        // Other programs may read and write the file meanwhile, but not delete or
        // replace it under the program's feet.
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = INVALID_HANDLE_VALUE;
    bool readOnly = false;
    DWORD code = ERROR_SUCCESS;
    retryWhileHeld([&] {
        file = openAs(GENERIC_READ | GENERIC_WRITE, create ? OPEN_ALWAYS : OPEN_EXISTING);
        if (file != INVALID_HANDLE_VALUE) {
            return true;
        }
        code = GetLastError();
        if ((code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT) && !isFolder(path)) {
            // Readable but not writable: records show, saves are refused.
            file = openAs(GENERIC_READ, OPEN_EXISTING);
            readOnly = file != INVALID_HANDLE_VALUE;
            if (!readOnly && isTransient(GetLastError())) {
                code = GetLastError();
            }
        }
        return file != INVALID_HANDLE_VALUE || !isTransient(code);
    });
    if (file == INVALID_HANDLE_VALUE) {
        // Windows refuses a folder as "Access is denied"; name the cause instead.
        error = code == ERROR_ACCESS_DENIED && isFolder(path)
                    ? systemMessage(ERROR_DIRECTORY_NOT_SUPPORTED, "It is a directory.")
                    : systemMessage(code);
        return nullptr;
    }
    return std::unique_ptr<NativeFile>(new NativeFile(reinterpret_cast<std::intptr_t>(file),
                                                      readOnly,
                                                      readOnly ? whyNotWritable(file, code) : ""));
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
        const DWORD code = GetLastError();
        // A device or a share whose server cannot flush: nothing to push.
        if (code == ERROR_INVALID_FUNCTION) {
            return true;
        }
        error = systemMessage(code);
        return false;
    }
    return true;
}

// Windows lets no other program replace or remove a file held open without
// delete sharing, as the data file is: there is never another file to follow,
// and no call is spent on asking.
bool NativeFile::identity(FileIdentity&) const {
    return false;
}

bool NativeFile::unlinked() const {
    return false;
}

bool NativeFile::identityOf(const std::filesystem::path&, FileIdentity&, bool& missing) {
    missing = false;
    return false;
}

}  // namespace orbitra
