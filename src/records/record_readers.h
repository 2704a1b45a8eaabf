// The two record grammars behind LoadRecord: CSA and KIF. Both fill a
// GameRecord whose entry 0 already holds the default start position.
#pragma once

#include <cstdint>

#include "position/setup.h"
#include "records/game_record.h"
#include "records/text_input.h"

namespace nusari {

struct ReadOutcome {
    int32_t plies = 0;             // plies read into history entries 1..plies
    int32_t preset = kPresetEven;  // start-position row named by a handicap line
    const char* error = nullptr;   // the failure's message (UTF-8); null on success
};

// Reads CSA items up to the end of the input. On failure the entries read
// so far stay in the history.
ReadOutcome ReadCsa(TextInput& in, GameRecord& record);

// Reads a KIF header and move table up to the end of the input.
ReadOutcome ReadKif(TextInput& in, GameRecord& record);

// Adds `amount` to a count or time cell, held within the 32-bit range.
void addSaturated(int32_t& cell, int64_t amount);

}  // namespace nusari
