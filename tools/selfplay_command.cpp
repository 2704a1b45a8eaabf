// nusari-tool selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]
#include <cstdio>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "referee.h"
#include "think/think_for_side.h"

namespace nusari::tool {

namespace {

GameResult playGame(Engine* engines, int lowerEngine, int64_t limitMs, ConsoleUi& ui) {
    return playRefereedGame(lowerEngine, limitMs, [&](int mover, const Referee& referee) {
        PlayerAnswer answer;
        answer.move = ThinkForSide(*engines[mover], ui, referee.position(), referee.toMove());
        answer.resigns = answer.move.isResign();
        return answer;
    });
}

const char* usage() {
    return "usage: nusari-tool selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]\n";
}

}  // namespace

int runSelfplay(const Arguments& args) {
    std::string aik[2];
    int64_t games = 0;
    int64_t ms = 0;
    int64_t seed = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--aik" && hasValue) {
            aik[0] = args[++i];
        } else if (args[i] == "--aik2" && hasValue) {
            aik[1] = args[++i];
        } else if (args[i] == "--games" && hasValue) {
            if (!parseInt("--games", args[++i], games)) return 2;
        } else if (args[i] == "--ms" && hasValue) {
            if (!parseInt("--ms", args[++i], ms)) return 2;
        } else if (args[i] == "--seed" && hasValue) {
            if (!parseInt("--seed", args[++i], seed)) return 2;
        } else {
            std::fputs(usage(), stderr);
            return 2;
        }
    }
    if (aik[0].empty() || aik[1].empty() || games < 1 || ms < 1 || ms > 86400000) {
        std::fputs(usage(), stderr);
        return 2;
    }
    ConsoleUi ui;
    Engine engines[2];
    for (int e = 0; e < 2; ++e) {
        engines[e] = loadEngine(aik[e], static_cast<uint32_t>(seed + e), ui);
        if (!engines[e]) return 1;
        engines[e]->timeLimitMs = static_cast<int32_t>(ms);
    }
    MatchTally tally;
    for (int g = 0; g < games; ++g) {
        const int lowerEngine = g % 2;
        tally.add(g + 1, lowerEngine, playGame(engines, lowerEngine, ms, ui));
    }
    tally.printSummary(static_cast<int>(games));
    return tally.anyIllegal() ? 1 : 0;
}

}  // namespace nusari::tool
