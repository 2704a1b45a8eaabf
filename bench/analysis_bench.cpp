// Speed of the hit-position analysis in teacher positions per second
// (items_per_second), on one thread and on one per core: the whole
// analysis with the reading of the files, and the ranking of positions
// already read (the tuner's inner loop). The teacher games are the opening
// records of data/openings, each copied 64 times, or the folder that
// NUSARI_BENCH_KIF names.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "aik/aik_loader.h"
#include "analysis/hit_analysis.h"
#include "analysis/rank_positions.h"
#include "records/load_record.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace {

using namespace nusari;
namespace fs = std::filesystem;

constexpr int kCopies = 64;

struct Bench {
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    std::string folder;
    std::vector<TeacherPosition> positions;
    // The copied games, unless NUSARI_BENCH_KIF names a folder.
    std::optional<test::TempFolder> copies;

    Bench() {
        test::FakeUi ui;
        if (LoadAik(*state, NUSARI_DATA_DIR "/aik/標準.aik", ui) != 1) {
            std::fprintf(stderr, "analysis_bench: the default engine did not load\n");
        }
        if (const char* kif = std::getenv("NUSARI_BENCH_KIF")) {
            folder = kif;
        } else {
            folder = copies.emplace().path().string();
            for (const auto& entry : fs::directory_iterator(NUSARI_DATA_DIR "/openings")) {
                for (int copy = 0; copy < kCopies; ++copy) {
                    fs::copy_file(entry.path(), fs::path(folder) / (std::to_string(copy) + "_" +
                                                                   entry.path().filename().string()));
                }
            }
        }
        for (const std::string& file : TeacherGames(folder)) {
            if (LoadRecord(*record, file, ui).ok) {
                AppendTeacherPositions(*record, positions);
            }
        }
        std::fprintf(stderr, "analysis_bench: %zu teacher positions in %s\n", positions.size(),
                     folder.c_str());
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

int threadsOf(const benchmark::State& st) {
    return st.range(0) == 0 ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))
                            : static_cast<int>(st.range(0));
}

void BM_AnalyzeTeacherGames(benchmark::State& st) {
    Bench& b = bench();
    test::FakeUi ui;
    HitStats stats;
    for (auto _ : st) {
        AnalyzeTeacherGames(*b.state, *b.record, b.folder, stats, ui, {}, threadsOf(st));
        benchmark::DoNotOptimize(stats.score);
    }
    st.SetItemsProcessed(st.iterations() * stats.positions);
    st.counters["threads"] = threadsOf(st);
}
// Arg 0: one thread per core.
BENCHMARK(BM_AnalyzeTeacherGames)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RankTeacherPositions(benchmark::State& st) {
    Bench& b = bench();
    HitStats stats;
    for (auto _ : st) {
        stats = RankTeacherPositions(*b.state, b.positions, threadsOf(st));
        benchmark::DoNotOptimize(stats.score);
    }
    st.SetItemsProcessed(st.iterations() * stats.positions);
    st.counters["threads"] = threadsOf(st);
}
BENCHMARK(BM_RankTeacherPositions)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
