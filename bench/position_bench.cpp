// Speed of the position core: the attack map and the legal-move generator,
// and perft 5 from the even-game start (19861490 leaves).
#include <benchmark/benchmark.h>

#include "position/attack_map.h"
#include "position/legal_moves.h"
#include "position/setup.h"
#include "position/sfen.h"

namespace {

using namespace nusari;

Position evenGame() {
    Position p;
    setupPosition(p, kPresetEven);
    return p;
}

void BM_BuildAttackMap(benchmark::State& state) {
    const Position p = evenGame();
    AttackMap map;
    for (auto _ : state) {
        buildAttackMap(p, map);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildAttackMap);

void BM_GenerateLegalMoves(benchmark::State& state) {
    Position p;
    Side side = Side::Lower;
    std::string error;
    parseSfen("l6nl/5+P1gk/2np1S3/p1p4Pp/3P2Sp1/1PPb2P1P/P5GS1/R8/LN4bKL w RGgsn5p 1", p, side,
              error);
    MoveList list;
    for (auto _ : state) {
        generateLegalMoves(p, side, list);
        benchmark::DoNotOptimize(list.count);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GenerateLegalMoves);

void BM_PerftStart(benchmark::State& state) {
    Position p = evenGame();
    const int depth = static_cast<int>(state.range(0));
    uint64_t leaves = 0;
    for (auto _ : state) leaves = perft(p, Side::Lower, depth);
    state.counters["leaves"] = static_cast<double>(leaves);
    state.counters["leaves_per_second"] =
        benchmark::Counter(static_cast<double>(leaves), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PerftStart)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
