// The counts of a hit-position analysis and their score.
#pragma once

#include <cstdint>

namespace nusari {

inline constexpr int32_t kHitRanks = 100;
inline constexpr int32_t kMissScore = 200;

struct HitStats {
    int32_t games = 0;      // teacher files read, failed ones included
    int32_t positions = 0;  // teacher positions analysed
    int32_t hits[kHitRanks] = {};
    int32_t misses = 0;
    int32_t score = 0;  // sum of rank * hits plus 200 per miss; lower is better
};

// Counts one analysed position whose teacher move had `rank` in the
// engine's list (-1: not in it).
void CountRank(HitStats& stats, int32_t rank);

// Adds the games, positions, hits and misses of `part` (not its score).
void AddHitStats(HitStats& total, const HitStats& part);

// Sets the score from the hits and misses.
void FinishScore(HitStats& stats);

// The threads to use when `requested` asks for 0 (or fewer): one per core.
int32_t AnalysisThreads(int32_t requested);

}  // namespace nusari
