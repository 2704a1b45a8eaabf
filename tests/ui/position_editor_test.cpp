// The position editor: its starts, each operation accepted or refused, and
// the finished position as a record's start.
#include "ui/position_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include "position/sfen.h"
#include "records/record_tree.h"

namespace nusari {
namespace {

using Spot = EditorSpot;

PositionEditor editorOf(const char* sfen) {
    Position p;
    Side side = Side::Lower;
    std::string error;
    EXPECT_TRUE(parseSfen(sfen, p, side, error)) << error;
    return PositionEditor::fromPosition(p, side).value();
}

std::string sfenOf(const PositionEditor& e) {
    return toSfen(e.position(), e.sideToMove());
}

// Each operation starts from a horse on 5五, a gold in 先手's hand and a pawn
// in 後手's; the box holds the rest but the kings.
constexpr const char* kBase = "4k4/9/9/9/4+B4/9/9/9/4K4 b Gp 1";

// A piece taken from one spot and put at another.
struct MoveCase {
    const char* name;
    Spot from;
    Spot to;
    const char* after;  // the position after it, or "" when it is refused
};

const MoveCase kMoves[] = {
    {"on the board, keeping its face", Spot::board(55), Spot::board(45),
     "4k4/9/9/9/5+B3/9/9/9/4K4 b Gp 1"},
    {"onto a taken square", Spot::board(55), Spot::board(51), ""},
    {"a promoted piece into the other side's hand", Spot::board(55), Spot::hand(Side::Upper),
     "4k4/9/9/9/9/9/9/9/4K4 b Gbp 1"},
    {"a king into a hand", Spot::board(59), Spot::hand(Side::Lower), ""},
    {"a king into the box", Spot::board(59), Spot::box(), "4k4/9/9/9/4+B4/9/9/9/9 b Gp 1"},
    {"from a hand to the board, the hand's side's", Spot::hand(Side::Upper, kPawn), Spot::board(53),
     "4k4/9/4p4/9/4+B4/9/9/9/4K4 b G 1"},
    {"from one hand to the other", Spot::hand(Side::Lower, kGold), Spot::hand(Side::Upper),
     "4k4/9/9/9/4+B4/9/9/9/4K4 b gp 1"},
    {"from an empty hand", Spot::hand(Side::Lower, kRook), Spot::board(52), ""},
    {"from the box to the board, 先手's", Spot::box(kRook), Spot::board(99),
     "4k4/9/9/9/4+B4/9/9/9/R3K4 b Gp 1"},
    {"a kind the box has none of", Spot::box(kKing), Spot::board(99), ""},
};

// The operations on one piece or the whole board.
struct OperationCase {
    const char* name;
    std::function<bool(PositionEditor&)> operation;
    const char* after;
};

const OperationCase kOperations[] = {
    {"a chosen face from the box", [](PositionEditor& e) { return e.putFromBox(52, kUpperDragon); },
     "4k4/4+r4/9/9/4+B4/9/9/9/4K4 b Gp 1"},
    {"a chosen face the box has none of",
     [](PositionEditor& e) { return e.putFromBox(52, kUpperKing); }, ""},
    {"turned over", [](PositionEditor& e) { return e.turnOver(55); },
     "4k4/9/9/9/4B4/9/9/9/4K4 b Gp 1"},
    {"a king turned over", [](PositionEditor& e) { return e.turnOver(59); }, ""},
    {"to the other side", [](PositionEditor& e) { return e.changeSide(55); },
     "4k4/9/9/9/4+b4/9/9/9/4K4 b Gp 1"},
    {"cleared", [](PositionEditor& e) { return e.clear(), true; }, "9/9/9/9/9/9/9/9/9 b - 1"},
};

// A refused operation changes nothing.
void expectOutcome(PositionEditor& editor, bool accepted, const char* after) {
    EXPECT_EQ(accepted, *after != '\0');
    EXPECT_EQ(sfenOf(editor), *after != '\0' ? after : kBase);
}

TEST(PositionEditor, DoesEachOperationOrRefusesItChangingNothing) {
    for (const MoveCase& c : kMoves) {
        SCOPED_TRACE(c.name);
        PositionEditor editor = editorOf(kBase);
        expectOutcome(editor, editor.movePiece(c.from, c.to), c.after);
    }
    for (const OperationCase& c : kOperations) {
        SCOPED_TRACE(c.name);
        PositionEditor editor = editorOf(kBase);
        expectOutcome(editor, c.operation(editor), c.after);
    }
}

TEST(PositionEditor, StartsAndTakesOnlyWhatOneSetHolds) {
    EXPECT_EQ(sfenOf(PositionEditor::even()), kStartSfen);
    EXPECT_EQ(sfenOf(PositionEditor::tsume()), "4k4/9/9/9/9/9/9/9/9 b 2r2b4g4s4n4l18p 1");
    EXPECT_EQ(PositionEditor::tsume().boxCount(kKing), 1);
    EXPECT_EQ(sfenOf(PositionEditor::allInHands()), "9/9/9/9/9/9/9/9/9 b RB2G2S2N2L9Prb2g2s2n2l9p 1");
    EXPECT_EQ(PositionEditor::allInHands().boxCount(kKing), 2);
    EXPECT_EQ(editorOf(kBase).boxCount(kBishop), 1);

    Position p = editorOf(kBase).position();
    p[kLowerHandBase + kPawn] = 18;  // with 後手's, nineteen pawns
    EXPECT_FALSE(PositionEditor::fromPosition(p, Side::Lower).has_value());
}

TEST(PositionEditor, FinishesIntoARecordStartOrSaysWhyNot) {
    EXPECT_EQ(PositionEditor::emptyBoard().finish().error, "後手の玉がありません");

    // 頭金: a pawn on 5三 and a gold in hand for 先手.
    PositionEditor editor = PositionEditor::tsume();
    ASSERT_TRUE(editor.movePiece(Spot::hand(Side::Upper, kGold), Spot::hand(Side::Lower)));
    ASSERT_TRUE(editor.movePiece(Spot::hand(Side::Upper, kPawn), Spot::board(53)));
    ASSERT_TRUE(editor.changeSide(53));
    const SetUpResult result = editor.finish();
    ASSERT_TRUE(result.ok()) << result.error;
    RecordTree tree;
    tree.reset(result.position, result.toMove);
    EXPECT_NE(tree.addMove(kRootNode, Move{kLowerHandBase + kGold, 52}), kNoNode);

    editor.setSideToMove(Side::Upper);
    EXPECT_EQ(editor.finish().error, "先手の玉がありません");
}

}  // namespace
}  // namespace nusari
