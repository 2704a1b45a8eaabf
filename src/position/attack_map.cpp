#include "attack_map.h"

#include <cstdint>

namespace nusari {

namespace {

// A ray is classed by its direction as seen by the owner.
enum RayDirection : int { kForward = 0, kBackOrSide = 1, kForwardDiagonal = 2, kBackDiagonal = 3 };

using CellTable = uint8_t[129];

constexpr bool isOwn(int32_t v, int32_t side) { return isValidPieceCode(v) && sideOf(v) == side; }

// Cells a ray passes through. Tables per side: forward orthogonal, other
// orthogonal, diagonal.
constexpr bool transparent(int32_t v, int32_t side, int table) {
    if (v == kEmpty) return true;
    if (v == (side ^ kUpperSide) + kKing) return true;  // the enemy king
    if (!isOwn(v, side)) return false;
    const int32_t own = v - side;
    switch (table) {
        case 0: return own == kLowerRook || own == kLowerDragon || own == kLowerLance;
        case 1: return own == kLowerRook || own == kLowerDragon;
        default: return own == kLowerBishop || own == kLowerHorse;
    }
}

// Own pieces that step one square along the ray and so extend it by one.
constexpr bool extends(int32_t v, int32_t side, int direction) {
    if (!isOwn(v, side)) return false;
    const int32_t own = v - side;
    const bool promoted = isPromoted(own);
    switch (direction) {
        case kForward:
            return own == kLowerPawn || own == kLowerGold || own == kLowerSilver || promoted;
        case kBackOrSide: return own == kLowerGold || promoted;
        case kForwardDiagonal: return own == kLowerGold || own == kLowerSilver || promoted;
        default: return own == kLowerSilver || own == kLowerDragon;
    }
}

struct RayTables {
    // [side index][forward / other orthogonal / diagonal]
    CellTable pass[2][3];
    // [side index][RayDirection]
    CellTable extend[2][4];
};

constexpr RayTables makeRayTables() {
    RayTables t{};
    for (int s = 0; s < 2; ++s) {
        const int32_t side = s == 0 ? kLowerSide : kUpperSide;
        for (int32_t v = 0; v <= 128; ++v) {
            for (int k = 0; k < 3; ++k) t.pass[s][k][v] = transparent(v, side, k) ? 1 : 0;
            for (int k = 0; k < 4; ++k) t.extend[s][k][v] = extends(v, side, k) ? 1 : 0;
        }
    }
    return t;
}

constexpr RayTables kRayTables = makeRayTables();

// Cell values outside 0..128 are never transparent and never extend.
inline bool lookup(const CellTable& table, int32_t v) {
    return static_cast<uint32_t>(v) <= 128u && table[v] != 0;
}

// Walks one ray of up to eight cells; see buildAttackMap.
inline void ray(const Position& p, int32_t* count, int32_t from, int32_t d, const CellTable& pass,
                const CellTable& extend) {
    int32_t c = from;
#pragma GCC unroll 8
    for (int step = 0; step < 8; ++step) {
        c += d;
        ++count[c];
        const int32_t v = p[c];
        if (!lookup(pass, v)) {
            if (lookup(extend, v)) ++count[c + d];
            return;
        }
    }
}

// Adds the attacks of one piece of `side` (0 lower, 1 upper) standing on sq.
template <int S>
inline void addAttacks(const Position& p, AttackMap& map, int32_t* count, int32_t sq, int32_t own) {
    constexpr int32_t F = S == 0 ? -1 : 1;
    const auto& pass = kRayTables.pass[S];
    const auto& ext = kRayTables.extend[S];
    auto forwardRay = [&] { ray(p, count, sq, F, pass[0], ext[kForward]); };
    auto otherRookRays = [&] {
        ray(p, count, sq, -F, pass[1], ext[kBackOrSide]);
        ray(p, count, sq, -10, pass[1], ext[kBackOrSide]);
        ray(p, count, sq, 10, pass[1], ext[kBackOrSide]);
    };
    auto bishopRays = [&] {
        ray(p, count, sq, F - 10, pass[2], ext[kForwardDiagonal]);
        ray(p, count, sq, F + 10, pass[2], ext[kForwardDiagonal]);
        ray(p, count, sq, -F - 10, pass[2], ext[kBackDiagonal]);
        ray(p, count, sq, -F + 10, pass[2], ext[kBackDiagonal]);
    };
    switch (own) {
        case kLowerKing:
            for (const int32_t d : {-11, -10, -9, -1, 1, 9, 10, 11}) ++count[sq + d];
            (S == 0 ? map.lowerKing : map.upperKing) = sq;
            break;
        case kLowerGold:
        case kLowerProSilver:
        case kLowerProKnight:
        case kLowerProLance:
        case kLowerTokin:
            for (const int32_t d : {F, F - 10, F + 10, -10, 10, -F}) ++count[sq + d];
            break;
        case kLowerSilver:
            for (const int32_t d : {F, F - 10, F + 10, -F - 10, -F + 10}) ++count[sq + d];
            break;
        case kLowerKnight:
            // A knight on its last two ranks would jump off the padded board.
            for (const int32_t d : {2 * F - 10, 2 * F + 10}) {
                const int32_t t = sq + d;
                if (t >= 0 && t < kBoardCells) ++count[t];
            }
            break;
        case kLowerPawn:
            ++count[sq + F];
            break;
        case kLowerDragon:
            for (const int32_t d : {-11, -9, 9, 11}) ++count[sq + d];
            forwardRay();
            otherRookRays();
            break;
        case kLowerHorse:
            for (const int32_t d : {-10, -1, 1, 10}) ++count[sq + d];
            bishopRays();
            break;
        case kLowerRook:
            forwardRay();
            otherRookRays();
            break;
        case kLowerBishop:
            bishopRays();
            break;
        case kLowerLance:
            forwardRay();
            break;
        default:
            break;
    }
}

void clearOffBoard(int32_t* count) {
    for (int32_t i = 0; i <= 10; ++i) count[i] = 0;
    for (int32_t i = 20; i <= 90; i += 10) count[i] = 0;
    for (int32_t i = 100; i <= 110; ++i) count[i] = 0;
}

}  // namespace

void buildAttackMap(const Position& p, AttackMap& map) {
    // The whole arrays, so that the off-board cells a step touches are never
    // read uninitialised before they are cleared at the end.
    for (int32_t i = 0; i < kBoardCells; ++i) {
        map.lowerCount[i] = 0;
        map.upperCount[i] = 0;
    }
    map.pieceCount = 0;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        const int32_t v = p[sq];
        if (!isPiece(v)) continue;
        if (map.pieceCount < kMaxPieceSquares) map.pieceSquares[map.pieceCount++] = sq;
        if (!isValidPieceCode(v)) continue;
        if (sideOf(v) == kLowerSide) {
            addAttacks<0>(p, map, map.lowerCount, sq, v);
        } else {
            addAttacks<1>(p, map, map.upperCount, sq, v - kUpperSide);
        }
    }
    clearOffBoard(map.lowerCount);
    clearOffBoard(map.upperCount);
}

}  // namespace nusari
