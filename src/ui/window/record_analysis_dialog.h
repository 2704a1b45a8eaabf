// The question before 棋譜解析: the engine, the seconds a position, the plies
// and the direction.
#pragma once

#include <QWidget>
#include <optional>

#include "ui/game_controller.h"

namespace nusari {

// The choices, or nothing when the user cancels.
std::optional<RecordAnalysisRequest> AskRecordAnalysis(const GameController& c, QWidget* parent);

}  // namespace nusari
