#include "records/record_tree.h"

#include <algorithm>

#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/record_builder.h"

namespace nusari {

RecordTree::RecordTree() {
    Position even;
    setupPosition(even, kPresetEven);
    reset(even, Side::Lower);
}

void RecordTree::reset(const Position& start, Side firstMover) {
    start_ = start;
    start_[kLowerTimeCell] = 0;
    start_[kUpperTimeCell] = 0;
    firstMover_ = firstMover;
    nodes_.assign(1, RecordNode{});
    firstName.clear();
    secondName.clear();
    headers.clear();
    startTimeMs[0] = startTimeMs[1] = 0;
}

std::vector<NodeId> RecordTree::mainLine() const {
    std::vector<NodeId> line;
    for (NodeId id = kRootNode; !node(id).children.empty();) {
        id = node(id).children.front();
        line.push_back(id);
    }
    return line;
}

NodeId RecordTree::mainLineEnd() const {
    NodeId id = kRootNode;
    while (!node(id).children.empty()) id = node(id).children.front();
    return id;
}

NodeId RecordTree::lineEndFrom(NodeId id) const {
    while (!node(id).children.empty()) id = node(id).children.front();
    return id;
}

std::vector<NodeId> RecordTree::pathTo(NodeId id) const {
    std::vector<NodeId> path;
    for (; id != kRootNode && id != kNoNode; id = node(id).parent) path.push_back(id);
    std::reverse(path.begin(), path.end());
    return path;
}

Position RecordTree::positionAt(NodeId id) const {
    Position p = start_;
    Side mover = firstMover_;
    for (const NodeId step : pathTo(id)) {
        applyMove(p, mover, node(step).move);
        mover = opponentOf(mover);
    }
    return p;
}

Side RecordTree::sideToMoveAt(NodeId id) const {
    return node(id).ply % 2 == 0 ? firstMover_ : opponentOf(firstMover_);
}

NodeId RecordTree::addMove(NodeId parent, const Move& m) {
    if (!isRecordableMove(positionAt(parent), sideToMoveAt(parent), m)) return kNoNode;
    return addCheckedMove(parent, m);
}

NodeId RecordTree::addCheckedMove(NodeId parent, const Move& m) {
    for (const NodeId child : node(parent).children) {
        if (node(child).move == m) return child;
    }
    if (node(parent).ply >= kMaxRecordPlies || nodeCount() >= kMaxTreeNodes) return kNoNode;
    RecordNode added;
    added.move = m;
    added.parent = parent;
    added.ply = node(parent).ply + 1;
    const NodeId id = nodeCount();
    nodes_.push_back(std::move(added));
    node(parent).children.push_back(id);
    return id;
}

void RecordTree::promoteToMainLine(NodeId id) {
    for (; id != kRootNode && id != kNoNode; id = node(id).parent) {
        std::vector<NodeId>& siblings = node(node(id).parent).children;
        const auto at = std::find(siblings.begin(), siblings.end(), id);
        std::rotate(siblings.begin(), at, at + 1);
    }
}

bool RecordTree::moveAmongSiblings(NodeId id, int32_t step) {
    if (id == kRootNode || id < 0 || id >= nodeCount() || (step != -1 && step != 1)) return false;
    std::vector<NodeId>& siblings = node(node(id).parent).children;
    const auto at = std::find(siblings.begin(), siblings.end(), id);
    const auto index = at - siblings.begin();
    const auto other = index + step;
    if (other < 0 || other >= static_cast<std::ptrdiff_t>(siblings.size())) return false;
    std::swap(siblings[static_cast<std::size_t>(index)], siblings[static_cast<std::size_t>(other)]);
    return true;
}

// The nodes kept are renumbered in their old order, so a parent still comes
// before its children; the walk over the removed part uses a stack, not
// recursion.
NodeId RecordTree::removeSubtree(NodeId id) {
    if (id == kRootNode || id < 0 || id >= nodeCount()) return kNoNode;
    std::vector<bool> removed(nodes_.size(), false);
    std::vector<NodeId> stack{id};
    while (!stack.empty()) {
        const NodeId at = stack.back();
        stack.pop_back();
        removed[static_cast<std::size_t>(at)] = true;
        for (const NodeId child : node(at).children) stack.push_back(child);
    }
    const NodeId parent = node(id).parent;
    std::vector<NodeId>& siblings = node(parent).children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), id));
    std::vector<NodeId> renumbered(nodes_.size(), kNoNode);
    std::vector<RecordNode> kept;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (removed[i]) continue;
        renumbered[i] = static_cast<NodeId>(kept.size());
        kept.push_back(std::move(nodes_[i]));
    }
    for (RecordNode& n : kept) {
        if (n.parent != kNoNode) n.parent = renumbered[static_cast<std::size_t>(n.parent)];
        for (NodeId& child : n.children) child = renumbered[static_cast<std::size_t>(child)];
    }
    nodes_ = std::move(kept);
    return renumbered[static_cast<std::size_t>(parent)];
}

std::string_view RecordTree::header(std::string_view key) const {
    for (const RecordHeader& h : headers) {
        if (h.key == key) return h.value;
    }
    return {};
}

void RecordTree::setHeader(std::string_view key, std::string_view value) {
    for (RecordHeader& h : headers) {
        if (h.key == key) {
            h.value = value;
            return;
        }
    }
    headers.push_back(RecordHeader{std::string(key), std::string(value)});
}

void mainLineToRecord(const RecordTree& tree, GameRecord& record) {
    lineToRecord(tree, tree.mainLineEnd(), record);
}

void lineToRecord(const RecordTree& tree, NodeId end, GameRecord& record, bool turned) {
    setName(record.firstName, toCp932(tree.firstName));
    setName(record.secondName, toCp932(tree.secondName));
    record.startTime = toCp932(tree.header("開始日時"));
    record.endTime = toCp932(tree.header("終了日時"));
    record.boardTurned = turned ? 1 : 0;
    // The lower side is the second player when exactly one of "後手 moves
    // first" and "the board is turned" holds.
    record.humanIsSecond = (tree.firstMover() == Side::Upper) != turned ? 1 : 0;
    Position p = tree.start();
    int64_t totalMs[2] = {tree.startTimeMs[0], tree.startTimeMs[1]};
    // Cell 111 holds the time of the side at the bottom.
    const int32_t senteCell = turned ? kUpperTimeCell : kLowerTimeCell;
    const int32_t goteCell = turned ? kLowerTimeCell : kUpperTimeCell;
    auto store = [&](int32_t ply) {
        Position& entry = record.history[static_cast<std::size_t>(ply)];
        entry = turned ? flipPosition(p) : p;
        entry[senteCell] = 0;
        entry[goteCell] = 0;
        addSaturated(entry[senteCell], totalMs[0] / 1000);
        addSaturated(entry[goteCell], totalMs[1] / 1000);
    };
    store(0);
    int32_t plies = 0;
    Side mover = tree.firstMover();
    for (const NodeId id : tree.pathTo(end)) {
        if (plies >= kMaxRecordPlies) break;
        const RecordNode& n = tree.node(id);
        applyMove(p, mover, n.move);
        if (n.timeMs != kUnknownTime) addTimeSaturated(totalMs[sideIndex(mover)], n.timeMs);
        ++plies;
        store(plies);
        mover = opponentOf(mover);
    }
    record.length = plies;
    record.ending = tree.node(end).ending;
}

void recordToTree(const GameRecord& record, RecordTree& tree) {
    const int32_t length = std::clamp(record.length, 0, kMaxRecordPlies);
    tree.reset(standardEntry(record, 0), standardSideToMove(record, 0));
    tree.firstName = toUtf8(nameOf(record.firstName));
    tree.secondName = toUtf8(nameOf(record.secondName));
    if (!record.startTime.empty()) tree.setHeader("開始日時", toUtf8(record.startTime));
    if (!record.endTime.empty()) tree.setHeader("終了日時", toUtf8(record.endTime));
    // The cells count the history's sides: the lower one is 先手 unless turned.
    const bool turned = record.boardTurned != 0;
    const int32_t senteCell = turned ? kUpperTimeCell : kLowerTimeCell;
    const int32_t goteCell = turned ? kLowerTimeCell : kUpperTimeCell;
    tree.startTimeMs[0] = int64_t{record.history[0][senteCell]} * 1000;
    tree.startTimeMs[1] = int64_t{record.history[0][goteCell]} * 1000;
    NodeId at = kRootNode;
    for (int32_t i = 1; i <= length; ++i) {
        const Side mover = standardSideToMove(record, i - 1);
        const Move m = moveOfPly(standardEntry(record, i - 1), standardEntry(record, i), mover);
        const NodeId next = tree.addCheckedMove(at, m);
        if (next == kNoNode) break;
        const int32_t cell = timeCellOfPly(record, i);
        const auto& before = record.history[static_cast<std::size_t>(i - 1)];
        const auto& after = record.history[static_cast<std::size_t>(i)];
        tree.node(next).timeMs = (int64_t{after[cell]} - before[cell]) * 1000;
        at = next;
    }
    tree.node(at).ending = record.ending;
}

}  // namespace nusari
