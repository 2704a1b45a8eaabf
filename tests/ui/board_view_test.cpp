// The board picture's contents and the mapping of clicks to squares and
// stand areas.
#include <algorithm>

#include "position/setup.h"
#include "ui/board_hit.h"
#include "ui/board_scene.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

using test::ControllerTest;

TEST(BoardScene, ImageIndexesOfAllCellValues) {
    const std::pair<int32_t, int32_t> expected[] = {
        {kLowerKing, 0},       {kLowerPawn, 7},   {kLowerDragon, 8},     {kLowerHorse, 9},
        {kLowerProSilver, 10}, {kLowerTokin, 13}, {kUpperKing, 14},      {kUpperPawn, 21},
        {kUpperDragon, 22},    {kUpperHorse, 23}, {kUpperProSilver, 24}, {kUpperTokin, 27},
    };
    for (const auto& [code, image] : expected) EXPECT_EQ(ImageIndexOf(code), image) << code;
    for (int32_t v : {kEmpty, kOffBoard, 8, 11, 16, 31, 40, 43, 48, -1, 1000}) {
        EXPECT_EQ(ImageIndexOf(v), -1) << v;
    }
}

TEST(BoardScene, SquareGeometry) {
    EXPECT_EQ(SquareOrigin(11), (PicturePoint{567, 33}));
    EXPECT_EQ(SquareOrigin(99), (PicturePoint{183, 417}));
    EXPECT_EQ(SquareOrigin(55), (PicturePoint{375, 225}));
}

class SceneTest : public ::testing::Test {
  protected:
    SceneTest() : record(std::make_unique<GameRecord>()) { setupPosition(position, 0); }

    BoardScene compose() {
        BoardInputs in;
        in.position = &position;
        in.record = record.get();
        in.plyCount = ply;
        in.lastDestination = last;
        in.presetText = "平手";
        return ComposeBoard(in);
    }
    std::vector<int32_t> xsOf(const BoardScene& scene, int32_t image) {
        std::vector<int32_t> xs;
        for (const Sprite& s : scene.sprites) {
            if (s.image == image) xs.push_back(s.x);
        }
        return xs;
    }

    Position position;
    std::unique_ptr<GameRecord> record;
    int32_t ply = 0;
    int32_t last = 0;
};

TEST_F(SceneTest, HandsFanOutLeftwards) {
    position[kLowerHandBase + kPawn] = 2;
    EXPECT_EQ(xsOf(compose(), 7), (std::vector<int32_t>{695, 645}));
    position[kLowerHandBase + kPawn] = 1;
    EXPECT_EQ(xsOf(compose(), 7), (std::vector<int32_t>{645}));
    position[kLowerHandBase + kPawn] = 18;
    const std::vector<int32_t> eighteen = xsOf(compose(), 7);
    ASSERT_EQ(eighteen.size(), 18u);
    EXPECT_EQ(eighteen.front(), 740);
    EXPECT_EQ(eighteen.back(), 645);
    position[kLowerHandBase + kRook] = 1;
    EXPECT_EQ(xsOf(compose(), 1), (std::vector<int32_t>{645}));
    position[kUpperHandBase + kBishop] = 2;
    EXPECT_EQ(xsOf(compose(), 16), (std::vector<int32_t>{30, 15}));
}

TEST_F(SceneTest, BoardHandsAndFrameInDrawingOrder) {
    position[77] = kLowerPawn;
    position[33] = kUpperTokin;
    position[kLowerHandBase + kGold] = 1;
    position[kUpperHandBase + kLance] = 1;
    last = 33;
    const BoardScene scene = compose();
    const std::vector<Sprite> expected = {
        {27, 471, 129},  // file 3 before file 7
        {7, 279, 321},  {3, 645, 310}, {20, 15, 80}, {kLastMoveFrameImage, 471, 129},
    };
    EXPECT_EQ(scene.sprites, expected);
}

TEST_F(SceneTest, TextsShowNamesTimesPresetAndPly) {
    setName(record->firstName, "YOU");
    setName(record->secondName, "\x95\x57\x8f\x80");  // 標準 in Shift-JIS
    record->history[3][kLowerTimeCell] = 12;
    record->history[3][kUpperTimeCell] = 34;
    ply = 3;
    auto texts = compose().texts;
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].text, "YOU");
    EXPECT_EQ(texts[1].text, "12 s");
    EXPECT_EQ(texts[2].text, "標準");
    EXPECT_EQ(texts[3].text, "34 s");
    EXPECT_EQ(texts[4].text, "平手");
    EXPECT_EQ(texts[5].text, "3");
    EXPECT_EQ((PicturePoint{texts[5].x, texts[5].y}), (PicturePoint{690, 215}));

    // With the board turned, 先手's line shows the upper side's time.
    record->boardTurned = 1;
    texts = compose().texts;
    EXPECT_EQ(texts[1].text, "34 s");
    EXPECT_EQ(texts[3].text, "12 s");
}

TEST_F(SceneTest, OutsideValuesDrawNothingWrong) {
    position[kLowerHandBase + kPawn] = -5;
    position[kUpperHandBase + kPawn] = 1 << 30;
    position[55] = 1234;
    ply = 5000;
    last = 77777;
    const BoardScene scene = compose();
    EXPECT_TRUE(xsOf(scene, 7).empty());
    EXPECT_LE(xsOf(scene, 21).size(), 40u);
    EXPECT_TRUE(xsOf(scene, kLastMoveFrameImage).empty());
}

TEST(BoardHit, TheBoardAreaMapsToSquares) {
    EXPECT_EQ(SquareAt(185, 35), 91);
    EXPECT_EQ(SquareAt(613, 463), 19);
    EXPECT_EQ(SquareAt(400, 250), 55);
    for (const auto& [x, y] :
         {std::pair{184, 35}, {185, 34}, {614, 463}, {613, 464}, {0, 0}, {-5, 700}}) {
        EXPECT_EQ(SquareAt(x, y), 0) << x << "," << y;
    }
    // Every pixel of the area gives a square of files and ranks 1..9.
    for (int32_t y = 35; y < 464; ++y) {
        for (int32_t x = 185; x < 614; ++x) {
            const int32_t s = SquareAt(x, y);
            ASSERT_TRUE(isSquare(s)) << x << "," << y;
        }
    }
}

TEST(BoardHit, StandAreasIncludeBothEnds) {
    EXPECT_EQ(StandAreaAt(646, 260)->handCell, 112);
    EXPECT_EQ(StandAreaAt(711, 308)->handCell, 112);
    EXPECT_EQ(StandAreaAt(780, 308)->handCell, 113);
    EXPECT_EQ(StandAreaAt(646, 413)->handCell, 118);
    EXPECT_EQ(StandAreaAt(780, 461)->handCell, 118);
    EXPECT_EQ(StandAreaAt(715, 362)->handCell, 117);
    EXPECT_EQ(StandAreaAt(715, 360), nullptr);  // the lance's area starts at 362
    EXPECT_EQ(StandAreaAt(645, 300), nullptr);
    EXPECT_EQ(StandAreaAt(712, 300), nullptr);
    EXPECT_EQ(StandAreaAt(700, 411), nullptr);
}

class ClickTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        startGame(kPresetEven, false);
        ui.events.clear();
    }
};

TEST_F(ClickTest, AClickOnNothingOfOneselfDoesNothing) {
    clickSquare(33);                                            // an upper pawn
    clickSquare(55);                                            // empty
    controller->OnBoardMouseDown(MouseButton::Left, 100, 100);  // upper stand
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(engine().pendingFrom, 0);
}

TEST_F(ClickTest, SelectingMarksDestinationsAndFrames) {
    clickSquare(77);
    EXPECT_EQ(engine().pendingFrom, 77);
    EXPECT_EQ(engine().destinationMarks[76], 1);
    EXPECT_EQ(ui.events, std::vector<std::string>{"frame:279,321"});
}

TEST_F(ClickTest, AnUnmarkedSecondClickCancels) {
    for (int32_t second : {75, 87, 33}) {
        clickSquare(77);
        ui.events.clear();
        clickSquare(second);
        EXPECT_EQ(engine().pendingFrom, 0);
        EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
    }
    // A click outside the board with a piece selected cancels too.
    clickSquare(77);
    ui.events.clear();
    controller->OnBoardMouseDown(MouseButton::Left, 700, 300);
    EXPECT_EQ(engine().pendingFrom, 0);
    EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
}

TEST_F(ClickTest, TheRightButtonOpensTheMenuOrCancels) {
    controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
    EXPECT_EQ(ui.events, std::vector<std::string>{"menu:300,200"});
    clickSquare(77);
    ui.events.clear();
    controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
    EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
    EXPECT_EQ(engine().pendingFrom, 0);
}

TEST_F(ClickTest, ClicksCountOnlyWhileTheHumanIsToMove) {
    for (GameState s : {GameState::NoGame, GameState::ComputerThinking}) {
        controller->gameState = s;
        clickSquare(77);
        controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
        EXPECT_TRUE(ui.events.empty());
        EXPECT_EQ(engine().pendingFrom, 0);
    }
}

TEST_F(ClickTest, StandAreasSelectOnlyKindsInHand) {
    board()[kLowerHandBase + kKnight] = 1;
    clickStand(kLowerHandBase + kGold);
    EXPECT_EQ(engine().pendingFrom, 0);
    EXPECT_TRUE(ui.events.empty());
    clickStand(kLowerHandBase + kKnight);
    EXPECT_EQ(engine().pendingFrom, kLowerHandBase + kKnight);
    EXPECT_EQ(ui.events, std::vector<std::string>{"frame:645,360"});
    EXPECT_EQ(engine().destinationMarks[55], 1);
    EXPECT_EQ(engine().destinationMarks[42], 0);
}

}  // namespace
}  // namespace nusari
