// The engine's use of the mate search at the root (the computer is the upper
// side and to move): playing a mate it finds, and dropping candidate moves
// after which the opponent mates.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "position/types.h"
#include "think/candidate.h"

namespace nusari {

// Shares of the move's limit by which the root mate search and the threat
// tests must be done; the search proper keeps the rest.
inline constexpr int32_t kRootMateSharePercent = 15;
inline constexpr int32_t kThreatTestSharePercent = 40;

// True and the first move when the upper side mates within
// state.profile.tume_hukasa plies.
bool FindRootMate(const EngineState& state, const Position& root, Move& first);

// Drops every candidate after which the lower side mates within
// state.profile.tume_hukasa plies, unless that would drop all of them.
// Candidates still untested when the time share runs out stay. Returns the
// number dropped.
int32_t DropMatedCandidates(const EngineState& state, const Position& root, CandidateList& list);

}  // namespace nusari
