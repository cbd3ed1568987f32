#pragma once
// What the fuzz targets on the data file share: a check that aborts as
// libFuzzer expects, a scratch folder of their own, and a file's bytes.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fuzzing {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A fresh folder in the system's temporary folder, made on first use and
// removed when the run ends normally; after a broken check it stays, with the
// file that broke it.
inline std::string scratchFolder() {
    static const std::string name = [] {
        namespace fs = std::filesystem;
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path folder =
                fs::temp_directory_path() / ("fuzz-orbitra-" + std::to_string(random()));
            std::error_code ec;
            if (fs::create_directory(folder, ec)) {
                return folder.string();
            }
        }
        check(false, "scratch folder");
        return std::string();
    }();
    static const bool cleanup = [] {
        std::atexit([] { std::filesystem::remove_all(name); });
        return true;
    }();
    (void)cleanup;
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
