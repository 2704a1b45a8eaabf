// One interface for everyone who plays a side: the human at the window, an
// .aik engine, a USI engine, the serial line and the CSA server. A player is
// told the game start, asked for a move and polled for its answer, so that
// nothing waits on it; the referee (Game) judges whatever it answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "position/types.h"
#include "records/game_ending.h"

namespace nusari {

class Game;

struct PlayerAnswer {
    enum class Kind : int32_t {
        Move,       // `move`, still to be judged legal
        Resign,
        Declare,    // a win by the entering-king rule, still to be checked
        Takeback,   // asks to take back its last move
        Malformed,  // an answer that is no move at all: `detail` says what came
        NoAnswer,   // nothing within the time and the margin
        Gone,       // crashed, closed its line or disconnected: `detail` says how
        // A remote that keeps the game itself (a game server, the serial
        // partner's end words) has ended it: `result` and `ending` say how.
        Verdict,
        Interrupt,  // the remote stops the game without a result
    };
    Kind kind = Kind::NoAnswer;
    Move move = Move::none();
    // Printable. From a remote link, what the user is told once the answer
    // has been acted on (empty: nothing), for every kind but Move.
    std::string detail;
    int64_t ms = -1;     // the time the answer took; -1 when the caller measures it
    bool hasScore = false;
    int32_t score = 0;   // the engine's last score, from its own side
    // A verdict: 1 the answering player wins, 2 it loses, else no winner;
    // the ending as the record keeps it.
    int32_t result = 0;
    GameEnding ending = GameEnding::None;

    static PlayerAnswer of(const Move& m, int64_t ms = -1) {
        PlayerAnswer a;
        a.kind = Kind::Move;
        a.move = m;
        a.ms = ms;
        return a;
    }
    static PlayerAnswer with(Kind kind, std::string detail = {}) {
        PlayerAnswer a;
        a.kind = kind;
        a.detail = std::move(detail);
        return a;
    }
    static PlayerAnswer verdict(int32_t result, GameEnding ending, std::string detail = {}) {
        PlayerAnswer a = with(Kind::Verdict, std::move(detail));
        a.result = result;
        a.ending = ending;
        return a;
    }
};

class Player {
  public:
    virtual ~Player() = default;
    virtual std::string name() const = 0;
    // The game begins with this player on `side`; false with the reason in
    // `error` when the player cannot play it.
    virtual bool startGame(const Game& game, Side side, std::string& error) = 0;
    // The player's turn in `game`: it starts thinking and returns at once.
    virtual void yourTurn(const Game& game) = 0;
    // Its answer, when one has come within `waitMs` (0: only what is there).
    virtual std::optional<PlayerAnswer> poll(int64_t waitMs) = 0;
    // The answer did not come in time: the player stops thinking.
    virtual void timedOut() {}
    // A move of either side was accepted.
    virtual void moveMade(const Game& /*game*/, const Move& /*m*/, Side /*mover*/) {}
    // The game is over; `side` is this player's.
    virtual void gameOver(const Outcome& /*outcome*/, Side /*side*/) {}
};

}  // namespace nusari
