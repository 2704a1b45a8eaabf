// Making and unmaking moves, and turning a position to the other side's view.
#pragma once

#include "types.h"

namespace nusari {

// Makes a move of the upper side; returns the captured cell value (128 when
// nothing was captured), which undoUpperMove needs.
int32_t applyUpperMove(Position& p, const Move& m);
// Makes a move of the lower side; returns the captured cell value.
int32_t applyLowerMove(Position& p, const Move& m);
void undoUpperMove(Position& p, const Move& m, int32_t captured);
void undoLowerMove(Position& p, const Move& m, int32_t captured);

int32_t applyMove(Position& p, Side mover, const Move& m);
void undoMove(Position& p, Side mover, const Move& m, int32_t captured);

// The same position seen from the other side: the lower side becomes the
// upper side. Cells 111 and 119 are left as they are.
Position flipPosition(const Position& p);
// Carries a move (or a bare square / hand cell) across flipPosition.
Move flipMove(const Move& m);
int32_t flipFrom(int32_t from);
int32_t flipTo(int32_t to);

}  // namespace nusari
