#include "position/position_check.h"

#include "position/legal_moves.h"

namespace nusari {

namespace {

const char* const kKindNames[8] = {"玉", "飛", "角", "金", "銀", "桂", "香", "歩"};

const char* sideName(Side side) {
    return side == Side::Lower ? "先手" : "後手";
}

// Squares hold a piece code or nothing, the padding is off the board and
// the hands hold counts a SFEN can say.
bool cellsAreSound(const Position& p) {
    for (int32_t cell = 0; cell <= kLastBoardCell; ++cell) {
        const int32_t v = p[cell];
        if (isSquare(cell) ? v != kEmpty && !isValidPieceCode(v) : v != kOffBoard) return false;
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        for (const int32_t cell : {lowerHandCell(kind), upperHandCell(kind)}) {
            // More than a set holds is told as such below.
            if (p[cell] < 0 || p[cell] > kPiecesPerSet[kPawn]) return false;
        }
    }
    return true;
}

// False for an unpromoted pawn or lance on its side's last rank and a
// knight on its last two: they have no move left.
bool canMoveAgain(int32_t code, int32_t square) {
    if (isPromoted(code)) return true;
    const int32_t kind = kindOf(code);
    const int32_t ranksAhead = isLowerPiece(code) ? rankOf(square) - 1 : 9 - rankOf(square);
    if (kind == kPawn || kind == kLance) return ranksAhead >= 1;
    if (kind == kKnight) return ranksAhead >= 2;
    return true;
}

}  // namespace

std::optional<std::string> CheckSetUpPosition(const Position& p, Side toMove) {
    if (!cellsAreSound(p)) return "局面に駒でない値があります";

    std::array<int32_t, 8> perKind{};
    int32_t kings[2] = {0, 0};
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (!isSquare(sq) || p[sq] == kEmpty) continue;
        ++perKind[static_cast<std::size_t>(kindOf(p[sq]))];
        if (kindOf(p[sq]) == kKing) ++kings[isLowerPiece(p[sq]) ? 0 : 1];
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        perKind[static_cast<std::size_t>(kind)] += p[lowerHandCell(kind)] + p[upperHandCell(kind)];
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        const auto k = static_cast<std::size_t>(kind);
        if (perKind[k] > kPiecesPerSet[k]) return std::string(kKindNames[k]) + "が多すぎます";
    }
    for (const Side side : {Side::Lower, Side::Upper}) {
        if (kings[side == Side::Lower ? 0 : 1] > 1) {
            return std::string(sideName(side)) + "の玉が二枚以上あります";
        }
    }
    const Side waiting = opponentOf(toMove);
    if (kings[waiting == Side::Lower ? 0 : 1] == 0) {
        return std::string(sideName(waiting)) + "の玉がありません";
    }

    for (int32_t file = 1; file <= 9; ++file) {
        for (const int32_t pawn : {int32_t{kLowerPawn}, int32_t{kUpperPawn}}) {
            int32_t count = 0;
            for (int32_t rank = 1; rank <= 9; ++rank) count += p[squareOf(file, rank)] == pawn;
            if (count > 1) return "二歩があります";
        }
    }
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq) && p[sq] != kEmpty && !canMoveAgain(p[sq], sq)) {
            return "行き所のない駒があります";
        }
    }
    if (isInCheck(p, waiting)) return "手番でない側の玉に王手がかかっています";
    return std::nullopt;
}

}  // namespace nusari
