// Temporary folders and .aik files for the loader tests.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "aik/aik_loader.h"
#include "aik/engine_state.h"
#include "position/text_encoding.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace nusari {

// Readable failure output for rule comparisons.
inline void PrintTo(const FindRule& r, std::ostream* os) {
    *os << "{piece " << r.piece << ", dx " << r.dx << ", dy " << r.dy << ", op " << r.op
        << ", first " << r.first << ", value " << r.value << "}";
}

}  // namespace nusari

namespace nusari::test {

// Writes UTF-8 `text` as CP932 to `name` in `folder`, with CR LF line ends
// unless `lf`; returns the file's path.
inline std::string writeText(const TempFolder& folder, const std::string& name,
                             std::string_view text, bool lf = false) {
    std::string bytes = toCp932(text);
    if (!lf) {
        std::string crlf;
        for (const char c : bytes) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        bytes = crlf;
    }
    return folder.writeBytes(name, bytes);
}

// A heap-allocated state and a recording Ui, with a load helper.
struct LoadFixture {
    TempFolder folder;
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    FakeUi ui;

    int32_t load(std::string_view text, bool lf = false) {
        return LoadAik(*state, writeText(folder, "e.aik", text, lf), ui);
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
