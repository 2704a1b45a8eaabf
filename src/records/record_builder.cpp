#include "records/record_builder.h"

#include <algorithm>

#include "position/position.h"

namespace nusari {

namespace {

bool canPromote(int32_t code) {
    const int32_t kind = kindOf(code);
    return !isPromoted(code) && kind != kKing && kind != kGold;
}

bool belongsTo(int32_t cell, Side side) {
    return side == Side::Lower ? isLowerPiece(cell) && isValidPieceCode(cell)
                               : isUpperPiece(cell) && isValidPieceCode(cell);
}

}  // namespace

bool isRecordableMove(const Position& p, Side mover, const Move& m) {
    const int32_t to = destinationOf(m);
    if (m.to < 0 || !isSquare(to)) return false;
    const int32_t target = p[to];
    if (isDrop(m)) {
        const int32_t base = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
        const int32_t kind = m.from - base;
        return kind >= kRook && kind <= kPawn && p[m.from] > 0 && target == kEmpty &&
               !isPromotion(m);
    }
    if (!isSquare(m.from) || m.from == to || !belongsTo(p[m.from], mover)) return false;
    if (isPromotion(m) && !canPromote(p[m.from])) return false;
    if (target == kEmpty) return true;
    return belongsTo(target, opponentOf(mover)) && kindOf(target) != kKing;
}

RecordBuilder::RecordBuilder(RecordTree& tree) : tree_(tree) {}

void RecordBuilder::setFirstMover(Side side) {
    if (!started()) tree_.setFirstMover(side);
}

int32_t RecordBuilder::lastDestination() const {
    return line_.empty() ? 0 : destinationOf(tree_.node(line_.back()).move);
}

RecordBuilder::Outcome RecordBuilder::play(const Move& m) {
    const Side mover = sideToMove();
    if (!isRecordableMove(current(), mover, m)) return Outcome::Unfit;
    if (plies() >= kMaxRecordPlies) return Outcome::Full;
    const NodeId next = tree_.addCheckedMove(at(), m);
    if (next == kNoNode) return Outcome::TooManyNodes;
    Position after = current();
    applyMove(after, mover, m);
    positions_.push_back(after);
    line_.push_back(next);
    // A line that joins one read before takes its ending too.
    ended_ = tree_.node(next).ending != GameEnding::None;
    return Outcome::Played;
}

bool RecordBuilder::branchAfter(int32_t ply) {
    if (ply < 0 || ply > plies()) return false;
    line_.resize(static_cast<std::size_t>(ply));
    positions_.resize(static_cast<std::size_t>(ply));
    // A move after an ending is no move of the record: a variation that
    // would follow one is skipped like the moves after it.
    ended_ = tree_.node(at()).ending != GameEnding::None;
    return true;
}

void RecordBuilder::addTimeMs(int64_t ms) {
    if (line_.empty()) return;
    int64_t& time = tree_.node(at()).timeMs;
    if (time == kUnknownTime) time = 0;
    addTimeSaturated(time, ms);
}

void RecordBuilder::addCommentLine(std::string_view utf8) {
    const NodeId id = at();
    if (commented_.size() <= static_cast<std::size_t>(id)) {
        commented_.resize(static_cast<std::size_t>(tree_.nodeCount()), false);
    }
    std::string& comment = tree_.node(id).comment;
    if (commented_[static_cast<std::size_t>(id)]) comment += '\n';
    comment += utf8;
    commented_[static_cast<std::size_t>(id)] = true;
}

void RecordBuilder::setScore(int32_t score) {
    RecordNode& n = tree_.node(at());
    n.hasScore = true;
    n.score = score;
}

void RecordBuilder::setEnding(GameEnding ending) {
    // An ending in place of a move that another line plays has no place in
    // the tree: the line ends without it.
    if (tree_.node(at()).children.empty()) tree_.node(at()).ending = ending;
    ended_ = ending != GameEnding::None;
}

void addSaturated(int32_t& cell, int64_t amount) {
    const int64_t sum = static_cast<int64_t>(cell) + amount;
    cell = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

void addTimeSaturated(int64_t& time, int64_t amount) {
    constexpr int64_t kLimit = int64_t{1} << 53;
    amount = std::clamp(amount, -kLimit, kLimit);
    time = std::clamp(time + amount, -kLimit, kLimit);
}

}  // namespace nusari
