// Reading a record or a position from a text rather than a file, as a
// paste gives it: the format is told from the text itself.
#pragma once

#include <string_view>

#include "records/record_readers.h"
#include "records/record_tree.h"

namespace nusari {

enum class RecordTextFormat { None, Kif, Ki2, Csa, Sfen, Usi, Bod };

// "KIF", "KI2", "CSA", "SFEN", "USI" or "BOD"; "" for None.
const char* recordTextFormatName(RecordTextFormat format);

struct RecordTextOutcome : ReadOutcome {
    RecordTextFormat format = RecordTextFormat::None;  // None on failure
};

// Reads `text` (UTF-8, UTF-16 with its mark or CP932, any line ends, blanks
// around it ignored) as one of:
//   KIF, with or without its header and the move table's head line, with
//     variations and comments; KI2;
//   CSA (a first line of V2, N+, $, PI, P1..P9, P+, P-, + or a move);
//   SFEN ("sfen" optional), optionally followed by "moves M1 M2 ...";
//   a USI "position startpos|sfen ... [moves ...]" ("position" optional);
//   BOD, a KIF board diagram alone (hands, board, optionally 手番).
// The moves of SFEN and USI texts must be legal. On success `tree` holds
// what was read, from a fresh tree; a fault in a variation keeps the main
// line and says why in variationError. On failure `error` holds the message
// (UTF-8) and `tree` is as it was.
RecordTextOutcome ReadRecordText(std::string_view text, RecordTree& tree);

}  // namespace nusari
