// A complete legal-move generator for either side, independent of the
// engine's pruned generator. It validates remote moves, self-play games and
// the engine front end, and it is proved by perft.
#pragma once

#include <cstdint>

#include "types.h"

namespace nusari {

// More than any position can produce, even a random board of 81 pieces.
inline constexpr int32_t kMaxLegalMoves = 4096;

struct MoveList {
    Move moves[kMaxLegalMoves];
    int32_t count = 0;

    void add(const Move& m) {
        if (count < kMaxLegalMoves) moves[count++] = m;
    }
    const Move* begin() const { return moves; }
    const Move* end() const { return moves + count; }
    bool contains(const Move& m) const;
};

// Every legal move of `side`: board moves with each promotion choice, drops
// under the two-pawn rule, no piece left without a move, nothing that leaves
// the mover's king attacked, no mate by a pawn drop. Safe on any square
// values (off-board cells must hold 64); a side without a king has no
// king-safety test.
void generateLegalMoves(const Position& p, Side side, MoveList& list);

bool isLegalMove(const Position& p, Side side, const Move& m);

// The pseudo-legal parts of the generator, for a search that checks king
// safety its own way: board moves with each promotion choice (none that
// leaves a piece without a move), and drops under the two-pawn and
// dead-piece rules. Neither looks at the mover's king.
void generateBoardMoves(const Position& p, Side side, MoveList& out);
void generateDrops(const Position& p, Side side, MoveList& out);

// A pawn drop of `side` that mates: not allowed.
bool isPawnDropMate(const Position& p, Side side, const Move& m);

// True when a piece of `attacker` attacks `square` (plain shogi moves).
bool isSquareAttacked(const Position& p, int32_t square, Side attacker);

// The squares of the pieces of `attacker` that attack `square`, each once:
// twelve steps and eight lines bound their number.
inline constexpr int32_t kMaxAttackers = 20;
int32_t attackersOf(const Position& p, int32_t square, Side attacker, int32_t (&out)[kMaxAttackers]);

// Square of the first king of `side`, or 0 when it has none.
int32_t findKing(const Position& p, Side side);

bool isInCheck(const Position& p, Side side);

// Leaf count of the legal-move tree of the given depth.
uint64_t perft(Position& p, Side side, int depth);

}  // namespace nusari
