// Evaluation tables and neighbourhood (find) rules filled from an .aik file.
//
// EvalTables: 96 tables of 128 slots, addressed [table][slot].
//   table c (c = 0..15, a lower-side piece code): raw values
//     slot 0          progress coefficient
//     slots 11..99    value of the piece on that square
//     slots 100..118  value of holding 0..18 such pieces in hand (kinds 1..7)
//   table c + 32: the upper side's raw values (half-turn rotation of table c)
//   table c + 48 (c = any piece code 0..47): working table of code c
//     slot 0 and slots 100..118 are copied at load, 11..99 are rebuilt by
//     the evaluation before each search.
//   Tables 8/40 (codes that never stand on a square) are king-zone danger
//   maps; 11/43 are unused, as are 16..31 and 64..79.
#pragma once

#include <cstdint>

namespace nusari {

inline constexpr int32_t kEvalTableCount = 96;
inline constexpr int32_t kEvalTableSlots = 128;
inline constexpr int32_t kUpperTableOffset = 32;    // raw table of the upper code
inline constexpr int32_t kWorkingTableOffset = 48;  // working table of any code
inline constexpr int32_t kCoefficientSlot = 0;
inline constexpr int32_t kHandValueSlot = 100;  // + number of pieces held
inline constexpr int32_t kMaxHandCount = 18;
inline constexpr int32_t kDangerMapCode = 8;  // lower-side code of the danger map

struct EvalTables {
    int32_t table[kEvalTableCount][kEvalTableSlots] = {};
};

inline constexpr uint16_t kRuleAdd = 1;
inline constexpr uint16_t kRuleMultiply = 2;

// One neighbourhood rule: when a piece of the table's code stands on square
// s, the working value of `piece` on s + dx + dy changes by `value` (add) or
// `value` times the total progress count (multiply).
struct FindRule {
    int32_t piece = -1;  // piece code P; -1 ends the table
    int16_t dx = 0;      // file offset * 10 (-90..90)
    int16_t dy = 0;      // rank offset (-9..9)
    uint16_t op = 0;     // kRuleAdd or kRuleMultiply
    // 1 when (dx, dy) differs from the record before (always 1 at the end
    // mark), 0 when it repeats it.
    int32_t first = 1;
    int32_t value = 0;  // -999..999

    bool operator==(const FindRule&) const = default;
};

inline constexpr int32_t kRuleTableCount = 48;
inline constexpr int32_t kRuleTableSize = 1024;
inline constexpr int32_t kMaxRulesPerTable = kRuleTableSize - 1;  // room for the end mark

// Table N (0..15) holds the rules of piece code N, table N + 32 their mirror
// for code N + 32, 16..31 stay empty. Each table is sorted by dx + dy, largest
// first, and ends at the first record whose piece is -1. A default-built
// table is empty.
struct FindRuleTables {
    FindRule table[kRuleTableCount][kRuleTableSize];
};

}  // namespace nusari
