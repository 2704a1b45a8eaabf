// The opening book: the book move of a position the book holds exactly, or
// the moves of the most similar book positions as induced moves (誘導手)
// with their messages from the .txk file.
#pragma once

#include <cstdint>
#include <string>

#include "aik/book_table.h"
#include "aik/engine_state.h"
#include "position/attack_map.h"
#include "position/types.h"

namespace nusari {

inline constexpr int32_t kInducedMoveCount = 8;
inline constexpr int32_t kBookMoveWeight = 100;  // an exact book position
inline constexpr size_t kMaxMessageBytes = 255;
// A larger message (.txk) file, or one that is no regular file, is not read.
inline constexpr size_t kMaxMessageFileBytes = 16u << 20;

struct InducedMove {
    int32_t from = 0;
    int32_t to = 0;
    int32_t weight = 0;
    int32_t messageNumber = 0;
    std::string message;  // CP932 bytes, at most 255
};

struct InducedMoves {
    InducedMove move[kInducedMoveCount];
};

// True when the record's move can be played in `p` as in the book position:
// the same piece on `from`, the same cell on the destination, no more lower
// attackers and no fewer upper attackers there, and a legal move of the
// upper side in `p`.
bool BookRecordApplies(const Position& p, const BookRecord& record, const AttackMap& map);

// Probes the book for `p` (the computer is the upper side). Weight 100 or
// more on move 0 means an exact book position.
InducedMoves ProbeBook(EngineState& state, const Position& p);

// Fills the message texts of `moves` from the .txk bytes.
void ReadBookMessages(const std::string& txk, InducedMoves& moves);

}  // namespace nusari
