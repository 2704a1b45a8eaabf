// Per-square attack counts of both sides, with battery extensions.
#pragma once

#include "types.h"

namespace nusari {

// Room for every square of a board, so that even a position read from an
// unchecked file (more than 40 pieces) cannot overrun the list.
inline constexpr int32_t kMaxPieceSquares = 81;

struct AttackMap {
    int32_t lowerCount[kBoardCells];  // attacks of codes 0..15 on each cell
    int32_t upperCount[kBoardCells];  // attacks of codes 32..47 on each cell
    int32_t lowerKing;                // written only when a lower king is found
    int32_t upperKing;                // written only when an upper king is found
    int32_t pieceCount;
    int32_t pieceSquares[kMaxPieceSquares];  // occupied squares, 11 -> 99
};

// Fills `map` for `p`. A sliding ray passes through own pieces that slide the
// same way and counts one square beyond an own piece that steps the same
// way, so the counts measure batteries. Off-board cells end up 0.
//
// Safe on any square values as long as the off-board cells hold 64: codes
// that are no piece attack nothing, and knight jumps off the padded board
// (a knight on its last rank) are dropped.
void buildAttackMap(const Position& p, AttackMap& map);

}  // namespace nusari
