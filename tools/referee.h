// Keeps the board of an engine-against-engine game and decides its end:
// mate, fourfold repetition, the ply limit, or an illegal move.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "position/legal_moves.h"
#include "position/types.h"

namespace nusari::tool {

class Referee {
public:
    static constexpr int kMaxPlies = 512;

    // From the even-game start, or from `start` with `toMove` to move.
    Referee();
    Referee(const Position& start, Side toMove);

    const Position& position() const { return position_; }
    Side toMove() const { return toMove_; }
    int plies() const { return plies_; }
    // The moves so far in USI notation, separated by spaces.
    const std::string& usiMoves() const { return usiMoves_; }

    // True when the side to move has no legal move (it is mated).
    bool sideToMoveIsMated() const;
    // Plays a legal move; false (nothing changes) for an illegal one.
    bool play(const Move& m);
    // "repetition" or "ply limit" once the game is drawn, else empty.
    std::string drawReason() const;
    // After a fourfold repetition: the side that gave check with every one of
    // its moves since the position first occurred (it loses), if any.
    std::optional<Side> perpetualChecker() const;

private:
    Position position_;
    Side toMove_ = Side::Lower;
    int plies_ = 0;
    std::string usiMoves_;
    Side startSide_ = Side::Lower;
    std::map<std::string, int> seen_;
    // The position after each ply (entry 0 the start) and whether that ply
    // gave check.
    std::vector<std::string> keys_;
    std::vector<bool> gaveCheck_;
    bool repeated_ = false;
};

// How one game of a match ended.
struct GameResult {
    int winner = -1;  // engine index 0 (A) or 1 (B); -1 for a draw
    int plies = 0;
    std::string reason;
    bool illegal = false;  // the loser's move was illegal or no move at all
    bool missing = false;  // the loser gave no answer or has gone
    // The engine (0 or 1) that gave no answer because it has gone; -1 if none.
    int gone = -1;
    int64_t slowestMs = 0;
    int lateMoves = 0;  // moves that took more than the limit plus 10 %
};

// A player's answer for one move: a move, a resignation, or nothing usable.
// Then `word` is the answer that is no move (printable), or, without a
// word, there was no answer: `text` says why ("no answer in 5000 ms",
// "exited (status 3)"), and `gone` tells that the player has gone.
struct PlayerAnswer {
    Move move;
    bool resigns = false;
    bool usable = true;
    std::string word;
    std::string text;
    bool gone = false;
};
using MoveSource = std::function<PlayerAnswer(int mover, const Referee& referee)>;

// Plays one game from the even-game start; engine `lowerEngine` moves first.
// Every answer is timed against limitMs and checked for legality.
GameResult playRefereedGame(int lowerEngine, int64_t limitMs, const MoveSource& next);

// Counts the games of a match and prints one line per game and a summary.
class MatchTally {
public:
    void add(int game, int lowerEngine, const GameResult& r);
    void printSummary(int games) const;
    // Any illegal move, missing answer or engine gone.
    bool anyIllegal() const { return illegal_ + missing_ > 0; }

private:
    int wins_[2] = {0, 0};
    int draws_ = 0;
    int illegal_ = 0;
    int missing_ = 0;
    int late_ = 0;
    long plies_ = 0;
    int64_t slowest_ = 0;
};

}  // namespace nusari::tool
