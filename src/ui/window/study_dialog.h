// The question before 検討: which engines of the engine list analyse.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "ui/game_controller.h"

namespace nusari {

// The engine paths checked, or none when the user cancels.
std::vector<std::string> AskStudyEngines(const GameController& c, QWidget* parent);

}  // namespace nusari
