// Where a click on the board picture lands: a square of the board, or the
// area of one kind on either piece stand, as the picture shows them.
#pragma once

#include <cstdint>

#include "ui/board_scene.h"

namespace nusari {

// The square under (x, y) when 185 <= x < 614 and 35 <= y < 464 (always
// file 1..9, rank 1..9), else 0.
int32_t SquareAt(int32_t x, int32_t y);

// A click area of a stand, ranges inclusive at both ends.
struct StandArea {
    int32_t handCell;  // 112..118 on the lower stand, 120..126 on the upper
    int32_t left;
    int32_t right;
    int32_t top;
    int32_t bottom;
    PicturePoint frame;  // where the selection frame is drawn
};

// The stand area under (x, y), or null.
const StandArea* StandAreaAt(int32_t x, int32_t y);

// The cell of the picture under (x, y): a square or a hand cell of the
// stand shown there, with where its selection frame goes; cell 0 for
// anything else.
struct PictureCell {
    int32_t cell = 0;
    PicturePoint frame;
};
PictureCell PictureCellAt(int32_t x, int32_t y);

}  // namespace nusari
