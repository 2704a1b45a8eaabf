#include "ui/board_hit.h"

namespace nusari {

namespace {

constexpr StandArea kStandAreas[] = {
    {kLowerHandBase + kRook, 646, 711, 260, 308, {645, 260}},
    {kLowerHandBase + kBishop, 715, 780, 260, 308, {715, 260}},
    {kLowerHandBase + kGold, 646, 711, 311, 359, {645, 310}},
    {kLowerHandBase + kSilver, 715, 780, 311, 359, {715, 310}},
    {kLowerHandBase + kKnight, 646, 711, 360, 410, {645, 360}},
    {kLowerHandBase + kLance, 715, 780, 362, 410, {715, 360}},
    {kLowerHandBase + kPawn, 646, 780, 413, 461, {645, 410}},
    // The upper stand holds the kinds where the picture draws them.
    {kUpperHandBase + kPawn, 16, 150, 30, 78, {15, 30}},
    {kUpperHandBase + kLance, 16, 81, 81, 129, {15, 80}},
    {kUpperHandBase + kKnight, 86, 150, 81, 129, {85, 80}},
    {kUpperHandBase + kSilver, 16, 81, 131, 179, {15, 130}},
    {kUpperHandBase + kGold, 86, 150, 131, 179, {85, 130}},
    {kUpperHandBase + kBishop, 16, 81, 181, 229, {15, 180}},
    {kUpperHandBase + kRook, 86, 150, 181, 229, {85, 180}},
};

}  // namespace

int32_t SquareAt(int32_t x, int32_t y) {
    if (x < 185 || x >= 614 || y < 35 || y >= 464) return 0;
    return squareOf((661 - x) / 48, (y + 15) / 48);
}

const StandArea* StandAreaAt(int32_t x, int32_t y) {
    for (const StandArea& area : kStandAreas) {
        if (x >= area.left && x <= area.right && y >= area.top && y <= area.bottom) return &area;
    }
    return nullptr;
}

PictureCell PictureCellAt(int32_t x, int32_t y) {
    if (const int32_t square = SquareAt(x, y); square != 0) return {square, SquareOrigin(square)};
    if (const StandArea* area = StandAreaAt(x, y)) return {area->handCell, area->frame};
    return {};
}

}  // namespace nusari
