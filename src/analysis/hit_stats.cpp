#include "analysis/hit_stats.h"

#include <algorithm>
#include <thread>

namespace nusari {

void CountRank(HitStats& stats, int32_t rank) {
    ++stats.positions;
    if (rank >= 0 && rank < kHitRanks) {
        ++stats.hits[rank];
    } else {
        ++stats.misses;
    }
}

void AddHitStats(HitStats& total, const HitStats& part) {
    total.games += part.games;
    total.positions += part.positions;
    for (int32_t k = 0; k < kHitRanks; ++k) total.hits[k] += part.hits[k];
    total.misses += part.misses;
}

void FinishScore(HitStats& stats) {
    stats.score = kMissScore * stats.misses;
    for (int32_t k = 0; k < kHitRanks; ++k) stats.score += k * stats.hits[k];
}

int32_t AnalysisThreads(int32_t requested) {
    if (requested >= 1) return requested;
    return static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace nusari
