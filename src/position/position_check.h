// Whether a position someone set up by hand (a 詰将棋, a position from a
// book) can be played from.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "types.h"

namespace nusari {

// How many pieces of each kind (kKing..kPawn) one set holds, both sides
// together: a promoted piece counts as its base kind.
inline constexpr std::array<int32_t, 8> kPiecesPerSet = {2, 2, 2, 4, 4, 4, 4, 18};

// nullopt when `p` with `toMove` to move is a position play can start from,
// else a short message (UTF-8) naming the first rule it breaks:
// a square or hand cell holding no piece or count, more pieces of a kind
// than one set holds ("歩が多すぎます"), two kings of one side, the king of
// the side not to move missing, two unpromoted pawns of one side on a file,
// a piece that can never move again, or the side not to move in check.
//
// The side to move may be without a king: the attacker of a 詰将棋 has none,
// and nothing can capture or mate what is not there. The side not to move
// needs its king, or the game could never be won.
std::optional<std::string> CheckSetUpPosition(const Position& p, Side toMove);

}  // namespace nusari
