// WriteCsa: the text in both orientations, round trips and safe saving.
#include "records/csa_writer.h"

#include <gtest/gtest.h>

#include "position/position.h"
#include "records/load_record.h"
#include "records/record_messages.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

// The CSA text as UTF-8 with LF line ends, for comparisons.
std::string readable(const std::string& csa) {
    std::string lf;
    for (std::size_t i = 0; i < csa.size(); ++i) {
        if (csa[i] == '\r' && i + 1 < csa.size() && csa[i + 1] == '\n') continue;
        lf += csa[i];
    }
    return toUtf8(lf);
}

// The text after the line "'開始局面".
std::string body(const std::string& csa) {
    const std::string text = readable(csa);
    const std::string mark = "'開始局面\n";
    return text.substr(text.find(mark) + mark.size());
}

// The record of a two-ply game after 7六歩 3四歩 in the first player's
// view, with the first player's 3 s and the second player's 5 s.
std::unique_ptr<GameRecord> twoPlies(bool humanIsSecond) {
    auto r = freshRecord();
    r->humanIsSecond = humanIsSecond ? 1 : 0;
    r->boardTurned = r->humanIsSecond;
    Position p = evenGame();
    // In the controller frame the first player is the upper side when the
    // human is second, so the first move is the upper side's 3三歩 -> 3四.
    const Side first = humanIsSecond ? Side::Upper : Side::Lower;
    const int32_t firstTime = humanIsSecond ? kUpperTimeCell : kLowerTimeCell;
    const int32_t secondTime = humanIsSecond ? kLowerTimeCell : kUpperTimeCell;
    const Move m1 = humanIsSecond ? Move{33, 34} : Move{77, 76};
    const Move m2 = humanIsSecond ? Move{77, 76} : Move{33, 34};
    applyMove(p, first, m1);
    p[firstTime] = 3;
    r->history[1] = p;
    applyMove(p, opponentOf(first), m2);
    p[secondTime] = 5;
    r->history[2] = p;
    r->length = 2;
    return r;
}

TEST(CsaWriter, HeaderLines) {
    auto r = freshRecord();
    setName(r->firstName, cp932("先手さん"));
    setName(r->secondName, "COM");
    r->startTime = "2007/05/01 13:45:10";
    r->endTime = "2007/05/01 14:00:00";
    const std::string text = readable(FormatCsa(*r));
    EXPECT_EQ(text.substr(0, text.find("P1")),
              "'-----------------csa-----------------\n'by ぬさり将棋\n'バージョン\nV2\n'対局者名\n"
              "N+先手さん\nN-COM\n'開始日時\n$START_TIME:2007/05/01 13:45:10\n'終了日時\n"
              "$END_TIME:2007/05/01 14:00:00\n'開始局面\n");
    // Every line ends with CR LF.
    const std::string bytes = FormatCsa(*r);
    std::size_t lineFeeds = 0;
    std::size_t crLfs = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        lineFeeds += bytes[i] == '\n';
        crLfs += bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
    }
    EXPECT_EQ(lineFeeds, 23u);
    EXPECT_EQ(crLfs, lineFeeds);
}

TEST(CsaWriter, TwoPliesWithTheHumanFirst) {
    EXPECT_EQ(body(FormatCsa(*twoPlies(false))),
              std::string(kEvenRows) + "'先手番\n+\n+7776FU\nT3\n-3334FU\nT5\n");
}

TEST(CsaWriter, TwoPliesWithTheComputerFirstAreWrittenFromTheFirstPlayersView) {
    EXPECT_EQ(FormatCsa(*twoPlies(true)), FormatCsa(*twoPlies(false)));
}

TEST(CsaWriter, DropsPromotionsAndHands) {
    const Read r = readCsa(
        "P4 *  *  *  *  *  *  * +GI * \nP+00KA00FU00FU\nP+00KI\nP-00HI\n"
        "+0055KA\n-5142OU\n+2433NG\n");
    ASSERT_EQ(r.error(), "");
    r.record->length = r.outcome.plies;
    const std::string text = body(FormatCsa(*r.record));
    EXPECT_NE(text.find("P4 *  *  *  *  *  *  * +GI * \n"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("P+")),
              "P+00KA\nP+00KI\nP+00FU00FU\nP-00HI\n'先手番\n+\n"
              "+0055KA\nT0\n-5142OU\nT0\n+2433NG\nT0\n");
}


constexpr const char* kGame =
    "N+先手\nN-後手\nP+00FU\nP-00KA\n"
    "+7776FU\nT12\n-3334FU\nT3\n+8822UM\nT1\n-3122GI\nT20\n+0045FU\nT4\n-0055KA\nT9\n"
    "+4544FU\nT2\n-5544KA\nT1\n";

TEST(CsaWriter, RoundTripsInBothOrientations) {
    const Read original = readCsa(kGame);
    ASSERT_EQ(original.error(), "");
    original.record->length = original.outcome.plies;
    TempFolder folder;
    for (const bool humanIsSecond : {false, true}) {
        SCOPED_TRACE(humanIsSecond);
        const auto record = humanIsSecond ? turnedOver(*original.record)
                                          : std::make_unique<GameRecord>(*original.record);
        FakeUi ui;
        const std::string path = (folder.path() / "game.csa").string();
        ASSERT_EQ(WriteCsa(*record, path, ui), 1);
        EXPECT_TRUE(ui.events.empty());

        auto back = std::make_unique<GameRecord>();
        ASSERT_TRUE(LoadRecord(*back, path, ui).ok);
        ASSERT_EQ(back->length, original.record->length);
        for (int32_t n = 0; n <= back->length; ++n) {
            EXPECT_EQ(back->history[n], original.record->history[n]) << n;
        }
        EXPECT_EQ(nameOf(back->firstName), cp932("先手"));
        EXPECT_EQ(nameOf(back->secondName), cp932("後手"));
    }
}

TEST(CsaWriter, OtherExtensionsAreRefusedWithAMessage) {
    TempFolder folder;
    auto r = twoPlies(false);
    for (const char* name : {"file.ki2", "file.kif", "file", "a.csa.bak"}) {
        SCOPED_TRACE(name);
        FakeUi ui;
        const std::filesystem::path path = folder.path() / name;
        EXPECT_EQ(WriteCsa(*r, path.string(), ui), -1);
        EXPECT_EQ(ui.events, (std::vector<std::string>{
                                 "sound:2", std::string("message:") + kWriteFormatMessage}));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(CsaWriter, SavingReplacesAnExistingFile) {
    TempFolder folder;
    const std::string path = folder.writeBytes("game.CSA", "old contents");
    FakeUi ui;
    auto r = twoPlies(false);
    ASSERT_EQ(WriteCsa(*r, path, ui), 1);
    EXPECT_EQ(fileBytes(path), FormatCsa(*r));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CsaWriter, AFailedSaveIsReportedAndDestroysNothing) {
    TempFolder folder;
    FakeUi ui;
    auto r = twoPlies(false);
    const std::string noFolder = (folder.path() / "missing" / "game.csa").string();
    EXPECT_EQ(WriteCsa(*r, noFolder, ui), -1);
    EXPECT_EQ(ui.events, (std::vector<std::string>{
                             "sound:2", std::string("message:") + kWriteErrorMessage + noFolder}));

    // A folder in the way cannot be replaced; it stays, and no temporary
    // file is left behind.
    const std::filesystem::path folderInTheWay = folder.path() / "taken.csa";
    std::filesystem::create_directories(folderInTheWay);
    folder.writeBytes("taken.csa/keep", "x");
    EXPECT_EQ(WriteCsa(*r, folderInTheWay.string(), ui), -1);
    EXPECT_EQ(fileBytes(folderInTheWay / "keep"), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace nusari::test
