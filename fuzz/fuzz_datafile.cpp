// Arbitrary bytes as the data file (any length), read at record numbers taken
// from the input: reading never fails for a number from 1, never changes the
// file, and every field reads as its bytes up to the first zero byte, with the
// bytes past the end of the file taken as zero.

#include "DataFiles.h"
#include "FileTarget.h"
#include "Platform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using fuzzing::check;
using fuzzing::contents;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first 8 bytes choose two record numbers; all of the input is the file.
    std::int32_t picks[2] = {1, 1};
    std::memcpy(picks, data, size < sizeof picks ? size : sizeof picks);
    const std::string path = fuzzing::scratchFolder() + "/period.bio";
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        check(f != nullptr, "scratch file");
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const std::vector<unsigned char> before = contents(path);

    orbitra::DataFiles files;
    check(files.open(1, path).ok(), "open");
    const std::int32_t records = static_cast<std::int32_t>(size / orbitra::kRecordSize);
    std::vector<std::int32_t> numbers{picks[0], picks[1], 1, records, records + 1, records + 2};
    for (const std::int32_t number : numbers) {
        orbitra::ElementRecord record;
        const orbitra::Status status = orbitra::ReadRecord(files, 1, number, record);
        if (number < 1) {
            check(status.error == orbitra::RecordError::BadRecordNumber, "bad number refused");
            continue;
        }
        check(status.ok(), "read succeeds");
        const std::uint64_t start = std::uint64_t(number - 1) * orbitra::kRecordSize;
        for (int i = 0; i < orbitra::kPropertyCount; ++i) {
            std::string stored;
            for (int k = 0; k < orbitra::kFields[i].width; ++k) {
                const std::uint64_t at = start + orbitra::kFields[i].offset + k;
                const unsigned char byte = at < size ? data[at] : 0;
                if (byte == 0) {
                    break;
                }
                stored += static_cast<char>(byte);
            }
            check(orbitra::utf8ToAnsi(record.fields[i]) == stored, "field text");
        }
    }
    files.close(1);
    check(contents(path) == before, "file unchanged");
    return 0;
}
