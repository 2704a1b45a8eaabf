// One refereed game between two USI engines of a match: the referee's Game
// with a UsiPlayer for each engine.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"
#include "game/openings_file.h"
#include "game/time_control.h"
#include "usi/usi_engine.h"

namespace nusari {

struct GameOutcome {
    int winner = -1;  // engine index; -1 for a draw
    GameEnding end = GameEnding::PlyLimit;
    Side endSide = Side::Lower;  // the side that lost (or declared); for a draw the side to move
    // What went wrong, for a foul or a crash, printable: engine bytes are
    // escaped, a crash names the engine by number, side and name.
    std::string detail;
    std::vector<PlayedMove> moves;  // after the opening's moves
    int plies = 0;                  // all plies, the opening's included
    int blackEngine = 0;            // the engine that played sente

    // The engine (0 or 1) that made `m`.
    int engineOf(const PlayedMove& m) const { return m.side == Side::Lower ? blackEngine : 1 - blackEngine; }
};

// The match tools' view of a finished game in which engine `blackEngine`
// played sente.
GameOutcome matchOutcome(const Game& game, int blackEngine);

// Plays `opening` to the end; engine `blackEngine` plays the lower side
// (sente, USI "b"). Each engine gets "isready" and "usinewgame" first and
// "gameover" at the end.
GameOutcome playMatchGame(UsiEngine* engines[2], int blackEngine, const Opening& opening,
                          const TimeControl& time);

}  // namespace nusari
