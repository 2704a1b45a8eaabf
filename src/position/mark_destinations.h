// Marks where the human's selected piece or hand piece may go.
#pragma once

#include "game_fields.h"

namespace nusari {

// Fills game.destinationMarks for the lower-side piece on `selected` (a
// square 11..99) or the hand cell `selected` (112..118) of the current
// position. The marking is pseudo-legal: it does not test whether the move
// leaves the human's king attacked, nor forbid mate by a pawn drop. Any
// other cell, or a cell holding no lower piece, marks nothing.
void MarkDestinations(GameFields& game, int32_t selected);

}  // namespace nusari
