#include "Platform.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace orbitra {

namespace {

std::string systemMessage(int code) {
    return std::strerror(code);
}

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

WriteProblem failed(int code) {
    return {WriteProblem::Failed, systemMessage(code)};
}

// The refusal of a file that exists and may not be written: read-only where
// nobody may write it or its medium is read-only, else the system's reason.
WriteProblem refusal(const struct stat& status, int code) {
    if ((status.st_mode & 0222) == 0 || code == EROFS) {
        return {WriteProblem::ReadOnly, {}};
    }
    return {WriteProblem::NotWritable, systemMessage(code)};
}

bool writeAll(int descriptor, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int openFile(const char* path, int flags, mode_t mode = 0) {
    int descriptor;
    do {
        descriptor = ::open(path, flags | O_CLOEXEC | O_NOCTTY, mode);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// The temporary file being written, removed when a signal ends the process
// before it is moved into place (as Ctrl+C does).
char pendingTemporary[4096];

void removePendingTemporary(int signal) {
    if (pendingTemporary[0] != 0) {
        ::unlink(pendingTemporary);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Catches the signals that end a process from a terminal while `temporary` is
// pending; an empty name lets them go again.
void guardTemporary(const std::string& temporary) {
    if (temporary.size() >= sizeof pendingTemporary) {
        return;
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        std::signal(signal, temporary.empty() ? SIG_DFL : removePendingTemporary);
    }
    std::memcpy(pendingTemporary, temporary.c_str(), temporary.size() + 1);
}

// Gives `descriptor` the extended attributes of `from` (POSIX ACLs and security
// labels among them), as far as the system lets it.
void copyExtendedAttributes(const char* from, int descriptor) {
    const ssize_t size = ::listxattr(from, nullptr, 0);
    if (size <= 0) {
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(size));
    const ssize_t listed = ::listxattr(from, names.data(), names.size());
    for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::strlen(&names[at])) + 1) {
        const char* name = &names[at];
        const ssize_t length = ::getxattr(from, name, nullptr, 0);
        std::vector<char> value(static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
        if (length >= 0 && ::getxattr(from, name, value.data(), value.size()) == length) {
            ::fsetxattr(descriptor, name, value.data(), value.size(), 0);
        }
    }
}

// Rewrites the regular file `path` in place: its name, links, owner and
// everything else about it stay; only what it holds changes.
WriteProblem rewriteInPlace(const char* path, std::string_view bytes) {
    const int descriptor = openFile(path, O_WRONLY);
    if (descriptor < 0) {
        return failed(errno);
    }
    const bool written = writeAll(descriptor, bytes) &&
                         ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0 &&
                         ::fsync(descriptor) == 0;
    const int code = errno;
    ::close(descriptor);
    return written ? WriteProblem{} : failed(code);
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

WriteProblem writeProblem(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? WriteProblem{} : failed(errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return {WriteProblem::Folder, {}};
    }
    // Root may write a file nobody may write; its user made it read-only, though.
    if ((status.st_mode & 0222) == 0) {
        return {WriteProblem::ReadOnly, {}};
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return refusal(status, errno);
    }
    return {};
}

WriteProblem saveFile(const std::filesystem::path& path, std::string_view bytes) {
    if (const WriteProblem problem = writeProblem(path)) {
        return problem;
    }
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) {
        // A stream or a device takes the bytes as they come, where it is.
        const int descriptor = openFile(path.c_str(), O_WRONLY);
        if (descriptor < 0) {
            return refusal(status, errno);
        }
        const bool written = writeAll(descriptor, bytes);
        const int code = errno;
        ::close(descriptor);
        return written ? WriteProblem{} : failed(code);
    }
    // Through symbolic links to the file itself, which is then replaced.
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    if (ec) {
        return failed(ec.value());
    }
    const bool ownOwner = !exists || (status.st_uid == ::geteuid() && status.st_gid == ::getegid());
    if (exists && status.st_nlink > 1) {
        return rewriteInPlace(target.c_str(), bytes);
    }
    mode_t mode = exists ? status.st_mode & 07777 : 0;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const std::string temporary = target.string() + ".tmp";
    ::unlink(temporary.c_str());
    guardTemporary(temporary);
    const int descriptor =
        openFile(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        const int code = errno;
        guardTemporary({});
        if (code == EACCES || code == EPERM || code == EROFS) {
            // The folder refuses a new file: the file itself may still be written.
            return exists ? rewriteInPlace(target.c_str(), bytes)
                          : WriteProblem{
                                code == EROFS ? WriteProblem::ReadOnly : WriteProblem::NotWritable,
                                code == EROFS ? "" : systemMessage(code)};
        }
        return failed(code);
    }
    if (!ownOwner && ::fchown(descriptor, status.st_uid, status.st_gid) != 0) {
        // Only root gives a file away: anyone else keeps the owner by writing in place.
        ::close(descriptor);
        ::unlink(temporary.c_str());
        guardTemporary({});
        return rewriteInPlace(target.c_str(), bytes);
    }
    if (exists) {
        copyExtendedAttributes(target.c_str(), descriptor);
    }
    bool written =
        ::fchmod(descriptor, mode) == 0 && writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int code = errno;
    written = ::close(descriptor) == 0 && written;
    std::string error = written ? "" : systemMessage(code);
    written = written && replaceFile(temporary, target, error);
    if (!written) {
        ::unlink(temporary.c_str());
    }
    guardTemporary({});
    return written ? WriteProblem{} : WriteProblem{WriteProblem::Failed, error};
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
