#pragma once

// What differs per platform: the ANSI code page, the system's code page, the
// raw file calls, paths and the command line. The POSIX and Windows
// implementations live beside each other in record/; CMake compiles the one for
// the target. Both build on one strict UTF-8 and UTF-16 decoder
// (CodePage_unicode.cpp).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orbitra {

// ANSI code page of the data file. On Windows it is the system's active code
// page when that is a single-byte one, and Windows-1252 otherwise (UTF-8 or a
// double-byte code page); elsewhere Windows-1252. The five bytes Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are taken as U+0081..U+009D,
// so every byte value converts and back unchanged.
std::string ansiToUtf8(const unsigned char* bytes, std::size_t size);

// UTF-8 -> ANSI bytes, one byte per character. A character with no byte in the
// code page, and any malformed UTF-8 sequence, become '?' (at least one per
// malformed sequence). Where the code page composes letters with tone marks
// (Vietnamese), a precomposed letter it lacks becomes its letter and marks, a
// byte each; reading composes them again.
std::string utf8ToAnsi(std::string_view text);

// The name of that code page for messages, such as "Windows-1252".
std::string codePageName();

// The system's code page, in which spreadsheets save plain text: on Windows the
// active code page, double-byte ones (932, 936, 949, 950) and UTF-8 included;
// elsewhere the data file's code page. Its name for messages, such as "code
// page 932".
std::string systemCodePageName();

// Text in the system's code page -> UTF-8. Returns how many bytes decode:
// `bytes.size()` when all do, else the offset of the first sequence the code
// page does not define (a lead byte without its trail byte among them); `out`
// then holds the text before it.
std::size_t systemToUtf8(std::string_view bytes, std::string& out);

// Returned by nextUtf8 for a malformed sequence.
inline constexpr char32_t kNotUtf8 = 0xFFFFFFFF;

// Decodes the UTF-8 character at `text[i]` (i < text.size()) and moves `i` past
// it. A malformed sequence gives kNotUtf8 and moves `i` by one byte: a stray or
// missing continuation byte, a form longer than the shortest (C0 AF for "/"), a
// surrogate (ED A0 80) or a value past U+10FFFF (F4 90 80 80).
char32_t nextUtf8(std::string_view text, std::size_t& i);

// Appends the character `c` (at most U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// True when all of `text` is well-formed UTF-8, as nextUtf8 reads it.
bool isUtf8(std::string_view text);

// UTF-16 bytes (without a byte-order mark) -> UTF-8. False on an odd number of
// bytes or a surrogate without its other half.
bool utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out);

// A path given as UTF-8 text, as the file system takes it.
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A path as UTF-8 text, for messages.
inline std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The program's command-line arguments as UTF-8 text, the program's name first.
// Windows hands them in its ANSI code page to main(); they are taken from the
// system's UTF-16 command line instead, so that any file name survives.
std::vector<std::string> commandLineArguments(int argc, char* argv[]);

// Makes standard input, output and error pass bytes unchanged, as they do on
// POSIX; Windows would otherwise turn each line feed into CR LF and back. A Windows console
// shows the program's UTF-8 text as such until it ends.
void useBinaryStandardOutput();

// Marks, for the life of the process, that the program runs: on Windows the
// mutex "Local\\OrbitraTableRunning" in the user's session, which the installer
// and uninstaller look for before they touch files; nothing elsewhere. Any
// number of copies may hold it at once.
void markRunning();

// Moves the file `from` over `to` in one step, replacing it, retrying for about a
// second while another program holds `to` for a moment. False with `error`
// filled on failure; where another program holds `to` open so that it cannot be
// replaced, the error says so.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::string& error);

// Why a file may not be written, in the words every writer of the program
// uses; `None` when it may.
struct WriteProblem {
    enum Kind {
        None,
        ReadOnly,     // the file is read-only (nobody may write it), or its medium is
        NotWritable,  // the user's rights refuse; `reason` is the system's message
        Folder,       // the name is a folder's
        Failed,       // anything else; `reason` is the system's message
    } kind = None;
    std::string reason;
    explicit operator bool() const { return kind != None; }
};

// The words for a file that may be read but not written, after its name: "is
// read-only" where the file or its medium is (`reason` empty), else "can be
// read, not written: " and the system's reason. The editor's Save and
// periodbio refuse in them alike.
inline std::string writeRefusalWords(const std::string& reason) {
    return reason.empty() ? "is read-only" : "can be read, not written: " + reason;
}

// Whether the file `path` names may be written, as saveFile would find it; a
// name that names nothing may (saveFile will say so when its folder refuses).
WriteProblem writeProblem(const std::filesystem::path& path);

// Makes `bytes` the whole content of the file `path` names, leaving it as its
// user had it. A symbolic link is followed: its target is written and the link
// stays. A stream (pipe, terminal, device, named pipe; /dev/stdout and links to
// it) is written in place, never created or replaced. A regular file is written
// whole beside its target and then moved over it, so that a failure or an
// interruption leaves the old file whole and no temporary file behind; the new
// file keeps the old one's permissions and owner (POSIX: mode, owner, group and
// extended attributes, ACLs included; Windows: attributes, access list and
// streams). Where a move cannot keep them (a file of several hard links, or one
// whose owner the user may not give away) the file is rewritten in place
// instead. A missing file is created with the user's default permissions; a
// read-only file or one the user may not write is refused, changing nothing.
WriteProblem saveFile(const std::filesystem::path& path, std::string_view bytes);

// Which file a name or an open file is: device and file number.
struct FileIdentity {
    std::uint64_t device = 0, file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A data file open for reading and writing in binary mode, at byte offsets.
class NativeFile {
public:
    // Opens `path` for reading and writing, creating it empty when missing
    // unless `create` is false. A file that may be read but not written (a
    // read-only file, folder or share, or one the user has no right to write)
    // opens for reading only; see readOnly() and writeRefusal().
    // A sharing or lock violation (a virus scanner or sync client holding the
    // file for a moment) is retried for about a second. Returns null and fills
    // `error` with the system's message on failure (for a folder, the message
    // says that it is one).
    static std::unique_ptr<NativeFile> open(const std::filesystem::path& path, std::string& error,
                                            bool create = true);
    ~NativeFile();
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // Reads up to `size` bytes at `offset`; returns how many were read (fewer at
    // the end of the file, 0 past it), or -1 with `error` filled.
    std::int64_t readAt(std::uint64_t offset, unsigned char* buffer, std::size_t size,
                        std::string& error);

    // True when the file was opened for reading only; writes then fail.
    bool readOnly() const { return readOnly_; }

    // Why a file opened for reading only may not be written: empty where the file
    // itself or its medium is read-only (Windows' read-only attribute or a file
    // nobody may write; a read-only volume or share), else the system's message
    // for the refusal (the user's rights to the file or its folder).
    const std::string& writeRefusal() const { return writeRefusal_; }

    // Writes all `size` bytes at `offset`, growing the file (with zero bytes in
    // between) when the offset lies past its end. False with `error` on failure.
    bool writeAt(std::uint64_t offset, const unsigned char* data, std::size_t size,
                 std::string& error);

    // Pushes what was written through to the device (fsync, FlushFileBuffers). A
    // file whose device or file system cannot be flushed counts as flushed.
    bool sync(std::string& error);

    // The file held open; false when the system cannot tell or need not (Windows,
    // where a file held open cannot be replaced or removed).
    bool identity(FileIdentity& out) const;

    // True when the file held open has no name left in any folder.
    bool unlinked() const;

    // The file that `path` names now; false when the name names no file (or the
    // system cannot tell), `missing` then true when it names nothing at all.
    static bool identityOf(const std::filesystem::path& path, FileIdentity& out, bool& missing);

private:
    NativeFile(std::intptr_t handle, bool readOnly, std::string writeRefusal = {})
        : handle_(handle), readOnly_(readOnly), writeRefusal_(std::move(writeRefusal)) {}
    std::intptr_t handle_;
    bool readOnly_;
    std::string writeRefusal_;
};

}  // namespace orbitra
