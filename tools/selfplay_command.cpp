// nusari-tool selfplay --aik A --aik2 B --games N --ms LIMIT [--seed N]
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "commands.h"
#include "engine_setup.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "think/clock.h"
#include "think/think_for_side.h"

namespace nusari::tool {

namespace {

constexpr int kMaxPlies = 512;

struct GameResult {
    int winner = -1;  // engine index 0 (A) or 1 (B); -1 for a draw
    int plies = 0;
    std::string reason;
    bool illegal = false;
    int64_t slowestMs = 0;
};

GameResult playGame(Engine* engines, int lowerEngine, ConsoleUi& ui) {
    GameResult result;
    Position p;
    setupPosition(p, kPresetEven);
    Side side = Side::Lower;
    std::map<std::string, int> seen;
    for (result.plies = 0; result.plies < kMaxPlies; ++result.plies) {
        const int mover = side == Side::Lower ? lowerEngine : 1 - lowerEngine;
        MoveList legal;
        generateLegalMoves(p, side, legal);
        if (legal.count == 0) {
            result.winner = 1 - mover;
            result.reason = "mate";
            return result;
        }
        const int64_t start = nowMs();
        const Move m = ThinkForSide(*engines[mover], ui, p, side);
        result.slowestMs = std::max(result.slowestMs, nowMs() - start);
        if (m.from == kResignFrom) {
            result.winner = 1 - mover;
            result.reason = "resignation";
            return result;
        }
        if (!legal.contains(m)) {
            std::fprintf(stderr, "illegal move %s by engine %c in %s\n", moveToUsi(m, side).c_str(),
                         mover == 0 ? 'A' : 'B', toSfen(p, side).c_str());
            result.winner = 1 - mover;
            result.reason = "illegal move";
            result.illegal = true;
            return result;
        }
        applyMove(p, side, m);
        side = opponentOf(side);
        const std::string key = toSfen(p, side, 0);
        if (++seen[key] >= 4) {
            ++result.plies;
            result.reason = "repetition";
            return result;
        }
    }
    result.reason = "ply limit";
    return result;
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
    int wins[2] = {0, 0};
    int draws = 0;
    int illegal = 0;
    long totalPlies = 0;
    int64_t slowest = 0;
    for (int g = 0; g < games; ++g) {
        const int lowerEngine = g % 2;
        const GameResult r = playGame(engines, lowerEngine, ui);
        totalPlies += r.plies;
        slowest = std::max(slowest, r.slowestMs);
        if (r.illegal) ++illegal;
        if (r.winner < 0) {
            ++draws;
        } else {
            ++wins[r.winner];
        }
        std::printf("game %d: sente %c, %s, %d plies, %s\n", g + 1, lowerEngine == 0 ? 'A' : 'B',
                    r.winner < 0 ? "draw" : (r.winner == 0 ? "A wins" : "B wins"), r.plies,
                    r.reason.c_str());
        std::fflush(stdout);
    }
    std::printf("summary: A %d, B %d, draws %d, illegal moves %d, average %.1f plies, slowest move %lld ms\n",
                wins[0], wins[1], draws, illegal, static_cast<double>(totalPlies) / static_cast<double>(games),
                static_cast<long long>(slowest));
    return illegal == 0 ? 0 : 1;
}

}  // namespace nusari::tool
