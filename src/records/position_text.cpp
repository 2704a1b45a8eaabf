#include "records/position_text.h"

#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "records/crlf_text.h"
#include "records/ki2_moves.h"
#include "records/kif_notation.h"
#include "records/kif_writer.h"

namespace nusari {

std::string FormatSfen(const RecordTree& tree, NodeId id) {
    return toSfen(tree.positionAt(id), tree.sideToMoveAt(id), tree.node(id).ply + 1);
}

std::string FormatUsiPosition(const RecordTree& tree, NodeId id) {
    Position even;
    setupPosition(even, kPresetEven);
    const bool evenStart = tree.start() == even && tree.firstMover() == Side::Lower;
    std::string text = "position ";
    text += evenStart ? std::string("startpos") : "sfen " + toSfen(tree.start(), tree.firstMover());
    const std::vector<NodeId> path = tree.pathTo(id);
    if (!path.empty()) text += " moves";
    Side mover = tree.firstMover();
    for (const NodeId n : path) {
        text += ' ' + moveToUsi(tree.node(n).move, mover);
        mover = opponentOf(mover);
    }
    return text;
}

std::string FormatBod(const RecordTree& tree, NodeId id) {
    std::string text = FormatKifDiagram(tree.positionAt(id));
    CrLfText out;
    const RecordNode& n = tree.node(id);
    if (id != kRootNode) {
        const Side mover = tree.sideToMoveAt(n.parent);
        const int32_t previousTo =
            n.parent == kRootNode ? 0 : destinationOf(tree.node(n.parent).move);
        out.line(
            cp("手数＝") + std::to_string(n.ply) + "  " + cp(mover == Side::Lower ? "▲" : "△") +
            ki2MoveText(tree.positionAt(n.parent), n.move, mover, previousTo) + "  " + cp("まで"));
    }
    out.line(cp(tree.sideToMoveAt(id) == Side::Lower ? "先手番" : "後手番"));
    return text + out.take();
}

}  // namespace nusari
