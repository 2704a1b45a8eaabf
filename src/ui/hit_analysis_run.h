// The analysis page's Start: an engine's hit-position analysis over the
// teacher games of the "kif" folder, its report, and the window reset after.
#pragma once

#include <string>

#include "ui/game_controller.h"

namespace nusari {

// Runs the analysis of the .aik file `fileName` (UTF-8 path as the file
// dialog returned it) and opens the report.
void RunHitAnalysis(GameController& c, const std::string& fileName);

}  // namespace nusari
