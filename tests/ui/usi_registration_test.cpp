// Registering USI engines: a fake engine script stands for the engines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ui_test_support.h"
#include "ui/usi_registration.h"
#include "usi/joined_text.h"

namespace nusari {
namespace {

std::string fakeEngine(const std::string& mode) {
    std::string line = "\"";
    line += NUSARI_FAKE_ENGINE;
    line += "\" ";
    line += mode;
    return line;
}

// A short wait, so that an engine that never answers does not hold the test.
constexpr int64_t kTestHandshakeMs = 400;

class UsiRegistrationTest : public test::ControllerTest {
  protected:
    bool registerEngine(const std::string& name, const std::string& command) {
        return RegisterUsiEngine(*controller, name, command, kTestHandshakeMs);
    }
};

TEST_F(UsiRegistrationTest, AGoodEngineIsAddedWithItsOptionsAndSaved) {
    ASSERT_TRUE(registerEngine("", fakeEngine("options")));
    ASSERT_EQ(controller->usiEngines.size(), 1u);
    const UsiEngineEntry& entry = controller->usiEngines[0];
    EXPECT_EQ(entry.name, "Fake options");
    EXPECT_EQ(entry.commandLine, fakeEngine("options"));
    std::vector<std::string> seen;
    for (const UsiOption& o : entry.options) seen.push_back(joined({o.name, ":", o.type, "=", o.value}));
    const std::vector<std::string> expected = {"Threads:spin=1", "USI_Ponder:check=false",
                                               "Style:combo=Normal", "Book File:string=book.db",
                                               "Clear Hash:button="};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(entry.options[0].max, 8);
    EXPECT_EQ(entry.options[2].choices, (std::vector<std::string>{"Solid", "Normal", "Risky"}));

    EXPECT_EQ(ReadUsiEngines(store), controller->usiEngines);
    EXPECT_GE(store.flushes, 1);
    EXPECT_EQ(controller->page.engineNames.back(), "[USI] Fake options");
    EXPECT_EQ(ui.events.back(), "pages");
    EXPECT_TRUE(ui.messages.empty());
}

// Every change of the engines (an option set, a rename) rebuilds the 対戦COM
// list; nothing is listed twice.
TEST_F(UsiRegistrationTest, TheEngineListIsRebuiltNotAppendedTo) {
    ASSERT_EQ(controller->StartUp(), 1);
    ASSERT_TRUE(registerEngine("", fakeEngine("options")));
    const std::vector<std::string> names = controller->page.engineNames;
    const std::vector<std::string> paths = controller->page.enginePaths;
    ASSERT_EQ(names.back(), "[USI] Fake options");
    SaveUsiEngines(*controller);
    SaveUsiEngines(*controller);
    EXPECT_EQ(controller->page.engineNames, names);
    EXPECT_EQ(controller->page.enginePaths, paths);
}

TEST_F(UsiRegistrationTest, EnginesThatCannotServeAreRefusedWithAMessage) {
    ASSERT_TRUE(registerEngine("Taken", fakeEngine("resign")));
    ASSERT_TRUE(registerEngine("", fakeEngine("options")));
    const std::vector<UsiEngineEntry> before = controller->usiEngines;
    struct Case {
        std::string name;
        std::string command;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "/nonexistent/engine -x", joined({kUsiCannotStart, "/nonexistent/engine -x"})},
        {"", fakeEngine("mute"), joined({kUsiNoUsiOk, fakeEngine("mute")})},
        {"", "true", joined({kUsiExited, "true"})},
        {"", "\"unclosed quote", kUsiBadCommandLine},
        {"", "   ", kUsiBadCommandLine},
        {"Taken", fakeEngine("resign"), joined({kUsiNameTaken, "Taken"})},
        {"", fakeEngine("options"), joined({kUsiNameTaken, "Fake options"})},
        {"😀", fakeEngine("resign"), joined({kUsiBadText, "😀"})},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        ui.sounds.clear();
        EXPECT_FALSE(registerEngine(c.name, c.command)) << c.command;
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message}) << c.command;
        EXPECT_EQ(ui.sounds, std::vector<Sound>{Sound::Message}) << c.command;
        EXPECT_EQ(controller->usiEngines, before) << c.command;
    }
}

TEST_F(UsiRegistrationTest, AFullListTakesNoMoreEngines) {
    std::vector<UsiEngineEntry> full;
    for (int32_t i = 0; i < kMaxUsiEngines; ++i)
        full.push_back({joined({"E", std::to_string(i)}), "engine", {}});
    WriteUsiEngines(store, full);
    EXPECT_FALSE(registerEngine("", fakeEngine("options")));
    EXPECT_EQ(ui.messages, std::vector<std::string>{kUsiListFull});
}

TEST_F(UsiRegistrationTest, OptionValuesAreCheckedBeforeTheyAreKept) {
    ASSERT_TRUE(registerEngine("A", fakeEngine("options")));
    const std::vector<UsiOption> defaults = controller->usiEngines[0].options;
    EXPECT_FALSE(SetUsiOptionValues(*controller, "A", {"9", "true", "Solid", "x", ""}));
    EXPECT_EQ(ui.messages.back(), joined({kUsiBadValue, "Threads = 9"}));
    EXPECT_FALSE(SetUsiOptionValues(*controller, "A", {"2", "true", "Wild", "x", ""}));
    EXPECT_EQ(controller->usiEngines[0].options, defaults);

    ASSERT_TRUE(SetUsiOptionValues(*controller, "A", {"4", "true", "Risky", "my book.db", ""}));
    EXPECT_EQ(ReadUsiEngines(store), controller->usiEngines);
    EXPECT_EQ(ReadUsiEngines(store)[0].options[3].value, "my book.db");
    EngineCommand command;
    ASSERT_TRUE(UsiCommandOf(controller->usiEngines[0], command));
    EXPECT_EQ(command.options.size(), 4u);
}

TEST_F(UsiRegistrationTest, RenamingAndRemovingKeepNamesUnique) {
    ASSERT_TRUE(registerEngine("A", fakeEngine("resign")));
    ASSERT_TRUE(registerEngine("B", fakeEngine("resign")));
    EXPECT_FALSE(RenameUsiEngine(*controller, "A", " B "));
    EXPECT_EQ(ui.messages.back(), joined({kUsiNameTaken, "B"}));
    EXPECT_TRUE(RenameUsiEngine(*controller, "A", " C "));
    EXPECT_TRUE(RemoveUsiEngine(*controller, "B"));
    const std::vector<UsiEngineEntry> stored = ReadUsiEngines(store);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].name, "C");
    EXPECT_EQ(controller->page.engineNames.back(), "[USI] C");
}

// Another window of the same folder saves its engines in the same file:
// each change here is made on the file's list, and a failed save is told.
TEST_F(UsiRegistrationTest, ChangesKeepTheEnginesAnotherWindowSaved) {
    ASSERT_TRUE(registerEngine("A", fakeEngine("resign")));
    std::vector<UsiEngineEntry> other = ReadUsiEngines(store);
    other.push_back({"B", "engine", {}});
    WriteUsiEngines(store, other);
    ASSERT_TRUE(registerEngine("C", fakeEngine("resign")));
    other = ReadUsiEngines(store);
    other.erase(other.begin());
    WriteUsiEngines(store, other);
    EXPECT_TRUE(RenameUsiEngine(*controller, "C", "D"));
    std::vector<std::string> names;
    for (const UsiEngineEntry& entry : ReadUsiEngines(store)) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(store.values.count("UsiEngines/Name3"), 0u);
    EXPECT_EQ(controller->page.engineNames.back(), "[USI] D");

    store.failure = "設定を保存できません：NSProject.ini\n書き込む権限がありません";
    EXPECT_FALSE(RemoveUsiEngine(*controller, "B"));
    EXPECT_EQ(ui.messages, std::vector<std::string>{store.failure});
}

TEST_F(UsiRegistrationTest, ReReadingOptionsKeepsTheValuesStillAccepted) {
    ASSERT_TRUE(registerEngine("A", fakeEngine("options")));
    std::vector<UsiEngineEntry> saved = controller->usiEngines;
    std::vector<UsiOption>& options = saved[0].options;
    options[0].value = "6";
    options[2].choices = {"Gone"};
    options[2].value = "Gone";
    UsiOption old;
    ASSERT_TRUE(parseUsiOption("option name Old type check default true", old));
    options.push_back(old);
    WriteUsiEngines(store, saved);
    ASSERT_TRUE(RereadUsiOptions(*controller, "A", kTestHandshakeMs));
    const std::vector<UsiOption>& now = controller->usiEngines[0].options;
    ASSERT_EQ(now.size(), 5u);
    EXPECT_EQ(now[0].value, "6");
    EXPECT_EQ(now[2].value, "Normal");
    EXPECT_EQ(ReadUsiEngines(store), controller->usiEngines);
}

}  // namespace
}  // namespace nusari
