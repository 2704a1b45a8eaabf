#include "attack_map.h"

#include <cstdint>
#include <cstring>

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

// Whether a code attacks along rays: rook, bishop, lance, dragon, horse.
constexpr bool isSliderCode(int32_t own) {
    return own == kLowerRook || own == kLowerBishop || own == kLowerLance || own == kLowerDragon ||
           own == kLowerHorse;
}

// Adds `Sign` to the cells one piece of `side` (0 lower, 1 upper) on sq
// attacks by stepping: everything but the rays.
template <int S, int Sign>
inline void addSteps(int32_t* count, int32_t sq, int32_t own) {
    constexpr int32_t F = S == 0 ? -1 : 1;
    switch (own) {
        case kLowerKing:
            for (const int32_t d : {-11, -10, -9, -1, 1, 9, 10, 11}) count[sq + d] += Sign;
            break;
        case kLowerGold:
        case kLowerProSilver:
        case kLowerProKnight:
        case kLowerProLance:
        case kLowerTokin:
            for (const int32_t d : {F, F - 10, F + 10, -10, 10, -F}) count[sq + d] += Sign;
            break;
        case kLowerSilver:
            for (const int32_t d : {F, F - 10, F + 10, -F - 10, -F + 10}) count[sq + d] += Sign;
            break;
        case kLowerKnight:
            // A knight on its last two ranks would jump off the padded board.
            for (const int32_t d : {2 * F - 10, 2 * F + 10}) {
                const int32_t t = sq + d;
                if (t >= 0 && t < kBoardCells) count[t] += Sign;
            }
            break;
        case kLowerPawn:
            count[sq + F] += Sign;
            break;
        case kLowerDragon:
            for (const int32_t d : {-11, -9, 9, 11}) count[sq + d] += Sign;
            break;
        case kLowerHorse:
            for (const int32_t d : {-10, -1, 1, 10}) count[sq + d] += Sign;
            break;
        default:
            break;
    }
}

// Adds the rays of one piece of `side` (0 lower, 1 upper) on sq.
template <int S>
inline void addRays(const Position& p, int32_t* count, int32_t sq, int32_t own) {
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
        case kLowerRook:
        case kLowerDragon:
            forwardRay();
            otherRookRays();
            break;
        case kLowerBishop:
        case kLowerHorse:
            bishopRays();
            break;
        case kLowerLance:
            forwardRay();
            break;
        default:
            break;
    }
}

// Adds or takes away (`Sign`) the steps of the piece code v on sq.
template <int Sign>
inline void stepsOf(int32_t* lower, int32_t* upper, int32_t sq, int32_t v) {
    if (sideOf(v) == kLowerSide) {
        addSteps<0, Sign>(lower, sq, v);
    } else {
        addSteps<1, Sign>(upper, sq, v - kUpperSide);
    }
}

inline void raysOf(const Position& p, int32_t* lower, int32_t* upper, int32_t sq) {
    const int32_t v = p[sq];
    if (sideOf(v) == kLowerSide) {
        addRays<0>(p, lower, sq, v);
    } else {
        addRays<1>(p, upper, sq, v - kUpperSide);
    }
}

// Zeroes the walls: file 0, the rank-0 cell of files 2..9, and file 10.
void clearOffBoard(int32_t* count) {
    for (int32_t i = 0; i < kFirstSquare; ++i) count[i] = 0;
    for (int32_t i = squareOf(2, 0); i <= squareOf(9, 0); i += kLeft) count[i] = 0;
    for (int32_t i = squareOf(10, 0); i <= kLastBoardCell; ++i) count[i] = 0;
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
        if (v == kLowerKing) map.lowerKing = sq;
        if (v == kUpperKing) map.upperKing = sq;
        stepsOf<1>(map.lowerCount, map.upperCount, sq, v);
        raysOf(p, map.lowerCount, map.upperCount, sq);
    }
    clearOffBoard(map.lowerCount);
    clearOffBoard(map.upperCount);
}

void buildAttackBase(const Position& p, AttackBase& base) {
    std::memset(base.lowerCount, 0, sizeof base.lowerCount);
    std::memset(base.upperCount, 0, sizeof base.upperCount);
    base.lowerKing = 0;
    base.upperKing = 0;
    base.pieceCount = 0;
    base.sliderCount = 0;
    base.usable = false;
    int32_t lowerKings = 0;
    int32_t upperKings = 0;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        const int32_t v = p[sq];
        if (!isSquare(sq)) {
            if (isPiece(v)) return;  // a piece on the padding
            continue;
        }
        if (v == kEmpty) continue;
        if (!isValidPieceCode(v)) return;
        base.pieceSquares[base.pieceCount++] = sq;
        if (v == kLowerKing) {
            base.lowerKing = sq;
            ++lowerKings;
        }
        if (v == kUpperKing) {
            base.upperKing = sq;
            ++upperKings;
        }
        stepsOf<1>(base.lowerCount, base.upperCount, sq, v);
        if (isSliderCode(v & ~kUpperSide)) base.sliders[base.sliderCount++] = sq;
    }
    int32_t below = 0;
    for (int32_t cell = 0; cell < kBoardCells; ++cell) {
        base.squaresBefore[cell] = below;
        if (below < base.pieceCount && base.pieceSquares[below] == cell) ++below;
    }
    base.usable = lowerKings <= 1 && upperKings <= 1;
}

void updateAttackMap(const AttackBase& base, const Position& p, int32_t from, int32_t to,
                     int32_t moved, int32_t captured, AttackMap& map) {
    std::memcpy(map.lowerCount, base.lowerCount, sizeof map.lowerCount);
    std::memcpy(map.upperCount, base.upperCount, sizeof map.upperCount);
    const bool boardMove = from < kBoardCells;
    const int32_t arrived = p[to];
    if (boardMove) stepsOf<-1>(map.lowerCount, map.upperCount, from, moved);
    if (captured != kEmpty) stepsOf<-1>(map.lowerCount, map.upperCount, to, captured);
    stepsOf<1>(map.lowerCount, map.upperCount, to, arrived);

    // The rays of every slider where it stands now.
    for (int32_t i = 0; i < base.sliderCount; ++i) {
        const int32_t sq = base.sliders[i];
        if (sq != to && !(boardMove && sq == from)) raysOf(p, map.lowerCount, map.upperCount, sq);
    }
    if (isSliderCode(arrived & ~kUpperSide)) raysOf(p, map.lowerCount, map.upperCount, to);
    clearOffBoard(map.lowerCount);
    clearOffBoard(map.upperCount);

    // The occupied squares in order: `from` leaves, `to` joins unless taken.
    int32_t* squares = map.pieceSquares;
    int32_t count = base.pieceCount;
    std::memcpy(squares, base.pieceSquares, sizeof(int32_t) * static_cast<std::size_t>(count));
    if (boardMove) {
        const int32_t at = base.squaresBefore[from];
        std::memmove(squares + at, squares + at + 1, sizeof(int32_t) * static_cast<std::size_t>(count - at - 1));
        --count;
    }
    if (captured == kEmpty) {
        const int32_t at = base.squaresBefore[to] - (boardMove && from < to ? 1 : 0);
        std::memmove(squares + at + 1, squares + at, sizeof(int32_t) * static_cast<std::size_t>(count - at));
        squares[at] = to;
        ++count;
    }
    map.pieceCount = count;

    map.lowerKing = base.lowerKing;
    map.upperKing = base.upperKing;
    if (captured == kLowerKing) map.lowerKing = 0;
    if (captured == kUpperKing) map.upperKing = 0;
    if (arrived == kLowerKing) map.lowerKing = to;
    if (arrived == kUpperKing) map.upperKing = to;
}

}  // namespace nusari
