// BuildEngineList: breadth first under the aik folder, names in byte order.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "aik/engine_list.h"
#include "aik_test_support.h"

namespace nusari::test {
namespace {

struct EngineList {
    std::vector<std::string> names;
    std::vector<std::string> paths;
    bool found = false;

    explicit EngineList(const TempFolder& program) {
        found = BuildEngineList(program.path(), names, paths);
    }
    // The paths relative to the program folder.
    std::vector<std::string> relative(const TempFolder& program) const {
        std::vector<std::string> out;
        for (const std::string& p : paths) out.push_back(p.substr(program.path().string().size()));
        return out;
    }
};

using Strings = std::vector<std::string>;

TEST(EngineList, MissingFolderLeavesListsAlone) {
    TempFolder program;
    std::vector<std::string> names{"kept"};
    std::vector<std::string> paths{"kept"};
    EXPECT_FALSE(BuildEngineList(program.path(), names, paths));
    EXPECT_EQ(names, Strings{"kept"});
    program.writeBytes("aik", "a file, not a folder");
    EXPECT_FALSE(BuildEngineList(program.path(), names, paths));
    EXPECT_EQ(paths, Strings{"kept"});
}

TEST(EngineList, EmptyFolderGivesEmptyLists) {
    TempFolder program;
    std::filesystem::create_directories(program.path() / "aik");
    EngineList list(program);
    EXPECT_TRUE(list.found);
    EXPECT_TRUE(list.names.empty());
}

TEST(EngineList, SubFoldersComeAfterTheFilesBeforeThem) {
    TempFolder program;
    program.writeBytes("aik/b.aik", "");
    program.writeBytes("aik/sub/a.aik", "");
    program.writeBytes("aik/a.aik", "");
    program.writeBytes("aik/sub/deep/z.aik", "");
    program.writeBytes("aik/other/c.aik", "");
    program.writeBytes("aik/B.aik", "");
    EngineList list(program);
    EXPECT_TRUE(list.found);
    EXPECT_EQ(list.names, (Strings{"B", "a", "b", "c", "a", "z"}));
    EXPECT_EQ(list.relative(program), (Strings{"/aik/B.aik", "/aik/a.aik", "/aik/b.aik",
                                               "/aik/other/c.aik", "/aik/sub/a.aik",
                                               "/aik/sub/deep/z.aik"}));
}

TEST(EngineList, OnlyExactAikExtensionIsListed) {
    TempFolder program;
    program.writeBytes("aik/C.AIK", "");
    program.writeBytes("aik/x.aik.txt", "");
    program.writeBytes("aik/y.aik/inner.aik", "");
    program.writeBytes("aik/two.dots.aik", "");
    program.writeBytes("aik/noext", "");
    program.writeBytes("aik/.aik", "");
    program.writeBytes("aik/標準.aik", "");
    EngineList list(program);
    EXPECT_EQ(list.names, (Strings{"", "two.dots", "標準", "inner"}));
}

TEST(EngineList, OnlyRegularFilesAreListed) {
    TempFolder program;
    program.writeBytes("aik/real.aik", "");
    std::filesystem::create_symlink(program.path() / "aik/real.aik",
                                    program.path() / "aik/link.aik");
    ASSERT_EQ(::mkfifo((program.path() / "aik/fifo.aik").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/null", program.path() / "aik/device.aik");
    std::filesystem::create_symlink(program.path() / "aik/none",
                                    program.path() / "aik/dangling.aik");
    EngineList list(program);
    EXPECT_EQ(list.names, (Strings{"link", "real"}));
}

TEST(EngineList, SymbolicLinkLoopIsSearchedOnce) {
    TempFolder program;
    program.writeBytes("aik/sub/e.aik", "");
    std::filesystem::create_directory_symlink(program.path() / "aik", program.path() / "aik/sub/up");
    EngineList list(program);
    EXPECT_EQ(list.names, Strings{"e"});
}

// An installed program lists the user's engines before the installed ones;
// a missing folder is passed over, and only none at all is a failure.
TEST(EngineList, SeveralFoldersListedInTurn) {
    TempFolder user;
    TempFolder shared;
    user.writeBytes("aik/mine.aik", "");
    shared.writeBytes("aik/a.aik", "");
    std::vector<std::string> names;
    std::vector<std::string> paths;
    EXPECT_TRUE(BuildEngineListFrom({user.path() / "aik", shared.path() / "aik"}, names, paths));
    EXPECT_EQ(names, (Strings{"mine", "a"}));
    names.clear();
    EXPECT_TRUE(BuildEngineListFrom({user.path() / "none", shared.path() / "aik"}, names, paths));
    EXPECT_EQ(names, Strings{"a"});
    EXPECT_FALSE(BuildEngineListFrom({user.path() / "none", shared.path() / "none"}, names, paths));
}

}  // namespace
}  // namespace nusari::test
