#include "DataFiles.h"

#include "Platform.h"

namespace orbitra {

Status Status::failure(RecordError error, std::string message) {
    return Status{error, std::move(message)};
}

namespace {

Status badHandle() {
    return Status::failure(RecordError::BadFileHandle, "Bad file handle");
}
Status badNumber() {
    return Status::failure(RecordError::BadRecordNumber, "Bad record number");
}

std::uint64_t offsetOf(std::int32_t number) {
    return static_cast<std::uint64_t>(number - 1) * kRecordSize;
}

}  // namespace

DataFiles::DataFiles() = default;
DataFiles::~DataFiles() = default;

Status DataFiles::open(int handle, const std::string& path) {
    if (isOpen(handle)) {
        return Status::failure(RecordError::BadFileHandle, "File already open");
    }
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(path), ec);
    if (ec) {
        absolute = pathFromUtf8(path);
    }
    std::string error;
    std::unique_ptr<NativeFile> file = NativeFile::open(absolute, error);
    if (!file) {
        return Status::failure(RecordError::OpenFailed, error);
    }
    files_[handle] = {std::move(file), std::move(absolute)};
    return {};
}

Status DataFiles::close(int handle) {
    if (files_.erase(handle) == 0) {
        return badHandle();
    }
    return {};
}

bool DataFiles::isOpen(int handle) const {
    return files_.count(handle) != 0;
}

Status DataFiles::follow(const OpenFile& open, bool& removed) const {
    FileIdentity held, named;
    bool missing = false;
    removed = false;
    if (!open.file->identity(held)) {
        return {};
    }
    if (!NativeFile::identityOf(open.path, named, missing)) {
        // A file whose folder was renamed or moved keeps its records and its
        // saves; only one that has no name left is gone.
        removed = missing && open.file->unlinked();
        return {};
    }
    if (named == held) {
        return {};
    }
    for (auto& [handle, other] : files_) {
        FileIdentity current;
        if (other.path != open.path || (other.file->identity(current) && current == named)) {
            continue;
        }
        std::string error;
        // Never created afresh: a name gone meanwhile refuses the operation.
        std::unique_ptr<NativeFile> fresh = NativeFile::open(other.path, error, false);
        if (!fresh) {
            return Status::failure(RecordError::Io, error);
        }
        other.file = std::move(fresh);
    }
    return {};
}

Status DataFiles::read(int handle, std::int32_t number, ElementRecord& out) const {
    if (number < 1) {
        return badNumber();
    }
    const auto it = files_.find(handle);
    if (it == files_.end()) {
        return badHandle();
    }
    bool removed = false;
    if (Status followed = follow(it->second, removed); !followed.ok()) {
        return followed;
    }
    RecordBytes bytes{};
    std::string error;
    if (it->second.file->readAt(offsetOf(number), bytes.data(), bytes.size(), error) < 0) {
        return Status::failure(RecordError::Io, error);
    }
    out = decodeRecord(bytes);
    return {};
}

Status DataFiles::write(int handle, std::int32_t number, const ElementRecord& record, Sync sync) {
    if (number < 1) {
        return badNumber();
    }
    const auto it = files_.find(handle);
    if (it == files_.end()) {
        return badHandle();
    }
    bool removed = false;
    if (Status followed = follow(it->second, removed); !followed.ok()) {
        return followed;
    }
    if (removed || it->second.file->readOnly()) {
        const std::string& refusal = it->second.file->writeRefusal();
        return Status::failure(
            RecordError::Io, "The data file \"" + utf8FromPath(it->second.path.filename()) + "\" " +
                                 (removed ? std::string("has been removed from its folder.")
                                  : refusal.empty() ? writeRefusalWords(refusal) +
                                                          ": records can be shown, not saved."
                                                    : writeRefusalWords(refusal)));
    }
    const RecordBytes bytes = encodeRecord(record);
    std::string error;
    if (!it->second.file->writeAt(offsetOf(number), bytes.data(), bytes.size(), error)) {
        return Status::failure(RecordError::Io, error);
    }
    if (sync == Sync::Yes && !it->second.file->sync(error)) {
        return Status::failure(RecordError::Io, error);
    }
    return {};
}

Status openDataFile(DataFiles& files, int handle) {
    Status status = files.open(handle, kDataFileName);
    if (status.error == RecordError::OpenFailed) {
        status.message = std::string("The data file \"") + kDataFileName +
                         "\" could not be opened.\n\n" + status.message;
    }
    return status;
}

Status ReadRecord(const DataFiles& files, int handle, std::int32_t number, ElementRecord& out) {
    return files.read(handle, number, out);
}

Status WriteRecord(DataFiles& files, int handle, std::int32_t number, const ElementRecord& record,
                   Sync sync) {
    return files.write(handle, number, record, sync);
}

}  // namespace orbitra
