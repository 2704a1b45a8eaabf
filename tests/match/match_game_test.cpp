// Games against a fake USI engine script that answers every "go" with one
// fixed word, crashes or stays silent.
#include "match_game.h"

#include <gtest/gtest.h>

#include <memory>

#include "position/entering_king.h"
#include "match_record.h"
#include "position/sfen.h"
#include "records/record_readers.h"
#include "records/text_input.h"
#include "referee.h"

namespace nusari::tool {
namespace {

std::unique_ptr<UsiEngine> fakeEngine(const std::string& word) {
    auto engine = std::make_unique<UsiEngine>(EngineCommand{{"bash", NUSARI_FAKE_ENGINE, word}, {}, ""}, 10000);
    std::string error;
    EXPECT_TRUE(engine->start(error)) << error;
    return engine;
}

// Engine 0 (sente) answers `word`; engine 1 resigns.
GameOutcome playAgainstResigner(const std::string& word) {
    std::unique_ptr<UsiEngine> first = fakeEngine(word);
    std::unique_ptr<UsiEngine> second = fakeEngine("resign");
    UsiEngine* engines[2] = {first.get(), second.get()};
    TimeControl time;
    time.byoyomiMs = 50;
    time.marginMs = 200;
    return playMatchGame(engines, 0, evenOpening(), time);
}

TEST(MatchGameTest, EachAnswerEndsTheGameForTheRightReason) {
    struct Case {
        const char* word;
        int winner;
        GameEnd end;
        int plies;
        const char* detail;  // null: not checked
    };
    const Case cases[] = {
        {"resign", 1, GameEnd::Resignation, 0, ""},
        {"7g7f", 0, GameEnd::Resignation, 1, ""},  // the second engine resigns
        {"5e5d", 1, GameEnd::IllegalMove, 0, nullptr},
        {"7g7", 1, GameEnd::IllegalMove, 0, "bestmove '7g7' is no USI move"},
        // Engine bytes are escaped: a NUL no longer cuts the line.
        {"nul", 1, GameEnd::IllegalMove, 0, "bestmove '7g\\x007f\\x01' is no USI move"},
        {"win", 1, GameEnd::BadDeclaration, 0, nullptr},
        {"crash", 1, GameEnd::Crash, 0, "engine 1 (sente, Fake crash) exited (status 3)"},
        {"closeout", 1, GameEnd::Crash, 0, "engine 1 (sente, Fake closeout) closed its output"},
        {"silent", 1, GameEnd::TimeLoss, 0, nullptr},
    };
    for (const Case& c : cases) {
        const GameOutcome game = playAgainstResigner(c.word);
        EXPECT_EQ(game.winner, c.winner) << c.word;
        EXPECT_EQ(game.end, c.end) << c.word << ": " << gameEndName(game.end);
        EXPECT_EQ(game.plies, c.plies) << c.word;
        if (c.detail != nullptr) {
            EXPECT_EQ(game.detail, c.detail) << c.word;
        }
    }
}

TEST(MatchGameTest, RecordReadsBackWithItsEnding) {
    const GameOutcome game = playAgainstResigner("7g7f");
    const std::string text = formatMatchCsa({"Fake 7g7f", "Fake resign", "2024/01/02 03:04:05", ""},
                                            evenOpening(), game);
    EXPECT_NE(text.find("'** 42\r\n"), std::string::npos);
    auto record = std::make_unique<GameRecord>();
    TextInput in(text);
    const ReadOutcome read = ReadCsa(in, *record);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.plies, 1);
    EXPECT_EQ(record->ending, GameEnding::Resign);
    EXPECT_EQ(nameOf(record->firstName), "Fake 7g7f");
}

TEST(MatchGameTest, FourfoldRepetitionByChecksLosesForTheChecker) {
    struct Case {
        const char* cycle;  // four plies, played three times after the first
        std::optional<Side> checker;
    };
    const Case cases[] = {
        {"1a1b 5b5a 1b1a 5a5b", Side::Lower},
        {"5i5h 5a5b 5h5i 5b5a", std::nullopt},
    };
    for (const Case& c : cases) {
        Position p;
        Side side = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen("4k4/9/9/9/9/9/9/9/4K3R b - 1", p, side, error));
        Referee referee(p, side);
        std::string moves = c.cycle;
        if (c.checker) moves.insert(0, "1i1a 5a5b ");  // into the cycle with checks
        for (int k = 0; k < 3; ++k) {
            moves += ' ';
            moves += c.cycle;
        }
        size_t at = 0;
        while (at < moves.size() && referee.drawReason().empty()) {
            const size_t end = std::min(moves.find(' ', at), moves.size());
            Move m;
            ASSERT_TRUE(parseUsiMove(moves.substr(at, end - at), referee.toMove(), m));
            ASSERT_TRUE(referee.play(m)) << moves.substr(at, end - at);
            at = end + 1;
        }
        EXPECT_EQ(referee.drawReason(), "repetition") << c.cycle;
        EXPECT_EQ(referee.perpetualChecker(), c.checker) << c.cycle;
    }
}

TEST(MatchGameTest, DeclarationNeedsKingInCampTenPiecesAndPoints) {
    struct Case {
        const char* sfen;
        bool valid;
    };
    const Case cases[] = {
        {"RBGGSSNN1/PPPP5/4K4/9/9/9/9/9/4k4 b R3P 1", true},         // 28 points
        {"RBGGSSNN1/PPPP5/4K4/9/9/9/9/9/4k4 b R2P 1", false},        // 27: sente needs 28
        {"4K4/9/9/9/9/9/4k4/5pppp/1nnssggbr w r2p 1", true},         // 27 points suffice for gote
        {"RBGGSSNN1/P8/4K4/9/9/9/9/9/4k4 b RB 1", false},            // nine pieces in the camp
        {"RBGGSSNN1/PPPP5/4K4/9/4r4/9/9/9/4k4 b RB 1", false},       // in check
        {"RBGGSSNN1/PPPP5/9/4K4/9/9/9/9/4k4 b RB 1", false},         // king outside the camp
    };
    for (const Case& c : cases) {
        Position p;
        Side side = Side::Lower;
        std::string error;
        ASSERT_TRUE(parseSfen(c.sfen, p, side, error)) << c.sfen << ": " << error;
        std::string why;
        EXPECT_EQ(isValidDeclaration(p, side, why), c.valid) << c.sfen << ": " << why;
    }
}

}  // namespace
}  // namespace nusari::tool
