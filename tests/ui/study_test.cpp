// 検討 in the window's controller with the fake USI engine: the panes and
// arrows of the position shown, the score's sign, a line previewed on the
// board and taken into the record, and an engine that fails.
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "position/position.h"
#include "settings/usi_engines.h"
#include "study/study_texts.h"
#include "think/clock.h"
#include "ui/ui_texts.h"
#include "ui_test_support.h"

namespace nusari::test {
namespace {

constexpr const char* kKif =
    "手合割：平手\n先手：甲\n後手：乙\n手数----指手---------消費時間--\n"
    "   1 ７六歩(77)   ( 0:01/00:00:01)\n"
    "   2 ３四歩(33)   ( 0:02/00:00:02)\n";

class StudyTest : public ControllerTest {
  protected:
    void SetUp() override {
        ControllerTest::SetUp();
        std::string fake = "bash \"";
        fake += NUSARI_FAKE_ENGINE;
        WriteUsiEngines(store, {UsiEngineEntry{"Study", fake + "\" study", {}},
                                UsiEngineEntry{"Crash", fake + "\" crash", {}},
                                UsiEngineEntry{"Silent", fake + "\" silent", {}},
                                UsiEngineEntry{"Garbage", fake + "\" garbage", {}}});
        ASSERT_EQ(controller->StartUp(), 1);
        controller->OpenRecordFile(folder.writeBytes("study.kifu", kKif));
    }
    void TearDown() override {
        controller->StopStudy();
        EXPECT_TRUE(LiveAnalyser::WaitForEnded(8000));
    }
    // Ticks as the window's timer does until the first pane has `rows`
    // lines (or an error).
    StudyPaneView waitForRows(size_t rows) {
        const int64_t deadline = nowMs() + 10000;
        for (;;) {
            controller->OnStudyTick();
            const std::vector<StudyPaneView> panes = controller->ShownStudy();
            if (panes.empty()) return {};
            if (panes[0].rows.size() == rows || !panes[0].error.empty() || nowMs() > deadline) return panes[0];
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

TEST_F(StudyTest, TheEngineAnalysesThePositionShownWithArrowsAndTheScoresSign) {
    ASSERT_TRUE(controller->StartStudy({"USI:Study"}));
    EXPECT_FALSE(controller->StartStudy({"USI:Study"}));  // one 検討 at a time
    StudyPaneView pane = waitForRows(3);
    ASSERT_EQ(pane.rows.size(), 3u) << pane.error;
    EXPECT_EQ(pane.title, "Study");
    EXPECT_EQ(pane.rows[0].score, "+70");
    EXPECT_EQ(pane.rows[0].line, "▲２六歩△８四歩");
    EXPECT_EQ(pane.status, "深さ 10/14  ノード 5,000  NPS 50,000  ハッシュ 0.7%");
    const std::vector<SceneArrow> arrows = controller->ComposeScene().arrows;
    ASSERT_EQ(arrows.size(), 3u);
    EXPECT_EQ(arrows[0].label, "+70");
    EXPECT_EQ(arrows[0].from, (PicturePoint{615 - 48 * 2 + 24, 48 * 7 - 15 + 24}));

    // 後手 to move: 先手's side by default, else the side to move's.
    controller->ReplayTo(1);
    pane = waitForRows(3);
    ASSERT_EQ(pane.rows.size(), 3u);
    EXPECT_EQ(pane.rows[0].score, "-70");
    EXPECT_EQ(pane.rows[0].line, "△８四歩▲２六歩");
    // The graph keeps 検討's best score of each ply shown, from 先手's side.
    EXPECT_EQ(controller->ShownEvaluation(false).studied, (std::vector<GraphPoint>{{0, 70}, {1, -70}}));
    controller->SetStudyScoreFromSente(false);
    EXPECT_EQ(controller->ShownStudy()[0].rows[0].score, "+70");
    EXPECT_EQ(ReadAnalysisPrefs(store).scoreFromSente, false);
    controller->SetStudyLineCount(1);
    EXPECT_EQ(waitForRows(1).rows.size(), 1u);

    // A game ends 検討.
    controller->page.presetRow = kPresetEven;
    controller->StartGame();
    EXPECT_FALSE(controller->Studying());
}

TEST_F(StudyTest, ALineIsPreviewedOnTheBoardAndTakenIntoTheRecord) {
    ASSERT_TRUE(controller->StartStudy({"USI:Study"}));
    ASSERT_EQ(waitForRows(3).rows.size(), 3u);
    controller->PreviewStudyLine(0, 0);
    EXPECT_TRUE(controller->Previewing());
    const auto shownAt = [&](int32_t square) {
        for (const Sprite& s : controller->ComposeScene().sprites) {
            const PicturePoint at = SquareOrigin(square);
            if (s.x == at.x && s.y == at.y) return s.image;
        }
        return -1;
    };
    EXPECT_EQ(shownAt(26), ImageIndexOf(kLowerPawn));
    EXPECT_EQ(shownAt(84), -1);
    controller->OnReplayKey(ReplayStep::Forward);
    EXPECT_EQ(shownAt(84), ImageIndexOf(kUpperPawn));
    EXPECT_EQ(gameFields().plyCount, 0);  // the record stays where it was
    controller->EndPreview();
    EXPECT_EQ(shownAt(26), -1);

    ASSERT_TRUE(controller->InsertStudyLine(0, 0, GameController::LineInsert::Comment));
    const std::string comment = controller->ShownComment();
    EXPECT_NE(comment.find("#評価値=70\n#読み筋=▲２六歩△８四歩\n#深さ=10\n#エンジン=Study"),
              std::string::npos)
        << comment;
    ASSERT_TRUE(controller->InsertStudyLine(0, 0, GameController::LineInsert::Branch));
    EXPECT_TRUE(controller->RecordChanged());
    EXPECT_EQ(controller->ShownMoveList().lines.size(), 3u);  // 開始局面, ２六歩, ８四歩
    EXPECT_EQ(controller->tree.node(kRootNode).children.size(), 2u);
    EXPECT_EQ(gameFields().plyCount, 0);
}

// An .aik analyser's lines are explained against the best line, and the
// best line against the move the record plays next.
TEST_F(StudyTest, AnAikEnginesLinesAreExplained) {
    ASSERT_TRUE(controller->StartStudy({(folder.path() / "aik" / "標準.aik").string()}));
    ASSERT_EQ(waitForRows(3).rows.size(), 3u);
    EXPECT_TRUE(controller->ShownStudy()[0].aik);
    const MoveExplanation second = controller->ExplainStudyLine(0, 1);
    ASSERT_TRUE(second.error.empty()) << second.error;
    EXPECT_EQ(second.otherName, "最善手");
    EXPECT_EQ(second.rows.back().term, "合計");
    const MoveExplanation best = controller->ExplainStudyLine(0, 0);
    ASSERT_TRUE(best.error.empty()) << best.error;
    EXPECT_TRUE(best.otherName == "実戦の手" ? best.otherText == "▲７六歩" : best.otherName == "次善手")
        << best.otherName << " " << best.otherText;
    EXPECT_FALSE(controller->ExplainStudyLine(0, 7).error.empty());
}

TEST_F(StudyTest, AnEngineThatFailsIsToldInItsPaneAndTheOthersGoOn) {
    ASSERT_TRUE(controller->StartStudy({"USI:Crash", "USI:Study", "USI:Missing"}));
    EXPECT_EQ(ui.messages.size(), 1u);  // the engine that is not registered
    const int64_t deadline = nowMs() + 10000;
    std::vector<StudyPaneView> panes;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        controller->OnStudyTick();
        panes = controller->ShownStudy();
    } while ((panes[0].error.empty() || panes[1].rows.size() < 3) && nowMs() < deadline);
    ASSERT_EQ(panes.size(), 2u);
    EXPECT_EQ(panes[0].error, kStudyEngineEnded);
    EXPECT_EQ(panes[1].rows.size(), 3u);
}

// 棋譜解析 with an engine that dies, stays silent or answers garbage ends
// with a message, the record as it was, the window free again.
TEST_F(StudyTest, EngineFaultsDuringARecordAnalysisAreReported) {
    for (const char* name : {"Crash", "Silent", "Garbage"}) {
        ui.messages.clear();
        RecordAnalysisRequest request;
        request.enginePath = std::string("USI:") + name;
        request.moveTimeMs = 100;
        ASSERT_TRUE(controller->StartRecordAnalysis(request));
        EXPECT_FALSE(controller->RecordAnalysing());
        ASSERT_EQ(ui.messages.size(), 1u) << name;
        EXPECT_EQ(ui.messages[0].rfind(kAnalysisNoScore, 0), 0u) << ui.messages[0];
        EXPECT_EQ(controller->ShownComment(), "");
        EXPECT_FALSE(controller->RecordChanged());
    }
}

}  // namespace
}  // namespace nusari::test
