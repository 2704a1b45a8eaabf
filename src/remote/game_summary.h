// What a game server's Game_Summary says beyond the sides: the players'
// names and the clock, and the time the computer may then take on a move.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nusari {

struct GameSummary {
    std::string firstName;   // Name+ (as the server sends it)
    std::string secondName;  // Name-
    int64_t unitMs = 1000;   // Time_Unit
    // In units of Time_Unit; a game with none of them has no clock.
    int64_t totalTime = 0;
    int64_t byoyomi = 0;
    int64_t increment = 0;
    bool hasClock() const { return totalTime > 0 || byoyomi > 0 || increment > 0; }
};

// Takes what `line` of a summary says (names, Total_Time, Byoyomi,
// Increment, Time_Unit); other lines change nothing.
void ReadSummaryLine(std::string_view line, GameSummary& summary);

// The most a move may take with `usedMs` of the total time gone: the rest
// spread over the moves to come, plus the increment and the byoyomi, less a
// margin for the network. 0 when the game has no clock.
int32_t MoveTimeCapMs(const GameSummary& summary, int64_t usedMs);

}  // namespace nusari
