// The second search's move generator, in the stages the search tries them:
// out of check only the evasions; else the captures and promotions, the
// quiet board moves, then the drops. Each stage holds only legal moves
// (king safety by the pins on the mover's king, no mate by a pawn drop), and
// together they are exactly the legal moves.
#pragma once

#include "position/legal_moves.h"
#include "position/types.h"

namespace nusari {

enum class MoveStage : int32_t {
    Evasions,  // every legal move, while the side to move stands in check
    Captures,  // board moves that capture (each promotion choice) or promote
    Quiets,    // the other board moves
    Drops,
};
inline constexpr MoveStage kMoveStages[] = {MoveStage::Captures, MoveStage::Quiets, MoveStage::Drops};

// The stage's moves of `side` in `p`; `inCheck` says whether `side` stands
// in check (then only Evasions has moves, and it has them all).
void GenerateStage(const Position& p, Side side, bool inCheck, MoveStage stage, MoveList& out);

}  // namespace nusari
