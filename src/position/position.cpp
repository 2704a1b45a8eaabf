#include "position.h"

namespace nusari {

namespace {

// A hand index of a captured piece: base + kind; a captured king lands in
// the slot at base itself, as the capture rule has it.
int32_t handCell(int32_t base, int32_t captured) { return base + (captured & 7); }

}  // namespace

int32_t applyUpperMove(Position& p, const Move& m) {
    const int32_t sq = m.to % kPromotionOffset;
    const int32_t captured = p[sq];
    if (captured != kEmpty) ++p[handCell(kUpperHandBase, captured)];
    if (m.from >= kPromotionOffset) {
        --p[m.from];
        p[sq] = m.from - 87;
    } else {
        p[sq] = m.to >= kPromotionOffset ? p[m.from] + kPromotedFlag : p[m.from];
        p[m.from] = kEmpty;
    }
    return captured;
}

int32_t applyLowerMove(Position& p, const Move& m) {
    const int32_t sq = m.to % kPromotionOffset;
    const int32_t captured = p[sq];
    if (captured != kEmpty) ++p[handCell(kLowerHandBase, captured)];
    if (m.from >= kPromotionOffset) {
        --p[m.from];
        p[sq] = m.from - kLowerHandBase;  // the lower side's code is the kind
    } else {
        p[sq] = m.to >= kPromotionOffset ? p[m.from] + kPromotedFlag : p[m.from];
        p[m.from] = kEmpty;
    }
    return captured;
}

namespace {

void undoWithHand(Position& p, const Move& m, int32_t captured, int32_t handBase) {
    const int32_t sq = m.to % kPromotionOffset;
    if (m.from >= kPromotionOffset) {
        ++p[m.from];
    } else {
        p[m.from] = m.to >= kPromotionOffset ? p[sq] - kPromotedFlag : p[sq];
    }
    p[sq] = captured;
    if (captured != kEmpty) --p[handCell(handBase, captured)];
}

}  // namespace

void undoUpperMove(Position& p, const Move& m, int32_t captured) {
    undoWithHand(p, m, captured, kUpperHandBase);
}

void undoLowerMove(Position& p, const Move& m, int32_t captured) {
    undoWithHand(p, m, captured, kLowerHandBase);
}

int32_t applyMove(Position& p, Side mover, const Move& m) {
    return mover == Side::Upper ? applyUpperMove(p, m) : applyLowerMove(p, m);
}

void undoMove(Position& p, Side mover, const Move& m, int32_t captured) {
    if (mover == Side::Upper) {
        undoUpperMove(p, m, captured);
    } else {
        undoLowerMove(p, m, captured);
    }
}

Position flipPosition(const Position& p) {
    Position q;
    for (int32_t i = 0; i <= kLastBoardCell; ++i) {
        const int32_t v = p[flipSquare(i)];
        q[i] = v < 60 ? v ^ kUpperSide : v;
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        q[lowerHandCell(kind)] = p[upperHandCell(kind)];
        q[upperHandCell(kind)] = p[lowerHandCell(kind)];
    }
    q[kLowerTimeCell] = p[kLowerTimeCell];
    q[kUpperTimeCell] = p[kUpperTimeCell];
    return q;
}

int32_t flipFrom(int32_t from) {
    if (from > kLowerHandBase && from < kUpperHandBase) return from + kHandSideStep;
    if (from > kUpperHandBase && from < kPositionCells) return from - kHandSideStep;
    return flipSquare(from);
}

int32_t flipTo(int32_t to) {
    return to < kPromotionOffset ? flipSquare(to) : flipSquare(to - kPromotionOffset) + kPromotionOffset;
}

Move flipMove(const Move& m) { return Move{flipFrom(m.from), flipTo(m.to)}; }

}  // namespace nusari
