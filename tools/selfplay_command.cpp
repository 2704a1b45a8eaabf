// nusari-tool selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]
#include <cstdio>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "game/aik_player.h"
#include "game/match_tally.h"
#include "game/play_game.h"
#include "position/setup.h"

namespace nusari::tool {

namespace {

const char* usage() {
    return "usage: nusari-tool selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]\n";
}

// Nothing of the thinks is shown.
struct QuietObserver : ThinkObserver {};

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
    QuietObserver quiet;
    for (int e = 0; e < 2; ++e) {
        engines[e] = loadEngine(aik[e], static_cast<uint32_t>(seed + e), ui);
        if (!engines[e]) return 1;
        engines[e]->timeLimitMs = static_cast<int32_t>(ms);
    }
    AikPlayer players[2] = {AikPlayer(*engines[0], quiet), AikPlayer(*engines[1], quiet)};
    TimeControl time;
    time.byoyomiMs = ms;
    GameSetup setup;
    setupPosition(setup.start, kPresetEven);
    setup.timeForBoth(time);
    MatchTally tally;
    for (int g = 0; g < games; ++g) {
        const int blackEngine = g % 2;
        Game game(setup);
        Player* sides[2] = {&players[blackEngine], &players[1 - blackEngine]};
        playGame(game, sides);
        tally.add(g + 1, matchOutcome(game, blackEngine));
    }
    tally.printSummary(static_cast<int>(games));
    return tally.anyIllegal() ? 1 : 0;
}

}  // namespace nusari::tool
