// The referee's rules, one case each: every way a game ends, from answers
// scripted for both sides, with a clock that only moves when polled.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/play_game.h"
#include "game/usi_player.h"
#include "position/sfen.h"

namespace nusari {
namespace {

// Plays both sides from one script of words: a USI move, "resign", "win",
// "junk" (no move at all), "silent" (never answers), "gone", "late:MOVE"
// (the move after 1200 ms), or a remote's own end: "won" and "lost" (its
// verdicts) and "stop" (its interruption).
class ScriptedPlayer : public Player {
  public:
    explicit ScriptedPlayer(const std::string& script) {
        std::istringstream in(script);
        for (std::string w; in >> w;) words_.push_back(w);
    }
    std::string name() const override { return "script"; }
    bool startGame(const Game&, Side, std::string&) override { return true; }
    void yourTurn(const Game& game) override { side_ = game.toMove(); }
    std::optional<PlayerAnswer> poll(int64_t) override {
        const std::string word = next_ < words_.size() ? words_[next_] : "resign";
        if (word == "silent") return std::nullopt;
        ++next_;
        using Kind = PlayerAnswer::Kind;
        if (word == "resign") return PlayerAnswer::with(Kind::Resign);
        if (word == "win") return PlayerAnswer::with(Kind::Declare);
        if (word == "gone") return PlayerAnswer::with(Kind::Gone, "exited");
        if (word == "won") return PlayerAnswer::verdict(1, GameEnding::TimeUp);
        if (word == "lost") return PlayerAnswer::verdict(2, GameEnding::Resign);
        if (word == "stop") return PlayerAnswer::with(Kind::Interrupt);
        const bool late = word.rfind("late:", 0) == 0;
        Move m;
        if (!parseUsiMove(late ? word.substr(5) : word, side_, m)) return PlayerAnswer::with(Kind::Malformed, word);
        return PlayerAnswer::of(m, late ? 1200 : 10);
    }

  private:
    std::vector<std::string> words_;
    size_t next_ = 0;
    Side side_ = Side::Lower;
};

GameSetup setupOf(const char* sfen) {
    GameSetup setup;
    std::string error;
    EXPECT_TRUE(parseSfen(sfen, setup.start, setup.toMove, error)) << sfen << ": " << error;
    TimeControl time;
    time.byoyomiMs = 100;
    setup.timeForBoth(time);
    return setup;
}

constexpr const char* kEven = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";
constexpr const char* kRooks = "4k4/9/9/9/9/9/9/9/4K3R b - 1";
constexpr const char* kCycle = " 5i5h 5a5b 5h5i 5b5a 5i5h 5a5b 5h5i 5b5a 5i5h 5a5b 5h5i 5b5a";
constexpr const char* kChecks = "1i1a 5a5b 1a1b 5b5a 1b1a 5a5b 1a1b 5b5a 1b1a 5a5b 1a1b 5b5a 1b1a 5a5b";

TEST(GameRules, EachWayAGameEnds) {
    struct Case {
        const char* what;
        const char* sfen;
        std::string script;
        int32_t maxPlies;
        GameEnding ending;
        std::optional<Side> winner;
        int32_t plies;
        const char* detail;  // null: not checked
    };
    const Case cases[] = {
        {"resignation", kEven, "7g7f resign", 512, GameEnding::Resign, Side::Lower, 1, ""},
        {"an illegal move", kEven, "5e5d", 512, GameEnding::FoulLoss, Side::Upper, 0,
         "5e5d is not legal in lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1"},
        {"no move at all", kEven, "7g7f junk", 512, GameEnding::FoulLoss, Side::Lower, 1, "junk"},
        {"a valid declaration (28 points for sente)", "RBGGSSNN1/PPPP5/4K4/9/9/9/9/9/4k4 b R3P 1", "win", 512,
         GameEnding::EnteringKingWin, Side::Lower, 0, ""},
        {"27 points suffice for gote", "4K4/9/9/9/9/9/4k4/5pppp/1nnssggbr w r2p 1", "win", 512,
         GameEnding::EnteringKingWin, Side::Upper, 0, ""},
        {"an invalid declaration loses", "RBGGSSNN1/PPPP5/4K4/9/9/9/9/9/4k4 b R2P 1", "win", 512,
         GameEnding::BadDeclaration, Side::Upper, 0, nullptr},
        {"nine pieces in the camp", "RBGGSSNN1/P8/4K4/9/9/9/9/9/4k4 b RB 1", "win", 512,
         GameEnding::BadDeclaration, Side::Upper, 0, nullptr},
        {"no answer within the byoyomi and the margin", kEven, "silent", 512, GameEnding::NoAnswer,
         Side::Upper, 0, "1100 ms without an answer"},
        {"an answer after the margin", kEven, "7g7f late:3c3d", 512, GameEnding::TimeUp, Side::Lower, 1,
         "1200 ms for a move with 100 ms"},
        {"a player gone", kEven, "gone", 512, GameEnding::PlayerGone, Side::Upper, 0, "exited"},
        {"a remote's verdict for itself", kEven, "7g7f won", 512, GameEnding::TimeUp, Side::Upper, 1, ""},
        {"a remote's verdict against itself", kEven, "lost", 512, GameEnding::Resign, Side::Upper, 0, ""},
        {"a remote's interruption", kEven, "7g7f stop", 512, GameEnding::Interrupt, std::nullopt, 1, ""},
        {"mate before the move", "4k4/4G4/4K4/9/9/9/9/9/9 w - 1", "", 512, GameEnding::Mate, Side::Lower, 0, ""},
        {"fourfold repetition draws", kRooks, kCycle, 512, GameEnding::Repetition, std::nullopt, 12, ""},
        {"perpetual check loses for the checker", kRooks, kChecks, 512, GameEnding::PerpetualCheck,
         Side::Upper, 13, ""},
        {"the ply limit draws", kRooks, kCycle, 4, GameEnding::PlyLimit, std::nullopt, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameSetup setup = setupOf(c.sfen);
        setup.maxPlies = c.maxPlies;
        Game game(setup);
        ScriptedPlayer script(c.script);
        Player* players[2] = {&script, &script};
        int64_t clock = 0;
        const Outcome& outcome = playGame(game, players, [&clock] { return clock += 100; });
        EXPECT_EQ(outcome.ending, c.ending) << endingName(outcome.ending);
        EXPECT_EQ(outcome.winner, c.winner);
        EXPECT_EQ(game.plies(), c.plies);
        if (c.detail != nullptr) {
            EXPECT_EQ(outcome.detail, c.detail);
        }
    }
}

TEST(GameRules, ClocksChargeMovesAndTakebacksRestoreThem) {
    GameSetup setup = setupOf(kRooks);
    TimeControl time;
    time.timeMs = 1000;
    time.incMs = 100;
    setup.timeForBoth(time);
    Game game(setup);
    EXPECT_EQ(game.moveLimitMs(), 1000);
    EXPECT_EQ(game.deadlineMs(), 1000 + kAnswerMarginMs);
    Move m;
    ASSERT_TRUE(parseUsiMove("5i5h", Side::Lower, m));
    game.answer(PlayerAnswer::of(m, 300));
    EXPECT_EQ(game.clockMs(Side::Lower), 800);
    EXPECT_EQ(usiGoCommand(game), "go btime 800 wtime 1000 binc 100 winc 100");
    EXPECT_EQ(usiPositionCommand(game, false), "position sfen 4k4/9/9/9/9/9/9/9/4K3R b - 1 moves 5i5h");
    ASSERT_TRUE(game.takeBack(1));
    EXPECT_EQ(game.clockMs(Side::Lower), 1000);
    // b… and w… are 先手's and 後手's, whichever side of the frame 先手 plays.
    GameSetup turned = setupOf(kRooks);
    turned.senteSide = Side::Upper;
    turned.time[0] = TimeControl{500, 1000, 0, 0};
    turned.time[1] = TimeControl{500, 2000, 0, 0};
    EXPECT_EQ(usiGoCommand(Game(turned)), "go btime 2000 wtime 1000 byoyomi 500");
    EXPECT_EQ(game.plies(), 0);
    EXPECT_FALSE(game.takeBack(1));
    // Taken back, a position counts as not having stood.
    for (int round = 0; round < 5; ++round) {
        for (const char* w : {"5i5h", "5a5b", "5h5i", "5b5a"}) {
            ASSERT_TRUE(parseUsiMove(w, game.toMove(), m));
            game.answer(PlayerAnswer::of(m, 0));
        }
        if (round < 4) {
            ASSERT_TRUE(game.takeBack(4));
        }
    }
    EXPECT_FALSE(game.over());
}

}  // namespace
}  // namespace nusari
