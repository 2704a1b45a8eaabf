// writeFileReplacing: what a save does to links and to paths that are no
// regular files.
#include "records/record_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "records_test_support.h"

namespace nusari::test {
namespace {

namespace fs = std::filesystem;

int entryCount(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const fs::directory_entry& e : fs::recursive_directory_iterator(folder))
        ++n;
    return n;
}

TEST(WriteFileReplacing, ALinkStaysALinkAndItsTargetGetsTheBytes) {
    struct Case {
        const char* name;
        const char* link;    // what the saved-to link points to
        const char* target;  // the file that must get the bytes
        bool targetExists;
    };
    const Case cases[] = {
        {"relative", "real.csa", "real.csa", true},
        {"into a sub folder", "sub/real.csa", "sub/real.csa", true},
        {"chain", "hop.csa", "real.csa", true},  // hop.csa -> real.csa
        {"dangling", "sub/new.csa", "sub/new.csa", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path dir = folder.path();
        fs::create_directories(dir / "sub");
        if (c.targetExists) folder.writeBytes(c.target, "old");
        fs::create_symlink("real.csa", dir / "hop.csa");
        fs::create_symlink(c.link, dir / "saved.csa");
        const int entries = entryCount(dir) + (c.targetExists ? 0 : 1);

        ASSERT_TRUE(writeFileReplacing((dir / "saved.csa").string(), "new"));
        EXPECT_TRUE(fs::is_symlink(dir / "saved.csa"));
        EXPECT_EQ(fs::read_symlink(dir / "saved.csa"), c.link);
        EXPECT_FALSE(fs::is_symlink(dir / c.target));
        EXPECT_EQ(fileBytes(dir / c.target), "new");
        EXPECT_EQ(entryCount(dir), entries);  // no temporary file left
    }
    TempFolder folder;
    const std::string real = folder.writeBytes("real.csa", "old");
    fs::create_symlink(real, folder.path() / "absolute.csa");
    ASSERT_TRUE(writeFileReplacing((folder.path() / "absolute.csa").string(), "new"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "absolute.csa"));
    EXPECT_EQ(fileBytes(real), "new");
}

TEST(WriteFileReplacing, FoldersFifosDevicesAndLinkLoopsAreRefused) {
    TempFolder folder;
    const fs::path dir = folder.path();
    fs::create_directories(dir / "folder.csa");
    ASSERT_EQ(::mkfifo((dir / "fifo.csa").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "device.csa");
    fs::create_symlink("fifo.csa", dir / "to_fifo.csa");
    fs::create_symlink("loop_b.csa", dir / "loop_a.csa");
    fs::create_symlink("loop_a.csa", dir / "loop_b.csa");
    const int entries = entryCount(dir);
    for (const char* name : {"folder.csa", "fifo.csa", "device.csa", "to_fifo.csa", "loop_a.csa"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(writeFileReplacing((dir / name).string(), "new"));
    }
    EXPECT_EQ(entryCount(dir), entries);
    EXPECT_TRUE(fs::is_directory(dir / "folder.csa"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.csa"));
}

// A save killed before its rename leaves its new file; the next save of the
// file removes it once it is a minute old, and nothing else.
TEST(WriteFileReplacing, TheNextSaveRemovesWhatAKilledSaveLeft) {
    TempFolder folder;
    const fs::path dir = folder.path();
    const std::string stale = folder.writeBytes("saved.csa.nusari-save-Ab12Cd", "half");
    const std::string fresh = folder.writeBytes("saved.csa.nusari-save-Ef34Gh", "writing");
    const std::string other = folder.writeBytes("saved.csa.backup", "mine");
    const std::string otherSave = folder.writeBytes("other.csa.nusari-save-Ij56Kl", "half");
    for (const std::string& p : {stale, other, otherSave}) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(5));
    }
    ASSERT_TRUE(writeFileReplacing((dir / "saved.csa").string(), "new"));
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& p : {fresh, other, otherSave}) EXPECT_TRUE(fs::exists(p)) << p;
    EXPECT_EQ(entryCount(dir), 4);
}

}  // namespace
}  // namespace nusari::test
