// "Why this move" for an .aik engine: the evaluation of the position at
// the end of a candidate line taken apart into its terms, beside the same
// for another line (the best one, or the move played), with the
// neighbourhood rules that changed the values of the pieces standing there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "position/types.h"

namespace nusari {

struct MoveExplanation {
    struct Row {
        std::string term;  // "自分の駒", "相手玉の危険度" …
        int32_t line = 0;  // from the side to move at the start of the lines
        int32_t other = 0;
    };
    // The terms that are not zero in either line, then "合計".
    std::vector<Row> rows;
    // The rules of the line's end position: "▲銀(４八) → ▲金(５八) +30".
    std::vector<std::string> rules;
    std::string error;  // UTF-8; empty when both lines could be scored
    // The two lines, set by the caller: "▲２六歩△８四歩", and what the
    // other one is ("最善手", "実戦の手", "次善手").
    std::string lineText;
    std::string otherText;
    std::string otherName;
};

// Both lines from `start` (standard frame, `toMove` to move); each is
// scored as the engine scores its last move, with the working tables
// blended for the position before it.
MoveExplanation ExplainLines(EngineState& engine, const Position& start, Side toMove,
                             const std::vector<Move>& line, const std::vector<Move>& other);

// The name of a term in the table.
const char* EvalTermName(int32_t term);

}  // namespace nusari
