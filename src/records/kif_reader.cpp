// The KIF and KI2 grammar: header lines, an optional board diagram, and the
// moves, either as a KIF move table ("７六歩(77)") or as KI2 moves
// ("▲７六歩"), then the variations ("変化：N手"), each a line of moves that
// branches off the line read before it. Offsets are byte offsets into a CP932
// line. Comments ("*" lines, of any length) belong to the move before them.
#include <algorithm>
#include <string>
#include <string_view>

#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/ki2_moves.h"
#include "records/kif_notation.h"
#include "records/record_builder.h"
#include "records/record_messages.h"
#include "records/record_readers.h"

namespace nusari {

namespace {

constexpr std::size_t kMaxLineBytes = 254;

// The first byte of a two-byte CP932 character.
bool isLeadByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x81 && u <= 0x9f) || (u >= 0xe0 && u <= 0xfc);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The line after its blanks (ASCII and full-width spaces).
std::string_view skipBlanks(std::string_view line) {
    for (;;) {
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            line.remove_prefix(1);
        } else if (hasAt(line, cp("　"))) {
            line.remove_prefix(2);
        } else {
            return line;
        }
    }
}

// A label and its colon, full-width or ASCII: the length, or 0.
std::size_t labelAt(std::string_view line, const char* label) {
    const std::string& l = cp(label);
    if (!hasAt(line, l)) return 0;
    if (hasAt(line, cp("："), l.size())) return l.size() + 2;
    if (hasAt(line, ":", l.size())) return l.size() + 1;
    return 0;
}

// The side a move mark at the start of `text` names: ▲ 先手, △ or ▽ 後手
// (the ☗ and ☖ of a UTF-8 file arrive here as ▲ and △). Every mark is two
// bytes.
bool moverMark(std::string_view text, Side& side) {
    if (hasAt(text, cp("▲"))) {
        side = Side::Lower;
        return true;
    }
    if (hasAt(text, cp("△")) || hasAt(text, cp("▽"))) {
        side = Side::Upper;
        return true;
    }
    return false;
}
constexpr std::size_t kMarkBytes = 2;

bool startsMove(std::string_view text) {
    Ki2Move m;
    std::size_t i = 0;
    return parseKanjiMove(text, i, m);
}

// The origin of a KIF move, "(77)" at byte `i`: its square, or 0.
int32_t originAt(std::string_view line, std::size_t i) {
    const bool origin = i + 3 < line.size() && line[i] == '(' && line[i + 1] >= '1' &&
                        line[i + 1] <= '9' && line[i + 2] >= '1' && line[i + 2] <= '9' &&
                        line[i + 3] == ')';
    return origin ? squareOf(line[i + 1] - '0', line[i + 2] - '0') : 0;
}

// A move written as the table writes it: a drop, or a move and its origin.
bool isTableMove(std::string_view text) {
    Ki2Move m;
    std::size_t i = 0;
    if (!parseKanjiMove(text, i, m)) return false;
    while (i < text.size() && text[i] == ' ') ++i;
    return m.drop || originAt(text, i) != 0;
}

// A move-table line after its ASCII move number and the blanks after it.
// Without a blank, the number's last digit or two are the square of the move
// when that makes one ("17六歩" is move 1, 7六歩; "1776歩" move 17, 76歩).
std::string_view afterMoveNumber(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && isDigit(line[n])) ++n;
    const std::string_view rest = line.substr(n);
    if (skipBlanks(rest).size() != rest.size() || startsMove(rest)) return skipBlanks(rest);
    for (std::size_t back = 1; back <= 2 && back <= n; ++back) {
        if (startsMove(line.substr(n - back))) return line.substr(n - back);
    }
    return rest;
}

// A number of ASCII digits at `i` (at most nine), moving `i` past them; -1
// when there is none.
int64_t numberAt(std::string_view text, std::size_t& i) {
    const std::size_t from = i;
    int64_t n = 0;
    while (i < text.size() && isDigit(text[i]) && i - from < 9) n = n * 10 + (text[i++] - '0');
    return i == from ? -1 : n;
}

// Thinking seconds from a time column "( 1:23/00:05:10)", or -1 when the
// line has none.
int64_t moveSeconds(std::string_view rest) {
    constexpr int64_t kNone = -1;
    const std::size_t open = rest.find('(');
    if (open == std::string_view::npos) return kNone;
    std::size_t i = open + 1;
    while (i < rest.size() && rest[i] == ' ') ++i;
    int64_t minutes = 0;
    int64_t seconds = 0;
    const std::size_t minutesAt = i;
    // Twelve digits hold any time a record keeps (2^53 ms) without overflow.
    while (i < rest.size() && isDigit(rest[i]) && i - minutesAt < 12) minutes = minutes * 10 + (rest[i++] - '0');
    if (i == minutesAt || i >= rest.size() || rest[i] != ':') return kNone;
    const std::size_t secondsAt = ++i;
    while (i < rest.size() && isDigit(rest[i]) && i - secondsAt < 2) seconds = seconds * 10 + (rest[i++] - '0');
    if (i == secondsAt) return kNone;
    return minutes * 60 + seconds;
}

class KifReader {
  public:
    KifReader(TextInput& in, RecordTree& tree) : in_(in), tree_(tree), game_(tree) {}

    ReadOutcome run() {
        std::string line;
        bool more = true;
        while (more && outcome_.error.empty() && outcome_.variationError.empty()) {
            more = readLine(line);
            std::string error = handleLine(line);
            // A fault in a variation ends the reading but keeps what was read.
            (inVariation_ ? outcome_.variationError : outcome_.error) = std::move(error);
        }
        beginMoves();
        outcome_.plies = tree_.node(tree_.mainLineEnd()).ply;
        return outcome_;
    }

  private:
    // Reads one line without its line feed; false when the input ended.
    bool readLine(std::string& line) {
        line.clear();
        for (int c = in_.get(); c != '\n'; c = in_.get()) {
            if (c == kEndOfInput) return false;
            line += static_cast<char>(c);
        }
        return true;
    }

    std::string handleLine(std::string_view line) {
        std::string_view body = skipBlanks(line);
        // A move table without its head line ("手数----指手") starts at its
        // first numbered move.
        if (!inMoveTable_ && !game_.started() && !ki2Seen_ && !body.empty() && isDigit(body[0]) &&
            isTableMove(afterMoveNumber(body))) {
            inMoveTable_ = outcome_.moveTable = true;
        }
        if (inMoveTable_) body = afterMoveNumber(body);
        if (hasAt(body, cp("変化"))) return variationLine(body.substr(cp("変化").size()));
        if (!body.empty() && body[0] == '*') {
            game_.addCommentLine(toUtf8(body.substr(1)));
            return {};
        }
        if (!body.empty() && (body[0] == '#' || body[0] == '&')) return {};
        if (Side marked = Side::Lower; moverMark(body, marked)) {
            // "▲７六歩(77)" in the table: a KIF move with its origin and time.
            const std::string_view move = body.substr(kMarkBytes);
            if (inMoveTable_ && isTableMove(move)) return markedMoveLine(marked, move);
            return ki2Line(body);
        }
        if (line.size() > kMaxLineBytes) return kKifLongLineMessage;
        if (inMoveTable_) return moveLine(body);
        if (ki2Seen_ && hasAt(body, cp("まで"))) {
            ki2Ending(body);
            return {};
        }
        // The header ends with the main line.
        if (inVariation_) return {};
        return headerLine(line);
    }

    // "変化：N手": the next moves branch off the line read last after its
    // move N - 1.
    std::string variationLine(std::string_view rest) {
        inVariation_ = true;
        beginMoves();
        if (hasAt(rest, cp("："))) {
            rest.remove_prefix(2);
        } else if (hasAt(rest, ":")) {
            rest.remove_prefix(1);
        }
        rest = skipBlanks(rest);
        std::size_t i = 0;
        const int64_t ply = numberAt(rest, i);
        if (ply < 1 || !hasAt(rest, cp("手"), i) || !game_.branchAfter(static_cast<int32_t>(ply - 1))) {
            return kKifVariationMessage;
        }
        return {};
    }

    std::string headerLine(std::string_view line) {
        if (const std::size_t at = labelAt(line, "手合割")) return handicapLine(line.substr(at));
        if (const std::size_t at = std::max(labelAt(line, "先手"), labelAt(line, "下手"))) {
            tree_.firstName = toUtf8(line.substr(at));
        } else if (const std::size_t at2 = std::max(labelAt(line, "後手"), labelAt(line, "上手"))) {
            tree_.secondName = toUtf8(line.substr(at2));
        } else if (const std::size_t upper =
                       std::max(labelAt(line, "後手の持駒"), labelAt(line, "上手の持駒"))) {
            readHand(line.substr(upper), kUpperHandBase);
        } else if (const std::size_t lower =
                       std::max(labelAt(line, "先手の持駒"), labelAt(line, "下手の持駒"))) {
            readHand(line.substr(lower), kLowerHandBase);
        } else if (hasAt(line, "|")) {
            return boardRow(line);
        } else if (hasAt(line, cp("先手番")) || hasAt(line, cp("下手番"))) {
            firstMover_ = Side::Lower;
        } else if (hasAt(line, cp("後手番")) || hasAt(line, cp("上手番"))) {
            firstMover_ = Side::Upper;
        } else if (hasAt(line, cp("手数----指手"))) {
            inMoveTable_ = outcome_.moveTable = true;
        } else if (!game_.started()) {
            headerItem(line);
        }
        return {};
    }

    // Any other "key：value" line before the moves is kept as metadata.
    void headerItem(std::string_view line) {
        const std::string& colon = cp("：");
        for (std::size_t i = 0; i + 1 < line.size(); i += isLeadByte(line[i]) ? 2 : 1) {
            if (!hasAt(line, colon, i)) continue;
            if (i == 0) return;
            tree_.headers.push_back(
                RecordHeader{toUtf8(line.substr(0, i)), toUtf8(line.substr(i + colon.size()))});
            return;
        }
    }

    // 平手, a standard handicap (上手, the second player, moves first) or
    // その他 (a diagram follows).
    std::string handicapLine(std::string_view name) {
        if (game_.started()) return kKifHandicapMessage;
        outcome_.handicapLine = true;
        if (hasAt(name, cp("平手"))) {
            setupPosition(game_.start(), kPresetEven);
            firstMover_ = Side::Lower;
            return {};
        }
        if (hasAt(name, cp("その他"))) return {};
        const Handicap* handicap = handicapNamed(name);
        if (handicap == nullptr) return kKifHandicapMessage;
        setupHandicap(game_.start(), *handicap);
        firstMover_ = Side::Upper;
        // The start-position list names the three handicaps it has.
        if (handicap->removed[1] == 0 && handicap->removed[0] == 82) outcome_.preset = kPresetNoRook;
        if (handicap->removed[1] == 0 && handicap->removed[0] == 22) outcome_.preset = kPresetNoBishop;
        if (handicap->removed[2] == 0 && handicap->removed[1] == 22) outcome_.preset = kPresetTwoPieces;
        return {};
    }

    // Every piece kanji after the label sets the count of its kind; なし
    // empties the hand.
    void readHand(std::string_view rest, int32_t base) {
        // After the first move the start position is fixed: a hand line of a
        // later game in the file changes nothing.
        if (game_.started()) return;
        Position& start = game_.start();
        if (hasAt(skipBlanks(rest), cp("なし"))) {
            for (int32_t kind = kRook; kind <= kPawn; ++kind) start[base + kind] = 0;
            return;
        }
        std::size_t i = 0;
        while (i + 1 < rest.size()) {
            const int32_t piece = kifPieceAt(rest, i);
            if (piece == kKifNoPiece) {
                ++i;
                continue;
            }
            if (piece >= kRook && piece <= kPawn) start[base + piece] = kifCountAt(rest, i + 2);
            i += 3;
        }
    }

    // One rank of the diagram: "|", nine cells of a side byte and a kanji,
    // "|" and the rank numeral at byte 29.
    std::string boardRow(std::string_view line) {
        const int32_t rank = kifRankAt(line, 29);
        if (rank == 0 || game_.started()) return kKifBoardRowMessage;
        for (std::size_t c = 0; c < 9; ++c) {
            int32_t cell = kifPieceAt(line, 3 * c + 2);
            if (!isValidPieceCode(cell)) {
                cell = kEmpty;  // ・, 成, 打 and every other kanji
            } else if (line[3 * c + 1] == 'v') {
                cell += kUpperSide;
            }
            game_.start()[squareOf(9 - static_cast<int32_t>(c), rank)] = cell;
        }
        outcome_.diagram = true;
        return {};
    }

    // Fixes the side that moves first, once, before the first move.
    void beginMoves() {
        if (!game_.started()) game_.setFirstMover(firstMover_);
    }

    std::string play(const Move& move) {
        beginMoves();
        switch (game_.play(move)) {
            case RecordBuilder::Outcome::Played:
                return {};
            case RecordBuilder::Outcome::Full:
                return kKifTooLongMessage;
            case RecordBuilder::Outcome::TooManyNodes:
                return kKifTooManyNodesMessage;
            case RecordBuilder::Outcome::Unfit:
                break;
        }
        return movePlyMessage(kKifPrefix, game_.plies() + 1);
    }

    // A line of the move table, after its number: a move, a special move
    // that ends the game, or anything else (skipped).
    std::string moveLine(std::string_view line) {
        if (game_.ended()) return {};
        const GameEnding ending = kifEndingAt(line);
        if (ending != GameEnding::None) {
            game_.setEnding(ending);
            return {};
        }
        // A line that starts with 同 or a full-width digit must be a move; one
        // that starts with an ASCII digit is one only when it reads as one.
        const bool kanjiStart = kifFileAt(line, 0) >= 0;
        if (!kanjiStart && (line.empty() || !isDigit(line[0]))) return {};
        Ki2Move words;  // the destination, the piece and 成, 不成 or 打
        std::size_t i = 0;
        if (!parseKanjiMove(line, i, words)) return kanjiStart ? kKifMoveMessage : std::string();
        const int32_t to = words.to != 0 ? words.to : game_.lastDestination();
        if (to == 0) return kKifMoveMessage;
        const int32_t piece = words.piece;
        const bool promotes = words.promote;
        const bool drop = words.drop;

        beginMoves();
        const Side mover = game_.sideToMove();
        Move move;
        if (drop) {
            if (piece < kRook || piece > kPawn) return kKifMoveMessage;
            const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
            move = Move{base + piece, to};
        } else {
            while (i < line.size() && line[i] == ' ') ++i;
            const int32_t from = originAt(line, i);
            if (from == 0) return kKifMoveMessage;
            if (promotes && (isPromoted(piece) || piece == kKing || piece == kGold)) {
                return kKifMoveMessage;
            }
            i += 4;
            // The piece named is the one standing on the origin.
            if ((game_.current()[from] & 15) != piece) {
                return movePlyMessage(kKifPrefix, game_.plies() + 1);
            }
            move = Move{from, to + (promotes ? kPromotionOffset : 0)};
        }
        std::string error = play(move);
        const int64_t seconds = moveSeconds(line.substr(i));
        if (error.empty() && seconds >= 0) game_.addTimeMs(seconds * 1000);
        return error;
    }

    // A move of the table after its mark: the mark must name the side to move.
    std::string markedMoveLine(Side mover, std::string_view move) {
        if (game_.ended()) return {};
        beginMoves();
        if (mover != game_.sideToMove()) return movePlyMessage(kKifPrefix, game_.plies() + 1);
        return moveLine(move);
    }

    // A line of KI2 moves, each after its mark, with or without blanks
    // between them ("▲７六歩▽３四歩").
    std::string ki2Line(std::string_view line) {
        ki2Seen_ = true;
        std::size_t i = 0;
        while (i < line.size()) {
            Ki2Move m;
            if (!moverMark(line.substr(i), m.mover)) {
                // A whole character at a time: a mark is never read from the
                // second byte of one.
                i += isLeadByte(line[i]) ? 2 : 1;
                continue;
            }
            if (game_.ended()) return {};
            beginMoves();
            const int32_t ply = game_.plies() + 1;
            if (m.mover != game_.sideToMove()) return movePlyMessage(kKifPrefix, ply);
            i += kMarkBytes;
            if (!parseKanjiMove(line, i, m)) return kKifMoveMessage;
            if (m.to == 0) m.to = game_.lastDestination();
            Move move;
            if (m.to == 0 || !resolveKi2Move(game_.current(), m, move)) {
                return movePlyMessage(kKifPrefix, ply);
            }
            if (std::string error = play(move); !error.empty()) return error;
        }
        return {};
    }

    // The closing line of a KI2 record ("まで64手で後手の勝ち") says how it ended.
    void ki2Ending(std::string_view line) {
        if (game_.ended()) return;
        for (std::size_t i = 0; i + 1 < line.size(); i += isLeadByte(line[i]) ? 2 : 1) {
            if (const GameEnding e = kifEndingAt(line.substr(i)); e != GameEnding::None) {
                game_.setEnding(e);
                return;
            }
        }
        if (line.find(cp("の勝ち")) != std::string_view::npos) game_.setEnding(GameEnding::Resign);
    }

    TextInput& in_;
    RecordTree& tree_;
    RecordBuilder game_;
    ReadOutcome outcome_;
    Side firstMover_ = Side::Lower;
    bool inMoveTable_ = false;
    bool ki2Seen_ = false;
    bool inVariation_ = false;
};

}  // namespace

ReadOutcome ReadKifTree(TextInput& in, RecordTree& tree) {
    return KifReader(in, tree).run();
}

}  // namespace nusari
