// Shared by the fuzz targets: a check that holds in every build, and a
// private folder for readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <stdlib.h>

// An invariant of the reader: a failure aborts, which the fuzzer reports.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,    \
                         #condition);                                                \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

namespace nusari::fuzz {

inline std::string_view bytesOf(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A fresh folder of this process under $TMPDIR (or /tmp), made with mkdtemp
// on first use and removed at a normal exit. Never destroyed, so the exit
// handler can use it.
inline const std::filesystem::path& scratchFolder() {
    static const std::filesystem::path* const folder = [] {
        std::string name = (std::filesystem::temp_directory_path() / "nusari-fuzz-XXXXXX").string();
        FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
        auto* p = new std::filesystem::path(name);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchFolder(), ec);
        });
        return p;
    }();
    return *folder;
}

// Writes `bytes` to `name` in the scratch folder; returns its path.
inline std::string writeScratch(const std::string& name, std::string_view bytes) {
    const std::filesystem::path p = scratchFolder() / name;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good());
    return p.string();
}

}  // namespace nusari::fuzz
