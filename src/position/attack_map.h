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

// A position's attacks prepared for the maps after each of its moves: the
// counts of everything but the sliders' rays, and where the sliders stand.
struct AttackBase {
    int32_t lowerCount[kBoardCells];  // off-board cells not cleared
    int32_t upperCount[kBoardCells];
    int32_t lowerKing;  // 0 when there is none
    int32_t upperKing;
    int32_t pieceCount;
    int32_t pieceSquares[kMaxPieceSquares];  // occupied squares, 11 -> 99
    int32_t squaresBefore[kBoardCells];       // how many of them lie below each cell
    int32_t sliderCount;
    int32_t sliders[kMaxPieceSquares];  // rooks, bishops, lances, dragons, horses
    // Every square is empty or holds a piece code, the padding holds no
    // piece and neither side has two kings: only then may updateAttackMap
    // be used.
    bool usable;
};

void buildAttackBase(const Position& p, AttackBase& base);

// The map buildAttackMap makes of `p` (kings 0 when missing), where `p` is
// the base's position after one move: `moved` went from `from` (a square,
// or a hand cell for a drop) to the square `to`, on which `captured` stood
// (kEmpty for none), and p[to] is what arrived. Only for a usable base.
void updateAttackMap(const AttackBase& base, const Position& p, int32_t from, int32_t to,
                     int32_t moved, int32_t captured, AttackMap& map);

}  // namespace nusari
