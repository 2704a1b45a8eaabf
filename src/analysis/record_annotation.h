// 棋譜解析: every move of a record's line judged by an engine. Each position
// of the line is scored once; a move is judged by the scores before and
// after it, and its comment gets the judgement and the engine's line
// (move_judgement.h). The engine is any function that scores a position:
// the .aik think or a USI engine.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/move_judgement.h"
#include "records/record_tree.h"

namespace nusari {

// An engine's opinion of a position, in the standard frame.
struct PositionScore {
    int32_t score = 0;        // from the side to move
    std::vector<Move> line;   // its best line, the side to move's move first
    int32_t depth = 0;        // plies; 0 when not said
};

// Scores the position with `toMove` to move; nothing when the engine gave
// no score (it failed, or was stopped).
using PositionScorer = std::function<std::optional<PositionScore>(const Position&, Side toMove)>;

struct AnnotationSettings {
    int32_t firstPly = 1;             // the moves judged: firstPly..lastPly
    int32_t lastPly = kMaxRecordPlies;
    bool fromTheEnd = false;          // score the positions last first
    double scale = 600;               // of the win rate
    LabelThresholds thresholds;
    std::string engineName;           // for "#エンジン="
};

struct AnnotationSummary {
    SideTally sente;
    SideTally gote;
    int32_t judged = 0;     // moves judged
    bool stopped = false;   // the progress callback or the engine ended it early
};

// Told after each position scored with how many of how many are done;
// false stops the analysis (what is judged so far stays).
using AnnotationProgress = std::function<bool(int32_t done, int32_t total)>;

// Judges the moves of the line that ends at `end` and writes each one's
// comment and analysed score; moves whose positions did not both get a
// score are left as they were.
AnnotationSummary AnnotateLine(RecordTree& tree, NodeId end, const PositionScorer& scorer,
                               const AnnotationSettings& settings,
                               const AnnotationProgress& progress = {});

// A line of moves in KI2 notation with marks ("▲７六歩△３四歩"), UTF-8; it
// stops at the first move that is not legal.
std::string LineText(const Position& start, Side toMove, const std::vector<Move>& line,
                     int32_t previousTo = 0);

}  // namespace nusari
