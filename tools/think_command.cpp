// nusari-tool think --aik FILE [--sfen SFEN] [--ms LIMIT] [--seed N]
#include <cstdio>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "position/csa_notation.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/think_for_side.h"

namespace nusari::tool {

int runThink(const Arguments& args) {
    std::string aik;
    std::string sfen(kStartSfen);
    int64_t ms = 10000;
    int64_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--aik" && hasValue) {
            aik = args[++i];
        } else if (args[i] == "--sfen" && hasValue) {
            sfen = args[++i];
        } else if (args[i] == "--ms" && hasValue) {
            if (!parseInt("--ms", args[++i], ms)) return 2;
        } else if (args[i] == "--seed" && hasValue) {
            if (!parseInt("--seed", args[++i], seed)) return 2;
        } else {
            std::fprintf(stderr, "usage: nusari-tool think --aik FILE [--sfen SFEN] [--ms LIMIT] [--seed N]\n");
            return 2;
        }
    }
    if (aik.empty() || ms < 1 || ms > 86400000) {
        std::fprintf(stderr, "usage: nusari-tool think --aik FILE [--sfen SFEN] [--ms LIMIT] [--seed N]\n");
        return 2;
    }
    Position position;
    Side side = Side::Lower;
    std::string error;
    if (!parseSfen(sfen, position, side, error)) {
        std::fprintf(stderr, "think: %s\n", error.c_str());
        return 1;
    }
    ConsoleUi ui;
    Engine engine = loadEngine(aik, static_cast<uint32_t>(seed), ui);
    if (!engine) return 1;
    engine->timeLimitMs = static_cast<int32_t>(ms);

    const int64_t start = nowMs();
    const Move reply = ThinkForSide(*engine, ui, position, side);
    const int64_t elapsed = nowMs() - start;

    if (reply.isResign()) {
        std::printf("move: resign\n");
    } else if (reply.isNone()) {
        std::printf("move: none (the side not to move stands in check)\n");
    } else {
        std::printf("move: %s %s\n", csaMoveText(position, side, reply).c_str(),
                    moveToUsi(reply, side).c_str());
    }
    std::printf("panel:\n%s\n", ui.panelText().c_str());
    const int64_t nodes = engine->nodeCount;
    std::printf("nodes: %lld\ntime: %lld ms\nnps: %lld\n", static_cast<long long>(nodes),
                static_cast<long long>(elapsed),
                static_cast<long long>(elapsed > 0 ? nodes * 1000 / elapsed : nodes));
    return 0;
}

}  // namespace nusari::tool
