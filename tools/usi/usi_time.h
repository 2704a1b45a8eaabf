// The time limit of one USI "go".
#pragma once

#include <cstdint>

#include "think/move_time.h"

namespace nusari::usi {

struct GoLimits {
    int64_t btime = -1;  // ms left on the clock; -1 when not given
    int64_t wtime = -1;
    int64_t binc = 0;
    int64_t winc = 0;
    int64_t byoyomi = 0;
    int64_t movetime = -1;
    bool infinite = false;
};

inline constexpr int64_t kDefaultThinkMs = 10000;
inline constexpr int64_t kNoLimitMs = 2000000000;
// Kept back for reading the position and writing the answer.
inline constexpr int64_t kSafetyMs = kMoveSafetyMs;
inline constexpr int64_t kMinimumMs = kLeastMoveMs;

// The think driver's limit for the side to move (black = the first player):
// - infinite: no limit;
// - movetime M: M - 100 ms;
// - a clock: moveTimeFromClock;
// - byoyomi alone: the byoyomi less 100 ms;
// - nothing: 10 seconds.
// The result is at least 50 ms.
int64_t thinkLimitMs(const GoLimits& go, bool blackToMove);

}  // namespace nusari::usi
