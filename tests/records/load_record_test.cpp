// LoadRecord: the steps around the grammars, both modes and the window.
#include "records/load_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "records/record_messages.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

struct LoadFixture {
    TempFolder folder;
    std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    GameFields game;
    FakeUi ui;

    int32_t load(const std::string& name, std::string_view utf8, LoadMode mode) {
        return LoadRecord(game, *record, writeText(folder, name, utf8), mode, ui);
    }
};

// Events of the window after a successful interactive load.
const std::vector<std::string> kLoadedWindow = {"preset:0", "state:100", "controls:2", "draw"};
const std::vector<std::string> kFailedWindow = {"preset:1", "state:100", "controls:3", "draw"};

std::vector<std::string> tail(const std::vector<std::string>& events, std::size_t n) {
    return std::vector<std::string>(
        events.end() - static_cast<std::ptrdiff_t>(std::min(n, events.size())), events.end());
}

TEST(LoadRecord, InteractiveLoadShowsTheStartPositionAtPlyZero) {
    LoadFixture f;
    f.game.plyCount = 7;
    f.game.lastDestination = 55;
    f.record->humanIsSecond = 1;
    ASSERT_EQ(f.load("game.csa", std::string("N+甲\n") + kEvenRows + "P+00FU\n+\nT4\n+7776FU\n",
                     LoadMode::Interactive),
              1);
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.record->humanIsSecond, 0);
    EXPECT_EQ(f.game.plyCount, 0);
    EXPECT_EQ(f.game.lastDestination, 0);
    EXPECT_EQ(f.record->history[0][kLowerTimeCell], 4);
    // The current position is entry 0 without the times.
    Position expected = f.record->history[0];
    expected[kLowerTimeCell] = 0;
    EXPECT_EQ(f.game.currentPosition, expected);
    EXPECT_EQ(f.game.currentPosition[kLowerHandBase + kPawn], 1);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(f.ui.events.front(), "preset:1");
    EXPECT_EQ(tail(f.ui.events, 4), kLoadedWindow);
}

TEST(LoadRecord, AFailedInteractiveLoadShowsTheEvenGame) {
    LoadFixture f;
    ASSERT_EQ(f.load("ok.csa", "+7776FU\n-3334FU\n", LoadMode::Interactive), 1);
    ASSERT_EQ(f.record->length, 2);
    f.ui.events.clear();
    EXPECT_EQ(f.load("bad.csa", "P+00KI\n+2726FU\n+7776XX\n", LoadMode::Interactive), -1);
    EXPECT_EQ(f.record->length, 0);
    // The entries read before the failure stay.
    EXPECT_EQ(f.record->history[1][26], kLowerPawn);
    Position even = evenGame();
    EXPECT_EQ(f.game.currentPosition, even);
    ASSERT_GE(f.ui.events.size(), 6u);
    EXPECT_EQ(f.ui.events[0], "preset:1");
    EXPECT_EQ(f.ui.events[1], "sound:2");
    EXPECT_EQ(f.ui.events[2], std::string("message:") + kCsaMoveMessage);
    EXPECT_EQ(tail(f.ui.events, 4), kFailedWindow);
}

TEST(LoadRecord, AnalysisModeTouchesNeitherTheGameNorTheWindow) {
    LoadFixture f;
    f.game.plyCount = 5;
    f.game.currentPosition[55] = kLowerGold;
    ASSERT_EQ(f.load("a.kif", "手合割：飛車落ち\n手数----指手---------消費時間--\n1 ３四歩(33)\n",
                     LoadMode::Analysis),
              1);
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.record->history[0][82], kEmpty);
    EXPECT_EQ(f.game.plyCount, 5);
    EXPECT_EQ(f.game.currentPosition[55], kLowerGold);
    EXPECT_EQ(f.ui.events, (std::vector<std::string>{"preset:1", "preset:2"}));

    // A failure leaves no stale length behind.
    EXPECT_EQ(f.load("b.kif", "手合割：九枚落ち\n", LoadMode::Analysis), -1);
    EXPECT_EQ(f.record->length, 0);
    EXPECT_EQ(f.ui.messages.back(), kKifHandicapMessage);
    EXPECT_EQ(f.game.plyCount, 5);
}

TEST(LoadRecord, ResetClearsNamesTimesAndTheStartPosition) {
    LoadFixture f;
    ASSERT_EQ(f.load("a.csa", "N+first\nN-second\nP+00HI\n", LoadMode::Analysis), 1);
    f.record->startTime = "2024/01/01 00:00:00";
    f.record->endTime = "2024/01/01 01:00:00";
    ASSERT_EQ(f.load("b.csa", "+7776FU\n", LoadMode::Analysis), 1);
    EXPECT_EQ(nameOf(f.record->firstName), "");
    EXPECT_EQ(nameOf(f.record->secondName), "");
    EXPECT_EQ(f.record->startTime, "");
    EXPECT_EQ(f.record->endTime, "");
    EXPECT_EQ(f.record->history[0], evenGame());
}

TEST(LoadRecord, TheExtensionChoosesTheGrammar) {
    LoadFixture f;
    EXPECT_EQ(f.load("a.CSA", "+7776FU\n", LoadMode::Analysis), 1);
    EXPECT_EQ(
        f.load("a.KIF", "手数----指手---------消費時間--\n1 ７六歩(77)\n", LoadMode::Analysis), 1);
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.load("a.Csa", "+7776FU\n", LoadMode::Analysis), 1);
    EXPECT_EQ(f.load("a.kifu", "手数----指手--\n1 ７六歩(77)\n", LoadMode::Analysis), 1);
    EXPECT_EQ(f.load("a.KI2", "▲７六歩\n", LoadMode::Analysis), 1);
    EXPECT_EQ(f.load("a.ki2u", "▲７六歩　△３四歩\n", LoadMode::Analysis), 1);
    EXPECT_EQ(f.record->length, 2);
    for (const char* name : {"file", "dir.csa/file", "a.csa.txt", "a.ki3"}) {
        SCOPED_TRACE(name);
        f.ui.messages.clear();
        EXPECT_EQ(f.load(name, "+7776FU\n", LoadMode::Analysis), -1);
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0], kUnknownFormatMessage);
        EXPECT_EQ(f.record->length, 0);
    }
}

TEST(LoadRecord, AFileThatCannotBeReadIsReportedWithItsName) {
    LoadFixture f;
    const std::string missing = (f.folder.path() / "missing.csa").string();
    EXPECT_EQ(LoadRecord(f.game, *f.record, missing, LoadMode::Interactive, f.ui), -1);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0], kReadErrorMessage + missing);
    EXPECT_EQ(f.ui.sounds.front(), Sound::Message);
    EXPECT_EQ(tail(f.ui.events, 4), kFailedWindow);

    // A folder, a FIFO with no writer and a device are refused at once.
    std::filesystem::create_directories(f.folder.path() / "folder.kif");
    const std::string fifo = (f.folder.path() / "f.kif").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::filesystem::path device = f.folder.path() / "x.csa";
    std::filesystem::create_symlink("/dev/zero", device);
    for (const std::string& path :
         {(f.folder.path() / "folder.kif").string(), fifo, device.string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(LoadRecord(f.game, *f.record, path, LoadMode::Analysis, f.ui), -1);
        EXPECT_EQ(f.ui.messages.back(), kNotRegularFileMessage + path);
    }
}

// The UTF-16 bytes of a UTF-8 text of characters below U+10000.
std::string utf16(std::string_view utf8, bool little, bool marked) {
    std::string out = marked ? (little ? "\xff\xfe" : "\xfe\xff") : "";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xe0 ? 2 : 3;
        uint32_t c = n == 1 ? b : n == 2 ? b & 0x1f : b & 0x0f;
        for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
        i += n;
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xff);
        out += little ? std::string{low, high} : std::string{high, low};
    }
    return out;
}

TEST(LoadRecord, Utf8AndUtf16WithOrWithoutAByteOrderMarkReadLikeCp932) {
    const std::string kif = "先手：名人\n手数----指手---------消費時間--\n1 ７六歩(77)\n2 投了\n";
    LoadFixture f;
    const std::string paths[] = {
        writeText(f.folder, "a.kif", kif),
        f.folder.writeBytes("b.kif", kif),
        f.folder.writeBytes("c.kifu", "\xef\xbb\xbf" + kif),
        f.folder.writeBytes("d.kif", utf16(kif, true, true)),
        f.folder.writeBytes("e.kif", utf16(kif, false, true)),
        f.folder.writeBytes("f.kif", utf16(kif, true, false)),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        ASSERT_EQ(LoadRecord(f.game, *f.record, path, LoadMode::Analysis, f.ui), 1);
        EXPECT_EQ(nameOf(f.record->firstName), cp932("名人"));
        EXPECT_EQ(f.record->history[1][76], kLowerPawn);
        EXPECT_EQ(f.record->ending, GameEnding::Resign);
    }
}

TEST(LoadRecord, LfOnlyFilesReadLikeCrLfFiles) {
    LoadFixture f;
    const std::string path = writeText(
        f.folder, "lf.kif", "先手：名\n手数----指手---------消費時間--\n1 ７六歩(77)\n", true);
    ASSERT_EQ(LoadRecord(f.game, *f.record, path, LoadMode::Analysis, f.ui), 1);
    EXPECT_EQ(nameOf(f.record->firstName), cp932("名"));
    EXPECT_EQ(f.record->history[1][76], kLowerPawn);
}

TEST(LoadRecord, ACrLfAcrossTheReadBufferIsOneLineEnd) {
    LoadFixture f;
    // The file is read in pieces of 65536 bytes: put the CR of the name line
    // last in the first piece and its LF first in the second.
    const std::string filler = "'" + std::string(65528, 'x') + "\n";
    const std::string bytes = filler + "N+abc\r\nN-def\r\n+7776FU\r\n";
    ASSERT_EQ(bytes.find('\r'), 65535u);
    const std::string path = f.folder.writeBytes("big.csa", bytes);
    ASSERT_EQ(LoadRecord(f.game, *f.record, path, LoadMode::Analysis, f.ui), 1);
    EXPECT_EQ(nameOf(f.record->firstName), "abc");
    EXPECT_EQ(nameOf(f.record->secondName), "def");
    EXPECT_EQ(f.record->length, 1);
}

}  // namespace
}  // namespace nusari::test
