// The 8-byte CSA move line that both transports carry ("+7776FU\n"), in the
// real game's coordinates. The controller's board always has the remote
// player at the bottom; when he is the second player every square s of the
// line is 110 - s on that board (drops, "00", stay as they are).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "position/types.h"

namespace nusari {

// The line that tells the remote of the computer's move just made: `m` in
// the controller's frame, `pieceCode` the code now on its destination,
// `plyCount` counting this move ("+" when odd).
std::string EncodeMoveLine(const Move& m, int32_t pieceCode, int32_t plyCount,
                           bool humanIsSecond);

// The lower-side code the two piece letters name ("FU" 7, "TO" 15), or -1.
int32_t LowerCodeOfLetters(std::string_view letters);

// The remote's move in the controller's frame from what follows the sign
// (from and to digits, two piece letters; anything after them is ignored),
// or nothing when it is malformed or not a legal move of the lower side in
// `p`. The letters name the piece after the move, so they decide promotion,
// and they must fit the piece that moves.
std::optional<Move> DecodeMoveBody(std::string_view body, const Position& p, bool humanIsSecond);

}  // namespace nusari
