// CSA notation of pieces and moves ("+7776FU").
#pragma once

#include <string>

#include "types.h"

namespace nusari {

// "OU", "HI", ... "RY" for a piece code (side ignored); "* " for no piece.
const char* csaPieceName(int32_t code);

// The CSA move of `mover` in `before` (the position before the move): sign,
// from square ("00" for a drop), to square and the piece after the move.
std::string csaMoveText(const Position& before, Side mover, const Move& m);

}  // namespace nusari
