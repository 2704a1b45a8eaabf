// A match game as a CSA record (version 2.2, CR LF, ASCII): the players,
// the start position, every move with its whole seconds and the engine's
// score as a "'**" comment (from sente's side), and the "%" word of the end.
#pragma once

#include <string>

#include "game/match_game.h"
#include "game/openings_file.h"

namespace nusari {

struct MatchHeader {
    std::string blackName;  // sente, "N+"
    std::string whiteName;
    std::string startTime;  // "yyyy/mm/dd hh:mm:ss"
    std::string endTime;
};

// The "%" word for how the game ended: "%TORYO", "%TSUMI", "%KACHI",
// "%SENNICHITE", "%JISHOGI" (the ply limit), "%TIME_UP", "%ILLEGAL_MOVE",
// or "%+ILLEGAL_ACTION"/"%-ILLEGAL_ACTION" for a crash or a perpetual check.
std::string csaEndingWord(const GameOutcome& game);

std::string formatMatchCsa(const MatchHeader& header, const Opening& opening, const GameOutcome& game);

// Writes `text` to `path` through a temporary file; false with a message.
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

// The local time as "yyyy/mm/dd hh:mm:ss".
std::string csaTimeNow();

}  // namespace nusari
