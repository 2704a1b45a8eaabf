// Candidate lists and path tables of the search.
#pragma once

#include <cstdint>

#include "position/types.h"

namespace nusari {

// Score constants. One ply costs 10 depth units.
inline constexpr int32_t kWinScore = 99999;      // the side to move mates or has won
inline constexpr int32_t kLossScore = -99999;    // lost; also the start of a full node
// EngineState::passScore before the node's pass is evaluated.
inline constexpr int32_t kScoreNotKnown = kLossScore;
inline constexpr int32_t kQuiescenceFloor = -90000;  // start of a quiescence node
inline constexpr int32_t kRootWindowTop = 90000;
inline constexpr int32_t kPlyDepth = 10;

// `from` of a list's end entry (its `to` too: the numbers of Move::none()),
// and of the pass.
inline constexpr int16_t kListEndFrom = kNoMove;
inline constexpr int16_t kPassFrom = 0;
// `from` of candidate 0 that asks the position memory for a path mark.
inline constexpr int16_t kPathMarkFrom = 111;

struct Candidate {
    int32_t score = 0;
    int16_t from = 0;
    int16_t to = 0;
    int16_t depthAdjustment = 0;  // tenths of a ply
};

inline constexpr int32_t kCandidateCapacity = 100;

// Up to 100 candidates, best first; from == 100 ends the list.
struct CandidateList {
    Candidate entry[kCandidateCapacity];
    Candidate& operator[](int32_t i) { return entry[i]; }
    const Candidate& operator[](int32_t i) const { return entry[i]; }
};

inline constexpr int32_t kPathLength = 32;

// Destinations of the moves that led to a node, newest first, in the node's frame.
struct PathTable {
    int32_t destination[kPathLength] = {};
    int32_t& operator[](int32_t i) { return destination[i]; }
    int32_t operator[](int32_t i) const { return destination[i]; }
};

}  // namespace nusari
