#include "study/move_explanation.h"

#include <algorithm>

#include "position/position.h"
#include "think/candidate.h"
#include "think/evaluate.h"
#include "think/progress.h"

namespace nusari {

namespace {

constexpr const char* kTermNames[kEvalTermCount] = {
    "王手 (逃げ場なし)", "自玉の逃げ道", "相手玉の逃げ道", "自玉の危険度", "相手玉の危険度",
    "自分の駒",          "相手の駒",     "駒の利き",       "取られそうな駒", "自分の持ち駒",
    "相手の持ち駒",      "パス",         "王手・取り返し",
};

// A piece code's name, with the mark of its side in the standard frame.
std::string pieceText(int32_t code, bool lowerIsSente) {
    static const char* const kNames[16] = {"玉", "飛", "角", "金", "銀", "桂", "香", "歩",
                                           "?",  "龍", "馬", "?",  "成銀", "成桂", "成香", "と"};
    const bool sente = (code < kUpperSide) == lowerIsSente;
    return std::string(sente ? "▲" : "△") + kNames[code & 15];
}

std::string squareText(int32_t square) {
    static const char* const kFiles[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９"};
    static const char* const kRanks[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (!isSquare(square)) return "?";
    return std::string(kFiles[fileOf(square) - 1]) + kRanks[rankOf(square) - 1];
}

struct Leaf {
    EvalTerms terms;
    int32_t sign = 1;  // +1 when the line's last mover is the side to move at the start
    std::vector<std::string> rules;
};

// The line's end as the engine scores its last move.
bool scoreLeaf(EngineState& engine, Position p, Side toMove, const std::vector<Move>& moves, Leaf& leaf) {
    if (moves.empty()) return false;
    const Side first = toMove;
    for (size_t i = 0; i + 1 < moves.size(); ++i) {
        applyMove(p, toMove, moves[i]);
        toMove = opponentOf(toMove);
    }
    // The engine scores for the upper side: the mover is turned up.
    const bool flip = toMove == Side::Lower;
    Position before = flip ? flipPosition(p) : p;
    before[kLowerTimeCell] = 0;
    before[kUpperTimeCell] = 0;
    const Move m = flip ? flipMove(moves.back()) : moves.back();
    Progress progress;
    ComputeProgress(engine, before, progress);
    std::vector<FiredRule> fired;
    BlendTables(engine, before, progress, fired);
    Position after = before;
    applyMove(after, Side::Upper, m);
    // The destinations of the moves before it, newest first, for the
    // recapture terms.
    PathTable path;
    for (int32_t k = 0; k < 3 && k + 2 <= static_cast<int32_t>(moves.size()); ++k) {
        const int32_t to = destinationOf(moves[moves.size() - 2 - static_cast<size_t>(k)]);
        path[k] = flip ? flipSquare(to) : to;
    }
    leaf.terms = ExplainMove(engine, after, path, m.to, m.from);
    leaf.sign = toMove == first ? 1 : -1;
    // The rules that count: those changing the value of a piece that stands there.
    for (const FiredRule& r : fired) {
        if (!isSquare(r.slot) || after[r.slot] != r.target) continue;
        const int32_t from = flip ? flipSquare(r.square) : r.square;
        const int32_t at = flip ? flipSquare(r.slot) : r.slot;
        std::string text = pieceText(r.code, !flip) + "(" + squareText(from) + ") → ";
        text += pieceText(r.target, !flip) + "(" + squareText(at) + ") ";
        if (r.change > 0) text += "+";
        text += std::to_string(r.change);
        leaf.rules.push_back(std::move(text));
    }
    return leaf.terms.legal;
}

}  // namespace

const char* EvalTermName(int32_t term) {
    return term >= 0 && term < kEvalTermCount ? kTermNames[term] : "?";
}

MoveExplanation ExplainLines(EngineState& engine, const Position& start, Side toMove,
                             const std::vector<Move>& line, const std::vector<Move>& other) {
    MoveExplanation out;
    Leaf a;
    Leaf b;
    if (!scoreLeaf(engine, start, toMove, line, a) || !scoreLeaf(engine, start, toMove, other, b)) {
        out.error = "この読み筋は評価できません";
        return out;
    }
    // Terms from the side to move at the start: a line that ends with the
    // opponent's move is seen from the other side, own and theirs swapped.
    const auto valueOf = [](const Leaf& leaf, int32_t term) {
        int32_t t = term;
        if (leaf.sign < 0) {
            static constexpr int32_t kSwap[kEvalTermCount] = {0, 2, 1, 4, 3, 6, 5, 7, 8, 10, 9, 11, 12};
            t = kSwap[term];
        }
        return leaf.sign * leaf.terms.value[t];
    };
    for (int32_t t = 0; t < kEvalTermCount; ++t) {
        const int32_t x = valueOf(a, t);
        const int32_t y = valueOf(b, t);
        if (x != 0 || y != 0) out.rows.push_back(MoveExplanation::Row{kTermNames[t], x, y});
    }
    out.rows.push_back(MoveExplanation::Row{"合計", a.sign * a.terms.total, b.sign * b.terms.total});
    out.rules = std::move(a.rules);
    return out;
}

}  // namespace nusari
