// The move list (棋譜) beside the board: one line per ply in the usual
// Japanese notation, with the mover's mark and the ply's time, and the
// result once the game has ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/game_record.h"

namespace nusari {

// Line 0 is the start position ("開始局面"), line n ply n ("  7 ▲２六歩
// 0:03"), and after the last ply of a game that has ended the special move
// that ended it (" 20 △投了") and the result ("まで19手で先手の勝ち"). UTF-8.
// A ply whose entry in `timeUnknown` (ply n at n - 1) is true shows no time.
std::vector<std::string> MoveListLines(const GameRecord& record, int32_t plies,
                                       const std::vector<bool>& timeUnknown = {});

}  // namespace nusari
