#include "analysis/rank_positions.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "analysis/engine_copy.h"

namespace nusari {

namespace {

// Positions a worker takes at a time: small enough to share the tail of the
// work evenly, large enough to keep the shared counter quiet.
constexpr std::size_t kBlock = 32;

}  // namespace

HitStats RankTeacherPositions(const EngineState& engine, const std::vector<TeacherPosition>& positions,
                              int32_t threads) {
    const std::size_t blocks = (positions.size() + kBlock - 1) / kBlock;
    const std::size_t workers =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), std::max<std::size_t>(blocks, 1));
    std::vector<HitStats> parts(workers);
    std::atomic<std::size_t> nextBlock{0};
    auto work = [&](std::size_t worker) {
        const auto own = CopyEngineForAnalysis(engine);
        for (;;) {
            const std::size_t block = nextBlock.fetch_add(1);
            if (block >= blocks) break;
            const std::size_t end = std::min(positions.size(), (block + 1) * kBlock);
            for (std::size_t i = block * kBlock; i < end; ++i) {
                CountRank(parts[worker], RankTeacherMove(*own, positions[i]));
            }
        }
    };
    {
        std::vector<std::jthread> pool;
        for (std::size_t w = 1; w < workers; ++w) pool.emplace_back(work, w);
        work(0);
    }
    HitStats total;
    for (const HitStats& part : parts) AddHitStats(total, part);
    FinishScore(total);
    return total;
}

}  // namespace nusari
