#include "ui/evaluation_lines.h"

#include <algorithm>

#include "analysis/move_judgement.h"
#include "records/comment_scores.h"

namespace nusari {

EvaluationLines EvaluationLinesOf(const RecordTree& tree, const std::vector<NodeId>& line,
                                  bool winRate, double scale, const StudiedScore& studied) {
    EvaluationLines lines;
    const auto value = [&](int32_t score) {
        return winRate ? WinRate(score, scale)
                       : static_cast<double>(std::clamp(score, -kGraphScoreLimit, kGraphScoreLimit));
    };
    for (std::size_t ply = 0; ply <= line.size(); ++ply) {
        const NodeId node = ply == 0 ? kRootNode : line[ply - 1];
        const CommentScores s = ScoresOfNode(tree.node(node));
        const auto at = static_cast<int32_t>(ply);
        if (s.played) lines.played.push_back({at, value(*s.played)});
        if (s.analysed) lines.analysed.push_back({at, value(*s.analysed)});
        if (studied) {
            if (const std::optional<int32_t> score = studied(node)) lines.studied.push_back({at, value(*score)});
        }
    }
    return lines;
}

}  // namespace nusari
