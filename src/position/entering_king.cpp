#include "position/entering_king.h"

#include "position/legal_moves.h"

namespace nusari {

namespace {

bool inEnemyCamp(int32_t square, Side side) {
    const int32_t rank = rankOf(square);
    return side == Side::Lower ? rank <= 3 : rank >= 7;
}

int32_t pointsOf(int32_t kind) { return kind == kRook || kind == kBishop ? 5 : 1; }

}  // namespace

bool isValidDeclaration(const Position& p, Side side, std::string& why) {
    const int32_t sideBits = static_cast<int32_t>(side);
    const int32_t king = findKing(p, side);
    if (king == 0 || !inEnemyCamp(king, side)) {
        why = "the king is not in the enemy camp";
        return false;
    }
    if (isInCheck(p, side)) {
        why = "the king is in check";
        return false;
    }
    int32_t pieces = 0;
    int32_t points = 0;
    for (int32_t square = kFirstSquare; square <= kLastSquare; ++square) {
        const int32_t cell = p[square];
        if (!isSquare(square) || !isValidPieceCode(cell) || sideOf(cell) != sideBits ||
            kindOf(cell) == kKing || !inEnemyCamp(square, side)) {
            continue;
        }
        ++pieces;
        points += pointsOf(kindOf(cell));
    }
    const int32_t handBase = side == Side::Lower ? kLowerHandBase : kUpperHandBase;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        if (p[handBase + kind] > 0) points += p[handBase + kind] * pointsOf(kind);
    }
    if (pieces < 10) {
        why = std::to_string(pieces) + " pieces in the enemy camp, 10 needed";
        return false;
    }
    const int32_t needed = side == Side::Lower ? 28 : 27;
    if (points < needed) {
        why = std::to_string(points) + " points, " + std::to_string(needed) + " needed";
        return false;
    }
    return true;
}

}  // namespace nusari
