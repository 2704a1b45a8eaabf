// Writing a record as a KIF file in the classic layout that shogi programs
// read: headers, 手合割 or a board diagram, the move table with times and
// comments, the line of the game's end, then each variation ("変化：N手");
// or as a KI2 file, the same with the moves in KI2 notation.
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

// The KI2 text of `tree`: CP932 with CR LF, the header as in KIF, then each
// line's moves ("▲７六歩    △３四歩"), six to a line, a comment after its
// move, "まで64手で後手の勝ち" after a line that has an ending, and the
// variations in the order FormatKif writes them. KI2 has no thinking times,
// and its notation names only legal moves.
std::string FormatKi2(const RecordTree& tree);

// The board diagram of a KIF header for `p`: 後手の持駒, the board and
// 先手の持駒 lines, without the side to move (CP932 with CR LF).
std::string FormatKifDiagram(const Position& p);

// Ply n of the record as players write it, without its origin: ７六歩,
// 同　銀, ５五角打, ２二角成, ３三桂不成 (CP932).
std::string PlyName(const GameRecord& record, int32_t ply);

// How the game ended, as the closing line of a KIF record says it
// ("まで57手で先手の勝ち", CP932); empty while the record has no ending.
std::string GameResultText(const GameRecord& record);

}  // namespace nusari
