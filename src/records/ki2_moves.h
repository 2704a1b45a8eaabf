// KI2 moves ("▲７六歩", "△同　銀右上", "▲２二角成"): the notation names the
// destination and the piece, and words that tell apart the pieces that
// could go there; the move itself is found among the legal moves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "position/types.h"

namespace nusari {

struct Ki2Move {
    Side mover = Side::Lower;
    int32_t to = 0;     // 0 for 同 (the previous destination)
    int32_t piece = 0;  // the lower side's code of the piece before the move
    bool promote = false;
    bool drop = false;
    bool right = false;     // 右: the piece on the mover's right
    bool left = false;      // 左
    bool straight = false;  // 直: straight forward
    bool forward = false;   // 上, 行, 入
    bool backward = false;  // 引
    bool sideways = false;  // 寄
};

// Reads the kanji of a move at byte `at` of a CP932 line: the destination
// (同 gives 0; a file digit, full-width or ASCII, then a rank numeral or
// digit), the piece and the words after it; `at` moves past them. False when
// the text is no move. KI2 moves (after their mark) and the moves of a KIF
// table (before their origin) are read alike.
bool parseKanjiMove(std::string_view line, std::size_t& at, Ki2Move& move);

// The one legal move of `m.mover` in `p` that `m` describes (with its
// destination filled in); false when there is none or more than one.
bool resolveKi2Move(const Position& p, const Ki2Move& m, Move& out);

// The KI2 text of `m`, a legal move of `mover` in `p`, without its mark:
// the destination (同　when it is `previousTo`), the piece, the words that
// tell it from the other pieces of its kind that could go there (右, 左 or
// 直 by where it stands, 上, 引 or 寄 by how it moves, as the standard
// notation picks them, every piece that attacks the square counted), then
// 成, 不成 or 打 (for a drop only when a piece on the board could also go
// there). CP932. A move that is not legal has no such text; it is named as
// closely as its piece and destination allow.
std::string ki2MoveText(const Position& p, const Move& m, Side mover, int32_t previousTo);

}  // namespace nusari
