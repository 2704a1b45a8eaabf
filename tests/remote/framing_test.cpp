// Cutting the serial stream into messages and the server's stream into
// lines, the special words and server verdicts, port names and the Lan
// settings.
#include <gtest/gtest.h>

#include <random>

#include "remote/line_assembler.h"
#include "remote/link_settings.h"
#include "remote/remote_commands.h"
#include "remote/serial_framer.h"
#include "ui/ui_test_support.h"

namespace nusari {
namespace {

TEST(SerialFramerTest, AMessageEndsWithItsSeventhByteALineFeedOrTheTimeout) {
    SerialFramer f;
    f.start('+', 0);
    std::optional<SerialMessage> m;
    for (const char c : std::string("7776FU\n")) {
        ASSERT_FALSE(m.has_value());
        m = f.push(static_cast<uint8_t>(c));
    }
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->first, '+');
    EXPECT_EQ(m->bytes, "7776FU\n");
    EXPECT_FALSE(f.midMessage());

    f.start('%', 100);
    for (const char c : std::string("SENNICH")) m = f.push(static_cast<uint8_t>(c));
    EXPECT_EQ(m->bytes, "SENNICH");

    f.start('%', 100);
    for (const char c : std::string("TORYO")) EXPECT_FALSE(f.push(static_cast<uint8_t>(c)));
    EXPECT_EQ(f.push('\n')->bytes, "TORYO\n");

    f.start('-', 1000);
    f.push('1');
    EXPECT_FALSE(f.expire(1299).has_value());
    m = f.expire(1300);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->first, '-');
    EXPECT_EQ(m->bytes, "1");
    EXPECT_FALSE(f.expire(5000).has_value());
    EXPECT_FALSE(f.push('x').has_value());
}

TEST(SerialFramerTest, OnlySignsAndPercentStartAMessage) {
    for (int b = 0; b < 256; ++b) {
        const bool starts = b == '+' || b == '-' || b == '%';
        EXPECT_EQ(SerialFramer::IsMessageStart(static_cast<uint8_t>(b)), starts) << b;
    }
}

TEST(LineAssemblerTest, LinesComeWholeWhateverTheChunks) {
    LineAssembler a;
    a.append("LOGIN:Nu");
    EXPECT_FALSE(a.takeLine().has_value());
    a.append("sar OK\nBEGIN Game_Summary\n+77");
    EXPECT_EQ(a.takeLine(), "LOGIN:Nusar OK\n");
    EXPECT_EQ(a.takeLine(), "BEGIN Game_Summary\n");
    EXPECT_FALSE(a.takeLine().has_value());
    a.append(std::string("76FU,T12\r\n\0AGREE\n\0", 19));
    EXPECT_EQ(a.takeLine(), "+7776FU,T12\r\n");
    EXPECT_EQ(a.takeLine(), "AGREE\n");
    a.append("x");
    a.clear();
    a.append("y\n");
    EXPECT_EQ(a.takeLine(), "y\n");
}

// An over-long line is one overflow line however long it runs, and the
// assembler never holds more than a line's worth of its bytes.
TEST(LineAssemblerTest, AnOverLongLineIsDroppedWhole) {
    LineAssembler a;
    a.append(std::string(kMaxServerLine - 1, 'a') + "\n");
    EXPECT_EQ(a.takeLine()->size(), kMaxServerLine);
    const std::string chunk(512, 'b');
    for (int i = 0; i < 512; ++i) {  // 256 KiB without a line feed
        a.append(chunk);
        ASSERT_LE(a.bufferedBytes(), kMaxServerLine);
    }
    a.append("cc\n+7776FU\n");
    EXPECT_EQ(a.takeLine(), "Buff Over Err.");
    EXPECT_EQ(a.takeLine(), "+7776FU\n");
    EXPECT_FALSE(a.takeLine().has_value());
}

// Random chunks: every line is a whole line of at most kMaxServerLine bytes or the
// overflow text, and the lines put together give the bytes less the zeros.
TEST(LineAssemblerTest, RandomBytesInRandomChunks) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const std::size_t n = random() % 2000;
        for (std::size_t i = 0; i < n; ++i) {
            bytes += random() % 8 == 0 ? '\n' : static_cast<char>(random() % 256);
        }
        LineAssembler a;
        std::string joined;
        bool overflowed = false;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t size = 1 + random() % 300;
            a.append(std::string_view(bytes).substr(at, size));
            at += size;
            while (std::optional<std::string> line = a.takeLine()) {
                if (*line == kLineOverflow) {
                    overflowed = true;
                    continue;
                }
                ASSERT_LE(line->size(), kMaxServerLine);
                ASSERT_EQ(line->back(), '\n');
                ASSERT_EQ(line->find('\0'), std::string::npos);
                joined += *line;
            }
        }
        if (!overflowed) {
            std::string expected;
            for (const char c : bytes) {
                if (c != '\0') expected += c;
            }
            expected.erase(expected.find_last_of('\n') + 1);
            EXPECT_EQ(joined, expected);
        }
    }
}

TEST(RemoteCommandsTest, SpecialWordsByTheirFirstThreeLetters) {
    struct Case {
        const char* word;
        RemoteAction action;
        int32_t result;
    };
    const Case cases[] = {
        {"TORYO\n", RemoteAction::EndGame, 2},      {"MATTA\n", RemoteAction::TakeBack, 0},
        {"CHUDAN\n", RemoteAction::Interrupt, 0},   {"SENNICH", RemoteAction::EndGame, -1},
        {"JISHOGI", RemoteAction::EndGame, -1},     {"KACHI\n", RemoteAction::EndGame, 1},
        {"HIKIWAK", RemoteAction::EndGame, -1},     {"TOR", RemoteAction::EndGame, 2},
    };
    for (const Case& c : cases) {
        const SpecialCommand* command = FindSpecialCommand(c.word);
        ASSERT_NE(command, nullptr) << c.word;
        EXPECT_EQ(command->action, c.action);
        if (c.action == RemoteAction::EndGame) {
            EXPECT_EQ(command->result, c.result);
        }
    }
    for (const char* word : {"", "TO", "toryo", "TOX", " TORYO", "ILLEGAL"}) {
        EXPECT_EQ(FindSpecialCommand(word), nullptr) << word;
    }
    EXPECT_TRUE(FindSpecialCommand("TORYO")->quietInMatch);
    EXPECT_FALSE(FindSpecialCommand("KACHI")->quietInMatch);
}

// The recorded ending names the winner the server did, whoever is to move.
TEST(RemoteCommandsTest, TheRecordedEndingFollowsTheServersWinner) {
    const struct {
        GameEnding reason;
        int32_t result;
        bool remoteToMove;
        GameEnding recorded;
    } cases[] = {
        {GameEnding::Resign, 2, true, GameEnding::Resign},
        {GameEnding::Resign, 1, true, GameEnding::FoulWin},
        {GameEnding::TimeUp, 1, false, GameEnding::TimeUp},
        {GameEnding::Impasse, 1, true, GameEnding::EnteringKingWin},
        {GameEnding::Impasse, 2, true, GameEnding::FoulLoss},
        {GameEnding::FoulLoss, 2, false, GameEnding::FoulWin},
        {GameEnding::None, 1, false, GameEnding::Resign},
        {GameEnding::Repetition, -1, true, GameEnding::Repetition},
        {GameEnding::Resign, -1, false, GameEnding::Draw},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordedServerEnding(c.reason, c.result, c.remoteToMove), c.recorded)
            << static_cast<int>(c.reason) << " " << c.result << " " << c.remoteToMove;
    }
}

TEST(RemoteCommandsTest, ServerVerdicts) {
    struct Case {
        const char* line;
        ServerVerdict verdict;
        int32_t result;
    };
    const Case cases[] = {
        {"#WIN\n", ServerVerdict::Result, 2},          {"#LOSE\n", ServerVerdict::Result, 1},
        {"#DRAW\r\n", ServerVerdict::Result, -1},      {"#CENSORED\n", ServerVerdict::Result, -1},
        {"#SENNICHITE\n", ServerVerdict::Result, -1},  {"#MAX_MOVES", ServerVerdict::Result, -1},
        {"#CHUDAN\n", ServerVerdict::Interrupt, 0},    {"#JISHOGI\n", ServerVerdict::None, 0},
        {"#RESIGN\n", ServerVerdict::None, 0},         {"#TIME_UP\n", ServerVerdict::None, 0},
        {"#WINNER\n", ServerVerdict::None, 0},         {"WIN\n", ServerVerdict::None, 0},
        {"#win\n", ServerVerdict::None, 0},            {"", ServerVerdict::None, 0},
    };
    for (const Case& c : cases) {
        const ServerEnd end = ServerEndOf(c.line);
        EXPECT_EQ(end.verdict, c.verdict) << c.line;
        EXPECT_EQ(end.result, c.result) << c.line;
    }
}

TEST(LinkSettingsTest, PortNames) {
    EXPECT_TRUE(IsServerPort("LAN"));
    EXPECT_TRUE(IsServerPort("LAN1"));
    EXPECT_FALSE(IsServerPort("LA"));
    EXPECT_FALSE(IsServerPort("lan"));
    const std::pair<const char*, const char*> paths[] = {
        {"COM1", "/dev/ttyS0"},   {"COM9", "/dev/ttyS8"},     {"USB0", "/dev/ttyUSB0"},
        {"ACM12", "/dev/ttyACM12"}, {"/dev/pts/3", "/dev/pts/3"}, {"COM0", ""},
        {"COM10", ""},            {"COM", ""},                {"USB", ""},
        {"USBx", ""},             {"", ""},                   {"LAN", ""},
    };
    for (const auto& [name, path] : paths) EXPECT_EQ(SerialDevicePath(name), path) << name;
}

TEST(LinkSettingsTest, LanKeysWithTheirDefaults) {
    test::MemoryStore store;
    EXPECT_EQ(ReadLanSettings(store), LanSettings{});
    EXPECT_EQ(LanSettings{}.host, "127.0.0.1");
    EXPECT_EQ(LanSettings{}.port, 4081);
    EXPECT_EQ(LanSettings{}.user, "Nusar");
    EXPECT_EQ(LanSettings{}.password, "Pelvo");
    EXPECT_FALSE(LanSettings{}.sendNul);

    store.values = {{"Lan/Host", "shogi.example"}, {"Lan/Port", " 4082 "}, {"Lan/User", "a"},
                    {"Lan/Password", "b"}, {"Lan/SendNul", "1"}};
    const LanSettings s = ReadLanSettings(store);
    EXPECT_EQ(s.host, "shogi.example");
    EXPECT_EQ(s.port, 4082);
    EXPECT_EQ(s.user, "a");
    EXPECT_EQ(s.password, "b");
    EXPECT_TRUE(s.sendNul);

    for (const char* port : {"0", "65536", "-1", "x", ""}) {
        store.values = {{"Lan/Port", port}, {"Lan/Host", ""}, {"Lan/SendNul", "yes"}};
        const LanSettings bad = ReadLanSettings(store);
        EXPECT_EQ(bad.port, 4081) << port;
        EXPECT_EQ(bad.host, "127.0.0.1");
        EXPECT_FALSE(bad.sendNul);
    }
}

}  // namespace
}  // namespace nusari
