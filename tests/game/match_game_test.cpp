// Games against a fake USI engine script that answers every "go" with one
// fixed word, crashes or stays silent.
#include "game/match_game.h"

#include <gtest/gtest.h>

#include <memory>

#include "game/match_record.h"
#include "records/record_readers.h"
#include "records/text_input.h"

namespace nusari {
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
        GameEnding end;
        int plies;
        const char* detail;  // null: not checked
    };
    const Case cases[] = {
        {"resign", 1, GameEnding::Resign, 0, ""},
        {"7g7f", 0, GameEnding::Resign, 1, ""},  // the second engine resigns
        {"5e5d", 1, GameEnding::FoulLoss, 0, nullptr},
        {"7g7", 1, GameEnding::FoulLoss, 0, "bestmove '7g7' is no USI move"},
        // Engine bytes are escaped: a NUL no longer cuts the line.
        {"nul", 1, GameEnding::FoulLoss, 0, "bestmove '7g\\x007f\\x01' is no USI move"},
        {"win", 1, GameEnding::BadDeclaration, 0, nullptr},
        {"crash", 1, GameEnding::PlayerGone, 0, "engine 1 (sente, Fake crash) exited (status 3)"},
        {"closeout", 1, GameEnding::PlayerGone, 0, "engine 1 (sente, Fake closeout) closed its output"},
        {"silent", 1, GameEnding::NoAnswer, 0, nullptr},
    };
    for (const Case& c : cases) {
        const GameOutcome game = playAgainstResigner(c.word);
        EXPECT_EQ(game.winner, c.winner) << c.word;
        EXPECT_EQ(game.end, c.end) << c.word << ": " << endingName(game.end);
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

}  // namespace
}  // namespace nusari
