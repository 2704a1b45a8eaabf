#include "analysis/record_annotation.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "records/ki2_moves.h"

namespace nusari {

std::string LineText(const Position& start, Side toMove, const std::vector<Move>& line,
                     int32_t previousTo) {
    std::string text;
    Position p = start;
    Side mover = toMove;
    for (const Move& m : line) {
        if (!isLegalMove(p, mover, m)) break;
        text += mover == Side::Lower ? "▲" : "△";
        text += toUtf8(ki2MoveText(p, m, mover, previousTo));
        previousTo = destinationOf(m);
        applyMove(p, mover, m);
        mover = opponentOf(mover);
    }
    return text;
}

AnnotationSummary AnnotateLine(RecordTree& tree, NodeId end, const PositionScorer& scorer,
                               const AnnotationSettings& settings,
                               const AnnotationProgress& progress) {
    AnnotationSummary summary;
    const std::vector<NodeId> path = tree.pathTo(end);  // ply n is path[n - 1]
    const int32_t plies = static_cast<int32_t>(path.size());
    const int32_t first = std::max(settings.firstPly, 1);
    const int32_t last = std::min(settings.lastPly, plies);
    if (first > last) return summary;

    // The positions first - 1 .. last, each scored once.
    const auto nodeAt = [&](int32_t ply) { return ply == 0 ? kRootNode : path[ply - 1]; };
    std::vector<std::optional<PositionScore>> scores(static_cast<std::size_t>(last + 1));
    const int32_t total = last - first + 2;
    for (int32_t k = 0; k < total; ++k) {
        const int32_t ply = settings.fromTheEnd ? last - k : first - 1 + k;
        const NodeId node = nodeAt(ply);
        scores[static_cast<std::size_t>(ply)] =
            scorer(tree.positionAt(node), tree.sideToMoveAt(node));
        if (progress && !progress(k + 1, total)) {
            summary.stopped = true;
            break;
        }
    }

    for (int32_t ply = first; ply <= last; ++ply) {
        const std::optional<PositionScore>& before = scores[static_cast<std::size_t>(ply - 1)];
        const std::optional<PositionScore>& after = scores[static_cast<std::size_t>(ply)];
        if (!before || !after) continue;
        const NodeId parent = nodeAt(ply - 1);
        RecordNode& node = tree.node(path[ply - 1]);
        const Side mover = tree.sideToMoveAt(parent);
        MoveVerdict v;
        v.scoreBefore = before->score;
        v.scoreAfter = -after->score;
        v.engineBest = !before->line.empty() && before->line.front() == node.move;
        v.senteScore = mover == Side::Lower ? v.scoreAfter : -v.scoreAfter;
        v.line = LineText(tree.positionAt(path[ply - 1]), opponentOf(mover), after->line,
                          destinationOf(node.move));
        v.depth = after->depth;
        v.engine = settings.engineName;
        const MoveLabel label = LabelOf(v, settings.thresholds, settings.scale);
        node.comment = WithAnalysisComment(node.comment, AnalysisComment(v, label));
        (mover == Side::Lower ? summary.sente : summary.gote)
            .add(label, WinRateLoss(v, settings.scale));
        ++summary.judged;
    }
    return summary;
}

}  // namespace nusari
