#include "records/record_text.h"

#include <algorithm>
#include <string>
#include <utility>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "position/text_encoding.h"
#include "records/record_builder.h"
#include "records/record_messages.h"
#include "records/record_source.h"
#include "records/text_input.h"

namespace nusari {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The words of a text one at a time, split at blanks and line ends.
class Words {
  public:
    explicit Words(std::string_view text) : rest_(text) {}

    // The next word, or "" at the end.
    std::string_view next() {
        while (!rest_.empty() && isBlank(rest_.front())) rest_.remove_prefix(1);
        std::size_t n = 0;
        while (n < rest_.size() && !isBlank(rest_[n])) ++n;
        const std::string_view word = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return word;
    }

  private:
    std::string_view rest_;
};

// A SFEN board: nine ranks of piece letters, digits and '+'.
bool isSfenBoard(std::string_view word) {
    constexpr std::string_view kBoardLetters = "123456789+plnsgkrbPLNSGKRB";
    int slashes = 0;
    for (const char c : word) {
        if (c == '/') {
            ++slashes;
        } else if (kBoardLetters.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return slashes == 8;
}

// Usi for a text that begins "position" or "startpos", Sfen for one that
// begins "sfen" or with a SFEN board, None for any other.
RecordTextFormat usiKindOf(std::string_view text) {
    const std::string_view first = Words(text).next();
    if (first == "position" || first == "startpos") return RecordTextFormat::Usi;
    if (first == "sfen" || isSfenBoard(first)) return RecordTextFormat::Sfen;
    return RecordTextFormat::None;
}

// A word of the text as a message quotes it: UTF-8, cut short.
std::string quoted(std::string_view word) {
    constexpr std::size_t kShown = 16;
    std::string text = toUtf8(word.substr(0, kShown));
    if (word.size() > kShown) text += "…";
    return "「" + text + "」";
}

std::string plyWord(int32_t ply, std::string_view word) {
    return std::to_string(ply) + "手目の指し手" + quoted(word);
}

// Reads the position and moves of a SFEN or USI text into `tree`: the
// failure's detail, or "".
std::string readUsiText(std::string_view text, RecordTree& tree) {
    constexpr const char* kPositionDetail = "局面が読めません";
    Words words(text);
    std::string_view word = words.next();
    if (word == "position") word = words.next();
    Position start;
    Side side = Side::Lower;
    if (word == "startpos") {
        setupPosition(start, kPresetEven);
        word = words.next();
    } else {
        if (word == "sfen") word = words.next();
        // The board, the side to move, the hands and the move number.
        std::string sfen;
        for (int fields = 0; fields < 4 && !word.empty() && word != "moves"; ++fields) {
            if (!sfen.empty()) sfen += ' ';
            sfen += word;
            word = words.next();
        }
        std::string ignored;
        if (!parseSfen(sfen, start, side, ignored)) return kPositionDetail;
    }
    if (!word.empty() && word != "moves") return kPositionDetail;
    tree.reset(start, side);
    Position p = tree.start();
    NodeId at = kRootNode;
    for (int32_t ply = 1; !(word = words.next()).empty(); ++ply) {
        Move m;
        if (!parseUsiMove(word, side, m)) return plyWord(ply, word) + "が読めません";
        if (!isLegalMove(p, side, m)) return plyWord(ply, word) + "は指せません";
        // A legal move may still take a king, which no record holds.
        if (!isRecordableMove(p, side, m)) return plyWord(ply, word) + "は記録できません";
        at = tree.addCheckedMove(at, m);
        if (at == kNoNode) return std::to_string(kMaxRecordPlies) + "手を超える棋譜です";
        applyMove(p, side, m);
        side = opponentOf(side);
    }
    return {};
}

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when the first line that is no comment ("'") begins a CSA item: the
// version, a name, metadata, a position line, the side to move or a move.
bool looksLikeCsa(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line[0] == '\'') continue;
        if (line == "+" || line == "-") return true;
        if ((line[0] == '+' || line[0] == '-') && line.size() >= 7) {
            return std::all_of(line.begin() + 1, line.begin() + 5, isDigit) && line[5] >= 'A' &&
                   line[5] <= 'Z' && line[6] >= 'A' && line[6] <= 'Z';
        }
        for (const char* head : {"V2", "N+", "N-", "$", "PI", "P+", "P-"}) {
            if (startsWith(line, head)) return true;
        }
        return line.size() >= 2 && line[0] == 'P' && line[1] >= '1' && line[1] <= '9';
    }
    return false;
}

// What the KIF grammar read: a move table makes it KIF, other moves KI2, a
// diagram alone BOD, and a text with none of them is no record.
RecordTextFormat kifKindOf(const ReadOutcome& read, const RecordTree& tree) {
    if (tree.hasMoves()) return read.moveTable ? RecordTextFormat::Kif : RecordTextFormat::Ki2;
    if (read.moveTable || read.handicapLine) return RecordTextFormat::Kif;
    if (read.diagram) return RecordTextFormat::Bod;
    return RecordTextFormat::None;
}

// "KIF形式として読めませんでした：3手目の指し手が局面と合いません": the
// reader's message without its file prefix, after the format's name.
std::string failureMessage(RecordTextFormat format, std::string_view detail) {
    for (const std::string_view prefix : {kKifPrefix, kCsaPrefix}) {
        if (startsWith(detail, prefix)) detail.remove_prefix(prefix.size());
    }
    std::string message =
        format == RecordTextFormat::None
            ? std::string(kRecordTextUnreadableMessage)
            : std::string(recordTextFormatName(format)) + "形式として読めませんでした";
    if (!detail.empty()) message += "：" + std::string(detail);
    return message;
}

RecordTextOutcome failure(std::string message) {
    RecordTextOutcome outcome;
    outcome.error = std::move(message);
    return outcome;
}

}  // namespace

const char* recordTextFormatName(RecordTextFormat format) {
    switch (format) {
        case RecordTextFormat::None:
            return "";
        case RecordTextFormat::Kif:
            return "KIF";
        case RecordTextFormat::Ki2:
            return "KI2";
        case RecordTextFormat::Csa:
            return "CSA";
        case RecordTextFormat::Sfen:
            return "SFEN";
        case RecordTextFormat::Usi:
            return "USI";
        case RecordTextFormat::Bod:
            return "BOD";
    }
    return "";
}

RecordTextOutcome ReadRecordText(std::string_view bytes, RecordTree& tree) {
    if (bytes.size() > kMaxRecordFileBytes) return failure(kRecordTextTooLargeMessage);
    const std::string converted = recordTextAsCp932(bytes);
    const std::string_view text = trimmed(converted);
    if (text.empty()) return failure(kRecordTextEmptyMessage);

    RecordTree fresh;
    RecordTextOutcome outcome;
    outcome.format = usiKindOf(text);
    if (outcome.format != RecordTextFormat::None) {
        const std::string detail = readUsiText(text, fresh);
        if (!detail.empty()) return failure(failureMessage(outcome.format, detail));
        outcome.plies = fresh.node(fresh.mainLineEnd()).ply;
    } else {
        TextInput in{text};
        const bool csa = looksLikeCsa(text);
        static_cast<ReadOutcome&>(outcome) = csa ? ReadCsaTree(in, fresh) : ReadKifTree(in, fresh);
        outcome.format = csa ? RecordTextFormat::Csa : kifKindOf(outcome, fresh);
        if (!outcome.error.empty()) return failure(failureMessage(outcome.format, outcome.error));
        if (outcome.format == RecordTextFormat::None) return failure(kRecordTextUnreadableMessage);
    }
    tree = std::move(fresh);
    return outcome;
}

}  // namespace nusari
