// Start positions of a match, one per line as in a USI "position" command:
// "startpos" or a SFEN ("sfen" optional), optionally followed by
// "moves M1 M2 ...". Blank lines and lines beginning with '#' are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "position/types.h"

namespace nusari {

struct Opening {
    int line = 0;           // line number in the file
    Position start;         // the position before the moves
    Side toMove = Side::Lower;
    bool evenStart = true;  // "startpos": the records start from "PI"
    std::vector<Move> moves;
};

// Every good line of `text`; each bad one adds "line N: what is wrong" to
// `errors`. A line needs both kings, the side not to move out of check and
// legal moves (at most 256).
std::vector<Opening> parseOpenings(std::string_view text, std::vector<std::string>& errors);

// The same for the regular file at `path`; a file that cannot be read adds
// its message to `errors`.
std::vector<Opening> loadOpenings(const std::string& path, std::vector<std::string>& errors);

// The even-game start.
Opening evenOpening();

}  // namespace nusari
