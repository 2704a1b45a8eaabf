#include "think/search_board.h"

#include <array>
#include <cassert>

#include "position/legal_moves.h"
#include "position/position.h"
#include "think/move_stages.h"

namespace nusari {

namespace {

constexpr uint64_t splitmix(uint64_t& state) {
    uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// A key for each piece code (0..47) on each board cell, one for each kind
// in each side's hand, one for the upper side to move.
struct Keys {
    std::array<std::array<uint64_t, 48>, kBoardCells> board{};
    std::array<std::array<uint64_t, 8>, 2> hand{};
    uint64_t upperToMove = 0;
};

constexpr Keys makeKeys() {
    Keys k;
    uint64_t state = 0x5ee1'a11c'e5ba'5eedull;
    for (auto& cell : k.board) {
        for (uint64_t& v : cell) v = splitmix(state);
    }
    for (auto& side : k.hand) {
        for (uint64_t& v : side) v = splitmix(state);
    }
    k.upperToMove = splitmix(state);
    return k;
}

constexpr Keys kKeys = makeKeys();

constexpr int32_t sideIndex(Side s) { return s == Side::Lower ? 0 : 1; }

inline uint64_t pieceKey(int32_t cell, int32_t code) {
    return isValidPieceCode(code) ? kKeys.board[static_cast<size_t>(cell)][static_cast<size_t>(code)] : 0;
}

}  // namespace

// The board's part: the pieces and the side to move by exclusive or.
uint64_t boardKey(const Position& p, Side toMove) {
    uint64_t board = toMove == Side::Upper ? kKeys.upperToMove : 0;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) board ^= pieceKey(sq, p[sq]);
    return board;
}

// The hands' part: each piece held adds its kind's key.
uint64_t handKey(const Position& p) {
    uint64_t hand = 0;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        hand += static_cast<uint64_t>(p[kLowerHandBase + kind]) * kKeys.hand[0][static_cast<size_t>(kind)];
        hand += static_cast<uint64_t>(p[kUpperHandBase + kind]) * kKeys.hand[1][static_cast<size_t>(kind)];
    }
    return hand;
}

uint64_t PositionKey(const Position& p, Side toMove) { return boardKey(p, toMove) ^ handKey(p); }

SearchBoard::SearchBoard(const Position& p, Side toMove) : p_(p), toMove_(toMove) {
    p_[kLowerTimeCell] = 0;
    p_[kUpperTimeCell] = 0;
    boardKey_ = boardKey(p_, toMove_);
    handKey_ = handKey(p_);
    key_ = boardKey_ ^ handKey_;
    history_.push_back(Entry{key_, isInCheck(p_, toMove_)});
}

void SearchBoard::make(const Move& m) {
    const Side mover = toMove_;
    const int32_t to = destinationOf(m);
    const int32_t handBase = mover == Side::Lower ? kLowerHandBase : kUpperHandBase;
    const auto& handKeys = kKeys.hand[static_cast<size_t>(sideIndex(mover))];
    undo_.push_back(Undo{MadeMove{m, isDrop(m) ? 0 : p_[m.from], p_[to], 0}, boardKey_, handKey_});
    if (isDrop(m)) {
        handKey_ -= handKeys[static_cast<size_t>(m.from - handBase)];
    } else {
        boardKey_ ^= pieceKey(m.from, p_[m.from]);
    }
    const int32_t captured = p_[to];
    if (isValidPieceCode(captured)) {
        boardKey_ ^= pieceKey(to, captured);
        handKey_ += handKeys[static_cast<size_t>(captured & 7)];
    }
    applyMove(p_, mover, m);
    undo_.back().played.landed = p_[to];
    boardKey_ ^= pieceKey(to, p_[to]) ^ kKeys.upperToMove;
    key_ = boardKey_ ^ handKey_;
    toMove_ = opponentOf(mover);
    history_.push_back(Entry{key_, isInCheck(p_, toMove_)});
    assert(key_ == PositionKey(p_, toMove_));
}

void SearchBoard::unmake() {
    const Undo u = undo_.back();
    undo_.pop_back();
    history_.pop_back();
    toMove_ = opponentOf(toMove_);
    undoMove(p_, toMove_, u.played.move, u.played.captured);
    boardKey_ = u.boardKey;
    handKey_ = u.handKey;
    key_ = history_.back().key;
}

void SearchBoard::makeNull() {
    undo_.push_back(Undo{MadeMove{}, boardKey_, handKey_});
    boardKey_ ^= kKeys.upperToMove;
    key_ = boardKey_ ^ handKey_;
    toMove_ = opponentOf(toMove_);
    history_.push_back(Entry{key_, false, true});
}

void SearchBoard::unmakeNull() {
    const Undo u = undo_.back();
    undo_.pop_back();
    history_.pop_back();
    toMove_ = opponentOf(toMove_);
    boardKey_ = u.boardKey;
    handKey_ = u.handKey;
    key_ = history_.back().key;
}

Repetition SearchBoard::repetition() const {
    const size_t now = history_.size() - 1;
    // The positions since the last null move.
    size_t reach = now;
    for (size_t i = now; i > 0; --i) {
        if (history_[i].afterNull) {
            reach = now - i;
            break;
        }
    }
    for (size_t back = 4; back <= reach; back += 2) {
        if (history_[now - back].key != key_) continue;
        // The positions of the cycle after the earlier one: the side to
        // move's (every other one, ending now) and the other side's.
        bool ownAlwaysChecked = true;
        bool otherAlwaysChecked = true;
        for (size_t i = now - back + 1; i <= now; ++i) {
            const bool ownTurn = (now - i) % 2 == 0;
            (ownTurn ? ownAlwaysChecked : otherAlwaysChecked) &= history_[i].inCheck;
        }
        if (ownAlwaysChecked) return Repetition::Win;
        if (otherAlwaysChecked) return Repetition::Loss;
        return Repetition::Draw;
    }
    return Repetition::None;
}

uint64_t SearchPerft(SearchBoard& board, int32_t depth) {
    if (depth <= 0) return 1;
    uint64_t leaves = 0;
    MoveList moves;
    for (const MoveStage stage : {MoveStage::Evasions, MoveStage::Captures, MoveStage::Quiets, MoveStage::Drops}) {
        GenerateStage(board.position(), board.sideToMove(), board.inCheck(), stage, moves);
        if (depth == 1) {
            leaves += static_cast<uint64_t>(moves.count);
            continue;
        }
        for (const Move& m : moves) {
            board.make(m);
            leaves += SearchPerft(board, depth - 1);
            board.unmake();
        }
    }
    return leaves;
}

}  // namespace nusari
