// How much time a side has: byoyomi, a clock with a Fischer increment (added
// after each move), or a clock followed by byoyomi; all zero for a side
// without a limit. Every answer may come the margin after its limit.
#pragma once

#include <cstdint>

#include "records/game_ending.h"

namespace nusari {

struct TimeControl {
    int64_t byoyomiMs = 0;
    int64_t timeMs = 0;
    int64_t incMs = 0;
    int64_t marginMs = kAnswerMarginMs;

    bool limited() const { return byoyomiMs > 0 || timeMs > 0 || incMs > 0; }
    bool operator==(const TimeControl&) const = default;
};

}  // namespace nusari
