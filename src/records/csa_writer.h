// Writing a GameRecord as a CSA file of format version 2.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "records/game_record.h"

namespace nusari {

// The CSA text of `record` (CP932 with CR LF): the header, the start
// position and hands as the standard diagram (先手 as "+"), the side that
// moves first, every ply with its thinking time, and the "%" line of the
// game's end when the record has one.
std::string FormatCsa(const GameRecord& record);

// Saves `record` to `path`, which must end in ".csa" (any case). Returns 1,
// or -1 after the message sound and a message box: for another extension
// nothing is written, and a failed write leaves an existing file untouched.
int32_t WriteCsa(const GameRecord& record, const std::string& path, Ui& ui);

}  // namespace nusari
