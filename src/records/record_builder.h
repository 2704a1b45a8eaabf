// Plays a record file's moves into a RecordTree, in the standard diagram's
// frame (先手 is the lower side), checking that each move fits the position.
// The builder follows one line at a time and keeps the positions along it,
// so a reader never replays the record from its start.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "records/record_tree.h"

namespace nusari {

// A move that changes the position as the record says: a piece of the mover
// on `from` (or one in the mover's hand for a drop onto an empty square),
// a destination that is another square and holds no piece of the mover nor
// a king, and a promotion only of a piece that can promote. The rules of
// movement are not checked: a record may hold any sequence of such moves.
bool isRecordableMove(const Position& p, Side mover, const Move& m);

class RecordBuilder {
  public:
    // Builds on `tree`, whose start position readers may still change
    // before the first move.
    explicit RecordBuilder(RecordTree& tree);

    Position& start() { return tree_.startToEdit(); }
    // Moves on the line being read.
    int32_t plies() const { return static_cast<int32_t>(line_.size()); }
    // True once any move was played, on any line.
    bool started() const { return tree_.hasMoves(); }
    // Which side makes ply 1; ignored once a move is played.
    void setFirstMover(Side side);
    Side sideToMove() const { return tree_.sideToMoveAt(at()); }
    // The position after the last move of the line.
    const Position& current() const { return positions_.empty() ? tree_.start() : positions_.back(); }
    // The destination of the last move of the line, 0 at the start.
    int32_t lastDestination() const;
    NodeId at() const { return line_.empty() ? kRootNode : line_.back(); }

    enum class Outcome { Played, Unfit, Full, TooManyNodes };
    // Plays `m` for the side to move after the line's last move.
    Outcome play(const Move& m);
    // Goes back along the line to the node after `ply` moves, where the
    // next move starts a branch; false when the line is shorter. A line
    // that reaches a node with an ending (from there or by joining a line
    // read before) is ended: moves after it are not played.
    bool branchAfter(int32_t ply);
    // Adds thinking time to the line's last move.
    void addTimeMs(int64_t ms);
    // Adds a line to the comment of the line's last move (or the start).
    void addCommentLine(std::string_view utf8);
    void setScore(int32_t score);
    // Ends the line; the ending is kept only where the line has no moves
    // after it from another line.
    void setEnding(GameEnding ending);
    // True once the line being read has its ending.
    bool ended() const { return ended_; }

  private:
    RecordTree& tree_;
    std::vector<NodeId> line_;
    std::vector<Position> positions_;
    std::vector<bool> commented_;  // nodes whose comment has a first line
    bool ended_ = false;
};

// Adds `amount` to a count or time cell, held within the 32-bit range.
void addSaturated(int32_t& cell, int64_t amount);
// Adds `amount` to a time, held within ±2^53.
void addTimeSaturated(int64_t& time, int64_t amount);

}  // namespace nusari
