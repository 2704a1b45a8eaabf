// The position editor's picture: where clicks land, the stands where the
// game's picture draws them, the faces a click cycles through; and a set-up
// position as the record played from.
#include "ui/editor_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "position/position.h"
#include "ui_test_support.h"

namespace nusari::test {
namespace {

using Spot = EditorSpot;

bool same(const std::optional<Spot>& a, const std::optional<Spot>& b) {
    if (!a || !b) return !a && !b;
    return a->area == b->area && a->square == b->square && a->side == b->side &&
           (a->area == Spot::Area::Board || a->kind == b->kind);
}

TEST(EditorScene, PointsLandOnSquaresHandsAndTheBox) {
    struct Case {
        int32_t x;
        int32_t y;
        std::optional<Spot> spot;
    };
    const Case cases[] = {
        {300, 250, Spot::board(75)},
        {190, 40, Spot::board(91)},
        {650, 265, Spot::hand(Side::Lower, kRook)},
        {780, 300, Spot::hand(Side::Lower, kBishop)},
        {770, 455, Spot::hand(Side::Lower, kPawn)},
        {20, 35, Spot::hand(Side::Upper, kPawn)},
        {150, 225, Spot::hand(Side::Upper, kRook)},
        {90, 85, Spot::hand(Side::Upper, kKnight)},
        {105, 520, Spot::box(kKing)},
        {665, 565, Spot::box(kPawn)},
        {95, 520, std::nullopt},   // the box's label
        {745, 520, std::nullopt},  // past its last kind
        {400, 499, std::nullopt},  // between the board and the box
        {640, 470, std::nullopt},  // beside the lower stand
        {5, 5, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_TRUE(same(EditorSpotAt(c.x, c.y), c.spot));
    }
}

// Each hand's piece is drawn where the game's picture draws it, and a click
// on it takes that kind.
TEST(EditorScene, HandsStandWhereTheGamesPictureHasThem) {
    PositionEditor editor = PositionEditor::allInHands();
    const BoardScene shown = ComposeEditor(editor, std::nullopt);
    const auto record = std::make_unique<GameRecord>();
    BoardInputs in;
    in.position = &editor.position();
    in.record = record.get();
    const BoardScene game = ComposeBoard(in);
    for (const Side side : {Side::Lower, Side::Upper}) {
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            const Spot spot = Spot::hand(side, kind);
            const PicturePoint at = EditorSpotOrigin(spot).value();
            const Sprite sprite{ImageIndexOf(static_cast<int32_t>(side) + kind), at.x, at.y};
            EXPECT_NE(std::find(game.sprites.begin(), game.sprites.end(), sprite),
                      game.sprites.end());
            EXPECT_NE(std::find(shown.sprites.begin(), shown.sprites.end(), sprite),
                      shown.sprites.end());
            EXPECT_TRUE(same(EditorSpotAt(at.x + 24, at.y + 24), spot));
        }
    }
    // The box's kings, and the frame on the one selected.
    const PicturePoint king = EditorSpotOrigin(Spot::box(kKing)).value();
    const BoardScene selected = ComposeEditor(editor, Spot::box(kKing));
    EXPECT_EQ(selected.sprites.back(), (Sprite{kSelectionFrameImage, king.x, king.y}));
    EXPECT_TRUE(same(EditorSpotAt(king.x + 24, king.y + 24), Spot::box(kKing)));
}

TEST(EditorScene, AClickCyclesThroughFacesAndSides) {
    PositionEditor editor = PositionEditor::even();
    const int32_t silver[] = {kLowerProSilver, kUpperSilver, kUpperProSilver, kLowerSilver};
    for (const int32_t face : silver) {
        ASSERT_TRUE(CyclePiece(editor, 39));
        EXPECT_EQ(editor.pieceAt(39), face);
    }
    const int32_t gold[] = {kUpperGold, kLowerGold};
    for (const int32_t face : gold) {
        ASSERT_TRUE(CyclePiece(editor, 49));
        EXPECT_EQ(editor.pieceAt(49), face);
    }
    EXPECT_FALSE(CyclePiece(editor, 55));
}

// 頭金: 後手's king on 5一, 先手's pawn on 5三 and a gold in hand; with 後手
// to move, 先手's king on 9九 as well.
SetUpResult headGold(Side toMove) {
    PositionEditor editor = PositionEditor::tsume();
    editor.movePiece(Spot::hand(Side::Upper, kGold), Spot::hand(Side::Lower));
    editor.movePiece(Spot::hand(Side::Upper, kPawn), Spot::board(53));
    editor.changeSide(53);
    if (toMove == Side::Upper) editor.movePiece(Spot::box(kKing), Spot::board(99));
    editor.setSideToMove(toMove);
    return editor.finish();
}

class SetUpStartTest : public ControllerTest {};

TEST_F(SetUpStartTest, ASetUpPositionBecomesAnUnsavedRecordToPlayFrom) {
    ASSERT_EQ(controller->StartUp(), 1);
    const SetUpResult set = headGold(Side::Lower);
    ASSERT_TRUE(set.ok()) << set.error;
    ASSERT_TRUE(controller->StartFromSetUp(set));
    EXPECT_EQ(controller->tree.start(), set.position);
    EXPECT_EQ(controller->tree.firstMover(), Side::Lower);
    EXPECT_EQ(record().length, 0);
    EXPECT_EQ(board()[53], kLowerPawn);
    EXPECT_TRUE(controller->RecordChanged());
    EXPECT_EQ(controller->page.presetRow, kPresetContinue);
    const GameController::ShownSetUpPosition shown = controller->ShownSetUp();
    EXPECT_EQ(shown.position, set.position);
    EXPECT_EQ(shown.toMove, Side::Lower);

    // Refused while a game runs.
    controller->StartGame();
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_FALSE(controller->StartFromSetUp(headGold(Side::Lower)));
}

// The human plays the side to move, whichever it is, at the bottom.
TEST_F(SetUpStartTest, AGameStartsFromItWithEitherSideToMove) {
    ASSERT_EQ(controller->StartUp(), 1);
    for (const Side toMove : {Side::Lower, Side::Upper}) {
        SCOPED_TRACE(static_cast<int>(toMove));
        ui.answers = {false};  // the set-up before is discarded
        ASSERT_TRUE(controller->StartFromSetUp(headGold(toMove)));
        controller->page.computerFirst = false;
        controller->StartGame();
        EXPECT_EQ(controller->gameState, GameState::LowerToMove);
        EXPECT_EQ(record().boardTurned, toMove == Side::Upper ? 1 : 0);
        const Position standard = standardEntry(record(), 0);
        EXPECT_EQ(standard[51], kUpperKing);
        EXPECT_EQ(standard[53], kLowerPawn);
        controller->InterruptGame();
    }
}

}  // namespace
}  // namespace nusari::test
