#include "records/game_record.h"

#include "position/position.h"

namespace nusari {

namespace {

// The first byte of a two-byte CP932 character.
bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
}

}  // namespace

void setName(NameField& field, std::string_view cp932) {
    field.fill('\0');
    std::size_t kept = 0;
    std::size_t i = 0;
    while (i < cp932.size() && cp932[i] != '\0') {
        const std::size_t width = isLeadByte(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
        // A lead byte with no second byte is no character either.
        if (kept + width > kMaxNameBytes || i + width > cp932.size()) break;
        if (width == 2 && cp932[i + 1] == '\0') break;
        for (std::size_t k = 0; k < width; ++k) field[kept++] = cp932[i++];
    }
}

std::string_view nameOf(const NameField& field) {
    std::size_t n = 0;
    while (n < kMaxNameBytes && field[n] != '\0') ++n;
    return std::string_view(field.data(), n);
}

PlySquares plySquares(const Position& before, const Position& after) {
    PlySquares ply;
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            const int32_t s = squareOf(file, rank);
            if (before[s] == after[s]) continue;
            if (after[s] == kEmpty && ply.from == 0) {
                ply.from = s;
            } else if (ply.to == 0) {
                ply.to = s;
            }
        }
    }
    return ply;
}

Side moverOfPly(const GameRecord& record, int32_t ply) {
    const bool firstPlayer = ply % 2 == 1;
    const bool firstIsLower = record.humanIsSecond == 0;
    return firstPlayer == firstIsLower ? Side::Lower : Side::Upper;
}

bool senteMovesFirst(const GameRecord& record) {
    return (record.humanIsSecond != 0) == (record.boardTurned != 0);
}

Position standardEntry(const GameRecord& record, int32_t entry) {
    Position p = record.history[static_cast<std::size_t>(entry)];
    if (record.boardTurned != 0) p = flipPosition(p);
    p[kLowerTimeCell] = 0;
    p[kUpperTimeCell] = 0;
    return p;
}

Side standardSideToMove(const GameRecord& record, int32_t plies) {
    const bool senteToMove = (plies % 2 == 0) == senteMovesFirst(record);
    return senteToMove ? Side::Lower : Side::Upper;
}

int32_t standardSquare(const GameRecord& record, int32_t square) {
    return record.boardTurned != 0 && square != 0 ? flipSquare(square) : square;
}

int32_t timeCellOfPly(const GameRecord& record, int32_t ply) {
    return moverOfPly(record, ply) == Side::Lower ? kLowerTimeCell : kUpperTimeCell;
}

Move moveOfPly(const Position& before, const Position& after, Side mover) {
    const PlySquares ply = plySquares(before, after);
    if (ply.to == 0) return Move{0, 0};
    const int32_t arrived = after[ply.to];
    if (ply.from == 0) {
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        return Move{base + kindOf(arrived), ply.to};
    }
    const bool promotes = isPromoted(arrived) && !isPromoted(before[ply.from]);
    return Move{ply.from, ply.to + (promotes ? kPromotionOffset : 0)};
}

}  // namespace nusari
