// Game progress and the working evaluation tables that depend on it.
#pragma once

#include <cstdint>
#include <vector>

#include "aik/engine_state.h"
#include "position/types.h"

namespace nusari {

struct Progress {
    int32_t total = 0;
    int32_t lower = 0;
    int32_t upper = 0;
};

// Each side's progress: the starting count, one per kind held in hand, two
// per strong promoted piece on the board, capped by zyoukyou_pl_max.
void ComputeProgress(const EngineState& state, const Position& p, Progress& progress);

// Rebuilds the working values (slots 11..99 of tables 48..95): raw value plus
// the opponent's progress times the coefficient, then the neighbourhood rules
// of every piece on the board.
void BlendTables(EngineState& state, const Position& p, const Progress& progress);

// A neighbourhood rule that changed a working value: the piece whose rule it
// is and its square, the piece code and square whose value changed, and by
// how much.
struct FiredRule {
    int32_t code = 0;
    int32_t square = 0;
    int32_t target = 0;
    int32_t slot = 0;
    int32_t change = 0;
};

// BlendTables, telling each rule that changed a value.
void BlendTables(EngineState& state, const Position& p, const Progress& progress,
                 std::vector<FiredRule>& fired);

// Raw and working tables of a piece code.
inline int32_t* rawTable(EngineState& s, int32_t code) { return s.evalTables.table[code]; }
inline int32_t* workingTable(EngineState& s, int32_t code) {
    return s.evalTables.table[code + kWorkingTableOffset];
}

}  // namespace nusari
