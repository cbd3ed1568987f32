#pragma once
// What the fuzz targets on the data file share: a check that aborts as
// libFuzzer expects, a scratch folder of their own, and a file's bytes.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzzing {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A fresh folder under /tmp, made on first use and removed when the run ends
// normally; after a broken check it stays, with the file that broke it.
inline std::string scratchFolder() {
    static char name[] = "/tmp/fuzz-orbitra-XXXXXX";
    static const bool made = [] {
        check(mkdtemp(name) != nullptr, "scratch folder");
        std::atexit([] { std::filesystem::remove_all(name); });
        return true;
    }();
    (void)made;
    return name;
}

// The bytes of the file at `path`; none when it cannot be read.
inline std::vector<unsigned char> contents(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) {
            bytes.insert(bytes.end(), block, block + n);
        }
        std::fclose(f);
    }
    return bytes;
}

}  // namespace fuzzing
