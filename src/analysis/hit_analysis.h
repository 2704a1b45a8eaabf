// How well an engine predicts the moves of a folder of teacher games: for
// every position from the tenth ply on, the rank of the teacher's move in
// the engine's candidate list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "records/game_record.h"
#include "think/candidate.h"

namespace nusari {

inline constexpr int32_t kHitRanks = 100;
inline constexpr int32_t kMissScore = 200;
inline constexpr int32_t kFirstAnalysedPly = 10;

struct HitStats {
    int32_t games = 0;      // teacher files read, failed ones included
    int32_t positions = 0;  // teacher positions analysed
    int32_t hits[kHitRanks] = {};
    int32_t misses = 0;
    int32_t score = 0;  // sum of rank * hits plus 200 per miss; lower is better
};

// The teacher games below `folder`: every CSA, KIF and KI2 record file,
// breadth first.
std::vector<std::string> TeacherGames(const std::string& folder);

// Analyses the teacher games below `folder`. A file that fails to read
// counts as a game and adds no position. Before each file the Ui pumps its
// messages; after reading it the thinking panel shows
// "現在分析中\n 処理棋譜数 = N", followed by `panelNote` when one is given.
// `record` is the reading buffer.
void AnalyzeTeacherGames(EngineState& state, GameRecord& record, const std::string& folder,
                         HitStats& stats, Ui& ui, const std::string& panelNote = {});

// Ranks the move that leads from history entry ply-1 to entry ply of
// `record` among the engine's candidates and counts it in `stats`. False
// when the two entries do not differ (the game is over).
bool AnalysePly(EngineState& state, const GameRecord& record, int32_t ply, const PathTable& path,
                HitStats& stats);

}  // namespace nusari
