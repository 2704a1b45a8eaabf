// Reading a game record file (CSA or KIF) into the GameRecord.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "position/setup.h"
#include "position/types.h"
#include "records/game_record.h"
#include "records/record_tree.h"

namespace nusari {

// What LoadRecord read, and the position a window shows after it.
struct LoadOutcome {
    bool ok = false;              // the whole file was read
    int32_t plies = 0;            // the plies read (the record's length)
    int32_t preset = kPresetEven; // the start-position row the file's handicap line named
    // The position at ply 0: history entry 0 without its times, or the
    // even game after a failure.
    Position start{};
    std::string error;            // the message shown on failure; empty on success
};

// Reads the file at `path`, a CSA file (".csa"), a KIF file (".kif",
// ".kifu") or a KI2 file (".ki2", ".ki2u"), extensions in any case, CP932 or
// UTF-8, into `record` in the standard frame: 先手 is the lower side, and
// humanIsSecond says whether 後手 moves first.
// On success record.length = the plies read; on failure the message sound
// and the reader's message go to `ui`, and record.length = 0 (the entries
// read so far stay in the history). Nothing else is shown: the caller
// puts the outcome on the board.
LoadOutcome LoadRecord(GameRecord& record, const std::string& path, Ui& ui);

// The same for the whole record: `tree` gets everything the file holds
// (variations, comments, game details), `record` its main line. A fault in
// a variation keeps what came before it and is told in a box that holds
// nothing up; after a failure `tree` is the empty even game.
LoadOutcome LoadRecord(RecordTree& tree, GameRecord& record, const std::string& path, Ui& ui);

}  // namespace nusari
