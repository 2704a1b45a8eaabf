#include "ui/play_prefs.h"

#include <string>

namespace nusari {

namespace {

constexpr std::string_view kSection = "Game";
constexpr std::string_view kClockKeys[2] = {"SenteClock", "GoteClock"};
// A clock of 100 hours and more is no clock a player set.
constexpr int32_t kMostClockMs = 100 * 3600 * 1000 - 1;

std::optional<int32_t> readInt(SettingsStore& store, std::string_view key, int32_t least, int32_t most) {
    const std::optional<std::string> text = store.value(kSection, key);
    const std::optional<int32_t> v = text ? ParseIniInteger(*text) : std::nullopt;
    if (!v || *v < least || *v > most) return std::nullopt;
    return v;
}

// "main,byoyomi,increment" in milliseconds.
std::string clockValue(const TimeControl& s) {
    return std::to_string(s.timeMs) + "," + std::to_string(s.byoyomiMs) + "," + std::to_string(s.incMs);
}

std::optional<TimeControl> readClock(SettingsStore& store, std::string_view key) {
    const std::optional<std::string> text = store.value(kSection, key);
    if (!text) return std::nullopt;
    int64_t parts[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = i < 2 ? text->find(',', start) : text->size();
        if (comma == std::string::npos) return std::nullopt;
        const std::optional<int32_t> v = ParseIniInteger(std::string_view(*text).substr(start, comma - start));
        if (!v || *v < 0 || *v > kMostClockMs) return std::nullopt;
        parts[i] = *v;
        start = comma + 1;
    }
    // One way of adding time a move: byoyomi or an increment.
    if (parts[1] > 0 && parts[2] > 0) return std::nullopt;
    return clockOf(parts[0], parts[1], parts[2]);
}

}  // namespace

void ReadPlayPrefs(SettingsStore& store, NewGamePage& page) {
    for (int side = 0; side < 2; ++side) {
        if (const std::optional<TimeControl> s = readClock(store, kClockKeys[side])) page.clocks[side] = *s;
    }
    if (const std::optional<int32_t> row = readInt(store, "ClockRow", 0, kClockPresetCount - 1)) {
        // A preset row stands for its setting; a changed setting is 個別設定.
        page.clockRow = *row == kClockPerMove ? kClockPerMove : clockPresetOf(page.clocks[0], page.clocks[1]);
    }
    if (const std::optional<int32_t> refuse = readInt(store, "RefuseFouls", 0, 1)) page.refuseFouls = *refuse == 1;
}

bool WritePlayPrefs(SettingsStore& store, const NewGamePage& page) {
    const auto set = [&](std::string_view key, const std::string& text) {
        if (store.value(kSection, key) != text) store.setValue(kSection, key, text);
    };
    set("ClockRow", std::to_string(page.clockRow));
    for (int side = 0; side < 2; ++side) set(kClockKeys[side], clockValue(page.clocks[side]));
    set("RefuseFouls", page.refuseFouls ? "1" : "0");
    return store.flush();
}

}  // namespace nusari
