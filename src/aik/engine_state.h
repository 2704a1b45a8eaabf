// The computer's whole working record. It is large (about 2 MB): allocate it
// on the heap, std::make_unique<EngineState>().
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "aik/aik_profile.h"
#include "aik/book_table.h"
#include "aik/eval_tables.h"
#include "aik/king_piece_tables.h"

namespace nusari {

// Slots of the two hash arrays; defined by the search.
struct PositionMemorySlot;
struct TranspositionSlot;
struct SearchTableSlot;

inline constexpr int32_t kDefaultHashEntries = 40009;

struct EngineState {
    // Parameters of the loaded .aik file.
    AikProfile profile;
    // Full path of the current opponent's .aik file; its folder also holds
    // the book's message (.txk) file.
    std::string enginePath;
    EvalTables evalTables;
    FindRuleTables findRuleTables;
    KingPieceTables kingPieceTables;
    BookTable bookTable;

    // Node protocol of the search core.
    int32_t nodeCount = 0;    // evaluations in the current think call
    // nodeCount / kNodesPerClockCheck when the clock was last read, or
    // kClockNotRead (both in think/search.h).
    int32_t clockCheckBlock = -1;
    int32_t listLength = 0;   // 0: quiescence node; >= 1: entries of the node's list in use
    // The node's pass evaluation; kScoreNotKnown (think/candidate.h) until known.
    int32_t passScore = 0;

    // The hash arrays: entries of each (the Hash setting), and the arrays
    // themselves (null until allocated).
    int32_t hashEntryCount = kDefaultHashEntries;
    PositionMemorySlot* positionMemory = nullptr;
    TranspositionSlot* transpositionTable = nullptr;
    // The second search's transposition table (tansaku=1), made at its first
    // think with the Hash setting's slots times kSearchSlotsPerEntry; freed
    // with the others.
    SearchTableSlot* searchTable = nullptr;
    int64_t searchTableSlots = 0;

    // The computer's time setting per move and the CSA time mode (1: the
    // limit and hukasa follow the total time used), which front ends copy
    // into a think request; the CSA time mode of ThinkMove rewrites the
    // time setting.
    int32_t timeLimitMs = 10000;
    int32_t csaTimeMode = 0;

    // Think driver and search: the current think's limit and the
    // steady-clock ms when its move's clock started.
    int32_t searchLimitMs = 10000;
    int64_t searchStartMs = 0;
    // While set, the clock does not stop the search (its first iteration).
    bool clockPaused = false;
    std::atomic<uint8_t> continueSearch{0};  // 1 while the search may go on
    // Set from another thread to end the current think at once (engine
    // protocols); cleared by the owner before the next think.
    std::atomic<uint8_t> stopRequested{0};
    uint32_t randomState = 0;      // the book's random generator
};

// Overwrites the target's profile, evaluation tables and neighbourhood
// rules and king-relative values with the source's: everything the evaluation reads.
inline void CopyEvaluationParts(const EngineState& source, EngineState& target) {
    target.profile = source.profile;
    target.evalTables = source.evalTables;
    target.findRuleTables = source.findRuleTables;
    target.kingPieceTables = source.kingPieceTables;
}

}  // namespace nusari
