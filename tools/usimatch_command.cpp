// nusari-tool usimatch --usi PROGRAM --aik A --aik2 B --games N --ms LIMIT
// Plays two USI engine processes against each other through the referee:
// every move checked for legality and timed from "go" to "bestmove".
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "game/match_tally.h"
#include "game/play_game.h"
#include "game/usi_player.h"
#include "position/setup.h"
#include "position/sfen.h"

namespace nusari::tool {

namespace {

constexpr int64_t kHandshakeMs = 20000;

std::unique_ptr<UsiEngine> startEngine(const std::string& program, const std::string& aik) {
    auto engine = std::make_unique<UsiEngine>(EngineCommand{{program}, {{"AikFile", aik}}, ""}, kHandshakeMs);
    std::string error;
    if (!engine->start(error)) {
        std::fprintf(stderr, "usimatch: %s with %s does not answer\n", program.c_str(), aik.c_str());
        return nullptr;
    }
    return engine;
}

bool hasGone(UsiEngine& engine) { return engine.broken() || engine.process()->outputEnded(); }

GameOutcome playGame(UsiEngine* engines[2], int blackEngine, int64_t ms) {
    GameSetup setup;
    setupPosition(setup.start, kPresetEven);
    TimeControl time;
    time.byoyomiMs = ms;
    setup.timeForBoth(time);
    Game game(setup);
    UsiPlayer a(*engines[0], "engine A", true);
    UsiPlayer b(*engines[1], "engine B", true);
    UsiPlayer* byEngine[2] = {&a, &b};
    Player* players[2] = {byEngine[blackEngine], byEngine[1 - blackEngine]};
    playGame(game, players);
    const GameOutcome outcome = matchOutcome(game, blackEngine);
    if (outcome.winner >= 0 && !outcome.detail.empty()) {
        const char name = outcome.winner == 0 ? 'B' : 'A';
        std::fprintf(stderr, "engine %c: %s (%s) at move %d\n", name, endingName(outcome.end),
                     outcome.detail.c_str(), game.plies() + 1);
    }
    return outcome;
}

const char* usage() {
    return "usage: nusari-tool usimatch --usi PROGRAM --aik A --aik2 B --games N --ms LIMIT\n";
}

}  // namespace

int runUsiMatch(const Arguments& args) {
    std::string program;
    std::string aik[2];
    int64_t games = 0;
    int64_t ms = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--usi" && hasValue) {
            program = args[++i];
        } else if (args[i] == "--aik" && hasValue) {
            aik[0] = args[++i];
        } else if (args[i] == "--aik2" && hasValue) {
            aik[1] = args[++i];
        } else if (args[i] == "--games" && hasValue) {
            if (!parseInt("--games", args[++i], games)) return 2;
        } else if (args[i] == "--ms" && hasValue) {
            if (!parseInt("--ms", args[++i], ms)) return 2;
        } else {
            std::fputs(usage(), stderr);
            return 2;
        }
    }
    if (program.empty() || aik[0].empty() || aik[1].empty() || games < 1 || ms < 150 || ms > 3600000) {
        std::fputs(usage(), stderr);
        return 2;
    }
    std::unique_ptr<UsiEngine> processes[2];
    for (int e = 0; e < 2; ++e) {
        processes[e] = startEngine(program, aik[e]);
        if (!processes[e]) return 1;
    }
    MatchTally tally;
    int played = 0;
    bool stopped = false;
    while (played < games && !stopped) {
        const int blackEngine = played % 2;
        UsiEngine* engines[2] = {processes[0].get(), processes[1].get()};
        tally.add(played + 1, playGame(engines, blackEngine, ms));
        ++played;
        // An engine that has gone is started again for the next game.
        for (int e = 0; e < 2 && played < games && !stopped; ++e) {
            if (!hasGone(*processes[e])) continue;
            const char name = e == 0 ? 'A' : 'B';
            processes[e].reset();
            processes[e] = startEngine(program, aik[e]);
            if (processes[e]) {
                std::fprintf(stderr, "usimatch: engine %c restarted for game %d\n", name,
                             played + 1);
            } else {
                std::fprintf(stderr,
                             "usimatch: engine %c cannot be restarted; match stopped after %d "
                             "games\n",
                             name, played);
                stopped = true;
            }
        }
    }
    tally.printSummary(played);
    for (const auto& e : processes) {
        if (e) e->stop();
    }
    return stopped || tally.anyIllegal() ? 1 : 0;
}

}  // namespace nusari::tool
