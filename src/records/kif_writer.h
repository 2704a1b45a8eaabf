// Writing a GameRecord as a KIF file in the classic layout that shogi
// programs read: headers, 手合割 or a board diagram, the move table with
// times, and the line of the game's end.
#pragma once

#include <string>

#include "records/game_record.h"

namespace nusari {

// The KIF text of `record`: CP932 with CR LF.
std::string FormatKif(const GameRecord& record);

}  // namespace nusari
