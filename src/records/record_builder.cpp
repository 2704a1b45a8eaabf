#include "records/record_builder.h"

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

RecordBuilder::RecordBuilder(GameRecord& record) : record_(record) {
    record_.humanIsSecond = 0;
    record_.boardTurned = 0;
    record_.ending = GameEnding::None;
}

void RecordBuilder::setFirstMover(Side side) {
    if (!started()) record_.humanIsSecond = side == Side::Upper ? 1 : 0;
}

Side RecordBuilder::sideToMove() const {
    return standardSideToMove(record_, plies_);
}

RecordBuilder::Outcome RecordBuilder::play(const Move& m) {
    const Side mover = sideToMove();
    if (!isRecordableMove(current(), mover, m)) return Outcome::Unfit;
    if (plies_ >= kMaxRecordPlies) return Outcome::Full;
    ++plies_;
    Position& entry = record_.history[static_cast<std::size_t>(plies_)];
    entry = record_.history[static_cast<std::size_t>(plies_ - 1)];
    applyMove(entry, mover, m);
    lastDestination_ = destinationOf(m);
    return Outcome::Played;
}

void RecordBuilder::addTime(int64_t seconds) {
    if (!started()) return;
    addSaturated(record_.history[static_cast<std::size_t>(plies_)][timeCellOfPly(record_, plies_)],
                 seconds);
}

void addSaturated(int32_t& cell, int64_t amount) {
    const int64_t sum = static_cast<int64_t>(cell) + amount;
    cell = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

}  // namespace nusari
