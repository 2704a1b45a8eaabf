// The record grammars behind LoadRecord: CSA and KIF (with KI2). Each reads
// into a RecordTree, in the standard frame (先手 is the lower side), checking
// every move against its position; the GameRecord forms give the main line.
#pragma once

#include <cstdint>
#include <string>

#include "position/setup.h"
#include "records/game_record.h"
#include "records/record_tree.h"
#include "records/text_input.h"

namespace nusari {

struct ReadOutcome {
    int32_t plies = 0;             // plies of the main line read
    int32_t preset = kPresetEven;  // start-position row named by a handicap line
    std::string error;             // the failure's message (UTF-8); empty on success
    // Why reading stopped in a variation (UTF-8), or empty. The main line
    // and the variations before it were read; `error` stays empty.
    std::string variationError;
    // What a KIF or KI2 text held besides headers and KI2 moves, which tells
    // the kind of a pasted text: a move table, a board diagram, a 手合割 line.
    bool moveTable = false;
    bool diagram = false;
    bool handicapLine = false;
};

// Both read into `tree` as it stands: its start position (the default one)
// and 先手 to move, until a file says otherwise. On failure the moves read
// so far stay in the tree.

// Reads CSA items up to the end of the input or of the first game, with
// comments ("'*" lines, "'**" engine scores) and per-move times.
ReadOutcome ReadCsaTree(TextInput& in, RecordTree& tree);

// Reads a KIF or KI2 header, its main line of moves, its variations
// ("変化：N手") and comments ("*" lines).
ReadOutcome ReadKifTree(TextInput& in, RecordTree& tree);

// The same into a GameRecord whose entry 0 already holds the start
// position: the main line's positions fill the history, and the names and
// times that the file gives replace the record's.
ReadOutcome ReadCsa(TextInput& in, GameRecord& record);
ReadOutcome ReadKif(TextInput& in, GameRecord& record);

}  // namespace nusari
