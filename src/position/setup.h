// Start positions of the handicap/opening list.
#pragma once

#include "types.h"

namespace nusari {

// Indexes of the start-position list, in list order.
enum Preset : int32_t {
    kPresetContinue = 0,  // 継続----: the game goes on from the current position
    kPresetEven = 1,      // 平手
    kPresetNoRook = 2,    // 飛落ち
    kPresetNoBishop = 3,  // 角落ち
    kPresetTwoPieces = 4, // 飛角落ち
    kPresetYagura = 5,
    kPresetStaticVsRanging = 6,
    kPresetSidePawn = 7,
    kPresetDoubleRanging = 8,
    kPresetShifu = 9,
    kPresetNoPawns = 10,
    kPresetKingsOnly = 11,
    kPresetTaian = 12,
    kPresetCount = 13,
};

// Fills all 127 cells with the start position of `preset`; the lower side is
// always the first player. A preset outside 1..12 gives the empty board.
void setupPosition(Position& p, int32_t preset);

}  // namespace nusari
