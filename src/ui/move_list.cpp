#include "ui/move_list.h"

#include <algorithm>
#include <cstdio>

#include "position/text_encoding.h"
#include "records/kif_notation.h"
#include "records/kif_writer.h"

namespace nusari {

std::vector<std::string> MoveListLines(const GameRecord& record, int32_t plies,
                                       const std::vector<bool>& timeUnknown) {
    plies = std::clamp(plies, 0, kMaxRecordPlies);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(plies) + 2);
    lines.emplace_back("開始局面");
    for (int32_t ply = 1; ply <= plies; ++ply) {
        const int32_t cell = timeCellOfPly(record, ply);
        const int64_t seconds = std::max<int64_t>(
            int64_t{record.history[static_cast<std::size_t>(ply)][cell]} -
                record.history[static_cast<std::size_t>(ply - 1)][cell],
            0);
        const bool sente = standardSideToMove(record, ply - 1) == Side::Lower;
        char time[32];
        std::snprintf(time, sizeof time, "  %lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
        char number[16];
        std::snprintf(number, sizeof number, "%3d ", ply);
        const auto index = static_cast<std::size_t>(ply - 1);
        const bool untimed = index < timeUnknown.size() && timeUnknown[index];
        lines.push_back(number + std::string(sente ? "▲" : "△") +
                        toUtf8(PlyName(record, ply)) + (untimed ? "" : time));
    }
    if (plies == record.length && record.ending != GameEnding::None) {
        // The special move that ended the game, as the record writes it.
        char number[16];
        std::snprintf(number, sizeof number, "%3d ", plies + 1);
        const bool sente = standardSideToMove(record, plies) == Side::Lower;
        lines.push_back(number + std::string(sente ? "▲" : "△") + kifEndingWord(record.ending));
        const std::string result = toUtf8(GameResultText(record));
        if (!result.empty()) lines.push_back(result);
    }
    return lines;
}

}  // namespace nusari
