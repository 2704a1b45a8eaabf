// The evaluation graph's lines for the line of a record shown: at each ply
// the score of the engine that played the move and the score of an
// analysis (records/comment_scores.h), from 先手's side, as a score clamped
// for the graph or as 先手's win rate.
#pragma once

#include <cstdint>
#include <vector>

#include "records/record_tree.h"

namespace nusari {

// The graph's score axis: ±2000, a gridline every 1000.
inline constexpr int32_t kGraphScoreLimit = 2000;

struct GraphPoint {
    int32_t ply = 0;
    double value = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct EvaluationLines {
    std::vector<GraphPoint> played;    // the game's engines
    std::vector<GraphPoint> analysed;  // 検討 and 棋譜解析
    bool empty() const { return played.empty() && analysed.empty(); }
};

// The points of the plies of `line` (ply n is line[n - 1]; the start's
// comment is ply 0) that have a score; with `winRate` 先手's win rate in
// per cent at the scale, else the score clamped to ±kGraphScoreLimit.
EvaluationLines EvaluationLinesOf(const RecordTree& tree, const std::vector<NodeId>& line,
                                  bool winRate, double scale = 600);

}  // namespace nusari
