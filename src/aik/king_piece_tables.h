// The king-relative piece values of an .aik file ("set ou[N]" blocks): the
// second search's own static evaluation reads them beside the raw square and
// hand values of the "set koma[" tables. A file without such a block leaves
// `present` false, and the second search then scores nodes as before.
//
// Block N (a lower-side code 1..15 but 8 and 11): a piece of the king's own
// side; block N + 32: a piece of the other side. 17 rows, the rank offset of
// the piece from the king -8..8 seen from the king's owner (negative: toward
// the other side), of 9 values, the file distance 0..8. Block 0, of the same
// shape, values the king's surroundings (think/king_piece_eval.h).
#pragma once

#include <cstdint>

#include "position/types.h"

namespace nusari {

inline constexpr int32_t kKingPieceRows = 17;
inline constexpr int32_t kKingPieceFiles = 9;
inline constexpr int32_t kKingPieceSlots = kKingPieceRows * kKingPieceFiles;
// Tables 0..15: the king's own pieces by code; 16..31: the other side's.
inline constexpr int32_t kKingPieceTables = 32;
inline constexpr int32_t kKingPieceOtherSide = 16;

constexpr int32_t kingPieceSlot(int32_t rankOffset, int32_t fileDistance) {
    return (rankOffset + 8) * kKingPieceFiles + fileDistance;
}

// The table of block N ("set ou[N]"), or -1 for a code without one: 0..15
// and 33..47, but for the codes 8 and 11 that stand on no square.
constexpr int32_t kingPieceTableOf(int32_t code) {
    const bool lower = code >= 0 && code < kKingPieceOtherSide;
    const bool upper = code > kUpperSide && code < kUpperSide + kKingPieceOtherSide;
    const int32_t kind = code & 15;
    if (!(lower || upper) || kind == kPromotedFlag || kind == 11) return -1;
    return kind + (upper ? kKingPieceOtherSide : 0);
}

// The block code of table `table` (the inverse of kingPieceTableOf where
// that has a table).
constexpr int32_t kingPieceBlockCode(int32_t table) {
    return table < kKingPieceOtherSide ? table : table - kKingPieceOtherSide + kUpperSide;
}

struct KingPieceTables {
    bool present = false;
    int32_t value[kKingPieceTables][kKingPieceSlots] = {};
};

}  // namespace nusari
