// Writing a GameRecord as a KIF file in the classic layout that shogi
// programs read: headers, 手合割 or a board diagram, the move table with
// times, and the line of the game's end.
#pragma once

#include <string>

#include "records/game_record.h"

namespace nusari {

// The KIF text of `record`: CP932 with CR LF.
std::string FormatKif(const GameRecord& record);

// Ply n of the record as players write it, without its origin: ７六歩,
// 同　銀, ５五角打, ２二角成, ３三桂不成 (CP932).
std::string PlyName(const GameRecord& record, int32_t ply);

// How the game ended, as the closing line of a KIF record says it
// ("まで57手で先手の勝ち", CP932); empty while the record has no ending.
std::string GameResultText(const GameRecord& record);

}  // namespace nusari
