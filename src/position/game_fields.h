// The game's own fields: its position, the human's selection, the ply count
// and the clock. The game controller owns them; the board drawing and the
// remote links read them.
#pragma once

#include "types.h"

namespace nusari {

struct GameFields {
    // The game's position in the controller's frame: the human is the lower side.
    Position currentPosition{};
    // Square or hand cell selected by the human, or the `from` of the
    // opponent's reply; 0 when nothing is selected.
    int32_t pendingFrom = 0;
    // Destination chosen by the human or the opponent's reply (+100 promotes).
    int32_t pendingTo = 0;
    // to % 100 of the last move made, 0 at the start of a game.
    int32_t lastDestination = 0;
    // 1 where the selected piece may go, indexed by cell 0..110.
    int32_t destinationMarks[kBoardCells] = {};
    // Moves made so far in the game; indexes the position history.
    int32_t plyCount = 0;
    // The game's clock: steady-clock ms when the previous move was made.
    int64_t moveStartMs = 0;
};

}  // namespace nusari
