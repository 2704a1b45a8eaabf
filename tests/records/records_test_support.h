// Records read from texts and temporary files for the record tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "aik/aik_test_support.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/game_record.h"
#include "records/load_record.h"
#include "records/record_readers.h"

namespace nusari::test {

// A record whose entry 0 holds the even-game position, as LoadRecord
// leaves it before a grammar runs.
inline std::unique_ptr<GameRecord> freshRecord() {
    auto record = std::make_unique<GameRecord>();
    setupPosition(record->history[0], kPresetEven);
    return record;
}

// UTF-8 text as the CP932 bytes of a file.
inline std::string cp932(std::string_view utf8) {
    return toCp932(utf8);
}

struct Read {
    std::unique_ptr<GameRecord> record = freshRecord();
    ReadOutcome outcome;
    // The failure message, or "" on success.
    std::string error() const { return outcome.error; }
    const Position& entry(int32_t n) const { return record->history[n]; }
};

inline Read readCsaBytes(std::string_view bytes) {
    Read r;
    TextInput in(bytes);
    r.outcome = ReadCsa(in, *r.record);
    return r;
}

inline Read readKifBytes(std::string_view bytes) {
    Read r;
    TextInput in(bytes);
    r.outcome = ReadKif(in, *r.record);
    return r;
}

inline Read readCsa(std::string_view utf8) {
    return readCsaBytes(cp932(utf8));
}
inline Read readKif(std::string_view utf8) {
    return readKifBytes(cp932(utf8));
}

// A history entry as a game's current position: no times in 111 and 119.
inline Position withoutTimes(Position p) {
    p[kLowerTimeCell] = 0;
    p[kUpperTimeCell] = 0;
    return p;
}

inline std::string fileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Position evenGame() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

// The even-game rows of a CSA file.
inline constexpr const char* kEvenRows =
    "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\n"
    "P2 * -HI *  *  *  *  * -KA * \n"
    "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\n"
    "P4 *  *  *  *  *  *  *  *  * \n"
    "P5 *  *  *  *  *  *  *  *  * \n"
    "P6 *  *  *  *  *  *  *  *  * \n"
    "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\n"
    "P8 * +KA *  *  *  *  * +HI * \n"
    "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n";

// The same game as the window holds it with the board turned the other way
// (the computer 先手 where the human was): every entry turned, the time
// slots exchanged, who moves first kept.
inline std::unique_ptr<GameRecord> turnedOver(const GameRecord& r) {
    auto t = std::make_unique<GameRecord>(r);
    t->humanIsSecond = 1 - r.humanIsSecond;
    t->boardTurned = 1 - r.boardTurned;
    for (int32_t n = 0; n <= r.length; ++n) {
        Position& p = t->history[n];
        p = flipPosition(r.history[n]);
        p[kLowerTimeCell] = r.history[n][kUpperTimeCell];
        p[kUpperTimeCell] = r.history[n][kLowerTimeCell];
    }
    return t;
}

// Record files written to a temporary folder and read with LoadRecord.
struct LoadFixtureRecords {
    TempFolder folder;
    std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    FakeUi ui;

    // Writes the UTF-8 `text` as it stands and reads it; 1, or -1 on failure.
    int32_t load(const std::string& name, std::string_view utf8) {
        return LoadRecord(*record, folder.writeBytes(name, utf8), ui).ok ? 1 : -1;
    }
};

}  // namespace nusari::test
