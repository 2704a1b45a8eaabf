#include "remote/csa_move_line.h"

#include "position/csa_notation.h"
#include "position/legal_moves.h"

namespace nusari {

namespace {

// The board square of a real-game square, and back: the same map.
int32_t translated(int32_t square, bool humanIsSecond) {
    return humanIsSecond ? flipSquare(square) : square;
}

void appendSquare(std::string& line, int32_t square) {
    line += static_cast<char>('0' + fileOf(square));
    line += static_cast<char>('0' + rankOf(square));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr struct {
    const char* letters;
    int32_t code;
} kLetters[] = {
    {"OU", kLowerKing},      {"HI", kLowerRook},       {"KA", kLowerBishop},
    {"KI", kLowerGold},      {"GI", kLowerSilver},     {"KE", kLowerKnight},
    {"KY", kLowerLance},     {"FU", kLowerPawn},       {"RY", kLowerDragon},
    {"UM", kLowerHorse},     {"NG", kLowerProSilver},  {"NK", kLowerProKnight},
    {"NY", kLowerProLance},  {"TO", kLowerTokin},
};

// The move that brings `code` to `to`: a drop of an unpromoted piece from
// the hand, or the piece on `from` moving with or without promotion.
std::optional<Move> moveFor(const Position& p, int32_t from, int32_t to, int32_t code) {
    if (from == 0) {
        if (code < kLowerRook || code > kLowerPawn) return std::nullopt;
        return Move{kLowerHandBase + code, to};
    }
    if (!isSquare(from)) return std::nullopt;
    const int32_t piece = p[from];
    if (piece == code) return Move{from, to};
    if (isValidPieceCode(piece) && isLowerPiece(piece) && !isPromoted(piece) &&
        piece != kLowerKing && piece != kLowerGold && piece + kPromotedFlag == code) {
        return Move{from, to + kPromotionOffset};
    }
    return std::nullopt;
}

}  // namespace

std::string EncodeMoveLine(const Move& m, int32_t pieceCode, int32_t plyCount,
                           bool humanIsSecond) {
    std::string line(1, plyCount % 2 != 0 ? '+' : '-');
    if (m.from > kPromotionOffset) {
        line += "00";
    } else {
        appendSquare(line, translated(m.from, humanIsSecond));
    }
    appendSquare(line, translated(destinationOf(m), humanIsSecond));
    line += csaPieceName(pieceCode);
    line += '\n';
    return line;
}

int32_t LowerCodeOfLetters(std::string_view letters) {
    for (const auto& entry : kLetters) {
        if (letters == entry.letters) return entry.code;
    }
    return -1;
}

std::optional<Move> DecodeMoveBody(std::string_view body, const Position& p, bool humanIsSecond) {
    if (body.size() < 6) return std::nullopt;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!isDigit(body[i])) return std::nullopt;
    }
    int32_t from = 10 * (body[0] - '0') + (body[1] - '0');
    int32_t to = 10 * (body[2] - '0') + (body[3] - '0');
    if (!isSquare(to)) return std::nullopt;
    to = translated(to, humanIsSecond);
    if (from != 0) from = translated(from, humanIsSecond);
    const int32_t code = LowerCodeOfLetters(body.substr(4, 2));
    if (code < 0) return std::nullopt;
    const std::optional<Move> m = moveFor(p, from, to, code);
    if (!m || !isLegalMove(p, Side::Lower, *m)) return std::nullopt;
    return m;
}

}  // namespace nusari
