// AppendMatchLog: where the match log's lines go, and where they never go.
#include "ui/match_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ui_test_support.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MatchLog, LinesAreAppendedThroughALinkThatStaysALink) {
    test::TempFolder folder;
    const fs::path log = folder.path() / kMatchLogPath;
    ASSERT_TRUE(AppendMatchLog(folder.path(), "a\r\n"));
    EXPECT_EQ(bytesOf(log), "a\r\n");

    const fs::path elsewhere = folder.path() / "kept.log";
    fs::rename(log, elsewhere);
    fs::create_symlink(elsewhere, log);
    ASSERT_TRUE(AppendMatchLog(folder.path(), "b\r\n"));
    EXPECT_TRUE(fs::is_symlink(log));
    EXPECT_EQ(bytesOf(elsewhere), "a\r\nb\r\n");
}

// Whole lines or nothing: a line cut short before gets its end, and a write
// the disk stops part way (here a file size limit) is taken back.
TEST(MatchLog, LinesStayWholeOnAFullDisk) {
    test::TempFolder folder;
    const fs::path log = folder.path() / kMatchLogPath;
    fs::create_directories(log.parent_path());
    std::ofstream(log, std::ios::binary) << "2026/1";
    ASSERT_TRUE(AppendMatchLog(folder.path(), "b\r\n"));
    EXPECT_EQ(bytesOf(log), "2026/1\r\nb\r\n");

    const auto size = static_cast<rlim_t>(fs::file_size(log));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = size + 3;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool appended = AppendMatchLog(folder.path(), "a long line\r\n");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(appended);
    EXPECT_EQ(bytesOf(log), "2026/1\r\nb\r\n");
}

TEST(MatchLog, NoRegularFileInItsPlaceIsRefusedAtOnce) {
    enum Kind { Folder, Fifo, FifoWithReader, Device };
    for (const Kind kind : {Folder, Fifo, FifoWithReader, Device}) {
        SCOPED_TRACE(kind);
        test::TempFolder folder;
        const fs::path log = folder.path() / kMatchLogPath;
        fs::create_directories(log.parent_path());
        int reader = -1;
        if (kind == Folder) fs::create_directories(log);
        if (kind == Fifo || kind == FifoWithReader) {
            ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
        }
        if (kind == FifoWithReader) {
            reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(reader, 0);
        }
        if (kind == Device) fs::create_symlink("/dev/null", log);

        EXPECT_FALSE(AppendMatchLog(folder.path(), "line\r\n"));
        if (reader >= 0) {
            char c = 0;
            EXPECT_LE(::read(reader, &c, 1), 0);  // nothing came through
            ::close(reader);
        }
        EXPECT_EQ(
            std::distance(fs::directory_iterator(log.parent_path()), fs::directory_iterator()), 1);
    }
}

}  // namespace
}  // namespace nusari
