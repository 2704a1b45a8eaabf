// nusari-tool perft [--sfen SFEN] [--board] DEPTH: the leaf counts of the
// legal-move tree; with --board made and unmade on the second search's board.
#include <chrono>
#include <cstdio>
#include <string>

#include "commands.h"
#include "position/legal_moves.h"
#include "position/sfen.h"
#include "think/search_board.h"

namespace nusari::tool {

int runPerft(const Arguments& args) {
    std::string sfen(kStartSfen);
    int depth = -1;
    bool onBoard = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sfen" && i + 1 < args.size()) {
            sfen = args[++i];
        } else if (args[i] == "--board") {
            onBoard = true;
        } else if (depth < 0 && !args[i].empty() &&
                   args[i].find_first_not_of("0123456789") == std::string::npos &&
                   args[i].size() <= 2) {
            depth = std::stoi(args[i]);
        } else {
            std::fprintf(stderr, "perft: unexpected argument '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (depth < 1) {
        std::fprintf(stderr, "usage: nusari-tool perft [--sfen SFEN] [--board] DEPTH (DEPTH >= 1)\n");
        return 2;
    }
    Position position;
    Side toMove = Side::Lower;
    std::string error;
    if (!parseSfen(sfen, position, toMove, error)) {
        std::fprintf(stderr, "perft: %s\n", error.c_str());
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    for (int d = 1; d <= depth; ++d) {
        SearchBoard board(position, toMove);
        const uint64_t count = onBoard ? SearchPerft(board, d) : perft(position, toMove, d);
        std::printf("depth %d: %llu\n", d, static_cast<unsigned long long>(count));
        std::fflush(stdout);
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("time: %lld ms\n", static_cast<long long>(ms));
    return 0;
}

}  // namespace nusari::tool
