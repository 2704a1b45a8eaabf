// The two record grammars behind LoadRecord: CSA and KIF. Both fill a
// GameRecord whose entry 0 already holds the default start position.
#pragma once

#include <cstdint>
#include <string>

#include "position/setup.h"
#include "records/game_record.h"
#include "records/text_input.h"

namespace nusari {

struct ReadOutcome {
    int32_t plies = 0;             // plies read into history entries 1..plies
    int32_t preset = kPresetEven;  // start-position row named by a handicap line
    std::string error;             // the failure's message (UTF-8); empty on success
};

// Both set the record's first mover and ending, in the standard frame (先手
// is the lower side); every move is checked against its position.

// Reads CSA items up to the end of the input or of the first game. On
// failure the entries read so far stay in the history.
ReadOutcome ReadCsa(TextInput& in, GameRecord& record);

// Reads a KIF or KI2 header and its main line of moves.
ReadOutcome ReadKif(TextInput& in, GameRecord& record);

}  // namespace nusari
