// SFEN positions and USI move texts. The lower side is USI's black (sente,
// upper-case letters); square 77 is "7g".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "types.h"

namespace nusari {

inline constexpr std::string_view kStartSfen =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";

// Writes board, side to move, hands and move number. Cells that hold no
// piece code are written as empty squares.
std::string toSfen(const Position& p, Side toMove, int moveNumber = 1);

// Reads "BOARD SIDE HANDS [MOVENUMBER]" (a leading "sfen " is accepted).
// Fills all 127 cells; cells 111 and 119 become 0. On a malformed text it
// returns false with a message in `error` and leaves `p` and `toMove` as
// they were.
bool parseSfen(std::string_view text, Position& p, Side& toMove, std::string& error);

// "7g7f", "8h2b+", "P*5e". Special replies (resign, no move) give "resign".
std::string moveToUsi(const Move& m, Side mover);

// Reads a USI move of `mover`; false on a malformed text.
bool parseUsiMove(std::string_view text, Side mover, Move& m);

// The USI moves of a line (an engine's pv), read in turn from the position
// with `toMove` to move; the line ends at the first word that is no legal
// move there.
std::vector<Move> usiMoveLine(Position p, Side toMove, const std::vector<std::string>& words);

}  // namespace nusari
