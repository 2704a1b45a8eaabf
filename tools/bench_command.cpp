// nusari-tool bench [--aik FILE] [--hukasa N] [--ms LIMIT]: searches a fixed
// set of positions to a fixed depth with no time limit. The node count
// depends only on the engine and the search code, so it is the signature that
// shows an unintended change of the search. With --ms each position is
// searched for LIMIT milliseconds instead (the file's depth cap unless
// --hukasa is given), and the depth reached and the speed are printed.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_positions.h"
#include "commands.h"
#include "engine_setup.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/think_for_side.h"

namespace nusari::tool {

namespace {

// The last iteration's depth of a think.
class DepthObserver : public ThinkObserver {
  public:
    void onIteration(const ThinkIteration& iteration) override { depth = iteration.depth; }
    int32_t depth = 0;
};

}  // namespace

int runBench(const Arguments& args) {
    std::string aik = NUSARI_DEFAULT_AIK;
    int64_t hukasa = 30;
    bool hukasaGiven = false;
    int64_t ms = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--aik" && hasValue) {
            aik = args[++i];
        } else if (args[i] == "--hukasa" && hasValue) {
            if (!parseInt("--hukasa", args[++i], hukasa)) return 2;
            hukasaGiven = true;
        } else if (args[i] == "--ms" && hasValue) {
            if (!parseInt("--ms", args[++i], ms) || ms < 1 || ms > 86400000) return 2;
        } else {
            std::fprintf(stderr, "usage: nusari-tool bench [--aik FILE] [--hukasa N] [--ms LIMIT]\n");
            return 2;
        }
    }
    ConsoleUi ui;
    Engine engine = loadEngine(aik, 0, ui);
    if (!engine) return 1;
    if (ms == 0 || hukasaGiven) engine->profile.hukasa = static_cast<int32_t>(hukasa);
    // The signature is the search's: a book move would skip it.
    engine->bookTable.clear();
    // Without --ms no time limit: the depth alone ends each search.
    engine->timeLimitMs = ms > 0 ? static_cast<int32_t>(ms) : 2000000000;
    std::vector<int32_t> depths;

    int64_t totalNodes = 0;
    const int64_t start = nowMs();
    for (const char* sfen : kBenchPositions) {
        Position p;
        Side side = Side::Lower;
        std::string error;
        if (!parseSfen(sfen, p, side, error)) {
            std::fprintf(stderr, "bench: %s: %s\n", sfen, error.c_str());
            return 1;
        }
        if (ms == 0) {
            const Move m = ThinkForSide(*engine, ui, p, side);
            std::printf("%-80s %-6s %d nodes\n", sfen, moveToUsi(m, side).c_str(), engine->nodeCount);
        } else {
            DepthObserver observer;
            const int64_t begun = nowMs();
            const Move m = ThinkForSide(*engine, observer, p, side);
            const int64_t took = std::max<int64_t>(1, nowMs() - begun);
            depths.push_back(observer.depth);
            std::printf("%-80s %-6s depth %5.1f  %d nodes  %lld ms  %lld nodes/s\n", sfen,
                        moveToUsi(m, side).c_str(), observer.depth / 10.0, engine->nodeCount,
                        static_cast<long long>(took), static_cast<long long>(int64_t{engine->nodeCount} * 1000 / took));
        }
        totalNodes += engine->nodeCount;
    }
    const int64_t elapsed = nowMs() - start;
    if (!depths.empty()) {
        std::sort(depths.begin(), depths.end());
        std::printf("Median depth: %.1f\n", depths[depths.size() / 2] / 10.0);
    }
    std::printf("Bench: %lld nodes, %lld ms, %lld nodes/s\n", static_cast<long long>(totalNodes),
                static_cast<long long>(elapsed),
                static_cast<long long>(elapsed > 0 ? totalNodes * 1000 / elapsed : totalNodes));
    return 0;
}

}  // namespace nusari::tool
