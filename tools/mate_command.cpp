// nusari-tool mate [--plies N] [--nodes N] [SFEN...]: the mate search of the
// engine files' tume_hukasa key on given positions (one SFEN per argument,
// or per line of the standard input), for the side to move.
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/mate_search.h"

namespace nusari::tool {

namespace {

// Prints "mate in K: MOVE", "no mate" or "unknown (limit)" and the effort.
bool solve(const std::string& sfen, int32_t plies, int64_t nodes) {
    Position p;
    Side side = Side::Lower;
    std::string error;
    if (!parseSfen(sfen, p, side, error)) {
        std::fprintf(stderr, "mate: %s: %s\n", sfen.c_str(), error.c_str());
        return false;
    }
    const int64_t start = nowMs();
    Move first;
    bool found = false;
    int32_t within = 1;
    MateSearch search(nodes, 0);
    // One search per length, so that the length of the mate is known.
    for (; within <= plies && !found && !search.gaveUp(); within += 2) found = search.findMate(p, side, within, first);
    const long long ms = nowMs() - start;
    if (found) {
        std::printf("mate in %d: %s\t%lld nodes %lld ms\t%s\n", within - 2, moveToUsi(first, side).c_str(),
                    static_cast<long long>(search.nodes()), ms, sfen.c_str());
    } else {
        std::printf("%s\t%lld nodes %lld ms\t%s\n", search.gaveUp() ? "unknown (limit)" : "no mate",
                    static_cast<long long>(search.nodes()), ms, sfen.c_str());
    }
    return true;
}

const char* usage() { return "usage: nusari-tool mate [--plies N] [--nodes N] [SFEN...]\n"; }

}  // namespace

int runMate(const Arguments& args) {
    int64_t plies = 5;
    int64_t nodes = 10000000;
    Arguments positions;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--plies" && hasValue) {
            if (!parseInt("--plies", args[++i], plies)) return 2;
        } else if (args[i] == "--nodes" && hasValue) {
            if (!parseInt("--nodes", args[++i], nodes)) return 2;
        } else if (!args[i].empty() && args[i][0] != '-') {
            positions.push_back(args[i]);
        } else {
            std::fputs(usage(), stderr);
            return 2;
        }
    }
    if (plies < 1 || plies > kMaxMatePlies || nodes < 1) {
        std::fputs(usage(), stderr);
        return 2;
    }
    bool ok = true;
    if (positions.empty()) {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line[0] != '#') ok = solve(line, static_cast<int32_t>(plies), nodes) && ok;
        }
    }
    for (const std::string& sfen : positions) ok = solve(sfen, static_cast<int32_t>(plies), nodes) && ok;
    return ok ? 0 : 1;
}

}  // namespace nusari::tool
