// Reading a whole record file, variations and comments included, into a
// RecordTree: the grammar its extension names, CP932 or UTF-8 text.
#pragma once

#include <string>

#include "records/record_readers.h"
#include "records/record_tree.h"

namespace nusari {

// Reads the file at `path` (".csa", ".kif", ".kifu", ".ki2", ".ki2u", any
// case) into `tree`, which starts from the even game. On failure the
// outcome's error holds the message LoadRecord shows (UTF-8), and the moves
// read so far stay in the tree; a fault in a variation leaves the error
// empty and says why in variationError.
ReadOutcome ReadRecordTreeFile(const std::string& path, RecordTree& tree);

}  // namespace nusari
