// The record tree: adding moves and branches, the main line and paths,
// positions replayed from the start, promotion of a branch, its bounds, and
// the conversions to and from the positions-per-ply record.
#include <gtest/gtest.h>

#include "position/position.h"
#include "records/record_tree.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

constexpr Move k76{77, 76};
constexpr Move k34{33, 34};
constexpr Move k26{27, 26};
constexpr Move k84{83, 84};

TEST(RecordTree, MovesBranchesAndPaths) {
    RecordTree tree;
    const NodeId a = tree.addMove(kRootNode, k76);
    const NodeId b = tree.addMove(a, k34);
    const NodeId c = tree.addMove(kRootNode, k26);  // a second first move
    const NodeId d = tree.addMove(c, k84);
    ASSERT_NE(d, kNoNode);
    // The same move again is the node that is there.
    EXPECT_EQ(tree.addMove(kRootNode, k76), a);
    // A move that does not fit the position is refused: 後手 has no piece on 7七.
    EXPECT_EQ(tree.addMove(a, Move{77, 76}), kNoNode);

    EXPECT_EQ(tree.mainLine(), (std::vector<NodeId>{a, b}));
    EXPECT_EQ(tree.mainLineEnd(), b);
    EXPECT_EQ(tree.pathTo(d), (std::vector<NodeId>{c, d}));
    EXPECT_EQ(tree.node(d).ply, 2);
    EXPECT_EQ(tree.sideToMoveAt(c), Side::Upper);
    EXPECT_EQ(tree.sideToMoveAt(d), Side::Lower);

    Position expected = evenGame();
    applyMove(expected, Side::Lower, k26);
    applyMove(expected, Side::Upper, k84);
    expected[kLowerTimeCell] = 0;
    expected[kUpperTimeCell] = 0;
    EXPECT_EQ(tree.positionAt(d), expected);

    tree.promoteToMainLine(d);
    EXPECT_EQ(tree.mainLine(), (std::vector<NodeId>{c, d}));
    EXPECT_EQ(tree.node(kRootNode).children, (std::vector<NodeId>{c, a}));
}

TEST(RecordTree, LinesAndNodesAreBounded) {
    RecordTree tree;
    // The kings step to and fro: any number of plies fit the position.
    const Move moves[4] = {{59, 58}, {51, 52}, {58, 59}, {52, 51}};
    NodeId at = kRootNode;
    for (int32_t ply = 0; ply < kMaxRecordPlies; ++ply) at = tree.addMove(at, moves[ply % 4]);
    ASSERT_NE(at, kNoNode);
    EXPECT_EQ(tree.node(at).ply, kMaxRecordPlies);
    EXPECT_EQ(tree.addMove(at, moves[kMaxRecordPlies % 4]), kNoNode);

    // Unchecked lines, each under a first move of its own, until the tree is full.
    for (int32_t from = 0; tree.nodeCount() < kMaxTreeNodes; ++from) {
        NodeId node = tree.addCheckedMove(kRootNode, Move{1000 + from, 0});
        for (int32_t k = 0; node != kNoNode && k < 900 && tree.nodeCount() < kMaxTreeNodes; ++k) {
            node = tree.addCheckedMove(node, Move{0, k});
        }
    }
    EXPECT_EQ(tree.addCheckedMove(kRootNode, Move{1, 1}), kNoNode);
    EXPECT_EQ(tree.nodeCount(), kMaxTreeNodes);
}

TEST(RecordTree, TheMainLineIsTheRecordAndTheRecordATree) {
    const Read read = readCsa(std::string("N+甲\nN-乙\n$START_TIME:2026/01/02 03:04:05\n") +
                              kEvenRows + "+\nT2\n+7776FU\nT5\n-3334FU\nT7\n+2726FU\nT1\n%TORYO\n");
    ASSERT_EQ(read.error(), "");
    GameRecord& record = *read.record;
    record.length = read.outcome.plies;
    for (const bool turned : {false, true}) {
        SCOPED_TRACE(turned);
        const std::unique_ptr<GameRecord> source = turned ? turnedOver(record)
                                                          : std::make_unique<GameRecord>(record);
        RecordTree tree;
        recordToTree(*source, tree);
        EXPECT_EQ(tree.firstName, "甲");
        EXPECT_EQ(tree.header("開始日時"), "2026/01/02 03:04:05");
        EXPECT_EQ(tree.startTimeMs[0], 2000);
        EXPECT_EQ(tree.node(tree.mainLine()[2]).timeMs, 1000);
        EXPECT_EQ(tree.ending(), GameEnding::Resign);
        EXPECT_EQ(tree.endingPly(), 3);

        auto back = freshRecord();
        mainLineToRecord(tree, *back);
        EXPECT_EQ(back->length, 3);
        EXPECT_EQ(back->humanIsSecond, 0);
        EXPECT_EQ(back->boardTurned, 0);
        EXPECT_EQ(nameOf(back->secondName), cp932("乙"));
        EXPECT_EQ(back->startTime, record.startTime);
        EXPECT_EQ(back->ending, GameEnding::Resign);
        for (int32_t n = 0; n <= 3; ++n) EXPECT_EQ(back->history[n], record.history[n]) << n;

        // The line in the frame the record came in is the record again.
        lineToRecord(tree, tree.mainLineEnd(), *back, turned);
        EXPECT_EQ(back->boardTurned, source->boardTurned);
        EXPECT_EQ(back->humanIsSecond, source->humanIsSecond);
        for (int32_t n = 0; n <= 3; ++n) EXPECT_EQ(back->history[n], source->history[n]) << n;
    }
}

TEST(RecordTree, BranchesAreReorderedAndRemovedWithWhatFollows) {
    RecordTree tree;
    const NodeId a = tree.addMove(kRootNode, k76);
    const NodeId a2 = tree.addMove(a, k34);
    const NodeId b = tree.addMove(kRootNode, k26);
    const NodeId b2 = tree.addMove(b, k84);
    tree.addMove(b, k34);
    const NodeId c = tree.addMove(kRootNode, Move{97, 96});
    EXPECT_EQ(tree.lineEndFrom(b), b2);
    EXPECT_EQ(tree.lineEndFrom(kRootNode), a2);

    EXPECT_FALSE(tree.moveAmongSiblings(a, -1));
    EXPECT_FALSE(tree.moveAmongSiblings(c, +1));
    EXPECT_FALSE(tree.moveAmongSiblings(kRootNode, +1));
    EXPECT_TRUE(tree.moveAmongSiblings(c, -1));
    EXPECT_EQ(tree.node(kRootNode).children, (std::vector<NodeId>{a, c, b}));

    // Removing 2六歩 takes its two replies along; the rest is renumbered.
    const NodeId parent = tree.removeSubtree(b);
    EXPECT_EQ(parent, kRootNode);
    EXPECT_EQ(tree.nodeCount(), 4);
    const std::vector<NodeId>& first = tree.node(kRootNode).children;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(tree.node(first[0]).move, k76);
    EXPECT_EQ(tree.node(first[1]).move, (Move{97, 96}));
    const NodeId reply = tree.node(first[0]).children.at(0);
    EXPECT_EQ(tree.node(reply).parent, first[0]);
    EXPECT_EQ(tree.node(reply).move, k34);
    EXPECT_EQ(tree.removeSubtree(kRootNode), kNoNode);
}

}  // namespace
}  // namespace nusari::test
