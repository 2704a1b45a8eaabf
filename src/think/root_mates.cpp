#include "think/root_mates.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"
#include "think/mate_search.h"
#include "think/search.h"

namespace nusari {

namespace {

// Enough for any sensible mate within the time shares; the clock ends the
// search first on slow machines.
constexpr int64_t kRootMateNodes = 2000000;
constexpr int64_t kThreatTestNodes = 4000000;

int64_t deadlineOf(const EngineState& state, int32_t sharePercent) {
    return state.searchStartMs + int64_t{state.searchLimitMs} * sharePercent / 100;
}

// The generator's candidates all lose, but a move it did not propose may
// not: the first safe legal moves (king moves and captures tried first)
// become the list. False when none is found.
bool replaceBySafeMoves(const EngineState& state, const Position& root, MateSearch& search,
                        const CandidateList& original, CandidateList& list) {
    MoveList legal;
    generateLegalMoves(root, Side::Upper, legal);
    const int32_t king = findKing(root, Side::Upper);
    std::stable_partition(legal.moves, legal.moves + legal.count, [&](const Move& m) {
        return m.from == king || (!isDrop(m) && isPiece(root[destinationOf(m)]));
    });
    const int32_t haba = std::clamp(state.profile.haba, 1, kCandidateCapacity);
    CandidateList safe;
    int32_t count = 0;
    for (const Move& m : legal) {
        if (count >= haba || search.gaveUp()) break;
        Position after = root;
        applyMove(after, Side::Upper, m);
        Move reply;
        if (search.findMate(after, Side::Lower, state.profile.tume_hukasa, reply) || search.gaveUp()) continue;
        safe[count++] = Candidate{original[0].score, static_cast<int16_t>(m.from), static_cast<int16_t>(m.to), 0};
    }
    if (count == 0) return false;
    for (int32_t i = count; i < kCandidateCapacity; ++i) safe[i] = Candidate{kLossScore, kListEndFrom, kListEndFrom, 0};
    list = safe;
    return true;
}

}  // namespace

bool FindRootMate(const EngineState& state, const Position& root, Move& first) {
    if (state.profile.tume_hukasa < 1) return false;
    MateSearch search(kRootMateNodes, deadlineOf(state, kRootMateSharePercent));
    return search.findMate(root, Side::Upper, state.profile.tume_hukasa, first);
}

int32_t DropMatedCandidates(const EngineState& state, const Position& root, CandidateList& list) {
    if (state.profile.tume_hukasa < 1) return 0;
    const int32_t haba = std::clamp(state.profile.haba, 1, kCandidateCapacity);
    const CandidateList original = list;
    // One search object for all candidates: their positions share much.
    MateSearch search(kThreatTestNodes, deadlineOf(state, kThreatTestSharePercent));
    int32_t dropped = 0;
    bool anyLeft = false;
    for (int32_t i = 0; i < haba && list[i].from != kListEndFrom; ++i) {
        const Move m{list[i].from, list[i].to};
        if (m.from == kPassFrom) continue;
        Position after = root;
        if (search.gaveUp() || !isLegalMove(root, Side::Upper, m)) {
            anyLeft = true;
            continue;
        }
        applyMove(after, Side::Upper, m);
        Move reply;
        if (search.findMate(after, Side::Lower, state.profile.tume_hukasa, reply)) {
            DropCandidate(state, list, i);
            ++dropped;
        } else {
            anyLeft = true;
        }
    }
    if (!anyLeft && !replaceBySafeMoves(state, root, search, original, list)) {
        list = original;
        return 0;
    }
    return dropped;
}

}  // namespace nusari
