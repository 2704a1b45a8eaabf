// The question before 棋譜解析: the engine, the seconds a position, the plies
// and the direction, the record shown or a folder's records, and the
// analysis settings (the win rate scale and the labels' thresholds), which
// are kept.
#pragma once

#include <QWidget>
#include <optional>

#include "ui/game_controller.h"

namespace nusari {

// The choices, or nothing when the user cancels.
std::optional<RecordAnalysisRequest> AskRecordAnalysis(GameController& c, QWidget* parent);

}  // namespace nusari
