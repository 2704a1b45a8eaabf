// How well an engine predicts the moves of a folder of teacher games: for
// every position from the tenth ply on, the rank of the teacher's move in
// the engine's candidate list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aik/engine_state.h"
#include "aik/ui.h"
#include "analysis/hit_stats.h"
#include "analysis/teacher_position.h"
#include "records/game_record.h"
#include "think/candidate.h"

namespace nusari {

// The teacher games below `folder`: every CSA, KIF and KI2 record file,
// breadth first.
std::vector<std::string> TeacherGames(const std::string& folder);

// Analyses the teacher games below `folder` on `threads` threads (0: one
// per core). A file that fails to read counts as a game and adds no
// position. Before each file the Ui pumps its messages; after reading it
// the thinking panel shows "現在分析中\n 処理棋譜数 = N", followed by
// `panelNote` when one is given.
//
// With one thread everything runs on the calling thread with `state`, and
// `record` is the reading buffer. With more, each worker reads and ranks
// whole files with its own copy of the engine and its own record (`state`
// and `record` are left alone); the calling thread only talks to the Ui: it
// pumps messages while it waits, and shows each file's messages and
// progress in file order. The stats are the same for any number of threads.
void AnalyzeTeacherGames(EngineState& state, GameRecord& record, const std::string& folder,
                         HitStats& stats, Ui& ui, const std::string& panelNote = {},
                         int32_t threads = 0);

// Ranks the move that leads from history entry ply-1 to entry ply of
// `record` among the engine's candidates and counts it in `stats`. False
// when the two entries do not differ (the game is over).
bool AnalysePly(EngineState& state, const GameRecord& record, int32_t ply, const PathTable& path,
                HitStats& stats);

}  // namespace nusari
