// Writes and reads chosen by the input, on a data file that starts missing,
// checked byte for byte against a model of the file kept in memory: every
// record reads as what was last written there, a gap or the end reads as zero
// bytes, and at the end the file is the model. Each step of the input is two
// bytes of record number to write (1..2048), one byte of record number to read
// (1..256), then the record's text up to a newline, its fields split at 0x1F.

#include "DataFiles.h"
#include "FileTarget.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzing::scratchFolder() + "/period.bio";
    std::remove(path.c_str());
    orbitra::DataFiles files;
    check(files.open(1, path).ok(), "open");
    std::vector<unsigned char> model;
    for (std::size_t at = 0; at + 3 <= size;) {
        const int number = 1 + (data[at] | data[at + 1] << 8) % 2048;
        const int probe = 1 + data[at + 2];
        orbitra::ElementRecord record;
        std::size_t field = 0;
        for (at += 3; at < size && data[at] != '\n'; ++at) {
            if (data[at] == 0x1F) {
                field = (field + 1) % orbitra::kPropertyCount;
            } else {
                record.fields[field] += char(data[at]);
            }
        }
        ++at;
        check(orbitra::WriteRecord(files, 1, number, record, orbitra::Sync::No).ok(), "write");
        const std::size_t offset = std::size_t(number - 1) * orbitra::kRecordSize;
        model.resize(std::max(model.size(), offset + orbitra::kRecordSize));
        const orbitra::RecordBytes written = orbitra::encodeRecord(record);
        std::copy(written.begin(), written.end(), model.begin() + offset);

        check(orbitra::ReadRecord(files, 1, probe, record).ok(), "read");
        orbitra::RecordBytes stored{};
        for (std::size_t i = 0, from = std::size_t(probe - 1) * orbitra::kRecordSize;
             i < stored.size() && from + i < model.size(); ++i) {
            stored[i] = model[from + i];
        }
        check(record == orbitra::decodeRecord(stored), "read back as written");
    }
    check(files.close(1).ok(), "close");
    check(fuzzing::contents(path) == model, "file is the model");
    return 0;
}
