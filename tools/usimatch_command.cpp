// nusari-tool usimatch --usi PROGRAM --aik A --aik2 B --games N --ms LIMIT
// Plays two USI engine processes against each other, every move checked for
// legality and timed from "go" to "bestmove".
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "usi/child_process.h"
#include "commands.h"
#include "engine_setup.h"
#include "match_text.h"
#include "position/sfen.h"
#include "referee.h"
#include "think/clock.h"

namespace nusari::tool {

namespace {

constexpr int64_t kHandshakeMs = 20000;

// How long an engine whose output ended may take to exit before it is told
// as one that only closed its output.
constexpr int64_t kExitGraceMs = 500;

// Reads lines until one starts with `prefix`; false on a timeout or exit.
bool waitFor(ChildProcess& engine, const std::string& prefix, int64_t timeoutMs, std::string& line) {
    const int64_t deadline = nowMs() + timeoutMs;
    while (engine.readLine(line, std::max<int64_t>(1, deadline - nowMs()))) {
        if (line.rfind(prefix, 0) == 0) return true;
        if (line.rfind("info string", 0) == 0) {
            std::fprintf(stderr, "usimatch: %s\n", engineText(line).c_str());
        }
    }
    return false;
}

std::unique_ptr<ChildProcess> startEngine(const std::string& program, const std::string& aik) {
    auto engine = std::make_unique<ChildProcess>(std::vector<std::string>{program});
    std::string line;
    if (!engine->running() || !engine->writeLine("usi") || !waitFor(*engine, "usiok", kHandshakeMs, line) ||
        !engine->writeLine("setoption name AikFile value " + aik) || !engine->writeLine("isready") ||
        !waitFor(*engine, "readyok", kHandshakeMs, line)) {
        std::fprintf(stderr, "usimatch: %s with %s does not answer\n", program.c_str(), aik.c_str());
        return nullptr;
    }
    return engine;
}

GameResult playGame(ChildProcess* engines[2], int lowerEngine, int64_t ms) {
    for (ChildProcess* e : {engines[0], engines[1]}) e->writeLine("usinewgame");
    return playRefereedGame(lowerEngine, ms, [&](int mover, const Referee& referee) {
        ChildProcess& engine = *engines[mover];
        const std::string moves = referee.usiMoves();
        engine.writeLine("position startpos" + (moves.empty() ? "" : " moves " + moves));
        engine.writeLine("go btime 0 wtime 0 byoyomi " + std::to_string(ms));
        PlayerAnswer answer;
        const int64_t waitMs = ms * 10 + 5000;
        std::string line;
        if (!waitFor(engine, "bestmove ", waitMs, line)) {
            answer.usable = false;
            answer.gone = engine.outputEnded();
            answer.text = answer.gone ? ChildProcess::describe(engine.ending(kExitGraceMs))
                                      : "no answer in " + std::to_string(waitMs) + " ms";
            return answer;
        }
        const std::string word = line.substr(9, line.find(' ', 9) - 9);
        answer.resigns = word == "resign";
        answer.usable = answer.resigns || parseUsiMove(word, referee.toMove(), answer.move);
        if (!answer.usable) {
            answer.word = word.empty() ? std::string("(nothing)") : engineText(word);
        }
        return answer;
    });
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
    std::unique_ptr<ChildProcess> processes[2];
    for (int e = 0; e < 2; ++e) {
        processes[e] = startEngine(program, aik[e]);
        if (!processes[e]) return 1;
    }
    MatchTally tally;
    int played = 0;
    bool stopped = false;
    while (played < games && !stopped) {
        const int lowerEngine = played % 2;
        ChildProcess* engines[2] = {processes[0].get(), processes[1].get()};
        tally.add(played + 1, lowerEngine, playGame(engines, lowerEngine, ms));
        ++played;
        // An engine that has gone is started again for the next game.
        for (int e = 0; e < 2 && played < games && !stopped; ++e) {
            if (!processes[e]->outputEnded()) continue;
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
        if (e) e->writeLine("quit");
    }
    return stopped || tally.anyIllegal() ? 1 : 0;
}

}  // namespace nusari::tool
