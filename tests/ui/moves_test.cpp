// The moves of a game: promotion, captures, drops, the computer's replies,
// the record of every ply and the ends of a game.
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "think/candidate.h"
#include "think/clock.h"
#include "think/hash_tables.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

using test::ControllerTest;

class MovesTest : public ControllerTest {
  protected:
    // A running game on a board that holds only the two kings and `pieces`.
    void playOn(std::initializer_list<std::pair<int32_t, int32_t>> pieces) {
        if (controller->gameState == GameState::NoGame && gameFields().plyCount == 0) {
            startGame(kPresetEven, false);
        }
        setupPosition(board(), 0);
        board()[59] = kLowerKing;
        board()[51] = kUpperKing;
        for (const auto& [square, code] : pieces) board()[square] = code;
        controller->gameState = GameState::LowerToMove;
        gameFields().pendingFrom = 0;
        ui.questions.clear();
    }
};

TEST_F(MovesTest, PromotionIsAskedForcedOrNotOffered) {
    struct Case {
        int32_t code;
        int32_t from;
        int32_t to;
        bool asked;
        bool answer;
        int32_t arrives;
    };
    const Case cases[] = {
        {kLowerSilver, 44, 43, true, true, kLowerProSilver},  // into the far ranks
        {kLowerSilver, 33, 44, true, false, kLowerSilver},    // out of them
        {kLowerGold, 44, 43, false, false, kLowerGold},
        {kLowerPawn, 12, 11, false, false, kLowerTokin},  // a pawn on rank 1 must promote
        {kLowerLance, 14, 11, false, false, kLowerProLance},
        {kLowerLance, 14, 12, true, false, kLowerLance},
        {kLowerKnight, 34, 22, false, false, kLowerProKnight},  // a knight on rank 2 must promote
        {kLowerKnight, 35, 23, true, true, kLowerProKnight},
        {kLowerRook, 28, 23, true, true, kLowerDragon},
        {kLowerBishop, 66, 44, false, false, kLowerBishop},  // never reaches rank 3
        {kLowerDragon, 23, 22, false, false, kLowerDragon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + std::to_string(c.from) + "-" +
                     std::to_string(c.to));
        playOn({{c.from, c.code}});
        ui.answers = {c.answer};
        move(c.from, c.to);
        EXPECT_EQ(ui.questions.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(ui.questions[0], "成りますか？");
        }
        EXPECT_EQ(record().history[static_cast<std::size_t>(gameFields().plyCount)][c.to], c.arrives);
        EXPECT_EQ(board()[c.from], kEmpty);
    }
}

TEST_F(MovesTest, ACaptureGoesToTheHumansHand) {
    playOn({{28, kLowerRook}, {24, kUpperPawn}});
    move(28, 24);
    EXPECT_EQ(board()[24], kLowerRook);
    EXPECT_EQ(board()[kLowerHandBase + kPawn], 1);
}

TEST_F(MovesTest, APieceInHandIsDropped) {
    playOn({});
    board()[kLowerHandBase + kGold] = 2;
    replies = {Move{51, 41}};
    move(kLowerHandBase + kGold, 55);
    EXPECT_EQ(record().history[1][55], kLowerGold);
    EXPECT_EQ(record().history[1][kLowerHandBase + kGold], 1);
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(MovesTest, TheComputersRepliesAreApplied) {
    playOn({{66, kUpperSilver}, {77, kLowerGold}});
    board()[kUpperHandBase + kPawn] = 1;
    // A promotion that captures, then a drop.
    replies = {Move{66, 177}, Move{kUpperHandBase + kPawn, 55}};
    move(59, 58);
    EXPECT_EQ(board()[77], kUpperProSilver);
    EXPECT_EQ(board()[66], kEmpty);
    EXPECT_EQ(board()[kUpperHandBase + kGold], 1);
    EXPECT_EQ(gameFields().lastDestination, 77);
    EXPECT_EQ(gameFields().pendingFrom, 0);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    move(58, 59);
    EXPECT_EQ(board()[55], kUpperPawn);
    EXPECT_EQ(board()[kUpperHandBase + kPawn], 0);
    EXPECT_EQ(gameFields().plyCount, 4);
    EXPECT_EQ(record().history[4], [&] {
        Position p = board();
        p[kLowerTimeCell] = record().history[4][kLowerTimeCell];
        p[kUpperTimeCell] = record().history[4][kUpperTimeCell];
        return p;
    }());
}

TEST_F(MovesTest, TheComputersMoveMarksThePositionReached) {
    replies = {Move{33, 34}};
    startGame(kPresetEven, false);
    move(77, 76);
    CandidateList list;
    EXPECT_EQ(LookupPosition(engine(), board(), list), kLookupPathMark);
}

TEST_F(MovesTest, AFullMoveCycleShowsDrawsAndSounds) {
    replies = {Move{33, 34}};
    startGame(kPresetEven, false);
    ui.events.clear();
    move(77, 76);
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"frame:279,321", "draw", "sound:1", "draw", "sound:1"}));
    EXPECT_EQ(thinks, 1);
}

TEST_F(MovesTest, EveryPlyCostsAtLeastOneSecondAndTimesAccumulate) {
    replies = {Move{33, 34}, Move{43, 44}};
    startGame(kPresetEven, false);
    gameFields().moveStartMs = nowMs() - 3500;
    move(77, 76);
    EXPECT_EQ(record().history[1][kLowerTimeCell], 3);
    EXPECT_EQ(record().history[1][kUpperTimeCell], 0);
    EXPECT_EQ(record().history[2][kLowerTimeCell], 3);
    EXPECT_EQ(record().history[2][kUpperTimeCell], 1);
    move(27, 26);
    EXPECT_EQ(record().history[3][kLowerTimeCell], 4);
    EXPECT_EQ(record().history[4][kUpperTimeCell], 2);
    // The game position itself carries no times.
    EXPECT_EQ(board()[kLowerTimeCell], 0);
    EXPECT_EQ(board()[kUpperTimeCell], 0);
}

TEST_F(MovesTest, TheComputerResigns) {
    startGame(kPresetEven, false);
    ui.events.clear();
    move(77, 76);
    const std::vector<std::string> tail(ui.events.end() - 5, ui.events.end());
    // The game is over (and logged) before the user is told.
    EXPECT_EQ(tail, (std::vector<std::string>{"sound:1", "sound:2", "draw", "controls:2",
                                              "notify:投了します"}));
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().length, 1);
    EXPECT_EQ(record().endTime.size(), 19u);
    EXPECT_EQ(gameFields().lastDestination, 0);
}

// An engine reply is outside input: one that is no legal move never
// reaches the board; the game stops without a result.
TEST_F(MovesTest, AnImpossibleReplyStopsTheGameAndWritesNothing) {
    const Move forged[] = {
        {255, 255},                       // beyond the board
        {33, 33},                         // no move at all
        {31, 22},                         // onto an own piece
        {kUpperHandBase + kRook, 55},     // a drop of a piece not in hand
        {33, 135},                        // a promotion outside the zone
        {77, 76},                         // the human's piece
    };
    for (const Move& m : forged) {
        SCOPED_TRACE(std::to_string(m.from) + ">" + std::to_string(m.to));
        makeController();
        replies = {m};
        startGame(kPresetEven, false);
        move(77, 76);
        Position expected;
        setupPosition(expected, kPresetEven);
        applyLowerMove(expected, Move{77, 76});
        EXPECT_EQ(board(), expected);
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_EQ(record().length, 1);
        EXPECT_EQ(record().ending, GameEnding::Interrupt);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().rfind(kImpossibleReply, 0), 0u);
    }
}

// The fourth time a position stands the game ends: a draw, or a loss for the
// side that gave check with every move since it first stood.
TEST_F(MovesTest, RepetitionAndPerpetualCheckEndTheGame) {
    struct Case {
        const char* what;
        std::initializer_list<std::pair<int32_t, int32_t>> pieces;
        int32_t humanFrom, humanTo;  // the human steps between these and back
        GameEnding ending;
        int32_t plies;
        const char* text;
    };
    const Case cases[] = {
        {"kings walking", {}, 59, 58, GameEnding::Repetition, 12, kRepetitionDraw},
        // The rook checks on the top rank and the next; the start stands a
        // fourth time with the checker to move, who loses (反則負け).
        {"a rook checking", {{12, kLowerRook}}, 12, 11, GameEnding::FoulLoss, 12, kPerpetualCheckLoss},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (controller->gameState != GameState::NoGame) controller->InterruptGame();
        startGame(kPresetEven, false);
        playOn(c.pieces);
        replies.clear();
        for (int i = 0; i < 20; ++i) replies.push_back(i % 2 == 0 ? Move{51, 52} : Move{52, 51});
        for (int i = 0; i < 20 && controller->gameState == GameState::LowerToMove; ++i) {
            if (board()[c.humanFrom] != kEmpty) {
                move(c.humanFrom, c.humanTo);
            } else {
                move(c.humanTo, c.humanFrom);
            }
        }
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_EQ(record().ending, c.ending);
        EXPECT_EQ(record().length, c.plies);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back(), c.text);
    }
}

// The controller, not the engine, finds the foul: the computer is never
// asked to think.
TEST_F(MovesTest, TheHumanLeftHisKingInCheck) {
    playOn({{58, kLowerGold}, {55, kUpperRook}});
    move(58, 68);
    EXPECT_EQ(thinks, 0);
    EXPECT_EQ(ui.messages.back(), "あなたの負け：王手放置");
    EXPECT_EQ(ui.sounds.back(), Sound::Message);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().ending, GameEnding::FoulWin);
}

TEST_F(MovesTest, InAContinuousMatchTheEndShowsNoMessage) {
    startGame(kPresetEven, false);
    controller->renzoku = 10;
    move(77, 76);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.sounds.back(), Sound::Message);
}

TEST_F(MovesTest, TheGameStopsWhenTheHistoryIsFull) {
    replies = {Move{33, 34}};
    startGame(kPresetEven, false);
    // The computer's reply is ply 999.
    gameFields().plyCount = 997;
    move(77, 76);
    EXPECT_EQ(gameFields().plyCount, 999);
    EXPECT_EQ(ui.messages.back(), kPlyLimitReached);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().length, 999);
    EXPECT_EQ(record().history[999][34], kUpperPawn);
    EXPECT_EQ(controller->page.presetRow, kPresetContinue);

    // The human's move is ply 999: the computer does not think.
    makeController();
    thinks = 0;
    startGame(kPresetEven, false);
    gameFields().plyCount = 998;
    move(77, 76);
    EXPECT_EQ(thinks, 0);
    EXPECT_EQ(gameFields().plyCount, 999);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(controller->RecordPly(Side::Lower));
    EXPECT_EQ(gameFields().plyCount, 999);
}

// With the rules at the board, a foul is refused and the human moves again;
// the computer is not asked.
TEST_F(MovesTest, TheRulesAtTheBoardRefuseFouls) {
    struct Case {
        const char* what;
        std::initializer_list<std::pair<int32_t, int32_t>> pieces;
        int32_t from;
        int32_t to;
        const char* text;
    };
    const Case cases[] = {
        {"the king left in check", {{58, kLowerGold}, {55, kUpperRook}}, 58, 68, kRefusedLeftInCheck},
        {"a pawn drop that mates",
         {{41, kUpperLance}, {61, kUpperLance}, {53, kLowerGold}, {kLowerHandBase + kPawn, 1}},
         kLowerHandBase + kPawn, 52, kRefusedPawnDropMate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->page.refuseFouls = true;
        playOn(c.pieces);
        const Position before = board();
        move(c.from, c.to);
        EXPECT_EQ(ui.messages.back(), c.text);
        EXPECT_EQ(controller->gameState, GameState::LowerToMove);
        EXPECT_EQ(board(), before);
        EXPECT_EQ(thinks, 0);
    }
}

// 入玉宣言 with 28 points wins for 先手; with 27 it loses.
TEST_F(MovesTest, TheDeclarationIsJudgedByPoints) {
    struct Case {
        int32_t handPawns;
        GameEnding ending;
        const char* text;
    };
    const Case cases[] = {
        {2, GameEnding::EnteringKingWin, kHumanDeclarationWins},
        {1, GameEnding::FoulLoss, kHumanDeclarationFails},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handPawns);
        if (controller->gameState != GameState::NoGame) controller->InterruptGame();
        startGame(kPresetEven, false);
        playOn({{51, kEmpty}, {59, kUpperKing}, {52, kLowerKing}, {11, kLowerRook}, {21, kLowerRook},
                {31, kLowerBishop}, {41, kLowerBishop}, {12, kLowerGold}, {22, kLowerGold}, {32, kLowerGold},
                {42, kLowerGold}, {62, kLowerGold}, {72, kLowerGold}, {kLowerHandBase + kPawn, c.handPawns}});
        ui.defaultAnswer = true;
        controller->OnDeclare();
        EXPECT_EQ(controller->gameState, GameState::NoGame);
        EXPECT_EQ(record().ending, c.ending);
        EXPECT_EQ(ui.messages.back(), c.text);
    }
}

}  // namespace
}  // namespace nusari

namespace nusari {
namespace {

// Two people on one board: the second person's clicks move the upper side
// (only legal moves, a promotion asked), and it may resign; nobody thinks.
TEST_F(MovesTest, TwoPeoplePlayOnOneBoard) {
    ASSERT_EQ(controller->StartUp(), 1);
    controller->page.humanOpponent = true;
    controller->StartGame();
    ASSERT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(nameOf(record().secondName), toCp932(kSecondPerson));
    move(77, 76);
    ASSERT_EQ(controller->gameState, GameState::ComputerThinking);
    move(33, 35);  // two squares: not a move
    move(77, 78);  // the other side's piece: not selectable
    EXPECT_EQ(gameFields().plyCount, 1);
    move(33, 34);
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(controller->gameState, GameState::LowerToMove);
    EXPECT_EQ(board()[34], kUpperPawn);
    move(76, 75);
    ui.answers = {true};
    controller->OnTouryou();
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().ending, GameEnding::Resign);
    EXPECT_EQ(thinks, 0);
}

}  // namespace
}  // namespace nusari
