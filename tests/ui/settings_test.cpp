// The settings file, the settings page, start-up and shut-down.
#include <random>

#include "think/hash_tables.h"
#include "ui/play_prefs.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari {
namespace {

using test::ControllerTest;
using test::MemoryStore;

TEST(Settings, IniIntegers) {
    EXPECT_EQ(ParseIniInteger("40009"), 40009);
    EXPECT_EQ(ParseIniInteger(" -12 \r"), -12);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
    for (const char* bad : {"", " ", "12a", "0x10", "1.5", "2147483648", "--1", "+-1", "1 2"}) {
        EXPECT_EQ(ParseIniInteger(bad), std::nullopt) << bad;
    }
}

TEST(Settings, MissingOrMalformedValuesGiveTheDefaults) {
    MemoryStore store;
    EXPECT_EQ(ReadSettings(store), Settings{});
    store.values = {
        {"Form/Top", "120"}, {"Form/Left", "-30"},           {"Aik/MaxTime", "abc"},
        {"Aik/Hash", "0"},   {"Aik/IsControlTime_CSA", "1"}, {"Rs232c/PortName", "LAN"},
        {"Form/Width", "-5"}, {"Form/Height", "900"}};
    const Settings s = ReadSettings(store);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 900);
    EXPECT_EQ(s.top, 120);
    EXPECT_EQ(s.left, -30);
    EXPECT_EQ(s.maxTime, 10000);
    EXPECT_EQ(s.hash, 40009);
    EXPECT_EQ(s.csaTimeMode, 1);
    EXPECT_EQ(s.portName, "LAN");
}

TEST(Settings, WrittenValuesReadBack) {
    MemoryStore store;
    Settings s;
    s.top = 33;
    s.left = 44;
    s.width = 1600;
    s.height = 1000;
    s.maxTime = 0;
    s.hash = 7;
    s.csaTimeMode = 1;
    s.portName = "USB0";
    WriteSettings(store, s);
    EXPECT_EQ(store.flushes, 1);
    EXPECT_EQ(ReadSettings(store), s);
}

TEST(Settings, RandomValuesNeverBreakTheReader) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        MemoryStore store;
        for (const char* key : {"Form/Top", "Aik/MaxTime", "Aik/Hash", "Rs232c/PortName"}) {
            std::string v(random() % 12, '\0');
            for (char& c : v) c = static_cast<char>(random() % 256);
            store.values[key] = v;
        }
        const Settings s = ReadSettings(store);
        EXPECT_GE(s.hash, 1);
        EXPECT_GE(s.maxTime, 0);
    }
}

// The new-game page's clocks and rules come back at the next start; values
// that are no clock leave the page's own.
TEST(Settings, PlayPrefsReadBackAndRefuseNonsense) {
    MemoryStore store;
    NewGamePage page;
    page.clocks[0] = clockOf(5 * 60000, 0, 10000);
    page.clocks[1] = clockOf(60000, 30000, 0);
    page.clockRow = kClockCustom;
    page.refuseFouls = true;
    ASSERT_TRUE(WritePlayPrefs(store, page));
    NewGamePage read;
    ReadPlayPrefs(store, read);
    EXPECT_EQ(read.clockRow, kClockCustom);
    EXPECT_EQ(read.clocks[0], page.clocks[0]);
    EXPECT_EQ(read.clocks[1], page.clocks[1]);
    EXPECT_TRUE(read.refuseFouls);
    for (const char* bad : {"", "1,2", "1,2,3,4", "-1,0,0", "0,1000,1000", "x,0,0", "360000000,0,0"}) {
        store.values["Game/SenteClock"] = bad;
        store.values["Game/ClockRow"] = "99";
        NewGamePage fresh;
        ReadPlayPrefs(store, fresh);
        EXPECT_EQ(fresh.clocks[0], NewGamePage{}.clocks[0]) << bad;
        EXPECT_EQ(fresh.clockRow, kClockPerMove) << bad;
    }
}

TEST(Settings, IsNumericLooksAtTheFirst32Characters) {
    EXPECT_TRUE(IsNumeric("0"));
    EXPECT_TRUE(IsNumeric("0000000"));
    EXPECT_TRUE(IsNumeric(std::string(32, '9') + "x"));
    for (const char* bad : {"", "12a5", "+5", "-5", " 5", "5 ", "5.0", "５"}) {
        EXPECT_FALSE(IsNumeric(bad)) << bad;
    }
    EXPECT_EQ(NumericValue("0042"), 42);
    EXPECT_EQ(NumericValue("99999999"), 99999999);
    EXPECT_EQ(NumericValue(std::string(32, '9') + "x"), std::nullopt);
    EXPECT_EQ(NumericValue("4294967296"), std::nullopt);
}

class SettingsPageTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        ASSERT_EQ(controller->StartUp(), 1);
        controller->ShowPages();
        ui.events.clear();
    }
};

TEST_F(SettingsPageTest, ShowingThePagesFillsTheEditsWithoutCountingAChange) {
    EXPECT_EQ(controller->settingsPage.timeLimit, "10000");
    EXPECT_EQ(controller->settingsPage.hash, "1009");
    EXPECT_EQ(controller->settingsPage.portName, "COM1");
    EXPECT_EQ(controller->settingsPage.randomSeed, std::to_string(controller->randomSeed));
    EXPECT_FALSE(controller->settingsPage.okEnabled);
    EXPECT_TRUE(controller->pagesVisible);
    controller->SettingsEdited(SettingsEdit::PortName, "COM2");
    EXPECT_TRUE(controller->settingsPage.okEnabled);
}

TEST_F(SettingsPageTest, LeavingANumberEditWithNoNumberRestoresIt) {
    struct Case {
        SettingsEdit edit;
        const char* text;
        std::string restored;
    };
    const Case cases[] = {
        {SettingsEdit::TimeLimit, "12a5", "10000"},
        {SettingsEdit::Hash, "0000000", "1009"},  // a hash array of no entries
        {SettingsEdit::Hash, "", "1009"},
        {SettingsEdit::RandomSeed, "-1", std::to_string(controller->randomSeed)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui.events.clear();
        controller->SettingsEdited(c.edit, c.text);
        controller->LeaveNumberEdit(c.edit);
        EXPECT_EQ(ui.events,
                  (std::vector<std::string>{"sound:2", "message:数値を設定して下さい", "pages"}));
        EXPECT_TRUE(controller->settingsPage.okEnabled);
    }
    EXPECT_EQ(controller->settingsPage.timeLimit, "10000");
    EXPECT_EQ(controller->settingsPage.hash, "1009");

    ui.events.clear();
    controller->SettingsEdited(SettingsEdit::TimeLimit, "0");
    controller->LeaveNumberEdit(SettingsEdit::TimeLimit);
    controller->LeaveNumberEdit(SettingsEdit::PortName);
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(SettingsPageTest, OkAppliesTheValuesAndShowsThem) {
    controller->SettingsEdited(SettingsEdit::TimeLimit, "3000");
    controller->SettingsEdited(SettingsEdit::Hash, "2003");
    controller->SettingsEdited(SettingsEdit::PortName, "LAN");
    controller->SettingsEdited(SettingsEdit::RandomSeed, "123");
    controller->SettingsOk();
    EXPECT_EQ(engine().timeLimitMs, 3000);
    EXPECT_EQ(engine().hashEntryCount, 2003);
    EXPECT_NE(engine().positionMemory, nullptr);
    EXPECT_EQ(controller->portName, "LAN");
    EXPECT_EQ(controller->randomSeed, 123);
    EXPECT_FALSE(controller->pagesVisible);
    EXPECT_EQ(
        ui.panelText(),
        "NusarSyougi  Ver91\n\n\n\n\n\n\n SystemInformation\n\n  MaxTime = 3000\n  Hash = 2003"
        "\n  PortName = LAN\n  RandomSeed = 123");
}

TEST_F(SettingsPageTest, TheSameSeedReplaysTheSameRandomSequence) {
    controller->SettingsEdited(SettingsEdit::RandomSeed, "77");
    controller->SettingsOk();
    const uint32_t first = engine().randomState;
    controller->ShowPages();
    controller->SettingsEdited(SettingsEdit::RandomSeed, "77");
    engine().randomState = 5;
    controller->SettingsOk();
    EXPECT_EQ(engine().randomState, first);
}

TEST_F(SettingsPageTest, AFailedAllocationFallsBackToTheSavedHash) {
    store.values["Aik/Hash"] = "5003";
    std::vector<int32_t> tried;
    int failures = 1;
    controller->allocHash = [&](EngineState& e, Ui& u) {
        tried.push_back(e.hashEntryCount);
        if (failures-- > 0) {
            showError(u, "ハッシュ表の確保に失敗");
            return -1;
        }
        return AllocHashTables(e, u);
    };
    controller->SettingsEdited(SettingsEdit::Hash, "9999999");
    EXPECT_EQ(controller->ApplySettings(), 1);
    EXPECT_EQ(tried, (std::vector<int32_t>{9999999, 5003}));
    EXPECT_EQ(ui.messages.back(), "再設定します Hash = 5003");
    EXPECT_EQ(engine().hashEntryCount, 5003);

    // When the saved size fails too, the window closes.
    failures = 2;
    EXPECT_EQ(controller->ApplySettings(), -1);
    EXPECT_EQ(ui.events.back(), "close");
}

TEST_F(SettingsPageTest, OkIsIgnoredWhileAGameRuns) {
    controller->gameState = GameState::ComputerThinking;
    controller->SettingsEdited(SettingsEdit::Hash, "2003");
    controller->SettingsOk();
    EXPECT_EQ(engine().hashEntryCount, 1009);
}

TEST_F(ControllerTest, StartUpWithoutASettingsFile) {
    store.values.clear();
    ASSERT_EQ(controller->StartUp(), 1);
    EXPECT_EQ(engine().timeLimitMs, 10000);
    EXPECT_EQ(engine().hashEntryCount, 40009);
    EXPECT_EQ(controller->portName, "COM1");
    EXPECT_GE(controller->randomSeed, 0);
    EXPECT_LE(controller->randomSeed, 999);
    EXPECT_EQ((std::pair{controller->windowTop, controller->windowLeft}), (std::pair{0, 0}));
    EXPECT_EQ(controller->page.presetRow, kPresetEven);
    EXPECT_EQ(controller->page.engineNames, std::vector<std::string>{"標準"});
    EXPECT_EQ(controller->page.engineRow, 0);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    const std::string info = ui.panelText();
    EXPECT_EQ(info.rfind("NusarSyougi  Ver91\n", 0), 0u);
    EXPECT_NE(info.find("\n  MaxTime = 10000\n  Hash = 40009\n  PortName = COM1\n  RandomSeed = "),
              std::string::npos);
    EXPECT_EQ(ui.events.back(), "draw");
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(), "controls:0"), 1);
}

TEST_F(ControllerTest, StartUpWithoutAnAikFolderEndsTheProgram) {
    std::filesystem::remove_all(folder.path() / "aik");
    EXPECT_EQ(controller->StartUp(), -1);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"aikフォルダが存在しません"});
    EXPECT_EQ(ui.sounds.front(), Sound::Message);
    // The remaining steps still ran.
    EXPECT_EQ(ui.events.back(), "draw");
}

TEST_F(ControllerTest, StartUpWithoutHashArraysEndsTheProgram) {
    controller->allocHash = [](EngineState&, Ui&) { return -1; };
    EXPECT_EQ(controller->StartUp(), -1);
}

TEST_F(ControllerTest, ClosingAsksDuringAGameAndIsRefusedWhileTheComputerThinks) {
    ASSERT_EQ(controller->StartUp(), 1);
    EXPECT_TRUE(controller->CloseQuery());
    EXPECT_TRUE(ui.questions.empty());
    controller->gameState = GameState::LowerToMove;
    ui.answers = {false, true};
    EXPECT_FALSE(controller->CloseQuery());
    EXPECT_TRUE(controller->CloseQuery());
    EXPECT_EQ(ui.questions, (std::vector<std::string>(2, "対局中です\n終了しますか？")));
    controller->gameState = GameState::ComputerThinking;
    EXPECT_FALSE(controller->CloseQuery());
    EXPECT_EQ(ui.questions.size(), 2u);
}

TEST_F(ControllerTest, ShutDownRewritesTheSettingsKeepingOtherKeys) {
    store.values["Lan/Host"] = "example";
    store.values["Aik/IsControlTime_CSA"] = "1";
    ASSERT_EQ(controller->StartUp(), 1);
    // The time limit saved is the current one, as the CSA time mode left it.
    engine().timeLimitMs = 30000;
    controller->ShutDown(80, 160);
    EXPECT_EQ(engine().positionMemory, nullptr);
    EXPECT_EQ(store.values["Form/Top"], "80");
    EXPECT_EQ(store.values["Form/Left"], "160");
    EXPECT_EQ(store.values["Aik/MaxTime"], "30000");
    EXPECT_EQ(store.values["Aik/Hash"], "1009");
    EXPECT_EQ(store.values["Aik/IsControlTime_CSA"], "1");
    EXPECT_EQ(store.values["Rs232c/PortName"], "COM1");
    EXPECT_EQ(store.values["Lan/Host"], "example");
    EXPECT_EQ(store.flushes, 1);
}

// Only what changed since start-up is set: another window's saves stay, and
// a save that fails is told.
TEST_F(ControllerTest, ShutDownSavesOnlyWhatChangedAndTellsAFailure) {
    store.values["Aik/MaxTime"] = "20000";
    ASSERT_EQ(controller->StartUp(), 1);
    store.values["Aik/MaxTime"] = "30000";
    store.failure = "設定を保存できません：/x/NSProject.ini\nディスクの空き容量が足りません";
    controller->ShutDown(80, 0);
    EXPECT_EQ(store.values["Aik/MaxTime"], "30000");
    EXPECT_EQ(store.values["Form/Top"], "80");
    EXPECT_EQ(ui.messages, std::vector<std::string>{store.failure});
}

}  // namespace
}  // namespace nusari
