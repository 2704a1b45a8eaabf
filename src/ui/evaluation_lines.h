// The evaluation graph's lines for the line of a record shown: at each ply
// the score of the engine that played the move and the score of an
// analysis (records/comment_scores.h), from 先手's side, as a score clamped
// for the graph or as 先手's win rate.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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
    std::vector<GraphPoint> analysed;  // 棋譜解析, and 検討's lines put into comments
    std::vector<GraphPoint> studied;   // 検討 of the plies shown while it ran
    bool empty() const { return played.empty() && analysed.empty() && studied.empty(); }
};

// 検討's score of a node's position (先手's side), if it has one.
using StudiedScore = std::function<std::optional<int32_t>(NodeId)>;

// The points of the plies of `line` (ply n is line[n - 1]; the start's
// comment is ply 0) that have a score; with `winRate` 先手's win rate in
// per cent at the scale, else the score clamped to ±kGraphScoreLimit.
EvaluationLines EvaluationLinesOf(const RecordTree& tree, const std::vector<NodeId>& line,
                                  bool winRate, double scale = 600, const StudiedScore& studied = {});

}  // namespace nusari
