// nusari-tool match: games between two USI engines, refereed by the
// legal-move generator, with a clock, CSA records and a result table.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "engine_setup.h"
#include "usi/joined_text.h"
#include "game/match_game.h"
#include "game/match_record.h"
#include "game/match_table.h"
#include "game/match_text.h"
#include "game/openings_file.h"
#include "usi/usi_engine.h"

namespace nusari::tool {

namespace {

const char* usage() {
    return "usage: nusari-tool match --engine1 \"PROGRAM [ARGS]\" --engine2 \"PROGRAM [ARGS]\"\n"
           "         [--option1 NAME=VALUE]... [--option2 NAME=VALUE]... [--name1 NAME] [--name2 NAME]\n"
           "         [--games N] [--skip K] [--openings FILE [--once]]\n"
           "         [--byoyomi MS | --time MS [--inc MS | --byoyomi MS]] [--margin MS]\n"
           "         [--handshake MS] [--out DIR [--prefix NAME]]\n";
}

struct MatchOptions {
    std::string commandLine[2];
    EngineCommand engines[2];
    int64_t games = 0;
    int64_t skip = 0;  // games of the schedule already played
    std::string openingsPath;
    bool once = false;
    TimeControl time;
    int64_t handshakeMs = 60000;
    std::string outDir;
    std::string prefix = "game";
};

bool parseArguments(const Arguments& args, MatchOptions& o) {
    bool timeGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const int engine = a.size() > 1 && a.back() == '2' ? 1 : 0;
        if (a == "--once") {
            o.once = true;
            continue;
        }
        if (!hasValue) return false;
        const std::string& value = args[++i];
        if (a == "--engine1" || a == "--engine2") {
            o.commandLine[engine] = value;
            if (!splitCommandLine(value, o.engines[engine].argv)) return false;
        } else if (a == "--option1" || a == "--option2") {
            std::pair<std::string, std::string> option;
            if (!parseOptionText(value, option)) {
                std::fprintf(stderr, "match: %s needs NAME=VALUE, not '%s'\n", a.c_str(), value.c_str());
                return false;
            }
            o.engines[engine].options.push_back(option);
        } else if (a == "--name1" || a == "--name2") {
            o.engines[engine].name = value;
        } else if (a == "--openings") {
            o.openingsPath = value;
        } else if (a == "--out") {
            o.outDir = value;
        } else if (a == "--prefix") {
            o.prefix = value;
        } else {
            int64_t* number = a == "--games"       ? &o.games
                              : a == "--skip"      ? &o.skip
                              : a == "--byoyomi"   ? &o.time.byoyomiMs
                              : a == "--time"      ? &o.time.timeMs
                              : a == "--inc"       ? &o.time.incMs
                              : a == "--margin"    ? &o.time.marginMs
                              : a == "--handshake" ? &o.handshakeMs
                                                   : nullptr;
            if (number == nullptr || !parseInt(a, value, *number)) return false;
            if (*number < 0 || *number > 86400000) {
                std::fprintf(stderr, "match: %s out of range\n", a.c_str());
                return false;
            }
            timeGiven = timeGiven || number == &o.time.byoyomiMs || number == &o.time.timeMs ||
                        number == &o.time.incMs;
        }
    }
    if (!timeGiven) o.time.byoyomiMs = 1000;
    if (o.time.incMs > 0 && o.time.byoyomiMs > 0) {
        std::fputs("match: --inc and --byoyomi exclude each other\n", stderr);
        return false;
    }
    if (o.time.byoyomiMs + o.time.timeMs + o.time.incMs == 0) {
        std::fputs("match: the time control gives no time\n", stderr);
        return false;
    }
    return !o.engines[0].argv.empty() && !o.engines[1].argv.empty();
}

std::string recordPath(const MatchOptions& o, int number) {
    const int width = std::max<int>(3, static_cast<int>(std::to_string(o.games).size()));
    std::string digits = std::to_string(number);
    digits.insert(0, static_cast<size_t>(std::max<int>(0, width - static_cast<int>(digits.size()))), '0');
    return (std::filesystem::path(o.outDir) / (o.prefix + "-" + digits + ".csa")).string();
}

// Starts every engine that is not running; false after a message. Before
// game `game` (from 1; 0 at the match's start) a restart is said aloud.
bool startEngines(std::unique_ptr<UsiEngine> engines[2], int64_t game) {
    for (int e = 0; e < 2; ++e) {
        if (!engines[e]->broken()) continue;
        const std::string name = engineText(engines[e]->name());
        if (game > 0) {
            std::fprintf(stderr, "match: restarting engine %d (%s) for game %lld\n", e + 1,
                         name.c_str(), static_cast<long long>(game));
        }
        std::string error;
        if (!engines[e]->start(error)) {
            std::fprintf(stderr, "match: engine %d (%s) cannot be %s: %s\n", e + 1, name.c_str(),
                         game > 0 ? "restarted" : "started", engineText(error).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int runMatch(const Arguments& args) {
    MatchOptions o;
    if (!parseArguments(args, o)) {
        std::fputs(usage(), stderr);
        return 2;
    }
    std::vector<Opening> openings{evenOpening()};
    if (!o.openingsPath.empty()) {
        std::vector<std::string> errors;
        openings = loadOpenings(o.openingsPath, errors);
        for (const std::string& e : errors) std::fprintf(stderr, "%s: %s\n", o.openingsPath.c_str(), e.c_str());
        if (!errors.empty() || openings.empty()) {
            std::fprintf(stderr, "match: %s has %s; nothing played\n", o.openingsPath.c_str(),
                         errors.empty() ? "no positions" : "bad lines");
            return 2;
        }
    }
    const int64_t perOpening = o.once ? 1 : 2;
    if (o.games == 0) o.games = o.openingsPath.empty() ? 2 : static_cast<int64_t>(openings.size()) * perOpening;
    if (!o.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.outDir, ec);
        if (ec) {
            std::fprintf(stderr, "match: cannot make %s: %s\n", o.outDir.c_str(), ec.message().c_str());
            return 1;
        }
    }

    std::unique_ptr<UsiEngine> engines[2];
    for (int e = 0; e < 2; ++e) engines[e] = std::make_unique<UsiEngine>(o.engines[e], o.handshakeMs);
    if (!startEngines(engines, 0)) return 1;
    std::string names[2];
    for (int e = 0; e < 2; ++e) names[e] = engineText(engines[e]->name());
    // Self-play: two engines of one name are told apart by their number.
    if (names[0] == names[1]) {
        names[0] += " #1";
        names[1] += " #2";
    }
    for (int e = 0; e < 2; ++e) {
        std::printf("engine %d: %s (%s)\n", e + 1, names[e].c_str(), engineText(o.commandLine[e]).c_str());
    }
    std::fflush(stdout);
    UsiEngine* players[2] = {engines[0].get(), engines[1].get()};
    MatchTable table(names);
    int status = 0;
    for (int64_t g = o.skip; g < o.games; ++g) {
        if (!startEngines(engines, g + 1)) {
            std::fprintf(stderr, "match: stopped after %lld games\n", static_cast<long long>(g));
            status = 1;
            break;
        }
        const Opening& opening = openings[static_cast<size_t>(g / perOpening) % openings.size()];
        const int blackEngine = static_cast<int>(g % 2);
        MatchHeader header{names[blackEngine], names[1 - blackEngine], csaTimeNow(), ""};
        const GameOutcome game = playMatchGame(players, blackEngine, opening, o.time);
        header.endTime = csaTimeNow();
        table.add(blackEngine, game);
        std::string line = table.gameLine(static_cast<int>(g + 1), blackEngine, game);
        if (!o.openingsPath.empty()) line += joined({" [opening line ", std::to_string(opening.line), "]"});
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (!o.outDir.empty()) {
            std::string error;
            if (!writeTextFile(recordPath(o, static_cast<int>(g + 1)), formatMatchCsa(header, opening, game), error)) {
                std::fprintf(stderr, "match: %s\n", error.c_str());
                status = 1;
            }
        }
    }
    table.print(stdout);
    for (auto& engine : engines) engine->stop();
    return status;
}

}  // namespace nusari::tool
