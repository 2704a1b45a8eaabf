#include "setup.h"

#include <initializer_list>

namespace nusari {

namespace {

struct Placement {
    int32_t kind;
    std::initializer_list<int32_t> squares;
};

// Squares of the lower side's full army; the upper side's are the half-turn.
const Placement kFullArmy[] = {
    {kKing, {59}},     {kRook, {28}},     {kBishop, {88}},
    {kGold, {49, 69}}, {kSilver, {39, 79}}, {kKnight, {29, 89}},
    {kLance, {19, 99}}, {kPawn, {17, 27, 37, 47, 57, 67, 77, 87, 97}},
};

void place(Position& p, int32_t side, const Placement& placement) {
    for (const int32_t sq : placement.squares) p[sq] = side + placement.kind;
}

// Places the full army of `side`, leaving out the kinds in `without`.
void placeFullArmy(Position& p, int32_t side, std::initializer_list<int32_t> without) {
    for (const Placement& placement : kFullArmy) {
        bool skip = false;
        for (const int32_t k : without) skip = skip || k == placement.kind;
        if (skip) continue;
        for (const int32_t sq : placement.squares) {
            p[side == kUpperSide ? flipSquare(sq) : sq] = side + placement.kind;
        }
    }
}

void placeAll(Position& p, int32_t side, std::initializer_list<Placement> placements) {
    for (const Placement& placement : placements) place(p, side, placement);
}

void placeHand(Position& p, int32_t side, std::initializer_list<std::pair<int32_t, int32_t>> hand) {
    const int32_t base = side == kUpperSide ? kUpperHandBase : kLowerHandBase;
    for (const auto& [kind, count] : hand) p[base + kind] = count;
}

}  // namespace

void setupPosition(Position& p, int32_t preset) {
    for (int32_t i = 0; i <= kLastBoardCell; ++i) p[i] = kOffBoard;
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) p[squareOf(file, rank)] = kEmpty;
    }
    for (int32_t i = kBoardCells; i < kPositionCells; ++i) p[i] = 0;

    constexpr int32_t L = kLowerSide;
    constexpr int32_t U = kUpperSide;
    switch (preset) {
        case kPresetEven:
            placeFullArmy(p, L, {});
            placeFullArmy(p, U, {});
            break;
        case kPresetNoRook:
            placeFullArmy(p, L, {kRook});
            placeFullArmy(p, U, {});
            break;
        case kPresetNoBishop:
            placeFullArmy(p, L, {kBishop});
            placeFullArmy(p, U, {});
            break;
        case kPresetTwoPieces:
            placeFullArmy(p, L, {kRook, kBishop});
            placeFullArmy(p, U, {});
            break;
        case kPresetYagura:
            placeAll(p, L,
                     {{kKing, {88}}, {kRook, {28}}, {kBishop, {68}}, {kGold, {67, 78}},
                      {kSilver, {37, 77}}, {kKnight, {29, 89}}, {kLance, {19, 99}},
                      {kPawn, {17, 27, 36, 47, 56, 66, 76, 87, 97}}});
            placeAll(p, U,
                     {{kKing, {22}}, {kRook, {82}}, {kBishop, {64}}, {kGold, {32, 43}},
                      {kSilver, {33, 62}}, {kKnight, {21, 81}}, {kLance, {11, 91}},
                      {kPawn, {13, 23, 34, 44, 54, 63, 74, 84, 93}}});
            break;
        case kPresetStaticVsRanging:
            placeAll(p, L,
                     {{kKing, {78}}, {kRook, {28}}, {kBishop, {88}}, {kGold, {49, 69}},
                      {kSilver, {48, 79}}, {kKnight, {29, 89}}, {kLance, {19, 99}},
                      {kPawn, {17, 26, 37, 47, 56, 67, 76, 87, 97}}});
            placeAll(p, U,
                     {{kKing, {51}}, {kRook, {42}}, {kBishop, {22}}, {kGold, {41, 61}},
                      {kSilver, {32, 72}}, {kKnight, {21, 81}}, {kLance, {11, 91}},
                      {kPawn, {13, 23, 34, 44, 53, 63, 73, 83, 94}}});
            break;
        case kPresetSidePawn:
            placeAll(p, L,
                     {{kKing, {59}}, {kRook, {36}}, {kBishop, {88}}, {kGold, {49, 78}},
                      {kSilver, {39, 79}}, {kKnight, {29, 89}}, {kLance, {19, 99}},
                      {kPawn, {17, 37, 47, 57, 67, 76, 87, 97}}});
            placeHand(p, L, {{kPawn, 2}});
            placeAll(p, U,
                     {{kKing, {51}}, {kRook, {85}}, {kBishop, {33}}, {kGold, {32, 61}},
                      {kSilver, {22, 71}}, {kKnight, {21, 81}}, {kLance, {11, 91}},
                      {kPawn, {13, 43, 53, 63, 73, 93}}});
            placeHand(p, U, {{kPawn, 2}});
            break;
        case kPresetDoubleRanging:
            placeAll(p, L,
                     {{kKing, {59}}, {kRook, {78}}, {kBishop, {88}}, {kGold, {49, 69}},
                      {kSilver, {39, 79}}, {kKnight, {29, 89}}, {kLance, {19, 99}},
                      {kPawn, {17, 27, 37, 47, 57, 67, 75, 87, 97}}});
            placeAll(p, U,
                     {{kKing, {51}}, {kRook, {32}}, {kBishop, {22}}, {kGold, {41, 61}},
                      {kSilver, {31, 71}}, {kKnight, {21, 81}}, {kLance, {11, 91}},
                      {kPawn, {13, 23, 35, 43, 53, 63, 73, 83, 93}}});
            break;
        case kPresetShifu:
            placeAll(p, L, {{kKing, {99}}, {kGold, {23}}});
            placeHand(p, L, {{kPawn, 4}});
            placeAll(p, U, {{kKing, {11}}, {kGold, {87}}});
            placeHand(p, U, {{kPawn, 4}});
            break;
        case kPresetNoPawns:
            placeFullArmy(p, L, {kPawn});
            placeFullArmy(p, U, {kPawn});
            break;
        case kPresetKingsOnly: {
            const std::initializer_list<std::pair<int32_t, int32_t>> hand = {
                {kGold, 2}, {kSilver, 2}, {kKnight, 2}, {kLance, 2}, {kPawn, 4}};
            placeAll(p, L, {{kKing, {58}}});
            placeHand(p, L, hand);
            placeAll(p, U, {{kKing, {52}}});
            placeHand(p, U, hand);
            break;
        }
        case kPresetTaian:
            placeFullArmy(p, L, {kRook, kBishop});
            placeFullArmy(p, U, {kRook, kBishop});
            break;
        default:
            break;
    }
}

}  // namespace nusari
