// The computer's whole working record. It is large (about 2 MB): allocate it
// on the heap, std::make_unique<EngineState>().
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "aik/aik_profile.h"
#include "aik/book_table.h"
#include "aik/eval_tables.h"
#include "position/game_fields.h"

namespace nusari {

// Slots of the two hash arrays; defined by the search.
struct PositionMemorySlot;
struct TranspositionSlot;
// Told about every iteration of the think driver; defined by the search.
struct ThinkObserver;

inline constexpr int32_t kDefaultHashEntries = 40009;

struct EngineState : GameFields {
    // Parameters of the loaded .aik file.
    AikProfile profile;
    // Full path of the current opponent's .aik file; its folder also holds
    // the book's message (.txk) file.
    std::string enginePath;
    EvalTables evalTables;
    FindRuleTables findRuleTables;
    BookTable bookTable;

    // Node protocol of the search core.
    int32_t nodeCount = 0;    // evaluations in the current think call
    int32_t clockCheckBlock = -1;  // nodeCount / 10000 when the clock was last read
    int32_t listLength = 0;   // 0: quiescence node; >= 1: entries of the node's list in use
    int32_t passScore = 0;    // the node's pass evaluation; -99999 until known

    // The hash arrays: entries of each (the Hash setting), and the arrays
    // themselves (null until allocated).
    int32_t hashEntryCount = kDefaultHashEntries;
    PositionMemorySlot* positionMemory = nullptr;
    TranspositionSlot* transpositionTable = nullptr;

    // Think driver and search.
    int64_t moveStartMs = 0;       // steady-clock ms when the previous move was made
    int32_t timeLimitMs = 10000;   // the computer's thinking time per move
    int32_t moveTimeCapMs = 0;     // > 0: the most this move may take (a server's clock)
    // While set, the clock does not stop the search (its first iteration).
    bool clockPaused = false;
    int32_t csaTimeMode = 0;       // 1: time limit and hukasa follow the total time used
    std::atomic<uint8_t> continueSearch{0};  // 1 while the search may go on
    // Set from another thread to end the current think at once (engine
    // protocols); cleared by the owner before the next think.
    std::atomic<uint8_t> stopRequested{0};
    ThinkObserver* thinkObserver = nullptr;
    uint32_t randomState = 0;      // the book's random generator
    // The game record's position history (entry n after n plies; slot 119
    // holds the computer's total thinking seconds), or null without a game.
    const Position* positionHistory = nullptr;
    int32_t positionHistorySize = 0;
};

}  // namespace nusari
