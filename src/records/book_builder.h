// Building an opening book (.jsk) from game records: for every ply, the
// position before it and the move played, seen from the mover, who is the
// upper side as in the book lookup.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "aik/book_loader.h"
#include "records/game_record.h"

namespace nusari {

using BookFileRecord = std::array<uint8_t, kBookFileRecordBytes>;

// The .jsk record of `move` (a move of the upper side) in `position`,
// carrying `messageNumber` (24 bits).
BookFileRecord packBookRecord(const Position& position, const Move& move, int32_t messageNumber);

class BookBuilder {
  public:
    enum class AddResult { Added, IllegalPly, Full };

    // Adds plies 1 .. min(plies, record.length) of `record`. A ply that is no
    // legal move stops the record there (IllegalPly, with its number in
    // `stoppedAt`); a book of 10000 records stops everything (Full). A
    // position already in the book with the same move is not added again.
    AddResult addRecord(const GameRecord& record, int32_t plies, int32_t messageNumber,
                        int32_t& stoppedAt);

    int32_t size() const { return static_cast<int32_t>(records_.size()); }
    // The book file's bytes: the records in the order they were added.
    std::string bytes() const;

  private:
    std::vector<BookFileRecord> records_;
    std::set<BookFileRecord> seen_;  // records with the message bytes zeroed
};

}  // namespace nusari
