// Temporary folders and .aik files for the loader tests.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "aik/aik_loader.h"
#include "aik/engine_state.h"
#include "position/text_encoding.h"
#include "support/fake_ui.h"

namespace nusari {

// Readable failure output for rule comparisons.
inline void PrintTo(const FindRule& r, std::ostream* os) {
    *os << "{piece " << r.piece << ", dx " << r.dx << ", dy " << r.dy << ", op " << r.op
        << ", first " << r.first << ", value " << r.value << "}";
}

}  // namespace nusari

namespace nusari::test {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("nusari-aik-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes `bytes` unchanged to `name` (may hold sub folders); returns the path.
    std::string writeBytes(const std::string& name, std::string_view bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }

    // Writes UTF-8 `text` as CP932, with CR LF line ends unless `lf`.
    std::string writeText(const std::string& name, std::string_view text, bool lf = false) const {
        std::string bytes = toCp932(text);
        if (!lf) {
            std::string crlf;
            for (const char c : bytes) {
                if (c == '\n') crlf += '\r';
                crlf += c;
            }
            bytes = crlf;
        }
        return writeBytes(name, bytes);
    }

private:
    std::filesystem::path path_;
};

// A heap-allocated state and a recording Ui, with a load helper.
struct LoadFixture {
    TempFolder folder;
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    FakeUi ui;

    int32_t load(std::string_view text, bool lf = false) {
        return LoadAik(*state, folder.writeText("e.aik", text, lf), ui);
    }
};

// A row of nine numbers: base, base + step, ...
inline std::string row(int base, int step = 1) {
    std::string r;
    for (int i = 0; i < 9; ++i) {
        if (i > 0) r += ',';
        r += std::to_string(base + i * step);
    }
    r += '\n';
    return r;
}

// A complete "set koma[" block whose square value is 1000 * file + rank
// (plus `offset`), hand values 100 + n and coefficient `coefficient`.
inline std::string setBlock(int code, int offset = 0, int coefficient = 3) {
    std::string b = "set koma[" + std::to_string(code) + "]\n";
    if (code >= 1 && code <= 7) b += row(101) + row(110);
    for (int file = 1; file <= 9; ++file) b += row(1000 * file + 1 + offset);
    return b + std::to_string(coefficient) + "\n}\n";
}

}  // namespace nusari::test
