// What the engine is asked to think about: one value with the position, the
// clocks and the limits, as a chess engine's search limits are passed.
#pragma once

#include <cstdint>

#include "position/types.h"

namespace nusari {

// The least time limit of a move: the computer always searches.
inline constexpr int32_t kMinTimeLimitMs = 100;

// A clock value nobody has told the engine.
inline constexpr int32_t kTimeNotKnown = -1;

// One side's clock.
struct SideClock {
    int32_t usedSeconds = 0;            // thinking time of the game so far
    int32_t leftMs = kTimeNotKnown;     // what the side's clock still allows
};

struct ThinkLimits {
    // The time setting of one move, raised to kMinTimeLimitMs.
    int32_t moveTimeMs = 10000;
    // > 0: the most this move may take (a game server's clock).
    int32_t moveCapMs = 0;
    // The CSA time mode: the limit and the depth follow the mover's used time.
    bool csaTimeMode = false;
    // steady-clock ms when the move's clock started (the previous move).
    int64_t startMs = 0;
};

struct ThinkRequest {
    // The position in any orientation, and who is to move in it. Cells 111
    // and 119 are not read.
    Position position{};
    Side toMove = Side::Upper;
    // Indexed by clockIndex(side).
    SideClock clock[2]{};
    ThinkLimits limits;

    SideClock& clockOf(Side side) { return clock[side == Side::Lower ? 0 : 1]; }
    const SideClock& clockOf(Side side) const { return clock[side == Side::Lower ? 0 : 1]; }
};

}  // namespace nusari
