// The board of the second search: the position with its side to move, moves
// made and unmade in place, a Zobrist key kept up to date with every move,
// and the history of keys since the root (and the game before it) for the
// repetition rules: a repeated position is a draw, unless one side gave
// check with every move since, and then that side loses.
#pragma once

#include <cstdint>
#include <vector>

#include "position/types.h"

namespace nusari {

// The key of a position with its side to move: the board's pieces and the
// side by exclusive or, the pieces in hand by sum, so that each move changes
// it by a few steps.
uint64_t PositionKey(const Position& p, Side toMove);

// A move made on the board with the pieces it moved: the code that left
// `from` (a board move), the code taken at the destination (or empty) and
// the code that stands there after it. All none for a null move.
struct MadeMove {
    Move move = Move::none();
    int32_t moved = 0;
    int32_t captured = 0;
    int32_t landed = 0;
    bool operator==(const MadeMove&) const = default;
};

// What a repetition means for the side to move.
enum class Repetition : int32_t {
    None,
    Draw,
    Win,   // the other side checked with every move of the cycle
    Loss,  // the side to move checked with every move of the cycle
};

class SearchBoard {
  public:
    // `p` in the standard frame; cells 111 and 119 are not read.
    SearchBoard(const Position& p, Side toMove);

    const Position& position() const { return p_; }
    Side sideToMove() const { return toMove_; }
    uint64_t key() const { return key_; }
    bool inCheck() const { return history_.back().inCheck; }
    // Moves made since the board was set up.
    int32_t ply() const { return static_cast<int32_t>(undo_.size()); }

    // Plays a legal move of the side to move, and takes it back.
    void make(const Move& m);
    void unmake();
    // Hands the move to the other side without moving (the null move of
    // the search's pruning), and takes it back. Repetitions are not looked
    // for across it.
    void makeNull();
    void unmakeNull();
    // The last move made, or Move::none() at the root.
    Move lastMove() const { return undo_.empty() ? Move::none() : undo_.back().played.move; }
    // The moves made since the board was set up, the first at 0.
    const MadeMove& played(int32_t i) const { return undo_[static_cast<size_t>(i)].played; }

    // Whether the position now stood before with the same side to move, and
    // what that means; the nearest earlier occurrence counts.
    Repetition repetition() const;

  private:
    struct Undo {
        MadeMove played;
        uint64_t boardKey = 0;
        uint64_t handKey = 0;
    };
    struct Entry {
        uint64_t key = 0;
        bool inCheck = false;  // the side to move of that position stood in check
        bool afterNull = false;  // reached by a null move
    };
    Position p_;
    Side toMove_;
    uint64_t key_ = 0;
    uint64_t boardKey_ = 0;  // the key's two parts
    uint64_t handKey_ = 0;
    std::vector<Undo> undo_;
    std::vector<Entry> history_;
};

// The leaf count of the legal-move tree of `depth`, from the staged
// generator's moves made and unmade on the board: the check of both
// against perft.
uint64_t SearchPerft(SearchBoard& board, int32_t depth);

}  // namespace nusari
