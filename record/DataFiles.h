#pragma once

#include "ElementRecord.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace orbitra {

class NativeFile;

// The data file of the windows, in the working directory.
inline constexpr const char* kDataFileName = "period.bio";

// The handles the windows open the data file under: the main window's, through
// which every record passes while it is open, and the editor's own.
inline constexpr int kMainHandle = 1;
inline constexpr int kEditorHandle = 2;

// The highest record number: the program reads record numbers as 16-bit
// integers, and a higher one would make a file of gigabytes, mostly zero bytes.
inline constexpr std::int32_t kLargestRecord = 32767;

enum class RecordError {
    None,
    BadRecordNumber,  // a record number below 1
    BadFileHandle,    // no file is open under that handle (or it is already in use)
    OpenFailed,       // the file could be neither opened for reading and writing nor created
    Io,               // the device reported an error while reading or writing
};

// Result of a file operation: an error value and, for system errors, the
// system's own message. Never thrown.
struct Status {
    RecordError error = RecordError::None;
    std::string message;

    bool ok() const { return error == RecordError::None; }
    static Status failure(RecordError error, std::string message);
};

enum class Sync { No, Yes };

// The open handles of the data file: small whole numbers shared by the windows
// (1 belongs to the main window, 2 to the editor). Each handle is an independent
// open file; the same file may be open under several handles at once.
//
// A handle follows its file name: when another program replaces the file (as a
// save by rename does), the next read or write opens the name afresh, for every
// handle on it. When the file has no name left, reads go on from the file held
// open and writes are refused, since nobody could see what they wrote; a file
// whose folder was renamed or moved goes on as before.
class DataFiles {
public:
    DataFiles();
    ~DataFiles();
    DataFiles(const DataFiles&) = delete;
    DataFiles& operator=(const DataFiles&) = delete;

    // Opens `path` (UTF-8, relative to the working directory at the moment of the call)
    // for reading and writing as `handle`, creating an empty file when missing;
    // a file that may only be read opens for reading, and writes through it are
    // refused. BadFileHandle when the handle is already open; OpenFailed with the
    // system message when the file can be neither opened nor created.
    Status open(int handle, const std::string& path);

    // Closes `handle`. BadFileHandle when it is not open.
    Status close(int handle);

    bool isOpen(int handle) const;

    // Reads record `number` (from 1) through `handle` into `out`. A record wholly
    // past the end of the file reads as the cleared record; one partly inside it
    // reads what is there with the missing bytes as zero. Neither is an error.
    // BadRecordNumber below 1, BadFileHandle on a closed handle, Io on a device
    // error; `out` is untouched on any failure.
    Status read(int handle, std::int32_t number, ElementRecord& out) const;

    // Writes `record` as record `number` (from 1) through `handle` at byte
    // (number - 1) * 177, extending the file with zero bytes when it lies past
    // the end. With Sync::Yes the bytes reach the device before it returns.
    // Nothing outside those 177 bytes is ever written. Io when the file has been
    // removed or was opened for reading only, the message then saying that the
    // file is read-only or, where only the user's rights refuse, the system's
    // reason.
    Status write(int handle, std::int32_t number, const ElementRecord& record,
                 Sync sync = Sync::Yes);

private:
    struct OpenFile {
        std::unique_ptr<NativeFile> file;
        std::filesystem::path path;  // absolute, as it was when opened
    };
    // Opens the name of `handle` afresh, for every handle on it, when it names
    // another file than the one held; `removed` tells that the file held has been
    // removed and no file took its name.
    Status follow(const OpenFile& open, bool& removed) const;

    // Following a replaced file changes which file a handle reads, not what the
    // registry holds, so a read may do it too.
    mutable std::map<int, OpenFile> files_;
};

// Opens the data file kDataFileName as `handle` (see DataFiles::open). When the
// file can be neither opened nor created, the message names the file and gives
// the system's reason: "The data file "period.bio" could not be opened." and,
// after an empty line, the reason.
Status openDataFile(DataFiles& files, int handle);

// The two record operations by handle and record number; see DataFiles.
Status ReadRecord(const DataFiles& files, int handle, std::int32_t number, ElementRecord& out);
Status WriteRecord(DataFiles& files, int handle, std::int32_t number, const ElementRecord& record,
                   Sync sync = Sync::Yes);

}  // namespace orbitra
