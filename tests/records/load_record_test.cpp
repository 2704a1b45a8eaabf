// LoadRecord: the steps around the grammars and the outcome it gives.
#include "records/load_record.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "aik/aik_loader.h"
#include "records/record_messages.h"
#include "records_test_support.h"

namespace nusari::test {
namespace {

struct LoadFixture {
    TempFolder folder;
    std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    FakeUi ui;

    LoadOutcome read(const std::string& name, std::string_view utf8) {
        return LoadRecord(*record, writeText(folder, name, utf8), ui);
    }
    int32_t load(const std::string& name, std::string_view utf8) {
        return read(name, utf8).ok ? 1 : -1;
    }
};

TEST(LoadRecord, ASuccessfulLoadGivesEntryZeroWithoutItsTimesAndShowsNothing) {
    LoadFixture f;
    f.record->humanIsSecond = 1;
    const LoadOutcome outcome =
        f.read("game.csa", std::string("N+甲\n") + kEvenRows + "P+00FU\n+\nT4\n+7776FU\n");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.plies, 1);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.record->humanIsSecond, 0);
    EXPECT_EQ(f.record->history[0][kLowerTimeCell], 4);
    // The position to show is entry 0 without the times.
    Position expected = f.record->history[0];
    expected[kLowerTimeCell] = 0;
    EXPECT_EQ(outcome.start, expected);
    EXPECT_EQ(outcome.start[kLowerHandBase + kPawn], 1);
    EXPECT_TRUE(f.ui.events.empty());
}

TEST(LoadRecord, AFailureShowsItsMessageAndGivesTheEvenGame) {
    LoadFixture f;
    ASSERT_EQ(f.load("ok.csa", "+7776FU\n-3334FU\n"), 1);
    ASSERT_EQ(f.record->length, 2);
    const LoadOutcome outcome = f.read("bad.csa", "P+00KI\n+2726FU\n+7776XX\n");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.plies, 0);
    EXPECT_EQ(outcome.error, kCsaMoveMessage);
    EXPECT_EQ(f.record->length, 0);
    // The entries read before the failure stay.
    EXPECT_EQ(f.record->history[1][26], kLowerPawn);
    EXPECT_EQ(outcome.start, evenGame());
    EXPECT_EQ(f.ui.events,
              (std::vector<std::string>{"sound:2", std::string("message:") + kCsaMoveMessage}));
}

TEST(LoadRecord, TheHandicapLineNamesThePreset) {
    LoadFixture f;
    const LoadOutcome outcome =
        f.read("a.kif", "手合割：飛車落ち\n手数----指手---------消費時間--\n1 ３四歩(33)\n");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.preset, kPresetNoRook);
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.record->history[0][82], kEmpty);
    EXPECT_EQ(f.read("b.csa", "+7776FU\n").preset, kPresetEven);

    // A failure leaves no stale length behind.
    EXPECT_EQ(f.load("b.kif", "手合割：九枚落ち\n"), -1);
    EXPECT_EQ(f.record->length, 0);
    EXPECT_EQ(f.ui.messages.back(), kKifHandicapMessage);
}

TEST(LoadRecord, ResetClearsNamesTimesAndTheStartPosition) {
    LoadFixture f;
    ASSERT_EQ(f.load("a.csa", "N+first\nN-second\nP+00HI\n"), 1);
    f.record->startTime = "2024/01/01 00:00:00";
    f.record->endTime = "2024/01/01 01:00:00";
    ASSERT_EQ(f.load("b.csa", "+7776FU\n"), 1);
    EXPECT_EQ(nameOf(f.record->firstName), "");
    EXPECT_EQ(nameOf(f.record->secondName), "");
    EXPECT_EQ(f.record->startTime, "");
    EXPECT_EQ(f.record->endTime, "");
    EXPECT_EQ(f.record->history[0], evenGame());
}

TEST(LoadRecord, TheExtensionChoosesTheGrammar) {
    LoadFixture f;
    EXPECT_EQ(f.load("a.CSA", "+7776FU\n"), 1);
    EXPECT_EQ(
        f.load("a.KIF", "手数----指手---------消費時間--\n1 ７六歩(77)\n"), 1);
    EXPECT_EQ(f.record->length, 1);
    EXPECT_EQ(f.load("a.Csa", "+7776FU\n"), 1);
    EXPECT_EQ(f.load("a.kifu", "手数----指手--\n1 ７六歩(77)\n"), 1);
    EXPECT_EQ(f.load("a.KI2", "▲７六歩\n"), 1);
    EXPECT_EQ(f.load("a.ki2u", "▲７六歩　△３四歩\n"), 1);
    EXPECT_EQ(f.record->length, 2);
    for (const char* name : {"file", "dir.csa/file", "a.csa.txt", "a.ki3"}) {
        SCOPED_TRACE(name);
        f.ui.messages.clear();
        EXPECT_EQ(f.load(name, "+7776FU\n"), -1);
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0], kUnknownFormatMessage);
        EXPECT_EQ(f.record->length, 0);
    }
}

// Makes a fault in `folder` at the relative path `name` (a record, an
// engine or a book); returns the path to read.
using MakeFault = std::function<std::filesystem::path(const TempFolder&, const std::string&)>;

// One table of file faults and the reason each reader gives: the record
// reader, the engine loader for its own file and for the book it names.
TEST(FileFaults, EveryReaderGivesTheReasonAndTheFile) {
    namespace fs = std::filesystem;
    struct Case {
        const char* fault;
        MakeFault make;
        std::string reason;
        bool book;  // a book is read only up to the table's size: never too large
    };
    const Case cases[] = {
        {"missing", [](const TempFolder& t, const std::string& n) { return t.path() / n; },
         "ファイルがありません", true},
        {"a link to itself",
         [](const TempFolder& t, const std::string& n) {
             fs::create_symlink(t.path() / n, t.path() / n);
             return t.path() / n;
         },
         "シンボリックリンクが循環しています", true},
        {"a folder",
         [](const TempFolder& t, const std::string& n) {
             fs::create_directory(t.path() / n);
             return t.path() / n;
         },
         "フォルダです", true},
        {"a FIFO",
         [](const TempFolder& t, const std::string& n) {
             ::mkfifo((t.path() / n).c_str(), 0600);
             return t.path() / n;
         },
         "通常のファイルではありません", true},
        {"a device",
         [](const TempFolder& t, const std::string& n) {
             fs::create_symlink("/dev/zero", t.path() / n);
             return t.path() / n;
         },
         "通常のファイルではありません", true},
        {"below a regular file",
         [](const TempFolder& t, const std::string& n) {
             t.writeBytes("plain", "x");
             return t.path() / "plain" / n;
         },
         "途中の名前がフォルダではありません", true},
        {"too large",
         [](const TempFolder& t, const std::string& n) {
             t.writeBytes(n, "");
             fs::resize_file(t.path() / n, (16u << 20) + 1);
             return t.path() / n;
         },
         "ファイルが大きすぎます", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        {
            LoadFixture f;
            const std::string path = c.make(f.folder, "r.csa").string();
            const LoadOutcome outcome = LoadRecord(*f.record, path, f.ui);
            EXPECT_FALSE(outcome.ok);
            const std::string shown = c.book ? kReadErrorMessage + c.reason + "：" + path
                                             : kFileTooLargeMessage + path;
            EXPECT_EQ(f.ui.messages, std::vector<std::string>{shown});
            EXPECT_EQ(f.ui.sounds, std::vector<Sound>{Sound::Message});
            EXPECT_EQ(outcome.start, evenGame());
        }
        {
            TempFolder folder;
            FakeUi ui;
            auto state = std::make_unique<EngineState>();
            const std::string path = c.make(folder, "e.aik").string();
            EXPECT_EQ(LoadAik(*state, path, ui), -1);
            EXPECT_EQ(ui.messages, std::vector<std::string>{std::string(kAikLoadError) + "\n  " +
                                                            c.reason + "：" + path});
        }
        if (c.book) {
            TempFolder folder;
            FakeUi ui;
            auto state = std::make_unique<EngineState>();
            const fs::path book = c.make(folder, "b.jsk");
            const std::string stem = book.lexically_relative(folder.path()).replace_extension().string();
            const std::string aik = folder.writeBytes("e.aik", "zyouseki=" + stem + "\n");
            EXPECT_EQ(LoadAik(*state, aik, ui), -1);
            const std::string reason = c.reason == "ファイルがありません"
                                           ? kAikBookMissing + book.string()
                                           : kAikBookUnreadable + ("（" + c.reason + "）：") +
                                                 book.string();
            EXPECT_EQ(ui.messages, std::vector<std::string>{kAikLoadError + reason});
        }
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
        ASSERT_TRUE(LoadRecord(*f.record, path, f.ui).ok);
        EXPECT_EQ(nameOf(f.record->firstName), cp932("名人"));
        EXPECT_EQ(f.record->history[1][76], kLowerPawn);
        EXPECT_EQ(f.record->ending, GameEnding::Resign);
    }
}

TEST(LoadRecord, LfOnlyFilesReadLikeCrLfFiles) {
    LoadFixture f;
    const std::string path = writeText(
        f.folder, "lf.kif", "先手：名\n手数----指手---------消費時間--\n1 ７六歩(77)\n", true);
    ASSERT_TRUE(LoadRecord(*f.record, path, f.ui).ok);
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
    ASSERT_TRUE(LoadRecord(*f.record, path, f.ui).ok);
    EXPECT_EQ(nameOf(f.record->firstName), "abc");
    EXPECT_EQ(nameOf(f.record->secondName), "def");
    EXPECT_EQ(f.record->length, 1);
}

}  // namespace
}  // namespace nusari::test
