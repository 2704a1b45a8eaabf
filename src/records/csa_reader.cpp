// The CSA grammar: items chosen by the character where a line may begin.
// Reads versions 2 to 2.2 as servers and other programs write them: "PI"
// with removed pieces, board rows, "P+"/"P-" placements and hands, the
// side to move first, moves (several on a line after commas), times and
// the "%" word that ends the game; comments ("'*" lines, "'**" for an
// engine's score) and the "$" lines of metadata.
#include <cstdint>
#include <string>

#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/csa_headers.h"
#include "records/record_builder.h"
#include "records/record_messages.h"
#include "records/record_readers.h"

namespace nusari {

namespace {

constexpr const char* kCsaLetters[16] = {"OU", "HI", "KA", "KI", "GI", "KE", "KY", "FU",
                                         "",   "RY", "UM", "",   "NG", "NK", "NY", "TO"};

// How many of each hand kind a game has (rook .. pawn).
constexpr int32_t kPiecesOfKind[8] = {0, 2, 2, 4, 4, 4, 4, 18};

struct EndingWord {
    const char* word;
    GameEnding ending;
};

// "%+ILLEGAL_ACTION" and "%-ILLEGAL_ACTION" are told apart by the side to move.
constexpr EndingWord kEndingWords[] = {
    {"TORYO", GameEnding::Resign},         {"CHUDAN", GameEnding::Interrupt},
    {"SENNICHITE", GameEnding::Repetition}, {"JISHOGI", GameEnding::Impasse},
    {"MAX_MOVES", GameEnding::Impasse},     {"TSUMI", GameEnding::Mate},
    {"TIME_UP", GameEnding::TimeUp},        {"ILLEGAL_MOVE", GameEnding::FoulLoss},
    {"KACHI", GameEnding::EnteringKingWin}, {"HIKIWAKE", GameEnding::Draw},
};

// The lower side's code of two CSA letters, or -1.
int32_t codeOfLetters(int a, int b) {
    for (int32_t code = 0; code < 16; ++code) {
        const char* l = kCsaLetters[code];
        if (l[0] != '\0' && a == l[0] && b == l[1]) return code;
    }
    return -1;
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

class CsaReader {
  public:
    CsaReader(TextInput& in, RecordTree& tree) : in_(in), tree_(tree), game_(tree) {}

    ReadOutcome run() {
        ReadOutcome outcome;
        for (int c = in_.get(); c != kEndOfInput && outcome.error.empty() && !finished_;
             c = in_.get()) {
            outcome.error = item(c);
        }
        outcome.plies = game_.plies();
        return outcome;
    }

  private:
    // Reads the item that begins with `c`; its failure message or "".
    std::string item(int c) {
        switch (c) {
            case '\'':
                readComment();
                return {};
            case '$':
                readHeader();
                return {};
            case '%':
                readEnding();
                return {};
            case '/':  // the next game of a file of several: the first is read
                finished_ = true;
                return {};
            case 'V': {
                int64_t ignored = 0;
                readNumber(ignored);
                return {};
            }
            case 'N':
                return readName();
            case 'P':
                return readPositionLine();
            case '+':
            case '-':
                return readSignItem(c == '+' ? Side::Lower : Side::Upper);
            case 'T': {
                int64_t seconds = 0;
                // A negative thinking time is no time.
                if (readNumber(seconds) && timeSide_ != 0 && seconds >= 0) addTime(seconds);
                return {};
            }
            default:
                return {};  // a line feed, a comma or any other character
        }
    }

    void skipLine() {
        int c = in_.get();
        while (c != '\n' && c != kEndOfInput) c = in_.get();
    }

    // The rest of the line, without its line feed.
    std::string restOfLine() {
        std::string text;
        for (int c = in_.get(); c != '\n' && c != kEndOfInput; c = in_.get()) {
            text += static_cast<char>(c);
        }
        return text;
    }

    // After "'": "*" starts a comment line of the last move (or of the start),
    // "**" and a number an engine's score; anything else is the file's own.
    void readComment() {
        if (in_.peek() != '*') {
            skipLine();
            return;
        }
        in_.get();
        const std::string text = restOfLine();
        if (!text.empty() && text[0] == '*' && readScore(std::string_view(text).substr(1))) return;
        game_.addCommentLine(toUtf8(text));
    }

    // A score after blanks: an optional sign and digits, held to ±10^9.
    bool readScore(std::string_view text) {
        std::size_t i = 0;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i >= text.size() || !isDigit(text[i])) return false;
        int32_t value = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (value < 100000000) value = value * 10 + (text[i] - '0');
        }
        game_.setScore(negative ? -value : value);
        return true;
    }

    // "$KEY:value": metadata, under the KIF name of the key where there is one.
    void readHeader() {
        const std::string text = restOfLine();
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return;
        const std::string key = text.substr(0, colon);
        if (csaKeyOfKif(key) != key) return;  // no key of the format
        tree_.headers.push_back(RecordHeader{kifKeyOfCsa(key), toUtf8(text.substr(colon + 1))});
    }

    // A decimal number after blanks of the same line, with an optional sign.
    // Digits beyond thirteen are read but the value stops growing: a time
    // of that many seconds is more than a record keeps (2^53 ms) and still
    // fits in milliseconds.
    bool readNumber(int64_t& value) {
        int c = in_.peek();
        while (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
            in_.get();
            c = in_.peek();
        }
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            in_.get();
        }
        if (!isDigit(in_.peek())) return false;
        value = 0;
        while (isDigit(in_.peek())) {
            const int d = in_.get() - '0';
            if (value < 1000000000000) value = value * 10 + d;
        }
        if (negative) value = -value;
        return true;
    }

    // Before the first move a time belongs to the start position's side.
    void addTime(int64_t seconds) {
        if (game_.started()) {
            game_.addTimeMs(seconds * 1000);
        } else {
            addTimeSaturated(tree_.startTimeMs[timeSide_ - 1], seconds * 1000);
        }
    }

    // The word after "%": the game's end. Reading stops there.
    void readEnding() {
        std::string word;
        for (int c = in_.peek(); c != '\n' && c != kEndOfInput && word.size() < 32;
             c = in_.peek()) {
            word += static_cast<char>(in_.get());
        }
        skipLine();
        while (!word.empty() && (word.back() == ' ' || word.back() == '\t')) word.pop_back();
        GameEnding ending = GameEnding::None;
        for (const EndingWord& e : kEndingWords) {
            if (word == e.word) ending = e.ending;
        }
        if (word == "+ILLEGAL_ACTION" || word == "-ILLEGAL_ACTION") {
            const bool senteFouled = word[0] == '+';
            const bool senteToMove = game_.sideToMove() == Side::Lower;
            ending = senteFouled == senteToMove ? GameEnding::FoulLoss : GameEnding::FoulWin;
        }
        if (ending == GameEnding::None) return;  // %MATTA and unknown words
        game_.setEnding(ending);
        finished_ = true;
    }

    std::string readName() {
        const int sign = in_.get();
        if (sign != '+' && sign != '-') return kCsaNameMessage;
        // Enough bytes to tell whether the 18th byte starts a character that
        // does not fit; the rest of the line is skipped.
        (sign == '+' ? tree_.firstName : tree_.secondName) = toUtf8(restOfLine());
        return {};
    }

    std::string readPositionLine() {
        if (game_.started()) return kCsaPositionLineMessage;
        const int c = in_.get();
        if (isDigit(c)) return readBoardRow(c - '0');
        if (c == 'I') return readHandicap();
        if (c == '+') return readPlacements(kLowerSide);
        if (c == '-') return readPlacements(kUpperSide);
        return kCsaPositionLineMessage;
    }

    // Nine cells of the start position's rank `rank`, files 9 down to 1.
    std::string readBoardRow(int32_t rank) {
        if (rank < 1) return kCsaBoardMessage;
        boardGiven_ = true;
        Position& start = game_.start();
        for (int32_t file = 9; file >= 1; --file) {
            const int sign = in_.get();
            const int a = in_.get();
            const int b = in_.get();
            int32_t cell = kEmpty;
            if (a != '*') {
                cell = codeOfLetters(a, b);
                if (cell < 0) return kCsaBoardMessage;
                if (sign == '-') cell += kUpperSide;
            }
            start[squareOf(file, rank)] = cell;
        }
        return {};
    }

    // Two digits and two letters; false when the line has no more of them.
    // A malformed group sets `error`.
    bool readGroup(int32_t& square, int32_t& code, std::string& error, const char* message) {
        const int first = in_.get();
        if (!isDigit(first)) return false;
        const int second = in_.get();
        const int a = in_.get();
        const int b = in_.get();
        if (!isDigit(second)) {
            error = message;
            return false;
        }
        square = 10 * (first - '0') + (second - '0');
        code = a == 'A' && b == 'L' ? kAllRemaining : codeOfLetters(a, b);
        if (code < 0) error = message;
        return code >= 0;
    }

    // "PI" and the pieces taken off the even-game position ("PI82HI22KA").
    std::string readHandicap() {
        Position& start = game_.start();
        setupPosition(start, kPresetEven);
        boardGiven_ = true;
        int32_t square = 0;
        int32_t code = 0;
        std::string error;
        while (readGroup(square, code, error, kCsaBoardMessage)) {
            if (!isSquare(square) || !isValidPieceCode(start[square]) ||
                (start[square] & 15) != code) {
                return kCsaBoardMessage;
            }
            start[square] = kEmpty;
        }
        return error;
    }

    // "P+" or "P-": pieces placed on squares ("63KI") or put in the hand
    // ("00FU"; "00AL" takes every piece not yet placed).
    std::string readPlacements(int32_t side) {
        Position& start = game_.start();
        const int32_t handBase = side == kUpperSide ? kUpperHandBase : kLowerHandBase;
        int32_t square = 0;
        int32_t code = 0;
        std::string error;
        while (readGroup(square, code, error, kCsaHandMessage)) {
            if (square == 0) {
                if (code == kAllRemaining) {
                    takeRemaining(handBase);
                } else if (code >= kRook && code <= kPawn) {
                    addSaturated(start[handBase + code], 1);
                } else {
                    return kCsaHandMessage;
                }
                continue;
            }
            if (!isSquare(square) || code == kAllRemaining) return kCsaBoardMessage;
            // Placements without rows build the position on an empty board.
            if (!boardGiven_) {
                for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
                    if (isSquare(s)) start[s] = kEmpty;
                }
                boardGiven_ = true;
            }
            start[square] = code + side;
        }
        return error;
    }

    // Puts every piece that is neither on the board nor in a hand into the
    // hand at `handBase`.
    void takeRemaining(int32_t handBase) {
        Position& start = game_.start();
        int32_t left[8];
        for (int32_t kind = 0; kind < 8; ++kind) {
            left[kind] = kPiecesOfKind[kind] - start[kLowerHandBase + kind] * (kind > 0) -
                         start[kUpperHandBase + kind] * (kind > 0);
        }
        for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
            if (isSquare(s) && isValidPieceCode(start[s])) --left[kindOf(start[s])];
        }
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            if (left[kind] > 0) addSaturated(start[handBase + kind], left[kind]);
        }
    }

    // After "+" or "-": the side to move first, or a move of that side.
    std::string readSignItem(Side side) {
        const int c = in_.get();
        timeSide_ = side == Side::Lower ? 1 : 2;
        if (c == '\n' || c == kEndOfInput) {
            if (!game_.started()) sideLineSeen_ = true;
            game_.setFirstMover(side);
            return {};
        }
        if (!isDigit(c)) return kCsaMoveMessage;
        return readMove(side, c - '0');
    }

    std::string readMove(Side side, int firstDigit) {
        int digit[4] = {firstDigit, 0, 0, 0};
        for (int k = 1; k < 4; ++k) {
            const int c = in_.get();
            if (!isDigit(c)) return kCsaMoveMessage;
            digit[k] = c - '0';
        }
        const int32_t from = 10 * digit[0] + digit[1];
        const int32_t to = 10 * digit[2] + digit[3];
        if ((from != 0 && !isSquare(from)) || !isSquare(to)) return kCsaMoveMessage;
        const int a = in_.get();
        const int32_t code = codeOfLetters(a, in_.get());
        if (code < 0) return kCsaMoveMessage;
        if (game_.plies() >= kMaxRecordPlies) return kCsaTooLongMessage;

        // The first move names the side that starts when no line did.
        if (!game_.started() && !sideLineSeen_) game_.setFirstMover(side);
        const int32_t ply = game_.plies() + 1;
        if (side != game_.sideToMove()) return movePlyMessage(kCsaPrefix, ply);
        Move move;
        const Position& before = game_.current();
        if (from == 0) {
            const int32_t base = side == Side::Lower ? kLowerHandBase : kUpperHandBase;
            move = Move{base + code, to};
        } else {
            // The letters name the piece after the move.
            const int32_t moving = before[from] & 15;
            const bool promotes = code == moving + kPromotedFlag && !isPromoted(moving);
            if (code != moving && !promotes) return movePlyMessage(kCsaPrefix, ply);
            move = Move{from, to + (promotes ? kPromotionOffset : 0)};
        }
        if (game_.play(move) != RecordBuilder::Outcome::Played) {
            return movePlyMessage(kCsaPrefix, ply);
        }
        return {};
    }

    // The code "AL" stands for in a hand group.
    static constexpr int32_t kAllRemaining = 100;

    TextInput& in_;
    RecordTree& tree_;
    RecordBuilder game_;
    int timeSide_ = 0;  // 1 先手, 2 後手: the side of the last "+" or "-" item
    bool boardGiven_ = false;
    bool sideLineSeen_ = false;
    bool finished_ = false;
};

}  // namespace

ReadOutcome ReadCsaTree(TextInput& in, RecordTree& tree) {
    return CsaReader(in, tree).run();
}

}  // namespace nusari
