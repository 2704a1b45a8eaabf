// The settings file store: values read as written, only the program's own
// values rewritten, safe writes, and paths that are no regular file.
#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <random>
#include <utility>

#include "support/temp_folder.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

ino_t inodeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// The text with the first occurrence of each `from` replaced by its `to`.
std::string replaced(std::string text,
                     std::initializer_list<std::pair<std::string, std::string>> changes) {
    for (const auto& [from, to] : changes) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

TEST(IniFile, ValuesReadAsWritten) {
    struct Case {
        const char* file;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"[Lan]\r\nPassword=pa;ss\r\n", "Lan", "Password", "pa;ss"},
        {"[A]\nDir=C:\\Users\\x", "A", "Dir", "C:\\Users\\x"},
        {"[A]\nQ=\"a b\" ", "A", "Q", "\"a b\""},
        {"[A]\nList=a,b,c\n", "A", "List", "a,b,c"},
        {"[A]\nP=%PATH%\n", "A", "P", "%PATH%"},
        {"[A]\n\t Key \t=  v = w \r\r\n", "A", "Key", "v = w"},
        {"[A]\nK=\n", "A", "K", ""},
        {" [ form ] \ntop=1\n", "Form", "TOP", "1"},
        {"[A]\nK=1\nK=2\n[A]\nK=3\n", "A", "K", "1"},
        {"[B]\nK=1\n[A]\nX=0\n[A]\nK=3\n", "A", "K", "3"},
        {"K=top\n[A]\nK=1\n", "", "K", "top"},
        {"K=top\n[A]\nK=1\n", "A", "K", "1"},
        {"[A]\n;K=1\n  #K=2\nK\n=3\nK=4\n", "A", "K", "4"},
        {"[A]\n;K=1\n", "A", "K", std::nullopt},
        {"[A]\nK=1\n", "B", "K", std::nullopt},
        {"[A\nK=1\n", "A", "K", "1"},
        // The second byte of ゾ is "]".
        {"[\x83\x5D]\nK=1\n", "\x83\x5D", "K", "1"},
        {"", "A", "K", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(IniFile::parse(c.file).find(c.section, c.key), c.value);
    }
}

TEST(IniFile, AnyBytesTakeAValueThatReadsBack) {
    const std::string pieces[] = {"[", "]", "=", ";", "#", "\r", "\n", " ", "\x83", "A", "a"};
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const std::size_t n = random() % 80;
        for (std::size_t i = 0; i < n; ++i) {
            if (random() % 2 == 0) {
                bytes += pieces[random() % std::size(pieces)];
            } else {
                bytes += static_cast<char>(random() % 256);
            }
        }
        IniFile file = IniFile::parse(bytes);
        const std::string section = round % 3 == 0 ? "" : (round % 3 == 1 ? "A" : "a");
        file.set(section, "A", "v;1\r\nrest");
        ASSERT_EQ(file.find(section, "a"), "v;1") << bytes;
        const std::optional<std::string> other = file.find("B", "K");
        file.apply({{section, "a", std::nullopt}});
        ASSERT_EQ(file.find(section, "A"), std::nullopt) << bytes;
        ASSERT_EQ(file.find("B", "K"), other) << bytes;
    }
}

// The settings file with what other programs and people put in it.
const std::string kForeignFile =
    "; settings of Nusari\r\n"
    "Orphan=before any section\r\n"
    "\r\n"
    "[Form]\r\n"
    "Top = 12 \r\n"
    "left=34\n"
    "# a comment\r\n"
    "[Lan]\r\n"
    "User=\x93\xFA\x96\x7B\r\n"
    "Password=pa;ss\r\n"
    "Host=\"quoted host\"\r\n"
    "[Other]\n"
    "Dir=C:\\Users\\x\r\n"
    "List=a,b,c\r\n"
    "Path=%PATH%\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "[Aik]\r\n"
    "MaxTime=200\r\n"
    "Hash=+1009\r\n"
    "IsControlTime_CSA=0\r\n"
    "[Rs232c]\r\n"
    "PortName=COM1";

Settings foreignSettings() {
    Settings s;
    s.top = 12;
    s.left = 34;
    s.maxTime = 200;
    s.hash = 1009;
    s.portName = "COM1";
    return s;
}

TEST(IniFileStore, WritingTheSettingsChangesOnlyTheirValues) {
    struct Case {
        const char* name;
        std::string before;
        std::function<void(Settings&)> change;
        std::string after;
    };
    const Case cases[] = {
        {"nothing changed", kForeignFile, [](Settings&) {}, kForeignFile},
        {"every value changed", kForeignFile,
         [](Settings& s) { s = Settings{80, 160, 30000, 2003, 1, "LAN"}; },
         replaced(kForeignFile, {{"Top = 12 ", "Top = 80 "},
                                 {"left=34", "left=160"},
                                 {"MaxTime=200", "MaxTime=30000"},
                                 {"Hash=+1009", "Hash=2003"},
                                 {"CSA=0", "CSA=1"},
                                 {"=COM1", "=LAN"}})},
        {"bytes that are no CP932 stay", replaced(kForeignFile, {{"=COM1", "=\xFF\x80"}}),
         [](Settings& s) { EXPECT_EQ(s.portName, "\uFFFD\uFFFD"); },
         replaced(kForeignFile, {{"=COM1", "=\xFF\x80"}})},
        {"missing keys and sections are added", "[Form]\r\nTop=0\r\n; end of form\r\n[Aik]\nHash=9",
         [](Settings& s) { s.left = 5; },
         "[Form]\r\nTop=0\r\nLeft=5\r\n; end of form\r\n[Aik]\nHash=9\r\nMaxTime=10000\r\n"
         "IsControlTime_CSA=0\r\n[Rs232c]\r\nPortName=COM1\r\n"},
        {"no file", "", [](Settings&) {},
         "[Form]\r\nTop=0\r\nLeft=0\r\n[Aik]\r\nMaxTime=10000\r\nHash=40009\r\n"
         "IsControlTime_CSA=0\r\n[Rs232c]\r\nPortName=COM1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path path = folder.path() / kSettingsFileName;
        if (!c.before.empty()) writeBytes(path, c.before);
        const ino_t inode = inodeOf(path);
        IniFileStore store(path.string());
        Settings s = ReadSettings(store);
        c.change(s);
        WriteSettings(store, s);
        EXPECT_EQ(readBytes(path), c.after);
        if (c.before == c.after) {
            EXPECT_EQ(inodeOf(path), inode);
        }
        EXPECT_EQ(entriesIn(folder.path()), 1u);
        IniFileStore again(path.string());
        EXPECT_EQ(ReadSettings(again), s);
    }
}

TEST(IniFileStore, ValuesReadAsUtf8) {
    test::TempFolder folder;
    const fs::path path = folder.path() / kSettingsFileName;
    writeBytes(path, kForeignFile);
    IniFileStore store(path.string());
    EXPECT_EQ(ReadSettings(store), foreignSettings());
    EXPECT_EQ(store.value("Lan", "User"), "日本");
    EXPECT_EQ(store.value("lan", "password"), "pa;ss");
    EXPECT_EQ(store.value("Other", "Dup"), "first");
    EXPECT_EQ(store.value("Other", "Missing"), std::nullopt);
    store.setValue("Lan", "User", "名前");
    EXPECT_EQ(store.value("Lan", "User"), "名前");
    EXPECT_TRUE(store.write());
    EXPECT_NE(readBytes(path).find("User=\x96\xBC\x91\x4F\r\n"), std::string::npos);
}

TEST(IniFileStore, EditsMadeWhileTheProgramRunsCount) {
    test::TempFolder folder;
    const fs::path path = folder.path() / kSettingsFileName;
    writeBytes(path, "[Lan]\r\nHost=a\r\n");
    IniFileStore store(path.string());
    store.setValue("Form", "Top", "7");
    writeBytes(path, "[Lan]\r\nHost=b\r\n");
    EXPECT_EQ(store.value("Lan", "Host"), "a");
    store.reload();
    EXPECT_EQ(store.value("Lan", "Host"), "b");
    EXPECT_EQ(store.value("Form", "Top"), "7");
    writeBytes(path, "[Lan]\r\nHost=c\r\n");
    store.flush();
    EXPECT_EQ(readBytes(path), "[Lan]\r\nHost=c\r\n[Form]\r\nTop=7\r\n");
}

TEST(IniFileStore, PathsThatAreNoRegularFileAreNeitherReadNorWritten) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    };
    const Case cases[] = {
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"a link to a device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path path = folder.path() / kSettingsFileName;
        c.make(path);
        const fs::file_type type = fs::symlink_status(path).type();
        IniFileStore store(path.string());
        EXPECT_EQ(store.value("Aik", "Hash"), std::nullopt);
        store.setValue("Aik", "Hash", "7");
        EXPECT_FALSE(store.write());
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        EXPECT_EQ(entriesIn(folder.path()), 1u);
    }
}

TEST(IniFileStore, ALinkStaysALinkAndItsTargetGetsTheValues) {
    test::TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const fs::path target = folder.path() / "real" / "settings.ini";
    const fs::path link = folder.path() / kSettingsFileName;
    writeBytes(target, "[Aik]\r\nHash=1009\r\n");
    fs::create_symlink("real/settings.ini", link);
    IniFileStore store(link.string());
    EXPECT_EQ(store.value("Aik", "Hash"), "1009");
    store.setValue("Aik", "Hash", "7");
    EXPECT_TRUE(store.write());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(target), "[Aik]\r\nHash=7\r\n");
    EXPECT_EQ(entriesIn(folder.path() / "real"), 1u);
}

TEST(IniFileStore, AFailedWriteIsToldAndLeavesTheOldFileWhole) {
    // Each failure answers whether it is in effect: root writes into a
    // read-only folder.
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> fail;
        std::function<void(const fs::path&)> undo;
        std::string reason;
    };
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const Case cases[] = {
        {"a read-only folder",
         [](const fs::path& folder) {
             fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
             return ::access(folder.c_str(), W_OK) != 0;
         },
         [](const fs::path& folder) { fs::permissions(folder, fs::perms::owner_all); },
         kIniNoPermission},
        {"a full disk",
         [&](const fs::path&) {
             ::signal(SIGXFSZ, SIG_IGN);
             struct rlimit small = limit;
             small.rlim_cur = 8;
             return ::setrlimit(RLIMIT_FSIZE, &small) == 0;
         },
         [&](const fs::path&) {
             ::setrlimit(RLIMIT_FSIZE, &limit);
             ::signal(SIGXFSZ, SIG_DFL);
         },
         kIniFileSizeLimit},
    };
    const std::string old = "; keep\r\n[Aik]\r\nHash=1009\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path path = folder.path() / kSettingsFileName;
        writeBytes(path, old);
        IniFileStore store(path.string());
        store.setValue("Aik", "Hash", "7");
        const bool inEffect = c.fail(folder.path());
        const bool written = store.write();
        c.undo(folder.path());
        if (!inEffect) continue;
        EXPECT_FALSE(written);
        EXPECT_EQ(store.saveProblem(), kSettingsNotSaved + path.string() + "\n" + c.reason);
        EXPECT_EQ(readBytes(path), old);
        EXPECT_EQ(entriesIn(folder.path()), 1u);
        // The change stays and is saved once the write can succeed.
        EXPECT_TRUE(store.write());
        EXPECT_EQ(IniFileStore(path.string()).value("Aik", "Hash"), "7");
    }
}

// A file over the limit is someone else's, even when it is filled inside
// the engines' section with keys the program does not write.
TEST(IniFileStore, AHugeFileIsReadInPartAndNeverWritten) {
    for (const char* fill : {"; a long comment line to fill the file\r\n",
                             "[UsiEngines]\r\nName1Extra=a line the program never writes\r\n"}) {
        SCOPED_TRACE(fill);
        test::TempFolder folder;
        const fs::path path = folder.path() / kSettingsFileName;
        std::string bytes = "[Aik]\r\nHash=7\r\n";
        while (bytes.size() <= kIniFileLimit) bytes += fill;
        writeBytes(path, bytes);
        IniFileStore store(path.string());
        EXPECT_EQ(store.value("Aik", "Hash"), "7");
        store.setValue("Aik", "Hash", "8");
        EXPECT_FALSE(store.write());
        EXPECT_EQ(store.saveProblem(),
                  kSettingsNotSaved + path.string() + "\n" + kIniForeignTooLarge);
        EXPECT_EQ(fs::file_size(path), bytes.size());
    }
}

// The registered engines are the program's own: they may take the file past
// the limit and still read back and save.
TEST(IniFileStore, OwnKeysPastTheLimitAreWrittenAndReadBack) {
    test::TempFolder folder;
    const fs::path path = folder.path() / kSettingsFileName;
    writeBytes(path, "; mine\r\n[Aik]\r\nHash=7\r\n");
    const std::string option = "option name Long type string default " + std::string(1000, 'x');
    constexpr int kOptions = 1200;
    {
        IniFileStore store(path.string());
        for (int k = 1; k <= kOptions; ++k)
            store.setValue(kUsiEnginesSection, "Option1_" + std::to_string(k), option);
        ASSERT_TRUE(store.write());
    }
    ASSERT_GT(fs::file_size(path), kIniFileLimit);
    IniFileStore store(path.string());
    EXPECT_EQ(store.value(kUsiEnginesSection, "Option1_1"), option);
    EXPECT_EQ(store.value(kUsiEnginesSection, "Option1_" + std::to_string(kOptions)), option);
    store.setValue("Aik", "Hash", "8");
    EXPECT_TRUE(store.write());
    EXPECT_EQ(IniFileStore(path.string()).value("Aik", "Hash"), "8");
}

// Two windows of one program folder: each store lays its own changes over
// the file as the other left it.
TEST(IniFileStore, TwoStoresOnOneFileKeepEachOthersChanges) {
    struct Value {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    struct Case {
        const char* name;
        std::function<void(IniFileStore&)> first;
        std::function<void(IniFileStore&)> second;
        std::vector<Value> after;
    };
    const auto moveTo = [](int32_t top, int32_t left) {
        return [top, left](IniFileStore& store) {
            const Settings before = ReadSettings(store);
            Settings s = before;
            s.top = top;
            s.left = left;
            WriteSettings(store, s, before);
        };
    };
    const Case cases[] = {
        {"each changes another key",
         [](IniFileStore& store) { store.setValue("Form", "Top", "10"); },
         [](IniFileStore& store) { store.setValue("UsiEngines", "Name2", "Y"); },
         {{"Form", "Top", "10"},
          {"Form", "Left", "0"},
          {"UsiEngines", "Name1", "X"},
          {"UsiEngines", "Name2", "Y"}}},
        {"a key removed stays removed",
         [](IniFileStore& store) { store.removeValue("UsiEngines", "Name1"); },
         [](IniFileStore& store) { store.setValue("Form", "Left", "5"); },
         {{"UsiEngines", "Name1", std::nullopt},
          {"Form", "Left", "5"},
          {"UsiEngines", "Count", "1"}}},
        {"a removal after the other's write",
         [](IniFileStore& store) { store.setValue("Form", "Left", "5"); },
         [](IniFileStore& store) { store.removeValue("UsiEngines", "Name1"); },
         {{"UsiEngines", "Name1", std::nullopt}, {"Form", "Left", "5"}}},
        {"the window's place is the last one's whole",
         moveTo(10, 0),
         moveTo(0, 30),
         {{"Form", "Top", "0"}, {"Form", "Left", "30"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path path = folder.path() / kSettingsFileName;
        writeBytes(path, "[Form]\r\nTop=0\r\nLeft=0\r\n[UsiEngines]\r\nCount=1\r\nName1=X\r\n");
        IniFileStore one(path.string());
        IniFileStore other(path.string());
        c.first(one);
        ASSERT_TRUE(one.write());
        c.second(other);
        ASSERT_TRUE(other.write());
        IniFileStore after(path.string());
        for (const Value& v : c.after) EXPECT_EQ(after.value(v.section, v.key), v.value) << v.key;
    }
}

}  // namespace
}  // namespace nusari
