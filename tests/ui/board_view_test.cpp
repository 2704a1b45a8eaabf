// The board picture's contents and the mapping of clicks to squares and
// stand areas.
#include <algorithm>

#include "position/position.h"
#include "position/setup.h"
#include "ui/board_hit.h"
#include "records/record_readers.h"
#include "ui/board_scene.h"
#include "ui/move_list.h"
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

    BoardScene compose(bool viewTurned = false) {
        BoardInputs in;
        in.viewTurned = viewTurned;
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

// Turned by hand, each square shows what its opposite holds, from the other
// side, the hands change stands, the last move and the labels follow.
TEST_F(SceneTest, ABoardTurnedByHandShowsTheOtherSidesView) {
    setupPosition(position, kPresetEven);
    position[kLowerHandBase + kPawn] = 1;
    last = 77;
    const BoardScene turned = compose(true);
    auto spriteAt = [&](PicturePoint at) {
        for (const Sprite& s : turned.sprites) {
            if (s.x == at.x && s.y == at.y && s.image != kLastMoveFrameImage) return s.image;
        }
        return -1;
    };
    EXPECT_EQ(spriteAt(SquareOrigin(51)), ImageIndexOf(kUpperKing));  // the lower king of 5九
    EXPECT_EQ(spriteAt(SquareOrigin(59)), ImageIndexOf(kLowerKing));
    EXPECT_EQ(xsOf(turned, ImageIndexOf(kUpperPawn)).size(), 10u);    // nine on the board, one in hand
    EXPECT_EQ(xsOf(turned, kLastMoveFrameImage), (std::vector<int32_t>{SquareOrigin(33).x}));
    const BoardScene plain = compose(false);
    EXPECT_EQ(turned.notes.front().text, "1");
    EXPECT_EQ(plain.notes.front().text, "9");
}

// One piece a kind in hand, with its count beside it when more than one.
TEST_F(SceneTest, HandsShowOnePieceAKindWithItsCount) {
    auto countAt = [](const BoardScene& scene, int32_t x, int32_t y) {
        for (const SceneText& note : scene.notes) {
            if (note.x == x && note.y == y) return note.text;
        }
        return std::string();
    };
    position[kLowerHandBase + kPawn] = 1;
    EXPECT_EQ(xsOf(compose(), 7), (std::vector<int32_t>{645}));
    EXPECT_EQ(countAt(compose(), 693, 440), "");
    position[kLowerHandBase + kPawn] = 18;
    EXPECT_EQ(xsOf(compose(), 7), (std::vector<int32_t>{645}));
    EXPECT_EQ(countAt(compose(), 693, 440), "18");
    position[kUpperHandBase + kBishop] = 2;
    EXPECT_EQ(xsOf(compose(), 16), (std::vector<int32_t>{15}));
    EXPECT_EQ(countAt(compose(), 63, 210), "2");
    position[kUpperHandBase + kBishop] = 1 << 30;  // a forged count shows at most 99
    EXPECT_EQ(countAt(compose(), 63, 210), "99");
}

// The labels name the squares as they really are: turned with the board.
TEST_F(SceneTest, LabelsFollowTheBoardsOrientation) {
    auto labels = [this](int32_t turned) {
        record->boardTurned = turned;
        std::string files;
        std::string ranks;
        for (const SceneText& note : compose().notes) {
            if (note.width == 48) files += note.text;
            if (note.width == 18) ranks += note.text;
        }
        return files + " " + ranks;
    };
    EXPECT_EQ(labels(0), "987654321 一二三四五六七八九");
    EXPECT_EQ(labels(1), "123456789 九八七六五四三二一");
}

// The ply shown is tinted where it came from and went, in play and replay.
TEST_F(SceneTest, TheLastMoveIsTinted) {
    setupPosition(record->history[0], kPresetEven);
    record->history[1] = record->history[0];
    applyLowerMove(record->history[1], Move{77, 76});
    record->history[2] = record->history[1];
    applyUpperMove(record->history[2], Move{kUpperHandBase + kPawn, 55});  // a drop: no origin
    ply = 1;
    EXPECT_EQ(compose().tints, (std::vector<PicturePoint>{SquareOrigin(77), SquareOrigin(76)}));
    ply = 2;
    EXPECT_EQ(compose().tints, (std::vector<PicturePoint>{SquareOrigin(55)}));
    ply = 0;
    EXPECT_TRUE(compose().tints.empty());
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

// A piece in hand is clicked where the picture draws it, on either stand.
TEST(BoardHit, EachHandPieceIsClickedWhereItIsDrawn) {
    GameRecord record;
    for (const int32_t cell : {kLowerHandFirst, kUpperHandFirst}) {
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            Position p;
            p.cell.fill(kOffBoard);
            for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
                if (isSquare(s)) p[s] = kEmpty;
            }
            for (int32_t h = kLowerHandBase; h < kPositionCells; ++h) p[h] = 0;
            const int32_t hand = cell - kRook + kind;
            p[hand] = 1;
            BoardInputs in;
            in.position = &p;
            in.record = &record;
            const BoardScene scene = ComposeBoard(in);
            ASSERT_EQ(scene.sprites.size(), 1u) << hand;
            const Sprite& piece = scene.sprites[0];
            const PictureCell hit = PictureCellAt(piece.x + 24, piece.y + 24);
            EXPECT_EQ(hit.cell, hand);
            EXPECT_EQ(hit.frame, (PicturePoint{piece.x, piece.y})) << hand;
        }
    }
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
    EXPECT_EQ(gameFields().pendingFrom, 0);
}

TEST_F(ClickTest, SelectingMarksDestinationsAndFrames) {
    clickSquare(77);
    EXPECT_EQ(gameFields().pendingFrom, 77);
    EXPECT_EQ(gameFields().destinationMarks[76], 1);
    EXPECT_EQ(ui.events, std::vector<std::string>{"frame:279,321"});
}

TEST_F(ClickTest, AnUnmarkedSecondClickCancels) {
    for (int32_t second : {75, 87, 33}) {
        clickSquare(77);
        ui.events.clear();
        clickSquare(second);
        EXPECT_EQ(gameFields().pendingFrom, 0);
        EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
    }
    // A click outside the board with a piece selected cancels too.
    clickSquare(77);
    ui.events.clear();
    controller->OnBoardMouseDown(MouseButton::Left, 700, 300);
    EXPECT_EQ(gameFields().pendingFrom, 0);
    EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
}

TEST_F(ClickTest, TheRightButtonOpensTheMenuOrCancels) {
    controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
    EXPECT_EQ(ui.events, std::vector<std::string>{"menu:300,200"});
    clickSquare(77);
    ui.events.clear();
    controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
    EXPECT_EQ(ui.events, std::vector<std::string>{"draw"});
    EXPECT_EQ(gameFields().pendingFrom, 0);
}

TEST_F(ClickTest, ClicksCountOnlyWhileTheHumanIsToMove) {
    for (GameState s : {GameState::ComputerThinking}) {
        controller->gameState = s;
        clickSquare(77);
        controller->OnBoardMouseDown(MouseButton::Right, 300, 200);
        EXPECT_TRUE(ui.events.empty());
        EXPECT_EQ(gameFields().pendingFrom, 0);
    }
}

TEST_F(ClickTest, StandAreasSelectOnlyKindsInHand) {
    board()[kLowerHandBase + kKnight] = 1;
    clickStand(kLowerHandBase + kGold);
    EXPECT_EQ(gameFields().pendingFrom, 0);
    EXPECT_TRUE(ui.events.empty());
    clickStand(kLowerHandBase + kKnight);
    EXPECT_EQ(gameFields().pendingFrom, kLowerHandBase + kKnight);
    EXPECT_EQ(ui.events, std::vector<std::string>{"frame:645,360"});
    EXPECT_EQ(gameFields().destinationMarks[55], 1);
    EXPECT_EQ(gameFields().destinationMarks[42], 0);
}

}  // namespace
}  // namespace nusari

namespace nusari {
namespace {

// The move list in the usual notation (同, 打, 成 and 不成), with the
// mover's mark and time, the special move that ended the game and the
// result; the same whichever way the board
// is turned.
TEST(MoveList, LinesInTheUsualNotationInBothOrientations) {
    auto record = std::make_unique<GameRecord>();
    setupPosition(record->history[0], kPresetEven);
    TextInput in(std::string_view(
        "+7776FU\nT3\n-3334FU\n+8822UM\n-3122GI\nT65\n+0045KA\n-2233GI\n+4523KA\n%TORYO\n"));
    ASSERT_EQ(ReadCsa(in, *record).error, "");
    record->length = 7;
    const std::vector<std::string> expected = {
        "開始局面",           "  1 ▲７六歩  0:03",  "  2 △３四歩  0:00",
        "  3 ▲２二角成  0:00", "  4 △同　銀  1:05",  "  5 ▲４五角打  0:00",
        "  6 △３三銀  0:00",   "  7 ▲２三角不成  0:00", "  8 △投了",
        "まで7手で先手の勝ち",
    };
    EXPECT_EQ(MoveListLines(*record, 7), expected);
    // While a game runs the list ends at the ply played, without a result.
    EXPECT_EQ(MoveListLines(*record, 3),
              std::vector<std::string>(expected.begin(), expected.begin() + 4));

    // The window's view when the computer was 先手: every entry turned.
    auto turned = std::make_unique<GameRecord>(*record);
    turned->boardTurned = 1;
    turned->humanIsSecond = 1;
    for (int32_t n = 0; n <= 7; ++n) {
        turned->history[n] = flipPosition(record->history[n]);
        turned->history[n][kLowerTimeCell] = record->history[n][kUpperTimeCell];
        turned->history[n][kUpperTimeCell] = record->history[n][kLowerTimeCell];
    }
    EXPECT_EQ(MoveListLines(*turned, 7), expected);
}

}  // namespace
}  // namespace nusari
