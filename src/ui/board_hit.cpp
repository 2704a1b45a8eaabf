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

}  // namespace nusari
