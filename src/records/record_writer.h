// Saving a record in the format its file name asks for.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "records/game_record.h"
#include "records/record_tree.h"

namespace nusari {

// The text of a tree (KIF and KI2 keep its variations, CSA its main line)
// or of a record for the extension of `path`: CSA (".csa"), KIF in CP932
// (".kif") or in UTF-8 (".kifu"), KI2 in CP932 (".ki2") or in UTF-8
// (".ki2u"), extensions in any case; false when the extension is none of
// them.
bool FormatRecordFor(const RecordTree& tree, const std::string& path, std::string& text);
bool FormatRecordFor(const GameRecord& record, const std::string& path, std::string& text);

// Saves `record` to `path` in that format. Returns 1, or -1 after the
// message sound and a message box: for another extension nothing is
// written, and a failed write leaves an existing file untouched.
int32_t WriteRecord(const RecordTree& tree, const std::string& path, Ui& ui);
int32_t WriteRecord(const GameRecord& record, const std::string& path, Ui& ui);

}  // namespace nusari
