// A folder of its own for a test (or a benchmark) that writes files: made
// fresh and empty with mkdtemp under the temporary folder ($TMPDIR, else
// /tmp), and removed with everything in it when the object goes. No name is
// fixed, so nothing left by an earlier run or a test running beside it is
// ever seen.
#pragma once

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace nusari::test {

class TempFolder {
  public:
    TempFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "nusari-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            throw std::filesystem::filesystem_error(
                "mkdtemp", name, std::error_code(errno, std::generic_category()));
        }
        path_ = name;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        // Said aloud: a folder that stays behind is a fault of the test.
        if (ec)
            std::fprintf(stderr, "temporary folder %s not removed: %s\n", path_.c_str(),
                         ec.message().c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes `bytes` unchanged to `name` (which may name sub folders, made as
    // needed); returns the file's path.
    std::string writeBytes(const std::string& name, std::string_view bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }

  private:
    std::filesystem::path path_;
};

}  // namespace nusari::test
