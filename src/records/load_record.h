// Reading a game record file (CSA or KIF) into the GameRecord.
#pragma once

#include <cstdint>
#include <string>

#include "aik/ui.h"
#include "position/game_fields.h"
#include "records/game_record.h"

namespace nusari {

enum class LoadMode : int32_t {
    Interactive = 0,  // the open button: the window shows the record
    Analysis = 1,     // a teacher game or a book source: only the record is filled
};

// Reads the file at `path`, a CSA file (".csa"), a KIF file (".kif",
// ".kifu") or a KI2 file (".ki2", ".ki2u"), extensions in any case, CP932 or
// UTF-8, into `record` in the standard frame: 先手 is the lower side, and
// humanIsSecond says whether 後手 moves first.
// Returns 1 with record.length = the plies read, or -1 after the message
// sound and the reader's message, with record.length = 0 (the entries read
// so far stay in the history). In interactive mode the game fields and the
// window (through the Ui hooks) show the record's start position, or the
// even-game position after a failure.
int32_t LoadRecord(GameFields& game, GameRecord& record, const std::string& path, LoadMode mode,
                   Ui& ui);

}  // namespace nusari
