// The KIF grammar: header lines, an optional board diagram and the move
// table in kanji. Offsets are byte offsets into a CP932 line.
#include <string>
#include <string_view>

#include "position/text_encoding.h"
#include "records/record_messages.h"
#include "records/record_readers.h"

namespace nusari {

namespace {

constexpr std::size_t kMaxLineBytes = 254;
constexpr int32_t kPromoteMark = 8;  // 成 in the piece table
constexpr int32_t kDropMark = 11;    // 打
constexpr int32_t kNoPiece = 128;

// The CP932 texts the grammar matches, converted once from UTF-8.
struct KifTexts {
    std::string pieces = toCp932("玉飛角金銀桂香歩成龍馬打全圭杏と");
    std::string king = toCp932("王");
    std::string dragon = toCp932("竜");
    std::string numerals = toCp932("　一二三四五六七八九十");
    std::string files = toCp932("同１２３４５６７８９");
    std::string notPromoted = toCp932("不成");
    std::string handicap = toCp932("手合割：");
    std::string handicaps[4] = {toCp932("手合割：平手"), toCp932("手合割：飛車落ち"),
                                toCp932("手合割：角落ち"), toCp932("手合割：二枚落ち")};
    std::string first = toCp932("先手：");
    std::string second = toCp932("後手：");
    std::string secondHandNone = toCp932("後手の持駒：なし");
    std::string secondHand = toCp932("後手の持駒：");
    std::string firstHandNone = toCp932("先手の持駒：なし");
    std::string firstHand = toCp932("先手の持駒：");
    std::string moveTable = toCp932("手数----指手---------消費時間--");
};

const KifTexts& texts() {
    static const KifTexts t;
    return t;
}

// Index of the two bytes at `i` among the two-byte entries of `table`, or -1.
int32_t entryAt(std::string_view line, std::size_t i, std::string_view table) {
    if (i + 1 >= line.size()) return -1;
    for (std::size_t e = 0; e + 1 < table.size(); e += 2) {
        if (line[i] == table[e] && line[i + 1] == table[e + 1]) return static_cast<int32_t>(e / 2);
    }
    return -1;
}

// The piece table's code at `i`: 0..15 (8 成, 11 打), or 128. 王 reads as
// 玉 and 竜, the common form of 龍, as 龍.
int32_t pieceAt(std::string_view line, std::size_t i) {
    const KifTexts& t = texts();
    const int32_t e = entryAt(line, i, t.pieces);
    if (e >= 0) return e;
    if (entryAt(line, i, t.king) == 0) return kLowerKing;
    if (entryAt(line, i, t.dragon) == 0) return kLowerDragon;
    return kNoPiece;
}

// 一..九 give 1..9, 十 10, anything else (the full-width space too) 0.
int32_t numeralEntryAt(std::string_view line, std::size_t i) {
    const int32_t e = entryAt(line, i, texts().numerals);
    return e > 0 ? e : 0;
}

// A count in a hand line: 一..九, 十 followed by 一..九 (11..19), 十
// alone (10); no numeral counts one.
int32_t countAt(std::string_view line, std::size_t i) {
    const int32_t n = numeralEntryAt(line, i);
    if (n == 0) return 1;
    if (n < 10) return n;
    const int32_t units = numeralEntryAt(line, i + 2);
    return units >= 1 && units <= 9 ? 10 + units : 10;
}

// A square's rank: exactly one of 一..九, else 0.
int32_t rankAt(std::string_view line, std::size_t i) {
    const int32_t n = numeralEntryAt(line, i);
    return n <= 9 ? n : 0;
}

bool startsWith(std::string_view line, std::string_view prefix, std::size_t at = 0) {
    return at <= line.size() && line.substr(at, prefix.size()) == prefix;
}

int32_t digitAt(std::string_view line, std::size_t i) {
    return i < line.size() && line[i] >= '1' && line[i] <= '9' ? line[i] - '0' : 0;
}

// A piece that can promote: rook, bishop, silver, knight, lance, pawn.
bool canPromote(int32_t code) {
    return code == kRook || code == kBishop || (code >= kSilver && code <= kPawn);
}

struct KifMove {
    int32_t to = 0;
    int32_t piece = kNoPiece;  // the lower side's code of the piece after the move
    int32_t origin = 0;        // 0 for a drop
};

class KifReader {
  public:
    KifReader(TextInput& in, GameRecord& record) : in_(in), record_(record) {}

    ReadOutcome run() {
        std::string line;
        bool more = true;
        while (more && outcome_.error == nullptr) {
            more = readLine(line);
            if (outcome_.error != nullptr) break;
            outcome_.error = inMoveTable_ ? moveLine(line) : headerLine(line);
        }
        outcome_.plies = plies_;
        return outcome_;
    }

  private:
    // Reads one line without its line feed; false when the input ended.
    bool readLine(std::string& line) {
        line.clear();
        for (int c = in_.get(); c != '\n'; c = in_.get()) {
            if (c == kEndOfInput) return false;
            if (line.size() == kMaxLineBytes) {
                outcome_.error = kKifLongLineMessage;
                return false;
            }
            line += static_cast<char>(c);
        }
        return true;
    }

    const char* headerLine(std::string_view line) {
        const KifTexts& t = texts();
        Position& start = record_.history[0];
        if (startsWith(line, t.handicap)) {
            for (int32_t k = 0; k < 4; ++k) {
                if (!startsWith(line, t.handicaps[k])) continue;
                outcome_.preset = kPresetEven + k;
                setupPosition(start, outcome_.preset);
                return nullptr;
            }
            return kKifHandicapMessage;
        }
        if (startsWith(line, t.first)) {
            setName(record_.firstName, line.substr(t.first.size()));
        } else if (startsWith(line, t.second)) {
            setName(record_.secondName, line.substr(t.second.size()));
        } else if (startsWith(line, t.secondHandNone)) {
            clearHand(kUpperHandBase);
        } else if (startsWith(line, t.secondHand)) {
            readHand(line, t.secondHand.size(), kUpperHandBase);
        } else if (startsWith(line, t.firstHandNone)) {
            clearHand(kLowerHandBase);
        } else if (startsWith(line, t.firstHand)) {
            readHand(line, t.firstHand.size(), kLowerHandBase);
        } else if (startsWith(line, "|")) {
            return boardRow(line);
        } else if (startsWith(line, t.moveTable)) {
            inMoveTable_ = true;
        }
        return nullptr;
    }

    void clearHand(int32_t base) {
        for (int32_t kind = kRook; kind <= kPawn; ++kind) record_.history[0][base + kind] = 0;
    }

    // Every piece kanji after the label sets the count of its kind.
    void readHand(std::string_view line, std::size_t from, int32_t base) {
        std::size_t i = from;
        while (i + 1 < line.size()) {
            const int32_t piece = pieceAt(line, i);
            if (piece == kNoPiece) {
                ++i;
                continue;
            }
            if (piece >= kRook && piece <= kPawn) {
                record_.history[0][base + piece] = countAt(line, i + 2);
            }
            i += 3;
        }
    }

    // One rank of the diagram: "|", nine cells of a side byte and a kanji,
    // "|" and the rank numeral at byte 29.
    const char* boardRow(std::string_view line) {
        const int32_t rank = rankAt(line, 29);
        if (rank == 0) return kKifBoardRowMessage;
        for (std::size_t c = 0; c < 9; ++c) {
            int32_t cell = pieceAt(line, 3 * c + 2);
            if (!isValidPieceCode(cell)) {
                cell = kEmpty;  // ・, 成, 打 and every other kanji
            } else if (line[3 * c + 1] == 'v') {
                cell += kUpperSide;
            }
            record_.history[0][squareOf(9 - static_cast<int32_t>(c), rank)] = cell;
        }
        return nullptr;
    }

    const char* moveLine(std::string_view line) {
        const std::size_t start = line.find_first_not_of(" 0123456789");
        if (start == std::string_view::npos) return nullptr;
        line.remove_prefix(start);
        if (line[0] == '*') return nullptr;
        const int32_t file = entryAt(line, 0, texts().files);
        if (file < 0) return nullptr;

        KifMove move;
        if (!parseMove(line, file, move)) return kKifMoveMessage;
        if (plies_ >= kMaxRecordPlies) return kKifTooLongMessage;
        applyMove(move);
        return nullptr;
    }

    // Reads destination, piece and origin; false for a line that does not
    // follow the notation (unknown kanji, missing digits, 同 with no
    // earlier destination).
    bool parseMove(std::string_view line, int32_t file, KifMove& move) {
        if (file == 0) {
            move.to = lastDestination_;
        } else {
            const int32_t rank = rankAt(line, 2);
            move.to = rank == 0 ? 0 : squareOf(file, rank);
        }
        if (move.to == 0) return false;
        lastDestination_ = move.to;

        int32_t piece = pieceAt(line, 4);
        const int32_t mark = pieceAt(line, 6);
        std::size_t originAt = 7;
        if (piece == kPromoteMark) {
            // A promoted piece in two kanji, such as 成銀.
            if (!canPromote(mark)) return false;
            piece = kPromoteMark + mark;
            originAt = 9;
        } else if (mark == kDropMark) {
            move.piece = piece;
            return piece >= kRook && piece <= kPawn;
        } else if (mark == kPromoteMark) {
            if (!canPromote(piece)) return false;
            piece += kPromoteMark;
            originAt = 9;
        } else if (startsWith(line, texts().notPromoted, 6)) {
            originAt = 11;  // 不成: the piece stays as it is
        } else if (mark != kNoPiece) {
            return false;
        }
        if (!isValidPieceCode(piece)) return false;
        const int32_t originFile = digitAt(line, originAt);
        const int32_t originRank = digitAt(line, originAt + 1);
        if (originFile == 0 || originRank == 0) return false;
        move.piece = piece;
        move.origin = squareOf(originFile, originRank);
        return true;
    }

    // Odd plies are the first player's (the lower side), even plies the
    // second player's (the upper side).
    void applyMove(const KifMove& move) {
        ++plies_;
        const Position& before = record_.history[plies_ - 1];
        Position& entry = record_.history[plies_];
        entry = before;
        const bool upper = plies_ % 2 == 0;
        const int32_t handBase = upper ? kUpperHandBase : kLowerHandBase;
        if (move.origin != 0) entry[move.origin] = kEmpty;
        entry[move.to] = move.piece + (upper ? kUpperSide : kLowerSide);
        if (move.origin == 0) addSaturated(entry[handBase + kindOf(move.piece)], -1);
        // A captured king has no place in a hand: slots 111 and 119 hold times.
        const int32_t captured = before[move.to];
        if (captured != kEmpty && kindOf(captured) != kKing) {
            addSaturated(entry[handBase + kindOf(captured)], 1);
        }
    }

    TextInput& in_;
    GameRecord& record_;
    ReadOutcome outcome_;
    int32_t plies_ = 0;
    int32_t lastDestination_ = 0;
    bool inMoveTable_ = false;
};

}  // namespace

ReadOutcome ReadKif(TextInput& in, GameRecord& record) {
    return KifReader(in, record).run();
}

}  // namespace nusari
