// The CSA grammar: items chosen by the character where a line may begin.
#include <cstdint>
#include <string>

#include "records/record_messages.h"
#include "records/record_readers.h"

namespace nusari {

namespace {

constexpr const char* kCsaLetters[16] = {"OU", "HI", "KA", "KI", "GI", "KE", "KY", "FU",
                                         "",   "RY", "UM", "",   "NG", "NK", "NY", "TO"};

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
    CsaReader(TextInput& in, GameRecord& record) : in_(in), record_(record) {}

    ReadOutcome run() {
        ReadOutcome outcome;
        for (int c = in_.get(); c != kEndOfInput && outcome.error == nullptr; c = in_.get()) {
            outcome.error = item(c);
        }
        outcome.plies = plies_;
        return outcome;
    }

  private:
    // Reads the item that begins with `c`; its failure message or null.
    const char* item(int c) {
        switch (c) {
            case '\'':
            case '$':
            case '%':
                skipLine();
                return nullptr;
            case 'V': {
                int64_t ignored = 0;
                readNumber(ignored);
                return nullptr;
            }
            case 'N':
                return readName();
            case 'P':
                return readPositionLine();
            case '+':
            case '-':
                return readSignItem(c == '+' ? kLowerTimeCell : kUpperTimeCell);
            case 'T': {
                int64_t seconds = 0;
                if (readNumber(seconds) && timeCell_ != 0) {
                    addSaturated(record_.history[plies_][timeCell_], seconds);
                }
                return nullptr;
            }
            default:
                return nullptr;  // a line feed or any other character
        }
    }

    void skipLine() {
        int c = in_.get();
        while (c != '\n' && c != kEndOfInput) c = in_.get();
    }

    // A decimal number after blanks of the same line, with an optional sign.
    // Digits beyond nine are read but the value stops growing.
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
            if (value < 1000000000) value = value * 10 + d;
        }
        if (negative) value = -value;
        return true;
    }

    const char* readName() {
        const int sign = in_.get();
        if (sign != '+' && sign != '-') return kCsaNameMessage;
        // Enough bytes to tell whether the 18th byte starts a character that
        // does not fit; the rest of the line is skipped.
        std::string name;
        for (int c = in_.get(); c != '\n' && c != kEndOfInput; c = in_.get()) {
            if (name.size() <= kMaxNameBytes) name += static_cast<char>(c);
        }
        setName(sign == '+' ? record_.firstName : record_.secondName, name);
        return nullptr;
    }

    const char* readPositionLine() {
        const int c = in_.get();
        if (isDigit(c)) return readBoardRow(c - '0');
        if (c == '+') return readHand(kLowerHandBase);
        if (c == '-') return readHand(kUpperHandBase);
        return kCsaPositionLineMessage;
    }

    // Nine cells of the start position's rank `rank`, files 9 down to 1.
    const char* readBoardRow(int32_t rank) {
        if (rank < 1) return kCsaBoardMessage;
        Position& start = record_.history[0];
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
        return nullptr;
    }

    // "00" and the letters of a hand kind, repeated; any other character
    // than "0" ends the list.
    const char* readHand(int32_t base) {
        while (in_.get() == '0') {
            if (in_.get() != '0') return kCsaHandMessage;
            const int a = in_.get();
            const int32_t kind = codeOfLetters(a, in_.get());
            if (kind < kRook || kind > kPawn) return kCsaHandMessage;
            addSaturated(record_.history[0][base + kind], 1);
        }
        return nullptr;
    }

    // After "+" or "-": a side-to-move line or a move. `timeCell` is the
    // side's time slot (111 first player, 119 second player).
    const char* readSignItem(int32_t timeCell) {
        const int c = in_.get();
        timeCell_ = timeCell;
        if (c == '\n' || c == kEndOfInput) return nullptr;
        if (!isDigit(c)) return kCsaMoveMessage;
        return readMove(timeCell == kUpperTimeCell, c - '0');
    }

    const char* readMove(bool secondPlayer, int firstDigit) {
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
        if (plies_ >= kMaxRecordPlies) return kCsaTooLongMessage;

        ++plies_;
        Position& entry = record_.history[plies_];
        entry = record_.history[plies_ - 1];
        const int32_t handBase = secondPlayer ? kUpperHandBase : kLowerHandBase;
        // A captured king has no place in a hand: slots 111 and 119 hold times.
        const int32_t captured = entry[to];
        if (captured != kEmpty && kindOf(captured) != kKing) {
            addSaturated(entry[handBase + kindOf(captured)], 1);
        }
        entry[to] = code + (secondPlayer ? kUpperSide : kLowerSide);
        if (from == 0) {
            if (code >= kRook && code <= kPawn) addSaturated(entry[handBase + code], -1);
        } else {
            entry[from] = kEmpty;
        }
        return nullptr;
    }

    TextInput& in_;
    GameRecord& record_;
    int32_t plies_ = 0;
    int32_t timeCell_ = 0;  // slot of the last "+" or "-" line's side; 0 before one
};

}  // namespace

void addSaturated(int32_t& cell, int64_t amount) {
    const int64_t sum = static_cast<int64_t>(cell) + amount;
    cell = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

ReadOutcome ReadCsa(TextInput& in, GameRecord& record) {
    return CsaReader(in, record).run();
}

}  // namespace nusari
