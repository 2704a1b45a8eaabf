#include "think/book.h"

#include <algorithm>
#include <cstdlib>

#include "aik/aik_loader.h"
#include "position/legal_moves.h"
#include "position/regular_file.h"
#include "think/book_random.h"

namespace nusari {

namespace {

// Weights of a difference of one piece in hand in the second pass, by kind
// (index 1..7: rook, bishop, gold, silver, knight, lance, pawn). A major
// piece in hand changes the game about as much as four differing squares of
// the first pass's most-used squares, a pawn as much as one plain square.
constexpr int32_t kLowerHandWeight[8] = {0, 4, 4, 3, 3, 2, 2, 1};
constexpr int32_t kUpperHandWeight[8] = {0, 4, 4, 3, 3, 2, 2, 1};

constexpr int32_t kMaxSquareWeight = 13;

InducedMoves placeholders() {
    InducedMoves moves;
    for (int32_t r = 0; r < kInducedMoveCount; ++r) moves.move[r].weight = 80 - 10 * r;
    return moves;
}

int32_t recordCell(const BookRecord& r, int32_t k) { return r.byte[k]; }

int32_t handDistance(const BookRecord& r, const Position& p, int32_t base, const int32_t* weight) {
    int32_t sum = 0;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        sum += std::abs(recordCell(r, base + kind) - p[base + kind]) * weight[kind];
    }
    return sum;
}

// Inserts a move at rank k, shifting ranks k..last-1 down by one.
void insertAt(InducedMoves& moves, int32_t k, int32_t last, const InducedMove& m) {
    for (int32_t j = last; j > k; --j) moves.move[j] = moves.move[j - 1];
    moves.move[k] = m;
}

// Ranks a similar book move by its similarity.
void rankSimilar(InducedMoves& moves, const InducedMove& m) {
    for (int32_t j = 0; j < kInducedMoveCount; ++j) {
        if (moves.move[j].from != m.from || moves.move[j].to != m.to) continue;
        if (m.weight <= moves.move[j].weight) return;
        int32_t k = 0;
        while (k < j && moves.move[k].weight >= m.weight) ++k;
        insertAt(moves, k, j, m);
        return;
    }
    for (int32_t k = 0; k < kInducedMoveCount; ++k) {
        if (moves.move[k].weight < m.weight) {
            insertAt(moves, k, kInducedMoveCount - 1, m);
            return;
        }
    }
}

std::string messageFilePath(const EngineState& state) {
    return EngineCompanionPath(state.enginePath, state.profile.zyouseki, ".txk");
}

}  // namespace

bool BookRecordApplies(const Position& p, const BookRecord& record, const AttackMap& map) {
    const int32_t from = record.byte[kBookFromByte];
    const int32_t sq = record.byte[kBookToByte] % kPromotionOffset;
    if (!isSquare(sq)) return false;
    if (from < kPromotionOffset && (p[from] != recordCell(record, from) || p[from] == 0)) {
        return false;
    }
    if (p[sq] != recordCell(record, sq)) return false;
    if (map.lowerCount[sq] > record.byte[kBookLowerCountByte]) return false;
    if (map.upperCount[sq] < record.byte[kBookUpperCountByte]) return false;
    // A book is outside bytes: its move is played only when it is legal here.
    return isLegalMove(p, Side::Upper, Move{from, record.byte[kBookToByte]});
}

InducedMoves ProbeBook(EngineState& state, const Position& p) {
    InducedMoves moves = placeholders();
    int32_t squareWeight[256];
    for (int32_t& w : squareWeight) w = 1;
    AttackMap map;
    buildAttackMap(p, map);
    const BookTable& book = state.bookTable;

    auto bookMove = [](const BookRecord& r, int32_t weight) {
        InducedMove m;
        m.from = r.byte[kBookFromByte];
        m.to = r.byte[kBookToByte];
        m.weight = weight;
        m.messageNumber = (r.byte[kBookMessageByte] << 16) | (r.byte[kBookMessageByte + 1] << 8) |
                          r.byte[kBookMessageByte + 2];
        return m;
    };
    auto boardDifferences = [&](const BookRecord& r, bool weighted) {
        int32_t sum = 0;
        for (int32_t file = 1; file <= 9; ++file) {
            for (int32_t rank = 1; rank <= 9; ++rank) {
                const int32_t s = squareOf(file, rank);
                if (recordCell(r, s) != p[s]) sum += weighted ? squareWeight[s] : 1;
            }
        }
        return sum;
    };

    static constexpr int32_t kOnes[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    for (int32_t i = 0; i < kBookCapacity && !book.isFree(i); ++i) {
        const BookRecord& r = book.record[i];
        if (!BookRecordApplies(p, r, map)) continue;
        const int32_t similarity = 100 - handDistance(r, p, kLowerHandBase, kOnes) -
                                   handDistance(r, p, kUpperHandBase, kOnes) -
                                   boardDifferences(r, false);
        if (similarity == 100) {
            const int32_t weight = kBookMoveWeight + nextRandom(state.randomState) % 10;
            if (weight > moves.move[0].weight) moves.move[0] = bookMove(r, weight);
        } else if (similarity > 0) {
            int32_t& w = squareWeight[r.byte[kBookFromByte]];
            if (w < kMaxSquareWeight) ++w;
        }
    }

    if (moves.move[0].weight < kBookMoveWeight) {
        for (int32_t i = 0; i < kBookCapacity && !book.isFree(i); ++i) {
            const BookRecord& r = book.record[i];
            if (!BookRecordApplies(p, r, map)) continue;
            int32_t similarity = 100 - handDistance(r, p, kLowerHandBase, kLowerHandWeight) -
                                 handDistance(r, p, kUpperHandBase, kUpperHandWeight) -
                                 boardDifferences(r, true);
            if (state.profile.ransuu_ti != 0) {
                similarity -= nextRandom(state.randomState) % state.profile.ransuu_ti;
            }
            if (similarity > 0) rankSimilar(moves, bookMove(r, similarity));
        }
    }

    // The messages are extras: a missing or refused file leaves them empty.
    std::string txk;
    if (readRegularFile(messageFilePath(state), kMaxMessageFileBytes, txk) == FileRead::Ok) {
        ReadBookMessages(txk, moves);
    }
    return moves;
}

void ReadBookMessages(const std::string& raw, InducedMoves& moves) {
    // Text-mode reading: a CR before a LF is dropped.
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    size_t pos = 0;
    while (pos < text.size()) {
        // One line of at most 255 bytes; a longer one goes on as the next line.
        const size_t lineEnd = std::min(text.find('\n', pos), text.size());
        const size_t cut = std::min(lineEnd, pos + kMaxMessageBytes);
        std::string_view line(text.data() + pos, cut - pos);
        pos = cut < lineEnd ? cut : lineEnd + 1;
        const size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos || line.substr(first, 4) != "msg[") continue;

        int32_t number = 0;
        for (size_t d = first + 4; d < line.size() && d < first + 9 && line[d] >= '0' && line[d] <= '9'; ++d) {
            number = number * 10 + (line[d] - '0');
        }
        if (cut < lineEnd) pos = lineEnd + 1;  // the rest of a header line is ignored
        // The body runs to the next '}', at most 255 bytes; past that the
        // next byte is lost and reading goes on after it.
        std::string body;
        while (pos < text.size() && text[pos] != '}' && body.size() < kMaxMessageBytes) {
            body += text[pos++];
        }
        if (pos < text.size()) ++pos;
        for (InducedMove& m : moves.move) {
            if (m.messageNumber == number) m.message = body;
        }
    }
}

}  // namespace nusari
