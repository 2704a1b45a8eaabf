// Speed of the search core on a fixed set of positions with the default
// engine: attack maps, EvaluateMove calls through list-mode expansion,
// quiescence expansions, and the second search's node evaluations.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "aik/aik_loader.h"
#include "bench_positions.h"
#include "position/attack_map.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "support/fake_ui.h"
#include "think/evaluate.h"
#include "think/expand.h"
#include "think/hash_tables.h"
#include "think/progress.h"

namespace {

using namespace nusari;

// Each position is turned so that the side to move is the upper side, as
// the search sees it.
struct Bench {
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    std::vector<Position> positions;

    Bench() {
        test::FakeUi ui;
        if (LoadAik(*state, NUSARI_DATA_DIR "/aik/標準.aik", ui) != 1) {
            std::fprintf(stderr, "search_bench: the default engine did not load\n");
        }
        state->hashEntryCount = kDefaultHashEntries;
        AllocHashTables(*state, ui);
        for (const char* sfen : tool::kBenchPositions) {
            Position p;
            Side side = Side::Lower;
            std::string error;
            if (!parseSfen(sfen, p, side, error)) {
                std::fprintf(stderr, "search_bench: %s: %s\n", sfen, error.c_str());
                continue;
            }
            positions.push_back(side == Side::Lower ? flipPosition(p) : p);
        }
    }
    ~Bench() { FreeHashTables(*state); }
};

Bench& bench() {
    static Bench b;
    return b;
}

void BM_BuildAttackMap(benchmark::State& st) {
    Bench& b = bench();
    AttackMap map;
    for (auto _ : st) {
        for (const Position& p : b.positions) {
            buildAttackMap(p, map);
            benchmark::DoNotOptimize(map);
        }
    }
    st.SetItemsProcessed(st.iterations() * static_cast<int64_t>(b.positions.size()));
}
BENCHMARK(BM_BuildAttackMap);

// Items are EvaluateMove calls.
void BM_EvaluateMoveViaListExpansion(benchmark::State& st) {
    Bench& b = bench();
    CandidateList result;
    int64_t evaluations = 0;
    for (auto _ : st) {
        for (Position& p : b.positions) {
            b.state->nodeCount = 0;
            ExpandNode(*b.state, p, 1, result, PathTable{});
            evaluations += b.state->nodeCount;
        }
    }
    st.SetItemsProcessed(evaluations);
}
BENCHMARK(BM_EvaluateMoveViaListExpansion);

// Items are quiescence ExpandNode calls; the transposition slot is cleared
// first so that every call expands.
void BM_QuiescenceExpansion(benchmark::State& st) {
    Bench& b = bench();
    CandidateList result;
    for (auto _ : st) {
        for (Position& p : b.positions) {
            b.state->transpositionTable[HashKey(p) % b.state->hashEntryCount] = TranspositionSlot{};
            result[1].score = kWinScore;
            ExpandNode(*b.state, p, 0, result, PathTable{});
            benchmark::DoNotOptimize(result[0].score);
        }
    }
    st.SetItemsProcessed(st.iterations() * static_cast<int64_t>(b.positions.size()));
}
BENCHMARK(BM_QuiescenceExpansion);

// Items are the second search's node evaluations (EvaluatePosition), each
// computed in full: the tables blended for the node, then its scoring.
void BM_EvaluatePosition(benchmark::State& st) {
    Bench& b = bench();
    for (auto _ : st) {
        for (const Position& p : b.positions) benchmark::DoNotOptimize(EvaluatePosition(*b.state, p, Side::Upper));
    }
    st.SetItemsProcessed(st.iterations() * static_cast<int64_t>(b.positions.size()));
}
BENCHMARK(BM_EvaluatePosition);

// Items are node evaluations with the working tables already blended, as the
// second search keeps them along its moves: the scoring alone (an engine per
// position, each blended for it once).
void BM_EvaluateBlended(benchmark::State& st) {
    Bench& b = bench();
    std::vector<std::unique_ptr<EngineState>> views;
    std::vector<Position> movers;
    for (const Position& p : b.positions) {
        views.push_back(std::make_unique<EngineState>());
        CopyEvaluationParts(*b.state, *views.back());
        movers.push_back(flipPosition(p));  // the upper side to move: the lower side moved into it
        movers.back()[kLowerTimeCell] = 0;
        movers.back()[kUpperTimeCell] = 0;
        Progress progress;
        ComputeProgress(*views.back(), movers.back(), progress);
        BlendTables(*views.back(), movers.back(), progress);
    }
    for (auto _ : st) {
        for (size_t i = 0; i < movers.size(); ++i) benchmark::DoNotOptimize(EvaluateBlended(*views[i], movers[i]));
    }
    st.SetItemsProcessed(st.iterations() * static_cast<int64_t>(movers.size()));
}
BENCHMARK(BM_EvaluateBlended);

}  // namespace

BENCHMARK_MAIN();
