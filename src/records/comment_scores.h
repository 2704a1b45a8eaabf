// Engine scores that programs write into a record's comments, read back for
// the evaluation graph. Two kinds: the score of the engine that played the
// move (ShogiHome's "*評価値=", Floodgate's "* 123 …", a CSA "'**" line) and
// the score of an analysis afterwards (ShogiHome's "#評価値=", ShogiGUI's
// "*解析 … 評価値 123"). Every score is from 先手's side.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "records/record_tree.h"

namespace nusari {

// A mate announced in a comment ("#詰み=先手勝ち:15手") counts as this score.
inline constexpr int32_t kCommentMateScore = 100000;

struct CommentScores {
    std::optional<int32_t> played;    // by the engine that played the move
    std::optional<int32_t> analysed;  // by an analysis of the record
    bool operator==(const CommentScores&) const = default;
};

// The first score of each kind in `comment` (lines joined by '\n'); a
// value beyond ±kCommentMateScore is held there.
CommentScores ScoresInComment(std::string_view comment);

// The scores of a node: its comment's, the node's own engine score (read
// from CSA or kept from a game) standing for the played one.
CommentScores ScoresOfNode(const RecordNode& node);

}  // namespace nusari
