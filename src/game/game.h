// The referee of a game: it owns the position, the moves, the clocks and the
// rules, and it is the one place that decides how a game ends — mate, a
// resignation, the entering-king declaration (valid or not), fourfold
// repetition (千日手) and perpetual check, the ply limit, loss on time with
// one margin, and a player's fault (an illegal or malformed move, a crash,
// silence). The window, the links and the match tools all play through it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/player.h"
#include "game/time_control.h"
#include "position/types.h"
#include "records/game_ending.h"

namespace nusari {

// The ply limit of matches between engines, the opening's plies included.
inline constexpr int32_t kMatchPlyLimit = 512;

struct GameSetup {
    Position start{};
    Side toMove = Side::Lower;
    // Moves played before the players take over (a match's opening line);
    // they must be legal.
    std::vector<Move> opening;
    TimeControl time[2];  // the lower side's, the upper side's
    int32_t maxPlies = kMatchPlyLimit;
    // The side that is 先手 in this frame (the window turns the board when
    // the human is 後手): the declaration's points differ for the two.
    Side senteSide = Side::Lower;

    // Both sides with the same time.
    void timeForBoth(const TimeControl& t) { time[0] = time[1] = t; }
};

struct PlayedMove {
    Move move;
    Side side = Side::Lower;
    int64_t ms = 0;
    int64_t limitMs = 0;  // the time it had: clock and byoyomi, without the margin
    bool hasScore = false;
    int32_t score = 0;  // from the mover's side
};

class Game {
  public:
    explicit Game(const GameSetup& setup);

    const Position& start() const { return setup_.start; }
    Side startSide() const { return setup_.toMove; }
    // The side that is 先手 in the game's frame.
    Side senteSide() const { return setup_.senteSide; }
    const Position& position() const { return position_; }
    Side toMove() const { return toMove_; }
    // All plies so far, the opening's included.
    int32_t plies() const { return static_cast<int32_t>(moves_.size()); }
    int32_t openingPlies() const { return static_cast<int32_t>(setup_.opening.size()); }
    const std::vector<Move>& moves() const { return moves_; }
    // The players' moves, after the opening.
    const std::vector<PlayedMove>& played() const { return played_; }
    // The moves so far in USI notation, separated by spaces.
    std::string usiMoves() const;

    const Outcome& outcome() const { return outcome_; }
    bool over() const { return outcome_.over(); }

    const TimeControl& timeOf(Side side) const { return setup_.time[index(side)]; }
    // What is left on the side's clock.
    int64_t clockMs(Side side) const { return clock_[index(side)]; }
    // The time the side to move has for this move, without the margin; -1
    // when it has no limit.
    int64_t moveLimitMs() const;
    // The limit with the margin: later than this the answer loses; -1 without a limit.
    int64_t deadlineMs() const;

    // Judges the answer of the side to move and plays its move when it is
    // legal in time; returns the outcome (over() once the game has ended).
    const Outcome& answer(const PlayerAnswer& a);
    // Takes back the last `plies` plies (no more than the players made),
    // clocks as they were; false when there are not so many.
    bool takeBack(int32_t plies);
    // `side` loses by `ending` out of its turn (a player gone, a failed start).
    void forfeit(Side side, GameEnding ending, std::string detail);
    // Stops the game without a result.
    void interrupt();

    bool sideToMoveIsMated() const;
    // After a fourfold repetition: the side that gave check with every one of
    // its moves since the position first occurred (it loses), if any.
    std::optional<Side> perpetualChecker() const;

  private:
    static int index(Side side) { return side == Side::Lower ? 0 : 1; }
    void play(const Move& m);
    // Mate, repetition and the ply limit in the position reached.
    void judgePosition();
    void lose(Side side, GameEnding ending, std::string detail = {});
    void rebuild();

    GameSetup setup_;
    Position position_{};
    Side toMove_ = Side::Lower;
    std::vector<Move> moves_;
    std::vector<PlayedMove> played_;
    // The position after each ply (entry 0 the start), whether that ply gave
    // check, and how often each position has stood.
    std::vector<std::string> keys_;
    std::vector<bool> gaveCheck_;
    std::map<std::string, int> seen_;
    bool repeated_ = false;
    int64_t clock_[2] = {0, 0};
    // The clocks before each played move, to take moves back.
    std::vector<int64_t> clocksBefore_;
    Outcome outcome_;
};

// "mate", "resignation", "repetition", ... for the match tools' lines.
const char* endingName(GameEnding ending);

}  // namespace nusari
