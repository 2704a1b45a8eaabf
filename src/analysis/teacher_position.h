// A teacher position as the analysis ranks it: the mover turned into the
// upper side, as the search sees every position, and the teacher's move in
// that frame.
#pragma once

#include <cstdint>
#include <vector>

#include "aik/engine_state.h"
#include "records/game_record.h"
#include "think/candidate.h"

namespace nusari {

// Positions from this ply on are analysed.
inline constexpr int32_t kFirstAnalysedPly = 10;

struct TeacherPosition {
    Position searched;  // time cells cleared
    int32_t from = 0;   // hand cells for drops
    int32_t to = 0;     // + 100 when the move promotes
};

// The teacher position of the move that leads from history entry ply-1 to
// entry ply of `record`; false when the two entries do not differ (the game
// is over).
bool TeacherPositionOfPly(const GameRecord& record, int32_t ply, TeacherPosition& out);

// Appends the positions of every ply the analysis ranks: from
// kFirstAnalysedPly to the end of the record, up to the first ply that
// changes nothing.
void AppendTeacherPositions(const GameRecord& record, std::vector<TeacherPosition>& out);

// The rank of the teacher's move among the first haba candidates of the
// engine's list for the position, or -1 when it is not among them. `path`
// holds the destinations of the moves that led there (none in the analysis).
int32_t RankTeacherMove(EngineState& state, const TeacherPosition& position,
                        const PathTable& path = {});

}  // namespace nusari
