#include "analysis/hit_analysis.h"

#include <algorithm>
#include <filesystem>

#include "aik/engine_list.h"
#include "position/position.h"
#include "records/load_record.h"
#include "records/record_source.h"
#include "think/expand.h"

namespace nusari {

namespace {

// Every record the readers know: CSA, KIF and KI2, extensions in any case.
bool isTeacherGame(const std::string& path) {
    return recordFormatOf(path) != RecordFormat::Unknown;
}

void finishScore(HitStats& stats) {
    stats.score = kMissScore * stats.misses;
    for (int32_t k = 0; k < kHitRanks; ++k) stats.score += k * stats.hits[k];
}

}  // namespace

bool AnalysePly(EngineState& state, const GameRecord& record, int32_t ply, const PathTable& path,
                HitStats& stats) {
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
    // The mover becomes the upper side, as the search sees every position:
    // a loaded record's 先手 is the lower side.
    Position searched = before;
    if (moverOfPly(record, ply) == Side::Lower) {
        searched = flipPosition(before);
        if (from < kPromotionOffset) from = 110 - from;
        to = 110 - to;
    }
    searched[kLowerTimeCell] = 0;
    searched[kUpperTimeCell] = 0;
    if (promotes) to += kPromotionOffset;

    CandidateList list;
    ExpandNode(state, searched, 999, list, path);
    ++stats.positions;
    const int32_t haba = std::clamp(state.profile.haba, 1, kCandidateCapacity);
    for (int32_t k = 0; k < haba; ++k) {
        if (list[k].from == kListEndFrom) break;
        if (list[k].from == from && list[k].to == to) {
            ++stats.hits[k];
            return true;
        }
    }
    ++stats.misses;
    return true;
}

std::vector<std::string> TeacherGames(const std::string& folder) {
    std::vector<std::string> games;
    for (const std::string& file : FilesBreadthFirst(folder)) {
        if (isTeacherGame(file)) games.push_back(file);
    }
    return games;
}

void AnalyzeTeacherGames(EngineState& state, GameRecord& record, const std::string& folder,
                         HitStats& stats, Ui& ui, const std::string& panelNote) {
    stats = HitStats{};
    for (const std::string& file : TeacherGames(folder)) {
        ui.pumpMessages();
        GameFields scratch;
        const bool read = LoadRecord(scratch, record, file, LoadMode::Analysis, ui) == 1;
        ++stats.games;
        ui.setPanelText("現在分析中\n 処理棋譜数 = " + std::to_string(stats.games) + panelNote);
        if (!read) continue;
        const PathTable path{};  // cleared once per game
        for (int32_t ply = kFirstAnalysedPly; ply <= record.length && ply < kHistoryEntries; ++ply) {
            if (!AnalysePly(state, record, ply, path, stats)) break;
        }
    }
    finishScore(stats);
}

}  // namespace nusari
