// Plays a record file's moves into a GameRecord, in the standard diagram's
// frame (先手 is the lower side), checking that each move fits the position.
#pragma once

#include <cstdint>

#include "records/game_record.h"

namespace nusari {

// A move that changes the position as the record says: a piece of the mover
// on `from` (or one in the mover's hand for a drop onto an empty square),
// a destination that is another square and holds no piece of the mover nor
// a king, and a promotion only of a piece that can promote. The rules of
// movement are not checked: a record may hold any sequence of such moves.
bool isRecordableMove(const Position& p, Side mover, const Move& m);

class RecordBuilder {
  public:
    // `record` must hold the default start position in entry 0; its reading
    // fields (first mover, orientation, ending) are reset.
    explicit RecordBuilder(GameRecord& record);

    // The start position, to be changed only before the first move.
    Position& start() { return record_.history[0]; }
    int32_t plies() const { return plies_; }
    bool started() const { return plies_ > 0; }
    // Which side makes ply 1; ignored once a move is played.
    void setFirstMover(Side side);
    Side sideToMove() const;
    // The position after the last ply.
    const Position& current() const { return record_.history[static_cast<std::size_t>(plies_)]; }
    // The destination of the last ply, 0 before the first.
    int32_t lastDestination() const { return lastDestination_; }

    enum class Outcome { Played, Unfit, Full };
    // Plays `m` for the side to move into the next history entry.
    Outcome play(const Move& m);
    // Adds thinking seconds to the side that made the last ply.
    void addTime(int64_t seconds);
    void setEnding(GameEnding ending) { record_.ending = ending; }
    bool ended() const { return record_.ending != GameEnding::None; }

  private:
    GameRecord& record_;
    int32_t plies_ = 0;
    int32_t lastDestination_ = 0;
};

// Adds `amount` to a count or time cell, held within the 32-bit range.
void addSaturated(int32_t& cell, int64_t amount);

}  // namespace nusari
