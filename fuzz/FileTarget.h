#pragma once
// What the fuzz targets on the data file share: a check that aborts as
// libFuzzer expects, a scratch folder of their own, and a file's bytes.

#include "Platform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
                return orbitra::utf8FromPath(folder);
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

// The bytes of the file at `path` (UTF-8); none when it cannot be read.
inline std::vector<unsigned char> contents(const std::string& path) {
    // In one read: byte by byte through a stream iterator, instrumented for
    // fuzzing, this took most of the write target's time.
    std::ifstream in(orbitra::pathFromUtf8(path), std::ios::binary | std::ios::ate);
    std::vector<unsigned char> bytes;
    if (in) {
        bytes.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

}  // namespace fuzzing
