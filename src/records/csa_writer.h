// Writing a record as a CSA file of format version 2.2.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "records/game_record.h"
#include "records/record_tree.h"

namespace nusari {

// The CSA text of `tree` (CP932 with CR LF): the header with the metadata
// CSA has keys for, the start position and hands as the standard diagram
// (先手 as "+"), the side that moves first, every move of the main line
// with its thinking time (whole seconds), comments and engine score, and
// the "%" line of the game's end when it has one. CSA has no variations.
// The window's files say "V2", as they always have; a match record says
// "V2.2", the version whose words (%TIME_UP, %ILLEGAL_MOVE …) both use.
std::string FormatCsa(const RecordTree& tree, const char* version = "V2");
// The CSA text of the record's one line.
std::string FormatCsa(const GameRecord& record);

// Saves `record` to `path`, which must end in ".csa" (any case). Returns 1,
// or -1 after the message sound and a message box: for another extension
// nothing is written, and a failed write leaves an existing file untouched.
int32_t WriteCsa(const GameRecord& record, const std::string& path, Ui& ui);

}  // namespace nusari
