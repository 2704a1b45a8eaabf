// A match game as a CSA record, written by the record tree's CSA writer:
// the players, the start and end times, the start position, every move
// with its whole seconds and the engine's score as a "'**" line (from
// sente's side), a comment on the last move naming the winner, and the
// "%" word of the end.
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

// The end is "%TORYO", "%TSUMI", "%KACHI", "%SENNICHITE", "%JISHOGI" (the
// ply limit), "%TIME_UP", "%ILLEGAL_MOVE", or "%+ILLEGAL_ACTION" /
// "%-ILLEGAL_ACTION" with the sign of the side that crashed or gave the
// perpetual check; "%CHUDAN" for a game broken off.
std::string formatMatchCsa(const MatchHeader& header, const Opening& opening, const GameOutcome& game);

// Writes `text` to `path` through a temporary file; false with a message.
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

// The local time as "yyyy/mm/dd hh:mm:ss".
std::string csaTimeNow();

}  // namespace nusari
