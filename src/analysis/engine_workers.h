// Work over many positions on several threads, each with its own copy of an
// engine (the evaluation writes its working tables as it goes).
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "analysis/engine_copy.h"

namespace nusari {

// The number of workers ForEachOnEngineCopies uses for `count` items.
inline std::size_t EngineWorkerCount(std::size_t count, std::size_t block, int32_t threads) {
    const std::size_t blocks = (count + block - 1) / block;
    return std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), std::max<std::size_t>(blocks, 1));
}

// Calls work(engine copy, item, worker) for items 0..count-1, taken `block`
// at a time by EngineWorkerCount workers (worker 0 on this thread): small
// blocks share the tail of the work evenly, large ones keep the shared
// counter quiet.
template <class Work>
void ForEachOnEngineCopies(const EngineState& engine, std::size_t count, std::size_t block, int32_t threads,
                           Work work) {
    const std::size_t blocks = (count + block - 1) / block;
    std::atomic<std::size_t> nextBlock{0};
    auto run = [&](std::size_t worker) {
        const auto own = CopyEngineForAnalysis(engine);
        for (;;) {
            const std::size_t b = nextBlock.fetch_add(1);
            if (b >= blocks) break;
            const std::size_t end = std::min(count, (b + 1) * block);
            for (std::size_t i = b * block; i < end; ++i) work(*own, i, worker);
        }
    };
    std::vector<std::jthread> pool;
    for (std::size_t w = 1; w < EngineWorkerCount(count, block, threads); ++w) pool.emplace_back(run, w);
    run(0);
}

}  // namespace nusari
