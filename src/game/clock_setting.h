// The game clocks a player chooses: 持ち時間 and then 秒読み or an
// increment per move for each side, the presets of the new-game page, the
// texts the clocks show while they run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/time_control.h"

namespace nusari {

// One side's time as the page sets it (the margin left at its default):
// the main time, then byoyomi (reset every move) or an increment added
// after every move.
TimeControl clockOf(int64_t mainMs, int64_t byoyomiMs, int64_t incMs);

// The rows of the new-game page's time list. Row 0 is the computer's own
// limit per move (the MaxTime setting) with no clock for anyone.
enum ClockPresetRow : int32_t {
    kClockPerMove = 0,
    kClockSuddenDeath10,  // 10分切れ負け
    kClockTenAndThirty,   // 10分+30秒 (then 30 s a move)
    kClockThirtySeconds,  // 30秒将棋
    kClockFischer,        // 5分+10秒加算
    kClockNoLimit,        // 持ち時間なし: both clocks count up, nobody loses on time
    kClockCustom,         // 個別設定: each side as its fields say
};
inline constexpr int32_t kClockPresetCount = 7;

// The list's text of a row; the first names the per-move limit in seconds.
std::string clockPresetName(int32_t row, int32_t moveLimitMs);
// Both sides' setting of a preset row (the per-move and custom rows have none).
std::optional<TimeControl> clockPresetSetting(int32_t row);
// The preset whose setting is `s` for both sides, else kClockCustom.
int32_t clockPresetOf(const TimeControl& sente, const TimeControl& gote);

// "h:mm:ss", "m:ss" or whole minutes ("10") as milliseconds; nothing for
// anything else or a time of 100 hours or more.
std::optional<int64_t> parseClockText(std::string_view text);
// "h:mm:ss", the seconds rounded down.
std::string clockText(int64_t ms);

// What a running clock shows: the main time left as "m:ss" ("h:mm:ss" from
// an hour) with the byoyomi to come ("9:58 / 30秒") or the increment
// ("9:58 +10秒"), then "秒読み 27" once the main time is spent; without a
// limit the time used, counting up;
// `usedMs` is what the side has spent of its current move.
std::string clockReading(const TimeControl& t, int64_t clockLeftMs, int64_t usedMs);
// The whole seconds of byoyomi left for the side to move while it is in its
// last ten seconds of byoyomi (10 … 1), else 0: the countdown's beeps.
int32_t countdownSecond(const TimeControl& t, int64_t clockLeftMs, int64_t usedMs);

}  // namespace nusari
