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
    std::string error;
    std::unique_ptr<NativeFile> file = NativeFile::open(path, error);
    if (!file) {
        return Status::failure(RecordError::OpenFailed, error);
    }
    files_[handle] = std::move(file);
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

Status DataFiles::read(int handle, std::int32_t number, ElementRecord& out) const {
    if (number < 1) {
        return badNumber();
    }
    const auto it = files_.find(handle);
    if (it == files_.end()) {
        return badHandle();
    }
    RecordBytes bytes{};
    std::string error;
    if (it->second->readAt(offsetOf(number), bytes.data(), bytes.size(), error) < 0) {
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
    const RecordBytes bytes = encodeRecord(record);
    std::string error;
    if (!it->second->writeAt(offsetOf(number), bytes.data(), bytes.size(), error)) {
        return Status::failure(RecordError::Io, error);
    }
    if (sync == Sync::Yes && !it->second->sync(error)) {
        return Status::failure(RecordError::Io, error);
    }
    return {};
}

Status ReadRecord(const DataFiles& files, int handle, std::int32_t number, ElementRecord& out) {
    return files.read(handle, number, out);
}

Status WriteRecord(DataFiles& files, int handle, std::int32_t number, const ElementRecord& record,
                   Sync sync) {
    return files.write(handle, number, record, sync);
}

}  // namespace orbitra
