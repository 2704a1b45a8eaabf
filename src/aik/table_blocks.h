// The evaluation-table blocks of an .aik file ("set koma[", "find koma[")
// and the tables derived from them after the last line.
#pragma once

#include <cstdint>
#include <string_view>

#include "aik/aik_reader.h"
#include "aik/engine_state.h"

namespace nusari {

// Offset of the rule line read last; a rule line without "point(" reuses it.
struct RuleOffset {
    int16_t dx = 0;
    int16_t dy = 0;
};

enum class BlockResult { Ok, EndOfFile, Failed };

// Empties all 48 rule tables.
void ClearFindRuleTables(FindRuleTables& rules);

// Reads the rows and coefficient of a "set koma[" block whose header is `line`.
bool ReadSetBlock(EngineState& state, AikReader& reader, std::string_view line);

// Reads the 17 rows of a "set ou[" block whose header is `line` into the
// king-relative table of its code (see king_piece_tables.h).
bool ReadKingPieceBlock(EngineState& state, AikReader& reader, std::string_view line);

// Reads the rule lines of a "find koma[" block up to its "}" (or the end of
// the file, which keeps the rules read and ends the file).
BlockResult ReadFindBlock(EngineState& state, AikReader& reader, std::string_view line,
                          RuleOffset& lastOffset);

// Parses one "add koma[" / "multiply koma[" line into `rule`; `valueAt`
// (when given) receives where the value starts in the line.
bool ParseRuleLine(std::string_view line, RuleOffset& lastOffset, FindRule& rule,
                   std::size_t* valueAt = nullptr);

// Inserts `rule` before the first record with a smaller dx + dy; false when
// the table already holds its 1023 rules.
bool InsertRule(FindRule* table, const FindRule& rule);

// After the last line: `first` marks, the upper side's rule mirror, the
// working-table slots fixed at load and the half-turn rotated raw tables.
void DeriveTables(EngineState& state);

}  // namespace nusari
