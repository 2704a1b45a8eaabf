// The computer's whole working record. It is large (about 2 MB): allocate it
// on the heap, std::make_unique<EngineState>().
#pragma once

#include <string>

#include "aik/aik_profile.h"
#include "aik/book_table.h"
#include "aik/eval_tables.h"
#include "position/game_fields.h"

namespace nusari {

struct EngineState : GameFields {
    // Parameters of the loaded .aik file.
    AikProfile profile;
    // Full path of the current opponent's .aik file; its folder also holds
    // the book's message (.txk) file.
    std::string enginePath;
    EvalTables evalTables;
    FindRuleTables findRuleTables;
    BookTable bookTable;
};

}  // namespace nusari
