#include "analysis/rank_positions.h"

#include "analysis/engine_workers.h"

namespace nusari {

namespace {

// Positions a worker takes at a time: small enough to share the tail of the
// work evenly, large enough to keep the shared counter quiet.
constexpr std::size_t kBlock = 32;

}  // namespace

HitStats RankTeacherPositions(const EngineState& engine, const std::vector<TeacherPosition>& positions,
                              int32_t threads) {
    std::vector<HitStats> parts(EngineWorkerCount(positions.size(), kBlock, threads));
    ForEachOnEngineCopies(engine, positions.size(), kBlock, threads,
                          [&](EngineState& own, std::size_t i, std::size_t worker) {
                              CountRank(parts[worker], RankTeacherMove(own, positions[i]));
                          });
    HitStats total;
    for (const HitStats& part : parts) AddHitStats(total, part);
    FinishScore(total);
    return total;
}

}  // namespace nusari
