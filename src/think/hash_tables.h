// The two hash arrays of the computer opponent, both indexed by the board
// hash: the position memory (candidate lists, won/lost verdicts and path
// marks, compared with the hands byte by byte inside the slot) and the
// transposition table of the quiescence search. Direct-mapped, always
// replace.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "position/types.h"
#include "think/candidate.h"

namespace nusari {

struct StoredCandidate {
    int32_t score;
    uint8_t from;
    uint8_t to;
    int8_t depthAdjustment;
};

struct PositionMemorySlot {
    // Low bytes of cells 11..118 (board with walls, pass counter, the hand
    // of the side not to move); 0..10 and 119..127 are unused.
    uint8_t cells[128];
    // candidate[0].from == 111 marks the slot as a path mark.
    StoredCandidate candidate[kCandidateCapacity];
};

inline constexpr int32_t kTranspositionFirstCell = kFirstSquare;
inline constexpr int32_t kTranspositionLastCell = kLowerHandLast;

struct TranspositionSlot {
    uint8_t cells[kTranspositionLastCell - kTranspositionFirstCell + 1];  // cells 11..118
    int32_t score;
};

// A hand count above any real one: a won position stored with it matches
// whatever the side not to move holds of that kind.
inline constexpr int32_t kAnyHandCount = 99;

// Results of LookupPosition.
enum LookupKind : int32_t {
    kLookupMiss = 0,
    kLookupList = 1,
    kLookupVerdict = 2,  // won or lost
    kLookupPathMark = 111,
};

// Sum of cell value * prime over cells 11..99 (primes 37..541), never negative.
int32_t HashKey(const Position& p);

// Allocates and clears both arrays with state.hashEntryCount slots each. On
// failure (a count below 1, more than half the machine's memory, or no
// memory) it frees both, shows "ハッシュ表の確保に失敗" and returns -1.
int32_t AllocHashTables(EngineState& state, Ui& ui);
void FreeHashTables(EngineState& state);

// How full the position memory is, in permille, from its first thousand
// slots (as a USI engine's hashfull); 0 without arrays.
int32_t HashUsePermille(const EngineState& state);

// Writes P's slot: a path mark when list[0].from == 111, else the whole list.
void StorePosition(EngineState& state, const Position& p, const CandidateList& list);
// Looks P up; returns a LookupKind and writes what it found into `list`.
int32_t LookupPosition(EngineState& state, const Position& p, CandidateList& list);

// Transposition table of quiescence nodes.
void StoreHash(EngineState& state, const Position& p, const CandidateList& result);
bool ProbeHash(EngineState& state, const Position& p, CandidateList& result);

}  // namespace nusari
