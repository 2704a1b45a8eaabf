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

// The neighbourhood rules of an engine by piece code and square: the
// working values each piece standing there changes, found once, so that the
// working tables can follow a move instead of being rebuilt.
class RuleIndex {
  public:
    explicit RuleIndex(const EngineState& state);

    // Adds (sign 1) or takes back (sign -1) the rules of the piece `code`
    // standing on `square` as BlendTables adds them; with `adds` false only
    // the multiply rules, for a change of `total`.
    void apply(EngineState& state, int32_t code, int32_t square, int32_t total, int32_t sign,
               bool adds = true) const;
    // Whether any rule multiplies by the progress.
    bool multiplies() const { return multiplies_; }

  private:
    struct Effect {
        int16_t table;  // a piece code: its working table
        int16_t slot;
        int32_t add;
        int32_t multiply;
    };
    std::vector<Effect> effects_;
    std::vector<uint32_t> start_;  // per code * kEvalTableSlots + square, and one past the end
    bool multiplies_ = false;
};

// Moves the working values from one progress to another (the raw values
// plus the opponent's progress times the coefficient); the multiply rules
// are the caller's.
void ShiftProgressWeights(EngineState& state, const Progress& from, const Progress& to);

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
