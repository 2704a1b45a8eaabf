#include "records/kif_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <utility>

#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/crlf_text.h"
#include "records/ki2_moves.h"
#include "records/kif_notation.h"
#include "records/record_builder.h"

namespace nusari {

namespace {

using KifText = CrLfText;

constexpr std::size_t kMaxLineBytes = 254;

bool isEvenStart(const Position& p) {
    Position even;
    setupPosition(even, kPresetEven);
    return p == even;
}

bool isLeadByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x81 && u <= 0x9f) || (u >= 0xe0 && u <= 0xfc);
}

// The CP932 text of one line of UTF-8: up to its first line feed, cut to
// `room` bytes without splitting a character.
std::string lineText(std::string_view utf8, std::size_t room) {
    std::string text = toCp932(utf8.substr(0, std::min(utf8.find('\n'), utf8.size())));
    std::size_t kept = 0;
    while (kept < text.size()) {
        const std::size_t width = isLeadByte(text[kept]) ? 2 : 1;
        if (kept + width > room || kept + width > text.size()) break;
        kept += width;
    }
    text.resize(kept);
    return text;
}

// "( 0:05/00:01:23)": the ply's seconds and the mover's running total.
std::string timeColumn(int64_t seconds, int64_t total) {
    seconds = std::max<int64_t>(seconds, 0);
    total = std::max<int64_t>(total, 0);
    char text[64];
    std::snprintf(text, sizeof text, "(%2lld:%02lld/%02lld:%02lld:%02lld)",
                  static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(total / 3600), static_cast<long long>(total / 60 % 60),
                  static_cast<long long>(total % 60));
    return text;
}

// The move number and the move, padded so that the times line up.
std::string moveLine(int32_t number, std::string move, const std::string& time) {
    char head[16];
    std::snprintf(head, sizeof head, "%4d ", number);
    if (time.empty()) return head + move;
    if (move.size() < 14) move.append(14 - move.size(), ' ');
    return head + move + time;
}

void writeHand(KifText& out, const char* label, const Position& p, int32_t base) {
    std::string hand = cp(label);
    bool any = false;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        const int32_t count = p[base + kind];
        if (count <= 0) continue;
        hand += kifDiagramPiece(kind) + (count > 1 ? kifCountText(count) : "") + cp("　");
        any = true;
    }
    if (!any) hand += cp("なし");
    out.line(hand);
}

// The hands and the board, without the side to move.
void writeBoard(KifText& out, const Position& p) {
    writeHand(out, "後手の持駒：", p, kUpperHandBase);
    out.line("  " + cp("９ ８ ７ ６ ５ ４ ３ ２ １"));
    out.line("+---------------------------+");
    const char* ranks[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    for (int32_t rank = 1; rank <= 9; ++rank) {
        std::string row = "|";
        for (int32_t file = 9; file >= 1; --file) {
            const int32_t cell = p[squareOf(file, rank)];
            if (!isValidPieceCode(cell)) {
                row += " " + cp("・");
            } else {
                row += isUpperPiece(cell) ? "v" : " ";
                row += kifDiagramPiece(cell);
            }
        }
        out.line(row + "|" + cp(ranks[rank]));
    }
    out.line("+---------------------------+");
    writeHand(out, "先手の持駒：", p, kLowerHandBase);
}

void writeDiagram(KifText& out, const Position& p, bool senteFirst) {
    writeBoard(out, p);
    out.line(cp(senteFirst ? "先手番" : "後手番"));
}

// A move as its parts: destination (or 同), piece and 成 or 打; whether a
// promotion was declined; the origin square (0 for a drop). Everything in
// the standard frame.
struct PlyParts {
    std::string name;
    bool declined = false;
    int32_t origin = 0;
};

PlyParts plyParts(const Position& before, const Move& m, Side mover, int32_t previousTo) {
    const int32_t to = destinationOf(m);
    PlyParts parts;
    parts.name = to == previousTo ? cp("同　") : kifSquareName(to);
    if (isDrop(m)) {
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        parts.name += kifPieceName(m.from - base) + cp("打");
        return parts;
    }
    const int32_t piece = before[m.from];
    parts.name += kifPieceName(piece);
    if (isPromotion(m)) parts.name += cp("成");
    auto inZone = [mover](int32_t square) {
        return mover == Side::Lower ? rankOf(square) <= 3 : rankOf(square) >= 7;
    };
    parts.declined = !isPromotion(m) && !isPromoted(piece) && kindOf(piece) != kKing &&
                     kindOf(piece) != kGold && (inZone(m.from) || inZone(to));
    parts.origin = m.from;
    return parts;
}

// The KIF text of a move: a declined promotion is written plainly, since the
// origin tells the move and not every reader takes 不成 in a KIF move line.
std::string plyText(const PlyParts& parts) {
    if (parts.origin == 0) return parts.name;
    return parts.name + "(" + std::to_string(parts.origin) + ")";
}

// "まで64手で後手の勝ち" and the like; `toMove` is the side to move after
// the last ply.
std::string closingLine(GameEnding e, int32_t length, Side toMove, bool handicap) {
    const std::string plies = cp("まで") + std::to_string(length) + cp("手で");
    if (e == GameEnding::Interrupt || e == GameEnding::Repetition || e == GameEnding::Impasse ||
        e == GameEnding::Draw) {
        return plies + cp(kifEndingWord(e));
    }
    // A declaration or the other side's foul wins for the side to move;
    // every other ending loses for it.
    const bool moverWins = e == GameEnding::FoulWin || e == GameEnding::EnteringKingWin;
    const Side winner = moverWins ? toMove : opponentOf(toMove);
    const char* name = winner == Side::Lower ? (handicap ? "下手" : "先手") : (handicap ? "上手" : "後手");
    return plies + cp(name) + cp("の勝ち");
}

void writeComment(KifText& out, const std::string& comment) {
    if (comment.empty()) return;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = comment.find('\n', from);
        // Appended rather than joined: GCC 12 warns falsely on "*" + text.
        std::string text = "*";
        text += toCp932(std::string_view(comment).substr(from, end - from));
        out.line(text);
        if (end == std::string::npos) return;
        from = end + 1;
    }
}

// The closing line of a KI2 line, which says the ending in words that KI2
// readers take: "まで64手で後手の勝ち", "まで64手で時間切れにより後手の勝ち",
// "まで64手で先手の反則負け", "まで64手で詰み" and the like.
std::string ki2ClosingLine(GameEnding e, int32_t length, Side toMove, bool handicap) {
    const std::string plies = cp("まで") + std::to_string(length) + cp("手で");
    const auto name = [handicap](Side side) {
        return cp(side == Side::Lower ? (handicap ? "下手" : "先手") : (handicap ? "上手" : "後手"));
    };
    switch (e) {
        case GameEnding::Mate:
            return plies + cp(kifEndingWord(e));
        case GameEnding::TimeUp:
            return plies + cp("時間切れにより") + name(opponentOf(toMove)) + cp("の勝ち");
        case GameEnding::FoulWin:
        case GameEnding::FoulLoss:
        case GameEnding::EnteringKingWin:
            return plies + name(toMove) + cp("の") + cp(kifEndingWord(e));
        default:
            return closingLine(e, length, toMove, handicap);
    }
}

// Writes the moves of a tree: each line, then the variations that branch
// off it, the latest first, as KIF and KI2 readers expect them. KIF gives
// each move a numbered line of the move table with its time; KI2 writes the
// moves six to a line after their marks, without times.
class TableWriter {
  public:
    TableWriter(const RecordTree& tree, KifText& out, bool handicap, bool ki2)
        : tree_(tree), out_(out), handicap_(handicap), ki2_(ki2) {}

    // The line that starts at `head` (the root or the first move of a
    // variation), then its variations. Nested variations start at later
    // plies, so the depth of the calls stays within the plies of a line.
    void writeLine(NodeId head, Position position, const std::array<int64_t, 2>& totalsAtHead) {
        std::vector<NodeId> line;
        std::vector<Position> before;  // the position before each move of `line`
        std::vector<std::array<int64_t, 2>> totals;  // the totals before each move
        std::array<int64_t, 2> total = totalsAtHead;
        for (NodeId next = head == kRootNode ? firstChild(kRootNode) : head; next != kNoNode;
             next = firstChild(next)) {
            const RecordNode& n = tree_.node(next);
            const Side mover = tree_.sideToMoveAt(n.parent);
            before.push_back(position);
            totals.push_back(total);
            if (ki2_) {
                writeKi2Move(next, position, mover);
            } else {
                writeMove(next, position, mover, total);
            }
            applyMove(position, mover, n.move);
            line.push_back(next);
        }
        const NodeId last = line.empty() ? head : line.back();
        if (ki2_) {
            flushKi2();
            const RecordNode& n = tree_.node(last);
            if (n.ending != GameEnding::None) {
                out_.line(ki2ClosingLine(n.ending, n.ply, tree_.sideToMoveAt(last), handicap_));
            }
        } else {
            writeEnding(last, total);
            if (head == kRootNode && tree_.node(last).ending != GameEnding::None) {
                out_.line(closingLine(tree_.node(last).ending, tree_.node(last).ply,
                                      tree_.sideToMoveAt(last), handicap_));
            }
        }
        // The head's own siblings belong to the caller's line.
        for (std::size_t k = line.size(); k-- > (head == kRootNode ? 0 : 1);) {
            const NodeId parent = tree_.node(line[k]).parent;
            const std::vector<NodeId>& siblings = tree_.node(parent).children;
            for (std::size_t s = 1; s < siblings.size(); ++s) {
                out_.line("");
                out_.line(cp("変化：") + std::to_string(tree_.node(line[k]).ply) + cp("手"));
                writeLine(siblings[s], before[k], totals[k]);
            }
        }
    }

  private:
    NodeId firstChild(NodeId id) const {
        const std::vector<NodeId>& c = tree_.node(id).children;
        return c.empty() ? kNoNode : c.front();
    }

    int32_t previousDestination(const RecordNode& n) const {
        return n.parent == kRootNode ? 0 : destinationOf(tree_.node(n.parent).move);
    }

    void writeMove(NodeId id, const Position& before, Side mover, std::array<int64_t, 2>& total) {
        const RecordNode& n = tree_.node(id);
        const RecordNode& parent = tree_.node(n.parent);
        const std::string text = plyText(plyParts(before, n.move, mover, previousDestination(n)));
        std::string time;
        if (n.timeMs != kUnknownTime) {
            int64_t& sideTotal = total[static_cast<std::size_t>(sideIndex(mover))];
            addTimeSaturated(sideTotal, n.timeMs);
            time = timeColumn(n.timeMs / 1000, sideTotal / 1000);
        }
        // "+" marks a move that a variation replaces further down.
        const bool branched = parent.children.back() != id;
        out_.line(moveLine(n.ply, text, time) + (branched ? "+" : ""));
        writeComment(out_, n.comment);
    }

    // Adds a move to the KI2 line being filled; a comment ends the line.
    void writeKi2Move(NodeId id, const Position& before, Side mover) {
        const RecordNode& n = tree_.node(id);
        if (ki2Moves_ == kKi2MovesPerLine) flushKi2();
        if (ki2Moves_ > 0) ki2Line_.append(std::max<std::size_t>(1, kKi2MoveWidth - ki2Width_), ' ');
        std::string move = cp(mover == Side::Lower ? "▲" : "△");
        move += ki2MoveText(before, n.move, mover, previousDestination(n));
        ki2Line_ += move;
        ki2Width_ = move.size();
        ++ki2Moves_;
        if (!n.comment.empty()) {
            flushKi2();
            writeComment(out_, n.comment);
        }
    }

    void flushKi2() {
        if (ki2Moves_ > 0) out_.line(ki2Line_);
        ki2Line_.clear();
        ki2Moves_ = 0;
        ki2Width_ = 0;
    }

    void writeEnding(NodeId last, const std::array<int64_t, 2>& total) {
        const RecordNode& n = tree_.node(last);
        if (n.ending == GameEnding::None) return;
        const int64_t sideTotal = total[static_cast<std::size_t>(sideIndex(tree_.sideToMoveAt(last)))];
        out_.line(moveLine(n.ply + 1, cp(kifEndingWord(n.ending)), timeColumn(0, sideTotal / 1000)));
    }

    static constexpr int32_t kKi2MovesPerLine = 6;
    static constexpr std::size_t kKi2MoveWidth = 14;  // bytes a move and its blanks take

    const RecordTree& tree_;
    KifText& out_;
    bool handicap_;
    bool ki2_;
    std::string ki2Line_;
    int32_t ki2Moves_ = 0;
    std::size_t ki2Width_ = 0;
};

// The header: the program's line, the metadata, 手合割 or a board diagram,
// the names. True for a standard handicap (下手 and 上手).
bool writeHeader(KifText& out, const RecordTree& tree) {
    out.line(cp("# ---- ぬさり将棋 棋譜ファイル ----"));
    for (const RecordHeader& h : tree.headers) {
        // A header read from KIF fits as it was; a longer one is cut.
        const std::string key = lineText(h.key, kMaxLineBytes - 2);
        out.line(key + cp("：") + lineText(h.value, kMaxLineBytes - 2 - key.size()));
    }

    const Position& start = tree.start();
    const bool senteFirst = tree.firstMover() == Side::Lower;
    const Handicap* handicap = senteFirst ? nullptr : handicapOfPosition(start);
    if (senteFirst && isEvenStart(start)) {
        out.line(cp("手合割：平手"));
    } else if (handicap != nullptr) {
        out.line(cp("手合割：") + cp(handicap->name));
    } else {
        writeDiagram(out, start, senteFirst);
    }
    const std::string first = cp(handicap != nullptr ? "下手：" : "先手：");
    const std::string second = cp(handicap != nullptr ? "上手：" : "後手：");
    out.line(first + lineText(tree.firstName, kMaxLineBytes - first.size()));
    out.line(second + lineText(tree.secondName, kMaxLineBytes - second.size()));
    return handicap != nullptr;
}

}  // namespace

std::string FormatKif(const RecordTree& tree) {
    KifText out;
    const bool handicap = writeHeader(out, tree);
    out.line(cp("手数----指手---------消費時間--"));
    writeComment(out, tree.node(kRootNode).comment);
    TableWriter(tree, out, handicap, false)
        .writeLine(kRootNode, tree.start(), {tree.startTimeMs[0], tree.startTimeMs[1]});
    return out.take();
}

std::string FormatKi2(const RecordTree& tree) {
    KifText out;
    const bool handicap = writeHeader(out, tree);
    writeComment(out, tree.node(kRootNode).comment);
    TableWriter(tree, out, handicap, true).writeLine(kRootNode, tree.start(), {0, 0});
    return out.take();
}

std::string FormatKifDiagram(const Position& p) {
    KifText out;
    writeBoard(out, p);
    return out.take();
}

std::string FormatKif(const GameRecord& record) {
    RecordTree tree;
    recordToTree(record, tree);
    return FormatKif(tree);
}

std::string PlyName(const GameRecord& record, int32_t ply) {
    if (ply < 1 || ply > kMaxRecordPlies) return {};
    const Position before = standardEntry(record, ply - 1);
    const Side mover = standardSideToMove(record, ply - 1);
    const Move m = moveOfPly(before, standardEntry(record, ply), mover);
    const int32_t previousTo =
        ply >= 2 ? plySquares(standardEntry(record, ply - 2), before).to : 0;
    const PlyParts parts = plyParts(before, m, mover, previousTo);
    return parts.declined ? parts.name + cp("不成") : parts.name;
}

std::string GameResultText(const GameRecord& record) {
    if (record.ending == GameEnding::None) return {};
    const bool handicap =
        !senteMovesFirst(record) && handicapOfPosition(standardEntry(record, 0)) != nullptr;
    const int32_t length = std::clamp(record.length, 0, kMaxRecordPlies);
    return closingLine(record.ending, length, standardSideToMove(record, length), handicap);
}

}  // namespace nusari
