// formatMatchCsa: a match game as the record tree's CSA text, read back.
#include "game/match_record.h"

#include <gtest/gtest.h>

#include "position/sfen.h"
#include "records/record_tree_files.h"
#include "records/text_input.h"

namespace nusari {
namespace {

PlayedMove played(const char* usi, Side side, int64_t ms, bool hasScore = false, int32_t score = 0) {
    PlayedMove m;
    EXPECT_TRUE(parseUsiMove(usi, side, m.move)) << usi;
    m.side = side;
    m.ms = ms;
    m.hasScore = hasScore;
    m.score = score;
    return m;
}

TEST(MatchRecordTest, ReadsBackWithItsStartMovesTimesScoresAndEnding) {
    // Gote to move with a bishop in each hand; the opening drops one.
    std::vector<std::string> errors;
    const std::vector<Opening> openings = parseOpenings(
        "sfen lnsgkg1nl/1r5s1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/7R1/LNSGKGSNL w Bb 6 moves B*5e", errors);
    ASSERT_EQ(openings.size(), 1u);
    const Opening& opening = openings[0];
    GameOutcome game;
    game.moves = {played("7f7e", Side::Lower, 1500, true, 30), played("3d3e", Side::Upper, 2999, true, 100),
                  played("7e7d", Side::Lower, 0)};
    game.end = GameEnding::Resign;
    game.endSide = Side::Upper;
    game.winner = 0;
    game.plies = 4;
    const std::string text =
        formatMatchCsa({"探索", "Fake\x01\xff", "2024/01/02 03:04:05", "2024/01/02 03:09:00"}, opening, game);

    RecordTree tree;
    TextInput in(text);
    ASSERT_EQ(ReadCsaTree(in, tree).error, "");
    EXPECT_EQ(toSfen(tree.start(), tree.firstMover()), toSfen(opening.start, Side::Upper));
    // Names keep their characters; control bytes and malformed UTF-8 do not pass.
    EXPECT_EQ(tree.firstName, "探索");
    EXPECT_EQ(tree.secondName, "Fake??");
    EXPECT_EQ(tree.header("開始日時"), "2024/01/02 03:04:05");
    EXPECT_EQ(tree.header("終了日時"), "2024/01/02 03:09:00");
    // Whole seconds; the scores from sente's side.
    const struct {
        const char* usi;
        int64_t ms;
        bool hasScore;
        int32_t score;
    } expected[] = {{"B*5e", 0, false, 0}, {"7f7e", 1000, true, 30}, {"3d3e", 2000, true, -100}, {"7e7d", 0, false, 0}};
    const std::vector<NodeId> line = tree.mainLine();
    ASSERT_EQ(line.size(), std::size(expected));
    for (std::size_t k = 0; k < line.size(); ++k) {
        const RecordNode& n = tree.node(line[k]);
        EXPECT_EQ(moveToUsi(n.move, tree.sideToMoveAt(n.parent)), expected[k].usi) << k;
        EXPECT_EQ(n.timeMs, expected[k].ms) << k;
        EXPECT_EQ(n.hasScore, expected[k].hasScore) << k;
        EXPECT_EQ(n.score, expected[k].score) << k;
    }
    EXPECT_EQ(tree.node(line.back()).comment, "探索 (sente) wins: resignation");
    EXPECT_EQ(tree.ending(), GameEnding::Resign);
}

TEST(MatchRecordTest, EndsWithTheWordOfItsEndingSignedByTheSideThatLost) {
    // After 7g7f gote is to move.
    const struct {
        GameEnding end;
        Side endSide;
        const char* word;
    } cases[] = {
        {GameEnding::Resign, Side::Upper, "%TORYO"},
        {GameEnding::Mate, Side::Upper, "%TSUMI"},
        {GameEnding::EnteringKingWin, Side::Upper, "%KACHI"},
        {GameEnding::Repetition, Side::Upper, "%SENNICHITE"},
        {GameEnding::PlyLimit, Side::Upper, "%JISHOGI"},
        {GameEnding::TimeUp, Side::Upper, "%TIME_UP"},
        {GameEnding::NoAnswer, Side::Upper, "%TIME_UP"},
        {GameEnding::FoulLoss, Side::Upper, "%ILLEGAL_MOVE"},
        {GameEnding::BadDeclaration, Side::Upper, "%ILLEGAL_MOVE"},
        {GameEnding::Interrupt, Side::Upper, "%CHUDAN"},
        {GameEnding::None, Side::Upper, "%CHUDAN"},
        // A crash or perpetual check by the side to move or by the side that just moved.
        {GameEnding::PlayerGone, Side::Upper, "%-ILLEGAL_ACTION"},
        {GameEnding::PlayerGone, Side::Lower, "%+ILLEGAL_ACTION"},
        {GameEnding::PerpetualCheck, Side::Upper, "%-ILLEGAL_ACTION"},
        {GameEnding::PerpetualCheck, Side::Lower, "%+ILLEGAL_ACTION"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        GameOutcome game;
        game.moves = {played("7g7f", Side::Lower, 0)};
        game.end = c.end;
        game.endSide = c.endSide;
        const std::string text = formatMatchCsa({"A", "B", "", ""}, evenOpening(), game);
        const std::string last = std::string("\r\n") + c.word + "\r\n";
        ASSERT_GE(text.size(), last.size());
        EXPECT_EQ(text.substr(text.size() - last.size()), last);
    }
}

}  // namespace
}  // namespace nusari
