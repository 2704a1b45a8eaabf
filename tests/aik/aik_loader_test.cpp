// LoadAik: line rules, profile keys and the one way every failure is shown.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

#include "aik/aik_reader.h"
#include "aik_test_support.h"

namespace nusari::test {
namespace {

TEST(ParseNumber, ReadsOneToThreeDigits) {
    EXPECT_EQ(ParseNumber("7"), 7);
    EXPECT_EQ(ParseNumber("12ab"), 12);
    EXPECT_EQ(ParseNumber("999"), 999);
    EXPECT_EQ(ParseNumber("007x"), 7);
    EXPECT_EQ(ParseNumber("1234"), -1);
    EXPECT_EQ(ParseNumber("-5"), -1);
    EXPECT_EQ(ParseNumber(" 5"), -1);
    EXPECT_EQ(ParseNumber(""), -1);
}

TEST(LoadAik, VersionOnlyKeepsFieldsAndSetsPruningDefaults) {
    for (const bool lf : {false, true}) {
        LoadFixture f;
        f.state->profile.hukasa = 44;
        f.state->profile.namae = "old";
        f.state->profile.edakari_pasu = 1;
        f.state->profile.edakari_hyouka = 2;
        f.state->profile.edakari_hiyuusen = 3;
        f.state->evalTables.table[7][55] = 123;
        EXPECT_EQ(f.load("ver=0.0.2\n", lf), 1);
        EXPECT_EQ(f.state->profile.ver, "0.0.2");
        EXPECT_EQ(f.state->profile.hukasa, 44);
        EXPECT_EQ(f.state->profile.namae, "old");
        EXPECT_EQ(f.state->profile.edakari_pasu, 10);
        EXPECT_EQ(f.state->profile.edakari_hyouka, 32);
        EXPECT_EQ(f.state->profile.edakari_hiyuusen, 5);
        EXPECT_EQ(f.state->evalTables.table[7][55], 123);
        EXPECT_TRUE(f.ui.messages.empty());
        EXPECT_TRUE(f.ui.sounds.empty());
    }
}

TEST(LoadAik, FailureShowsMessageSoundThenBoxNamingTheLine) {
    LoadFixture f;
    EXPECT_EQ(f.load("' engine\nver=0.0.3\n"), -1);
    ASSERT_EQ(f.ui.events.size(), 2u);
    EXPECT_EQ(f.ui.events[0], "sound:2");
    EXPECT_EQ(f.ui.events[1], "message:error\n  aik file is not opened.\n  2行目を読めません：" +
                                  (f.folder.path() / "e.aik").string());
}

TEST(LoadAik, AMissingFileOrBookIsNamed) {
    LoadFixture f;
    const std::filesystem::path dir = f.folder.path();
    const std::string noBook = writeText(f.folder, "book.aik", "ver=0.0.2\nzyouseki=hyoujun\n");
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "gone.aik").string(), kAikFileMissing + (dir / "gone.aik").string()},
        {noBook, kAikBookMissing + (dir / "hyoujun.jsk").string()},
    };
    for (const auto& [path, reason] : cases) {
        FakeUi ui;
        EXPECT_EQ(LoadAik(*f.state, path, ui), -1);
        EXPECT_EQ(ui.messages, std::vector<std::string>{kAikLoadError + reason}) << path;
    }
}

TEST(LoadAik, VersionMustMatchExactly) {
    for (const char* text : {"ver=0.0.3", "ver=0.0.2 ", "ver= 0.0.2", "ver=", "ver=0.0.20000000000",
                             "ver=0.0.1\rx"}) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(text) + "\n"), -1) << text;
    }
    LoadFixture f;
    EXPECT_EQ(f.load("ver=0.0.1\n"), 1);
    EXPECT_EQ(f.state->profile.ver, "0.0.1");
}

TEST(LoadAik, LeadingSpacesAndComments) {
    LoadFixture f;
    EXPECT_EQ(f.load("' comment\n\n     hukasa=7\n   ' indented comment\n    \n"), 1);
    EXPECT_EQ(f.state->profile.hukasa, 7);

    LoadFixture tab;
    EXPECT_EQ(tab.load("\thukasa=7\n"), -1);
    LoadFixture unknown;
    EXPECT_EQ(unknown.load("depth=7\n"), -1);
    LoadFixture spaced;
    EXPECT_EQ(spaced.load("hukasa =7\n"), -1);
    LoadFixture upper;
    EXPECT_EQ(upper.load("HUKASA=7\n"), -1);
}

TEST(LoadAik, ScalarValuesStoreMinusOneWithoutFailing) {
    const std::pair<const char*, int32_t> cases[] = {
        {"hukasa=12ab", 12}, {"hukasa=abc", -1}, {"hukasa=1234", -1}, {"hukasa=-5", -1},
        {"hukasa= 5", -1},   {"hukasa=", -1},    {"hukasa=999", 999},
    };
    for (const auto& [text, want] : cases) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(text) + "\n"), 1) << text;
        EXPECT_EQ(f.state->profile.hukasa, want) << text;
    }
}

TEST(LoadAik, EveryScalarKeyReachesItsField) {
    LoadFixture f;
    ASSERT_EQ(f.load("hukasa=1\nhaba=2\npasu_kati=3\noute_kati=4\nhitu_hukasa=5\n"
                     "oute_hukasa=6\nsute_hukasa=7\nzyoukyou_pl=8\nzyoukyou_pl_max=9\n"
                     "ransuu_ti=10\nedakari_pasu=11\nedakari_hyouka=12\nedakari_hiyuusen=13\n"
                     "zikan_wariai=14\n"),
              1);
    const AikProfile& p = f.state->profile;
    EXPECT_EQ(p.hukasa, 1);
    EXPECT_EQ(p.haba, 2);
    EXPECT_EQ(p.pasu_kati, 3);
    EXPECT_EQ(p.oute_kati, 4);
    EXPECT_EQ(p.hitu_hukasa, 5);
    EXPECT_EQ(p.oute_hukasa, 6);
    EXPECT_EQ(p.sute_hukasa, 7);
    EXPECT_EQ(p.zyoukyou_pl, 8);
    EXPECT_EQ(p.zyoukyou_pl_max, 9);
    EXPECT_EQ(p.ransuu_ti, 10);
    EXPECT_EQ(p.edakari_pasu, 11);
    EXPECT_EQ(p.edakari_hyouka, 12);
    EXPECT_EQ(p.edakari_hiyuusen, 13);
    EXPECT_EQ(p.zikan_wariai, 14);
}

// The share of the limit in which iterations start: 1..100, anything else
// (or no key, whatever the previous engine had) gives 50, today's rule.
TEST(LoadAik, ZikanWariaiKeepsToItsRange) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"zikan_wariai=1\n", 1}, {"zikan_wariai=100\n", 100}, {"zikan_wariai=0\n", 50},
        {"zikan_wariai=101\n", 50}, {"zikan_wariai=x\n", 50}, {"ver=0.0.2\n", 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LoadFixture f;
        f.state->profile.zikan_wariai = 77;
        ASSERT_EQ(f.load(c.text), 1);
        EXPECT_EQ(f.state->profile.zikan_wariai, c.expected);
    }
}

// The mate search's plies: 0..9, anything else (or no key) switches it off.
TEST(LoadAik, TumeHukasaKeepsToItsRange) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"tume_hukasa=9\n", 9}, {"tume_hukasa=3\n", 3}, {"tume_hukasa=10\n", 0},
        {"tume_hukasa=-1\n", 0}, {"tume_hukasa=x\n", 0}, {"ver=0.0.2\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LoadFixture f;
        f.state->profile.tume_hukasa = 5;
        ASSERT_EQ(f.load(c.text), 1);
        EXPECT_EQ(f.state->profile.tume_hukasa, c.expected);
    }
}

// The search: 1 chooses the second, anything else (or no key, whatever the
// file before said) the seed's.
TEST(LoadAik, TansakuChoosesTheSearch) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"tansaku=1\n", 1}, {"tansaku=0\n", 0}, {"tansaku=2\n", 0}, {"tansaku=x\n", 0}, {"ver=0.0.2\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LoadFixture f;
        f.state->profile.tansaku = 1;
        ASSERT_EQ(f.load(c.text), 1);
        EXPECT_EQ(f.state->profile.tansaku, c.expected);
    }
}

TEST(LoadAik, LastKeyWinsAndLastLineNeedsNoLineFeed) {
    LoadFixture f;
    EXPECT_EQ(f.load("hukasa=3\nhaba=20\nhukasa=9"), 1);
    EXPECT_EQ(f.state->profile.hukasa, 9);
    EXPECT_EQ(f.state->profile.haba, 20);

    LoadFixture failing;
    EXPECT_EQ(failing.load("hukasa=3\nbogus"), -1);
}

TEST(LoadAik, ArraysReadThreeBytesOnFromEachNumber) {
    struct Case {
        const char* text;
        int32_t first;
        int32_t second;
    };
    const Case cases[] = {
        {"doute_kati[]=10,20", 10, 20},  {"doute_kati[]=5, 6", 5, 6},
        {"doute_kati[]=100,200", 100, 200}, {"doute_kati[]=5,6,7,8", 5, 7},
        {"doute_kati[]=30,40,50", 30, 40},  {"doute_kati[]=x-3;;4", 3, 4},
    };
    for (const Case& c : cases) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(c.text) + "\n"), 1) << c.text;
        EXPECT_EQ(f.state->profile.doute_kati[0], c.first) << c.text;
        EXPECT_EQ(f.state->profile.doute_kati[1], c.second) << c.text;
    }
    LoadFixture four;
    EXPECT_EQ(four.load("yudou_kati[]=40, 30, 20, 10\ndoute_hukasa[]=7, 8\n"), 1);
    EXPECT_EQ(four.state->profile.yudou_kati[3], 10);
    EXPECT_EQ(four.state->profile.doute_hukasa[1], 8);
}

TEST(LoadAik, ArrayEndingEarlyFails) {
    // Single digits with one separator: the second number is jumped over.
    for (const char* text : {"yudou_kati[]=100,200", "doute_kati[]=5", "doute_hukasa[]=",
                             "doute_kati[]=1,", "yudou_kati[]=1,2,3", "doute_hukasa[]=7,8"}) {
        LoadFixture f;
        EXPECT_EQ(f.load(std::string(text) + "\nhukasa=1\n"), -1) << text;
    }
    LoadFixture partial;
    EXPECT_EQ(partial.load("yudou_kati[]=100,200\n"), -1);
    EXPECT_EQ(partial.state->profile.yudou_kati[0], 100);
    EXPECT_EQ(partial.state->profile.yudou_kati[1], 200);
}

TEST(LoadAik, LineLimitCountsBytesAfterLeadingSpaces) {
    const std::string comment254 = "'" + std::string(253, 'x');
    const std::string key254 = "namae=" + std::string(248, 'a');
    for (const bool lf : {false, true}) {
        LoadFixture spaces;
        EXPECT_EQ(spaces.load(std::string(300, ' ') + comment254 + "\n", lf), 1);
        LoadFixture over;
        EXPECT_EQ(over.load(comment254 + "x\n", lf), -1);
        LoadFixture lastLine;
        EXPECT_EQ(lastLine.load(comment254, lf), 1);
        LoadFixture keyOver;  // too long as a line before too long as a name
        EXPECT_EQ(keyOver.load(key254 + "a\n", lf), -1);
    }
}

TEST(LoadAik, StringLimitsCountCp932Bytes) {
    LoadFixture nine;  // nine kanji are 18 bytes
    EXPECT_EQ(nine.load("namae=一二三四五六七八九\n"), 1);
    EXPECT_EQ(toUtf8(nine.state->profile.namae), "一二三四五六七八九");
    LoadFixture ten;
    EXPECT_EQ(ten.load("namae=一二三四五六七八九a\n"), -1);
    LoadFixture spaces;
    EXPECT_EQ(spaces.load("namae= 名 \n"), 1);
    EXPECT_EQ(toUtf8(spaces.state->profile.namae), " 名 ");
    LoadFixture nul;  // a C string ends at its NUL byte
    EXPECT_EQ(nul.load(std::string("namae=ab\0cd\nver=0.0.1\0x\n", 24)), 1);
    EXPECT_EQ(nul.state->profile.namae, "ab");
    EXPECT_EQ(nul.state->profile.ver, "0.0.1");
}

TEST(LoadAik, BookIsLoadedAtOnceFromTheAikFolder) {
    LoadFixture f;
    f.folder.writeBytes("jo.jsk", std::string(101, '\x80'));
    EXPECT_EQ(f.load("zyouseki=jo\nhukasa=3\n"), 1);
    EXPECT_EQ(f.state->profile.zyouseki, "jo");
    EXPECT_EQ(f.state->bookTable.count(), 1);

    LoadFixture missing;
    EXPECT_EQ(missing.load("hukasa=3\nzyouseki=abc\nhaba=4\n"), -1);
    EXPECT_EQ(missing.state->profile.hukasa, 3);
    EXPECT_EQ(missing.state->profile.zyouseki, "abc");
    EXPECT_EQ(missing.ui.messages.size(), 1u);

    LoadFixture tooLong;
    const std::string stem(128, 'b');
    tooLong.folder.writeBytes(stem + ".jsk", "");
    EXPECT_EQ(tooLong.load("zyouseki=" + stem + "\n"), -1);
    LoadFixture longest;
    longest.folder.writeBytes(stem.substr(1) + ".jsk", "");
    EXPECT_EQ(longest.load("zyouseki=" + stem.substr(1) + "\n"), 1);
}

TEST(LoadAik, UnreadablePathsFail) {
    LoadFixture f;
    FakeUi ui;
    EXPECT_EQ(LoadAik(*f.state, (f.folder.path() / "none.aik").string(), ui), -1);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(LoadAik(*f.state, f.folder.path().string(), ui), -1);
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST(LoadAik, SpecialFilesAndHugeFilesAreRefusedAtOnceWithTheReason) {
    LoadFixture f;
    const std::filesystem::path dir = f.folder.path();
    std::filesystem::create_directories(dir / "folder.aik");
    ASSERT_EQ(::mkfifo((dir / "fifo.aik").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.aik");
    f.folder.writeBytes("huge.aik", "");
    std::filesystem::resize_file(dir / "huge.aik", kMaxAikFileBytes + 1);
    ASSERT_EQ(::mkfifo((dir / "fifo.jsk").c_str(), 0600), 0);
    const std::string book = writeText(f.folder, "book.aik", "zyouseki=fifo\n");
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {dir / "folder.aik", "\n  フォルダです：" + (dir / "folder.aik").string()},
        {dir / "fifo.aik", kAikNotRegularFile + (dir / "fifo.aik").string()},
        {dir / "zero.aik", kAikNotRegularFile + (dir / "zero.aik").string()},
        {dir / "huge.aik", kAikFileTooLarge + (dir / "huge.aik").string()},
        {book, kAikBookUnreadable + ("（通常のファイルではありません）：" + (dir / "fifo.jsk").string())},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        FakeUi ui;
        EXPECT_EQ(LoadAik(*f.state, path.string(), ui), -1);
        const std::vector<std::string> shown{"sound:2", "message:" + (kAikLoadError + reason)};
        EXPECT_EQ(ui.events, shown);
    }
}

TEST(LoadAik, ProfileIsKeptUsableForTheSearch) {
    const std::tuple<const char*, int32_t, int32_t, int32_t> cases[] = {
        // text, haba, edakari_hyouka, hitu_hukasa
        {"haba=0\nedakari_hyouka=0\nhitu_hukasa=0\n", 1, 32, 0},
        {"haba=500\nedakari_hyouka=-5\nhitu_hukasa=-5\n", 100, 32, 0},
        {"haba=-1\nedakari_hyouka=1\nhitu_hukasa=1\n", 1, 1, 1},
        {"haba=100\nedakari_hyouka=40\nhitu_hukasa=30\n", 100, 40, 30},
    };
    for (const auto& [text, haba, hyouka, hitu] : cases) {
        LoadFixture f;
        EXPECT_EQ(f.load(text), 1) << text;
        EXPECT_EQ(f.state->profile.haba, haba) << text;
        EXPECT_EQ(f.state->profile.edakari_hyouka, hyouka) << text;
        EXPECT_EQ(f.state->profile.hitu_hukasa, hitu) << text;
    }
    LoadFixture failed;
    EXPECT_EQ(failed.load("haba=900\nedakari_hyouka=0\nbad line\n"), -1);
    EXPECT_EQ(failed.state->profile.haba, 100);
    EXPECT_EQ(failed.state->profile.edakari_hyouka, 32);
}

}  // namespace
}  // namespace nusari::test
