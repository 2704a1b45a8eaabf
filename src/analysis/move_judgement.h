// How good a move was, from an engine's scores before and after it: the
// win rate each score stands for, the label of the loss (緩手, 疑問手, 悪手,
// 大悪手), the comment that carries the judgement in the form other
// programs read (ShogiHome's "#評価値=" lines), and each side's tally.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nusari {

// The win rate in per cent that a score (from one side) stands for:
// 100 / (1 + e^(-score / scale)).
double WinRate(int32_t score, double scale = 600);

enum class MoveLabel : int32_t { None, Slack, Dubious, Mistake, Blunder };
inline constexpr int32_t kMoveLabelCount = 5;

// "緩手", "疑問手", "悪手", "大悪手"; empty for None.
std::string_view MoveLabelText(MoveLabel label);

// The least loss of win rate (percentage points) of each label.
struct LabelThresholds {
    double slack = 5;
    double dubious = 10;
    double mistake = 20;
    double blunder = 50;
};

// The label of a move that lost `loss` points of win rate.
MoveLabel LabelOfLoss(double loss, const LabelThresholds& thresholds = {});

// What an analysis found for one move.
struct MoveVerdict {
    int32_t scoreBefore = 0;  // the position before the move, from the mover's side
    int32_t scoreAfter = 0;   // after it, from the mover's side
    bool engineBest = false;  // the engine would have played it too
    int32_t senteScore = 0;   // after the move, from 先手's side: "#評価値="
    std::string line;         // the engine's line after the move, Japanese
    int32_t depth = 0;        // 0: not said
    std::string engine;
};

// The mover's loss of win rate; never below 0.
double WinRateLoss(const MoveVerdict& v, double scale = 600);

// The label, which an engine's own best move never gets.
MoveLabel LabelOf(const MoveVerdict& v, const LabelThresholds& thresholds = {},
                  double scale = 600);

// The analysis block of the move's comment: "【悪手】" when it has a label,
// then "#評価値=", "#読み筋=", "#深さ=", "#エンジン=" lines.
std::string AnalysisComment(const MoveVerdict& v, MoveLabel label);

// `comment` with an earlier analysis block taken out and `block` put at its
// end, so that analysing again replaces rather than repeats.
std::string WithAnalysisComment(std::string_view comment, std::string_view block);

// One side's tally over a game.
struct SideTally {
    std::array<int32_t, kMoveLabelCount> labels{};  // by MoveLabel
    int32_t moves = 0;
    double totalLoss = 0;
    void add(MoveLabel label, double loss);
    double averageLoss() const { return moves == 0 ? 0 : totalLoss / moves; }
};

}  // namespace nusari
