#include "analysis/teacher_position.h"

#include <algorithm>

#include "position/position.h"
#include "think/expand.h"

namespace nusari {

bool TeacherPositionOfPly(const GameRecord& record, int32_t ply, TeacherPosition& out) {
    const Position& before = record.history[ply - 1];
    const Position& after = record.history[ply];
    const PlySquares squares = plySquares(before, after);
    int32_t from = squares.from;
    int32_t to = squares.to;
    if (from == 0 && to == 0) return false;
    bool promotes = false;
    if (from == 0) {
        from = kUpperHandBase + kindOf(after[to]);
    } else {
        promotes = before[from] != after[to];
    }
    // The mover becomes the upper side: a loaded record's 先手 is the lower side.
    out.searched = before;
    if (moverOfPly(record, ply) == Side::Lower) {
        out.searched = flipPosition(before);
        if (from < kPromotionOffset) from = flipSquare(from);
        to = flipSquare(to);
    }
    out.searched[kLowerTimeCell] = 0;
    out.searched[kUpperTimeCell] = 0;
    if (promotes) to += kPromotionOffset;
    out.from = from;
    out.to = to;
    return true;
}

void AppendTeacherPositions(const GameRecord& record, std::vector<TeacherPosition>& out) {
    TeacherPosition position;
    for (int32_t ply = kFirstAnalysedPly; ply <= record.length && ply < kHistoryEntries; ++ply) {
        if (!TeacherPositionOfPly(record, ply, position)) break;
        out.push_back(position);
    }
}

int32_t RankTeacherMove(EngineState& state, const TeacherPosition& position, const PathTable& path) {
    Position board = position.searched;  // the expansion's scratch board
    CandidateList list;
    ExpandNode(state, board, 999, list, path);
    const int32_t haba = std::clamp(state.profile.haba, 1, kCandidateCapacity);
    for (int32_t k = 0; k < haba; ++k) {
        if (list[k].from == kListEndFrom) break;
        if (list[k].from == position.from && list[k].to == position.to) return k;
    }
    return -1;
}

}  // namespace nusari
