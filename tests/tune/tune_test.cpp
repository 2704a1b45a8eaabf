#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "aik/aik_loader.h"
#include "aik/aik_rewrite.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "tune/teacher_split.h"
#include "tune/tuner.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

TEST(TeacherSplit, HoldsOutAnEvenShareThatDependsOnlyOnTheFiles) {
    struct Case {
        int32_t files;
        int32_t percent;
        std::vector<std::string> heldOut;
    };
    const Case cases[] = {
        {10, 20, {"f00", "f05"}},
        {10, 0, {}},
        {4, 20, {"f00"}},
        {7, 50, {"f00", "f02", "f04", "f06"}},
        {3, 100, {"f00", "f01", "f02"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> files;
        for (int32_t i = 0; i < c.files; ++i) files.push_back("f0" + std::to_string(i));
        const TeacherSplit split = SplitTeacherGames(files, c.percent);
        EXPECT_EQ(split.heldOut, c.heldOut) << c.files << " " << c.percent;
        EXPECT_EQ(split.training.size() + split.heldOut.size(), files.size());
        std::reverse(files.begin(), files.end());
        std::rotate(files.begin(), files.begin() + c.files / 3, files.end());
        const TeacherSplit again = SplitTeacherGames(files, c.percent);
        EXPECT_EQ(again.heldOut, split.heldOut);
        EXPECT_EQ(again.training, split.training);
    }
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TuneSettings quickSettings(const fs::path& out) {
    TuneSettings settings;
    settings.aikPath = NUSARI_DATA_DIR "/aik/標準.aik";
    settings.kifFolder = NUSARI_DATA_DIR "/openings";
    settings.outPath = out.string();
    settings.groups = {"pieces", "bonus"};
    settings.holdoutPercent = 25;
    settings.rounds = 1;
    settings.evaluations = 12;
    settings.threads = 2;
    return settings;
}

TEST(Tune, ARoundOnTheOpeningRecordsWritesAnEngineThatLoadsWhereItIsWritten) {
    test::TempFolder folder;
    const fs::path out = folder.path() / "mine.aik";
    const TuneSettings settings = quickSettings(out);
    TuneOutcome outcome;
    std::string error;
    ASSERT_TRUE(RunTune(settings, nullptr, outcome, error)) << error;
    EXPECT_EQ(outcome.trainingGames, 3);
    EXPECT_EQ(outcome.heldOutGames, 1);
    EXPECT_GT(outcome.heldOutBefore.positions, 0);
    EXPECT_LE(outcome.evaluations, 12);
    EXPECT_LE(outcome.trainingAfter.score, outcome.trainingBefore.score);

    // The book and messages the engine names came along, unchanged.
    const std::vector<std::string> copied{(folder.path() / "hyoujun.jsk").string(),
                                          (folder.path() / "hyoujun.txk").string()};
    EXPECT_EQ(outcome.copied, copied);
    for (const char* name : {"hyoujun.jsk", "hyoujun.txk"}) {
        EXPECT_EQ(fileBytes((folder.path() / name).string()),
                  fileBytes(std::string(NUSARI_DATA_DIR "/aik/") + name));
    }
    // The written file loads, with the same numbers in the same places as
    // the input apart from the values.
    auto state = std::make_unique<EngineState>();
    test::FakeUi ui;
    ASSERT_EQ(LoadAik(*state, out.string(), ui), 1);
    std::vector<AikNumber> before;
    std::vector<AikNumber> after;
    ASSERT_TRUE(LocateAikNumbers(settings.aikPath, fileBytes(settings.aikPath), before));
    ASSERT_TRUE(LocateAikNumbers(settings.aikPath, fileBytes(out.string()), after));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) ASSERT_TRUE(SameField(before[i], after[i])) << i;

    // Again into the same folder: the books there are the same, so they stay.
    TuneSettings again = settings;
    again.evaluations = 1;
    ASSERT_TRUE(RunTune(again, nullptr, outcome, error)) << error;
    EXPECT_TRUE(outcome.copied.empty());
}

// Every refusal comes before the run and writes nothing.
TEST(Tune, WhatWouldEndInAnUnusableFileIsRefusedFirst) {
    struct Case {
        const char* what;
        void (*prepare)(const test::TempFolder& folder, TuneSettings& settings);
        const char* said;
    };
    const Case cases[] = {
        {"another book of the name beside the output",
         [](const test::TempFolder& f, TuneSettings&) { f.writeBytes("hyoujun.jsk", "mine"); },
         "differs"},
        {"no such output folder",
         [](const test::TempFolder& f, TuneSettings& s) {
             s.outPath = (f.path() / "none" / "mine.aik").string();
         },
         "there is no folder"},
        {"an engine whose book is missing",
         [](const test::TempFolder& f, TuneSettings& s) {
             s.aikPath = f.writeBytes("in/e.aik", "ver=0.0.2\r\nzyouseki=gone\r\nhukasa=5\r\n");
         },
         "gone.jsk"},
        {"an unknown parameter group",
         [](const test::TempFolder&, TuneSettings& s) { s.groups = {"pieces", "hukasa"}; },
         "hukasa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        TuneSettings settings = quickSettings(folder.path() / "mine.aik");
        c.prepare(folder, settings);
        TuneOutcome outcome;
        std::string error;
        EXPECT_FALSE(RunTune(settings, nullptr, outcome, error));
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(settings.outPath));
        EXPECT_EQ(outcome.evaluations, 0);
    }
}

}  // namespace
}  // namespace nusari
