// The logistic fit: the positions and results it takes from games, the
// quiet ones it keeps, and a run of `tune --method fit`.
#include <gtest/gtest.h>

#include <filesystem>

#include "aik/aik_loader.h"
#include "position/regular_file.h"
#include "position/sfen.h"
#include "records/record_tree_files.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "tune/fit_positions.h"
#include "tune/tuner.h"

namespace nusari {
namespace {

namespace fs = std::filesystem;

const char* const kGame = NUSARI_DATA_DIR "/kif/fsf-fsf-001.csa";

TEST(FitPositions, EachPositionCarriesTheGamesResultForItsSideToMove) {
    auto record = std::make_unique<RecordTree>();
    ASSERT_TRUE(ReadRecordTreeFile(kGame, *record).error.empty());
    const int32_t length = record->node(record->mainLineEnd()).ply;
    ASSERT_GT(length, 20);
    // The result of the last position's side to move, which made the last ply.
    const struct {
        GameEnding ending;
        float lastMover;  // -1: no positions
    } cases[] = {
        {GameEnding::Resign, 1.0f},          {GameEnding::Mate, 1.0f},
        {GameEnding::EnteringKingWin, 0.0f}, {GameEnding::Repetition, 0.5f},
        {GameEnding::PlyLimit, 0.5f},        {GameEnding::None, -1},
        {GameEnding::Interrupt, -1},
    };
    for (const auto& c : cases) {
        record->node(record->mainLineEnd()).ending = c.ending;
        std::vector<FitPosition> positions;
        AppendFitPositions(*record, positions);
        if (c.lastMover < 0) {
            EXPECT_TRUE(positions.empty()) << static_cast<int>(c.ending);
            continue;
        }
        ASSERT_EQ(static_cast<int32_t>(positions.size()), length - 10);
        // The players' scores came along, from the side to move.
        const RecordNode& fifteenth = record->node(record->mainLine()[14]);
        EXPECT_TRUE(positions[5].hasTeacher);
        EXPECT_EQ(positions[5].teacher, (positions[5].toMove == Side::Lower ? 1 : -1) * fifteenth.score);
        EXPECT_EQ(positions.back().result, c.lastMover) << static_cast<int>(c.ending);
        EXPECT_EQ(positions[positions.size() - 2].result, 1.0f - c.lastMover);
        EXPECT_NE(positions.back().toMove, positions[positions.size() - 2].toMove);
    }
}

TEST(FitPositions, OnlyQuietPositionsStay) {
    auto engine = std::make_unique<EngineState>();
    test::FakeUi ui;
    ASSERT_EQ(LoadAik(*engine, NUSARI_DATA_DIR "/aik/探索.aik", ui), 1);
    const struct {
        const char* sfen;
        bool kept;
    } cases[] = {
        {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", true},
        {"k8/9/9/9/4r4/9/9/4R4/8K b - 1", false},   // the rook that hangs can be taken
        {"k8/9/9/9/4r4/9/9/4R4/8K w - 1", false},   // either way
        {"4k4/9/9/9/9/9/9/4r4/4K4 b - 1", false},   // in check
    };
    for (const auto& c : cases) {
        std::vector<FitPosition> positions(1);
        std::string error;
        ASSERT_TRUE(parseSfen(c.sfen, positions[0].position, positions[0].toMove, error)) << error;
        KeepQuietPositions(*engine, positions);
        EXPECT_EQ(positions.size() == 1, c.kept) << c.sfen;
    }
}

// Settings for 探索.aik on four teacher games copied into `folder`.
TuneSettings fourGames(const test::TempFolder& folder) {
    fs::create_directories(folder.path() / "games");
    for (const char* name : {"fsf-fsf-001.csa", "fsf-fsf-002.csa", "fsf-fsf-003.csa", "fsf-fsf-004.csa"}) {
        fs::copy_file(fs::path(NUSARI_DATA_DIR "/kif") / name, folder.path() / "games" / name);
    }
    TuneSettings settings;
    settings.aikPath = NUSARI_DATA_DIR "/aik/探索.aik";
    settings.kifFolder = (folder.path() / "games").string();
    return settings;
}

TEST(Tune, TheFitLowersTheErrorAndWritesAnEngineThatLoads) {
    test::TempFolder folder;
    TuneSettings settings = fourGames(folder);
    settings.outPath = (folder.path() / "fitted.aik").string();
    settings.method = TuneMethod::Fit;
    settings.holdoutPercent = 25;
    settings.rounds = 1;
    settings.evaluations = 20;
    settings.threads = 2;
    TuneOutcome outcome;
    std::string error;
    ASSERT_TRUE(RunTune(settings, nullptr, outcome, error)) << error;
    EXPECT_EQ(outcome.trainingGames, 3);
    EXPECT_GT(outcome.fit.trainingPositions, 100);
    EXPECT_GT(outcome.fit.heldOutPositions, 30);
    EXPECT_GT(outcome.fit.scale, 50);
    EXPECT_LT(outcome.fit.trainingBefore, 0.25 + 1e-9);
    EXPECT_LE(outcome.fit.trainingAfter, outcome.fit.trainingBefore);
    EXPECT_GT(outcome.fit.heldOutBefore, 0);
    auto written = std::make_unique<EngineState>();
    test::FakeUi ui;
    EXPECT_EQ(LoadAik(*written, settings.outPath, ui), 1);
    EXPECT_EQ(written->profile.tansaku, 1);
}

// The king-piece fit writes its "set ou[" blocks once, and a fit of the
// written file rewrites them in place.
TEST(Tune, TheKingPieceFitWritesItsTablesOnceAndRefitsThemInPlace) {
    test::TempFolder folder;
    TuneSettings settings = fourGames(folder);
    settings.method = TuneMethod::KingPiece;
    settings.holdoutPercent = 25;
    settings.epochs = 5;
    settings.threads = 2;
    for (const char* out : {"first.aik", "second.aik"}) {
        settings.outPath = (folder.path() / out).string();
        TuneOutcome outcome;
        std::string error;
        ASSERT_TRUE(RunTune(settings, nullptr, outcome, error)) << error;
        EXPECT_GT(outcome.parameters, 5000);
        EXPECT_GT(outcome.fit.heldOutPositions, 20);
        EXPECT_LT(outcome.fit.trainingAfter, 0.25);
        auto written = std::make_unique<EngineState>();
        test::FakeUi ui;
        ASSERT_EQ(LoadAik(*written, settings.outPath, ui), 1);
        EXPECT_TRUE(written->kingPieceTables.present);
        EXPECT_EQ(written->profile.tansaku, 1);
        std::string text;
        ASSERT_EQ(readRegularFile(settings.outPath, 1 << 22, text), FileRead::Ok);
        int32_t blocks = 0;
        for (std::size_t at = text.find("\nset ou["); at != std::string::npos; at = text.find("\nset ou[", at + 1)) {
            ++blocks;
        }
        EXPECT_EQ(blocks, 27) << out;
        settings.aikPath = settings.outPath;
    }
}

}  // namespace
}  // namespace nusari
