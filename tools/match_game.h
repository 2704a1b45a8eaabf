// One refereed game between two USI engines: the clock, the legality of
// every move and every way a game can end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "openings_file.h"
#include "position/types.h"
#include "usi/usi_engine.h"

namespace nusari::tool {

// Byoyomi, a clock with a Fischer increment (added after each move), or a
// clock followed by byoyomi. A move may take its limit plus the margin.
struct TimeControl {
    int64_t byoyomiMs = 0;
    int64_t timeMs = 0;
    int64_t incMs = 0;
    int64_t marginMs = 1000;
};

enum class GameEnd {
    Mate,
    Resignation,
    Declaration,     // a valid entering-king declaration wins
    BadDeclaration,  // an invalid one loses
    IllegalMove,     // illegal or malformed
    TimeLoss,        // no answer in time, or a move over the limit
    Crash,           // the engine exited or closed its output
    Repetition,
    PerpetualCheck,  // the checking side loses
    PlyLimit,
};

const char* gameEndName(GameEnd end);

struct PlayedMove {
    Move move;
    int engine = 0;        // 0 or 1
    int64_t ms = 0;
    int64_t limitMs = 0;   // the time it had: clock and byoyomi, without the margin
    bool hasScore = false;
    int score = 0;         // from the mover's side
};

struct GameOutcome {
    int winner = -1;  // engine index; -1 for a draw
    GameEnd end = GameEnd::PlyLimit;
    Side endSide = Side::Lower;  // the side that lost (or declared); for a draw the side to move
    // What went wrong, for a foul or a crash, printable: engine bytes are
    // escaped, a crash names the engine by number, side and name.
    std::string detail;
    std::vector<PlayedMove> moves;  // after the opening's moves
    int plies = 0;                  // all plies, the opening's included
};

// Plays `opening` to the end; engine `blackEngine` plays the lower side
// (sente, USI "b"). Each engine gets "isready" and "usinewgame" first and
// "gameover" at the end.
GameOutcome playMatchGame(UsiEngine* engines[2], int blackEngine, const Opening& opening,
                          const TimeControl& time);

}  // namespace nusari::tool
