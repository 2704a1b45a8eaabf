// Writing a record as a KIF file in the classic layout that shogi programs
// read: headers, 手合割 or a board diagram, the move table with times and
// comments, the line of the game's end, then each variation ("変化：N手").
#pragma once

#include <string>

#include "records/game_record.h"
#include "records/record_tree.h"

namespace nusari {

// The KIF text of `tree`: CP932 with CR LF. Lines are kept to the 254
// bytes a reader takes (comments excepted); engine scores are not written.
std::string FormatKif(const RecordTree& tree);
// The KIF text of the record's one line.
std::string FormatKif(const GameRecord& record);

// Ply n of the record as players write it, without its origin: ７六歩,
// 同　銀, ５五角打, ２二角成, ３三桂不成 (CP932).
std::string PlyName(const GameRecord& record, int32_t ply);

// How the game ended, as the closing line of a KIF record says it
// ("まで57手で先手の勝ち", CP932); empty while the record has no ending.
std::string GameResultText(const GameRecord& record);

}  // namespace nusari
