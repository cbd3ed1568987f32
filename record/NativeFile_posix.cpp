#include "Platform.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orbitra {

namespace {

std::string systemMessage(int code) {
    return std::strerror(code);
}

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv, argv + argc);
}

void useBinaryStandardOutput() {}

void markRunning() {}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = systemMessage(errno);
        return false;
    }
    return true;
}

std::unique_ptr<NativeFile> NativeFile::open(const std::filesystem::path& path, std::string& error,
                                             bool create) {
    const auto openAs = [&path](int flags) {
        int descriptor;
        do {
            descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
        } while (descriptor < 0 && errno == EINTR);
        return descriptor;
    };
    int descriptor = openAs(O_RDWR | (create ? O_CREAT : 0));
    bool readOnly = false;
    std::string writeRefusal;
    if (descriptor < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // Readable but not writable: records show, saves are refused. A file
        // that cannot be read either keeps the first refusal as its reason.
        const int refusal = errno;
        descriptor = openAs(O_RDONLY);
        readOnly = descriptor >= 0;
        struct stat status {};
        // Read-only are a read-only file system and a file nobody may write;
        // otherwise the user's rights refuse, and the system says how.
        if (readOnly && refusal != EROFS &&
            !(::fstat(descriptor, &status) == 0 && (status.st_mode & 0222) == 0)) {
            writeRefusal = systemMessage(refusal);
        }
        errno = refusal;
    }
    if (descriptor < 0) {
        error = systemMessage(errno);
        return nullptr;
    }
    return std::unique_ptr<NativeFile>(new NativeFile(descriptor, readOnly, writeRefusal));
}

NativeFile::~NativeFile() {
    ::close(fd(handle_));
}

std::int64_t NativeFile::readAt(std::uint64_t offset, unsigned char* buffer, std::size_t size,
                                std::string& error) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd(handle_), buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = systemMessage(errno);
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

bool NativeFile::writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size,
                         std::string& error) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pwrite(fd(handle_), data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = systemMessage(errno);
            return false;
        }
        if (n == 0) {
            error = systemMessage(ENOSPC);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool NativeFile::identity(FileIdentity& out) const {
    struct stat status {};
    if (::fstat(fd(handle_), &status) != 0) {
        return false;
    }
    out = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    return true;
}

bool NativeFile::unlinked() const {
    struct stat status {};
    return ::fstat(fd(handle_), &status) == 0 && status.st_nlink == 0;
}

bool NativeFile::identityOf(const std::filesystem::path& path, FileIdentity& out, bool& missing) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        missing = errno == ENOENT || errno == ENOTDIR;
        return false;
    }
    missing = false;
    out = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    return true;
}

bool NativeFile::sync(std::string& error) {
    if (::fsync(fd(handle_)) != 0 && errno != EINVAL) {
        // EINVAL: the file is a device that cannot be synchronised; nothing to push.
        error = systemMessage(errno);
        return false;
    }
    return true;
}

}  // namespace orbitra
