// nusari-tool bench [--aik FILE] [--hukasa N]: searches a fixed set of
// positions to a fixed depth with no time limit. The node count depends only
// on the engine and the search code, so it is the signature that shows an
// unintended change of the search.
#include <cstdio>
#include <string>

#include "bench_positions.h"
#include "commands.h"
#include "engine_setup.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/think_for_side.h"

namespace nusari::tool {

int runBench(const Arguments& args) {
    std::string aik = NUSARI_DEFAULT_AIK;
    int64_t hukasa = 30;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--aik" && hasValue) {
            aik = args[++i];
        } else if (args[i] == "--hukasa" && hasValue) {
            if (!parseInt("--hukasa", args[++i], hukasa)) return 2;
        } else {
            std::fprintf(stderr, "usage: nusari-tool bench [--aik FILE] [--hukasa N]\n");
            return 2;
        }
    }
    ConsoleUi ui;
    Engine engine = loadEngine(aik, 0, ui);
    if (!engine) return 1;
    engine->profile.hukasa = static_cast<int32_t>(hukasa);
    // The signature is the search's: a book move would skip it.
    engine->bookTable.clear();
    engine->timeLimitMs = 2000000000;  // no time limit: the depth alone ends each search

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
        const Move m = ThinkForSide(*engine, ui, p, side);
        std::printf("%-80s %-6s %d nodes\n", sfen, moveToUsi(m, side).c_str(), engine->nodeCount);
        totalNodes += engine->nodeCount;
    }
    const int64_t elapsed = nowMs() - start;
    std::printf("Bench: %lld nodes, %lld ms, %lld nodes/s\n", static_cast<long long>(totalNodes),
                static_cast<long long>(elapsed),
                static_cast<long long>(elapsed > 0 ? totalNodes * 1000 / elapsed : totalNodes));
    return 0;
}

}  // namespace nusari::tool
