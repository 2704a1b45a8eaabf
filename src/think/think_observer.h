// What a think tells while it runs: each iteration's depth, score, best line
// and nodes, and how it ended. The thinking panel, the USI front end and the
// analysis each show these their own way.
#pragma once

#include <cstdint>
#include <string>

#include "position/types.h"

namespace nusari {

// The most moves a best line holds.
inline constexpr int32_t kMaxBestLine = 16;

// Moves from the position asked about, the side to move's first, then the
// sides in turn; in the request's frame.
struct BestLine {
    Move moves[kMaxBestLine]{};
    int32_t count = 0;

    void add(const Move& m) {
        if (count < kMaxBestLine) moves[count++] = m;
    }
    const Move* begin() const { return moves; }
    const Move* end() const { return moves + count; }
    // The first move, or Move::none() while there is none.
    Move first() const { return count > 0 ? moves[0] : Move::none(); }
};

// Values fixed for one think, shown beside every iteration.
struct ThinkSetting {
    int32_t maxDepth = 0;  // the last iteration number (hukasa)
    Move induced{0, 0};    // the book's first induced move (誘導手), {0, 0} without one
    int32_t progress = 0;  // the game's progress (進行度) at the root
};

// The pass, the search's "do nothing", when it leads the root list.
inline constexpr Move kPassHead{0, 0};

// The most root moves an iteration reports beside its best line.
inline constexpr int32_t kMaxRootCandidates = 10;

// A move of the root list after an iteration, with the best line that
// begins with it. Only the head's score is searched to the end; a later
// move's is at most the head's (it did not beat it), so it is reported no
// higher.
struct RootCandidate {
    Move move = Move::none();
    int32_t score = 0;
    BestLine line;
};

struct ThinkIteration {
    int32_t depth = 0;  // the iteration number: 10 per ply
    int32_t score = 0;  // from the side to move; kWinScore / kLossScore when decided
    int32_t nodes = 0;  // evaluations so far in this think
    // The head of the root list: a move, kPassHead, or Move::none() while
    // the list holds nothing.
    Move best = Move::none();
    // The best line through the stored positions; empty unless `best` is a move.
    BestLine line;
    ThinkSetting setting;
    // The first moves of the root list, best first, as many as the observer
    // wants (none by default); passes are left out.
    RootCandidate candidates[kMaxRootCandidates];
    int32_t candidateCount = 0;
};

// How a think ended.
enum class ThinkEnd : int32_t {
    Book,      // a book move, played unsearched
    Won,       // a mate, or a position the search has proved won
    Lost,      // every move loses: the engine resigns
    Forced,    // the only move, after ten iterations
    Searched,  // the best move of the last iteration (or resign)
    NoThink,   // nothing to think about (the side not to move stands in check)
};

struct ThinkResult {
    ThinkEnd end = ThinkEnd::Searched;
    Move move = Move::none();
    // Of a searched think: the score (kLossScore when it resigns), the
    // last iteration completed and the nodes.
    int32_t score = 0;
    int32_t depth = 0;
    int32_t nodes = 0;
    ThinkSetting setting;
    // The book message of the move played (UTF-8), if the book has one.
    std::string message;
};

// Told about a think as it happens; every hook does nothing by default.
class ThinkObserver {
  public:
    virtual ~ThinkObserver() = default;
    // The think has begun (before the book is probed).
    virtual void onStart() {}
    virtual void onIteration(const ThinkIteration& /*iteration*/) {}
    // How many root moves each iteration should report (at most
    // kMaxRootCandidates); an observer that shows several lines asks for them.
    virtual int32_t wantedCandidates() const { return 0; }
    virtual void onResult(const ThinkResult& /*result*/) {}
};

// An observer that shows nothing.
inline ThinkObserver& silentObserver() {
    static ThinkObserver silent;
    return silent;
}

}  // namespace nusari
