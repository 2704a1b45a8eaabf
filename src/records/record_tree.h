// A game record as a tree of moves: a start position and side to move, then
// nodes of {move, thinking time, comment, engine score, branches}, the main
// line first among each node's children, and the file's metadata. Nodes live
// flat in one array and name each other by index, so a record of any shape
// is built and destroyed without recursion. Positions are never stored: the
// position at a node is replayed from the start. Everything is in the
// standard frame (先手 is the lower side); texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "position/types.h"
#include "records/game_record.h"

namespace nusari {

using NodeId = int32_t;
inline constexpr NodeId kNoNode = -1;
inline constexpr NodeId kRootNode = 0;  // the start position; it has no move

// A thinking time that the record does not give.
inline constexpr int64_t kUnknownTime = INT64_MIN;
// Nodes a tree holds at most, the root included: far beyond any real record
// with its variations, and it bounds what a hostile file can make us keep.
inline constexpr int32_t kMaxTreeNodes = 200000;

struct RecordNode {
    Move move{};                    // the move that leads here; none at the root
    int64_t timeMs = kUnknownTime;  // the mover's thinking time for this move
    std::string comment;            // lines joined by '\n'
    bool hasScore = false;          // an engine's score for the position here
    int32_t score = 0;              // from 先手's side, as CSA's "'**" lines give it
    GameEnding ending = GameEnding::None;  // how the game ended after this move
    NodeId parent = kNoNode;
    int32_t ply = 0;               // moves from the start to here
    std::vector<NodeId> children;  // the main line first
    bool operator==(const RecordNode&) const = default;
};

// A header line of a record: 開始日時, 棋戦, 持ち時間, ... (UTF-8).
struct RecordHeader {
    std::string key;
    std::string value;
    bool operator==(const RecordHeader&) const = default;
};

class RecordTree {
  public:
    // The even-game start with 先手 to move, and nothing else.
    RecordTree();

    // Empties the tree and starts it from `start` (its cells 111 and 119
    // are cleared) with `firstMover` to move.
    void reset(const Position& start, Side firstMover);
    const Position& start() const { return start_; }
    // The start position, to be changed only while the tree has no moves.
    Position& startToEdit() { return start_; }
    Side firstMover() const { return firstMover_; }
    void setFirstMover(Side side) { firstMover_ = side; }

    int32_t nodeCount() const { return static_cast<int32_t>(nodes_.size()); }
    bool hasMoves() const { return nodes_.size() > 1; }
    const RecordNode& node(NodeId id) const { return nodes_[static_cast<std::size_t>(id)]; }
    RecordNode& node(NodeId id) { return nodes_[static_cast<std::size_t>(id)]; }

    // The nodes of the main line after the root, in order.
    std::vector<NodeId> mainLine() const;
    // The last node of the main line (the root when there are no moves).
    NodeId mainLineEnd() const;
    // The end of the line through `id`: its first children followed down.
    NodeId lineEndFrom(NodeId id) const;
    // The nodes from the first move down to `id`, in order (empty for the root).
    std::vector<NodeId> pathTo(NodeId id) const;
    // The position after the moves leading to `id`.
    Position positionAt(NodeId id) const;
    Side sideToMoveAt(NodeId id) const;

    // The child of `parent` that plays `m`: the existing one, or a new last
    // branch. kNoNode when the move does not fit the position (see
    // isRecordableMove), the line would pass kMaxRecordPlies or the tree is full.
    NodeId addMove(NodeId parent, const Move& m);
    // The same without checking the move against the position, for readers
    // that follow the position as they go.
    NodeId addCheckedMove(NodeId parent, const Move& m);
    // Makes the line through `id` the main line: every node on its path
    // becomes its parent's first child, the others keeping their order.
    void promoteToMainLine(NodeId id);
    // Moves `id` one place up (step -1) or down (+1) among its parent's
    // children; false when it is already first or last, or is the root.
    bool moveAmongSiblings(NodeId id, int32_t step);
    // Removes `id` (not the root) with everything after it. Node ids of the
    // tree change; the parent of the removed node keeps its id, which is
    // returned (kNoNode when nothing was removed).
    NodeId removeSubtree(NodeId id);

    // The ending of the main line and the ply it follows.
    GameEnding ending() const { return node(mainLineEnd()).ending; }
    int32_t endingPly() const { return node(mainLineEnd()).ply; }

    // The value of the first header with `key`, or "".
    std::string_view header(std::string_view key) const;
    // Sets the first header with `key`, or adds it at the end.
    void setHeader(std::string_view key, std::string_view value);

    std::string firstName;   // 先手 (下手 in a handicap game)
    std::string secondName;  // 後手 (上手)
    std::vector<RecordHeader> headers;  // in file order, names and 手合割 aside
    // Each side's thinking time given before the first move (先手, 後手).
    int64_t startTimeMs[2] = {0, 0};

    bool operator==(const RecordTree&) const = default;

  private:
    Position start_{};
    Side firstMover_ = Side::Lower;
    std::vector<RecordNode> nodes_;
};

// The time cell of the standard frame's side: 0 for 先手, 1 for 後手.
constexpr int sideIndex(Side side) { return side == Side::Lower ? 0 : 1; }

// The main line of `tree` as the seed's positions-per-ply record: names and
// the start and end times in CP932 (names cut to 18 bytes), the history in
// the standard frame with the cumulative seconds in cells 111 and 119, the
// main line's ending.
void mainLineToRecord(const RecordTree& tree, GameRecord& record);

// The line of `tree` from the start down to `end`, in the same form; with
// `turned`, the history as a board turned round shows it (the record's
// boardTurned set): every entry flipped, cell 111 holding 後手's time.
void lineToRecord(const RecordTree& tree, NodeId end, GameRecord& record, bool turned = false);

// `record` as a tree of its one line, each move's time from the difference
// of the cumulative cells.
void recordToTree(const GameRecord& record, RecordTree& tree);

}  // namespace nusari
