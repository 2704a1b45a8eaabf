// The record's tree in the window: variations marked and followed, made
// main, reordered and deleted, comments shown and edited, a game continued
// from a ply playing on in a branch, and changes offered for saving.
#include <filesystem>
#include <string>
#include <vector>

#include "position/position.h"
#include "position/setup.h"
#include "ui_test_support.h"

namespace nusari::test {
namespace {

// 7六歩 3四歩 2六歩 8四歩, with 6六歩 as the alternative third move, and
// comments at the start and after the first move.
constexpr const char* kKif =
    "手合割：平手\n先手：甲\n後手：乙\n手数----指手---------消費時間--\n"
    "*開始の注釈\n"
    "   1 ７六歩(77)   ( 0:01/00:00:01)\n"
    "*初手の注釈\n"
    "   2 ３四歩(33)   ( 0:02/00:00:02)\n"
    "   3 ２六歩(27)   ( 0:01/00:00:02)+\n"
    "   4 ８四歩(83)   ( 0:01/00:00:03)\n"
    "\n変化：3手\n"
    "   3 ６六歩(67)   ( 0:01/00:00:02)\n";

class RecordBranchesTest : public ControllerTest {
  protected:
    void open() {
        ASSERT_EQ(controller->StartUp(), 1);
        path = folder.writeBytes("branches.kifu", kKif);
        controller->OpenRecordFile(path);
        ASSERT_EQ(record().length, 4);
    }
    std::vector<std::string> branches() const { return controller->ShownBranches().lines; }
    std::string path;
};

TEST_F(RecordBranchesTest, VariationsAreMarkedFollowedAndEdited) {
    open();
    std::vector<std::string> lines = controller->ShownMoveList().lines;
    EXPECT_EQ(lines[3].substr(lines[3].size() - 2), " +");
    EXPECT_EQ(lines[2].find('+'), std::string::npos);
    EXPECT_EQ(controller->ShownComment(), "開始の注釈");
    controller->ReplayTo(1);
    EXPECT_EQ(controller->ShownComment(), "初手の注釈");
    EXPECT_TRUE(branches().empty());

    controller->ReplayTo(3);
    EXPECT_EQ(branches(), (std::vector<std::string>{"▲２六歩", "▲６六歩"}));
    controller->SelectBranch(1);
    EXPECT_EQ(controller->ShownBranches().currentRow, 1);
    EXPECT_EQ(record().length, 3);
    EXPECT_EQ(gameFields().plyCount, 3);
    EXPECT_EQ(board()[66], kLowerPawn);
    EXPECT_EQ(board()[67], kEmpty);
    EXPECT_FALSE(controller->RecordChanged());

    controller->EditComment("６六歩も有力");
    EXPECT_EQ(controller->ShownComment(), "６六歩も有力");
    EXPECT_TRUE(controller->RecordChanged());

    // Made the main line, then moved back down, then deleted after the question.
    controller->PromoteBranch();
    EXPECT_EQ(branches(), (std::vector<std::string>{"▲６六歩", "▲２六歩"}));
    controller->MoveBranch(+1);
    EXPECT_EQ(branches(), (std::vector<std::string>{"▲２六歩", "▲６六歩"}));
    ui.answers = {false};
    controller->DeleteBranch();
    EXPECT_EQ(branches().size(), 2u);
    ui.answers = {true};
    controller->DeleteBranch();
    EXPECT_EQ(gameFields().plyCount, 2);
    EXPECT_EQ(record().length, 4);
    EXPECT_EQ(controller->tree.nodeCount(), 5);
    lines = controller->ShownMoveList().lines;
    EXPECT_EQ(lines[3].find('+'), std::string::npos);
}

// While no game runs a move on the board at the shown ply follows the
// record's branch of that move, or adds a branch and shows it.
TEST_F(RecordBranchesTest, AMoveOnTheBoardInReplayFollowsOrAddsABranch) {
    open();
    struct Case {
        int32_t shownPly;
        bool turnedByHand;
        int32_t from, to;
        int32_t plyAfter;  // the move not made: the shown ply
        int32_t lineLength;
        std::vector<std::string> branches;
        int32_t nodes;
    } cases[] = {
        {2, false, 27, 26, 3, 4, {"▲２六歩", "▲６六歩"}, 6},              // the main line's
        {2, false, 67, 66, 3, 3, {"▲２六歩", "▲６六歩"}, 6},              // the variation's
        {2, false, 17, 16, 3, 3, {"▲２六歩", "▲６六歩", "▲１六歩"}, 7},  // a new branch
        {1, false, 83, 84, 2, 2, {"△３四歩", "△８四歩"}, 8},              // 後手's move
        {1, false, 83, 85, 1, 2, {}, 8},                                    // no such move
        {0, true, 77, 76, 1, 4, {}, 8},                                     // turned by hand
    };
    for (const Case& c : cases) {
        controller->ReplayTo(c.shownPly);
        controller->viewTurned = c.turnedByHand;
        const auto shown = [&](int32_t square) { return c.turnedByHand ? flipSquare(square) : square; };
        move(shown(c.from), shown(c.to));
        EXPECT_EQ(gameFields().plyCount, c.plyAfter) << c.from << c.to;
        EXPECT_EQ(record().length, c.lineLength) << c.from << c.to;
        EXPECT_EQ(branches(), c.branches) << c.from << c.to;
        EXPECT_EQ(controller->tree.nodeCount(), c.nodes) << c.from << c.to;
    }
    EXPECT_TRUE(controller->RecordChanged());
    std::vector<std::string> lines = controller->ShownMoveList().lines;
    EXPECT_EQ(lines[2].substr(lines[2].size() - 2), " +");
    // A move made on the board has no time to show.
    controller->ReplayTo(2);
    controller->SelectBranch(1);
    lines = controller->ShownMoveList().lines;
    EXPECT_EQ(lines[2], "  2 △８四歩 +");
    EXPECT_NE(lines[1].find("0:01"), std::string::npos);
}

TEST_F(RecordBranchesTest, AGameContinuedFromAPlyPlaysOnInABranch) {
    open();
    controller->ReplayTo(2);
    controller->page.presetRow = kPresetContinue;
    controller->StartGame();
    // 1六歩; the computer's empty script resigns.
    move(17, 16);
    ASSERT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_EQ(record().length, 3);
    EXPECT_EQ(gameFields().plyCount, 3);
    EXPECT_EQ(branches(), (std::vector<std::string>{"▲２六歩", "▲６六歩", "▲１六歩"}));
    EXPECT_EQ(controller->ShownBranches().currentRow, 2);
    EXPECT_EQ(controller->tree.node(controller->tree.lineEndFrom(controller->tree.node(kRootNode).children[0]))
                  .move,
              (Move{83, 84}));
}

// The computer's score of each move it played stays in the record, from
// 先手's side, for the graph and the CSA file; a book move has none.
TEST_F(RecordBranchesTest, TheComputersScoresOfAGameStayInTheRecord) {
    controller->think = [](EngineState&, const ThinkRequest& request, ThinkObserver& observer) {
        ThinkResult result;
        const bool first = request.position[33] == kUpperPawn;
        result.end = first ? ThinkEnd::Searched : ThinkEnd::Book;
        result.score = 120;
        observer.onResult(result);
        return first ? Move{33, 34} : Move::resign();
    };
    startGame(kPresetEven, false);
    move(77, 76);
    move(27, 26);
    ASSERT_EQ(controller->gameState, GameState::NoGame);
    const std::vector<NodeId> line = controller->tree.mainLine();
    ASSERT_EQ(line.size(), 3u);
    EXPECT_FALSE(controller->tree.node(line[0]).hasScore);  // the human's
    EXPECT_TRUE(controller->tree.node(line[1]).hasScore);
    EXPECT_EQ(controller->tree.node(line[1]).score, -120);  // good for 後手
    EXPECT_EQ(controller->ShownEvaluation(false).played, (std::vector<GraphPoint>{{2, -120}}));
}

// 棋譜解析 runs on the worker thread with a copy of the record, which is not
// edited meanwhile; its comments then come into the record. A stop keeps
// what was judged.
TEST_F(RecordBranchesTest, ARecordAnalysisCommentsTheLineShown) {
    open();
    std::function<void(Ui&)> work;
    std::function<void()> done;
    controller->runThink = [&](std::function<void(Ui&)> w, std::function<void()> d) {
        work = std::move(w);
        done = std::move(d);
    };
    RecordAnalysisRequest request;
    request.enginePath = (folder.path() / "aik" / "標準.aik").string();
    request.moveTimeMs = 100;
    for (const bool stopped : {true, false}) {
        ASSERT_TRUE(controller->StartRecordAnalysis(request));
        EXPECT_FALSE(controller->StartRecordAnalysis(request));  // one at a time
        controller->EditComment("解析中の編集");
        EXPECT_EQ(controller->ShownComment(), "開始の注釈");
        if (stopped) controller->StopRecordAnalysis();
        work(ui);
        done();
        EXPECT_FALSE(controller->RecordAnalysing());
        const std::string ply3 = controller->tree.node(controller->tree.mainLine()[2]).comment;
        // What the engine finds in 100 ms depends on the machine: only that it judged.
        EXPECT_EQ(ply3.find("#評価値=") == std::string::npos, stopped) << ply3;
        EXPECT_EQ(ui.panelText().rfind(stopped ? "棋譜解析を中止しました" : "棋譜解析が終わりました", 0), 0u);
        EXPECT_EQ(controller->RecordChanged(), !stopped);
    }
    EXPECT_NE(controller->tree.node(controller->tree.mainLine()[0]).comment.find("初手の注釈\n"),
              std::string::npos);  // the user's comment stays above the analysis
}

// A folder's records are analysed one by one beside themselves; a record
// analysed already is skipped, one that cannot be read is counted.
TEST_F(RecordBranchesTest, AFolderIsAnalysedRecordByRecord) {
    ASSERT_EQ(controller->StartUp(), 1);
    folder.writeBytes("games/a.kifu", kKif);
    folder.writeBytes("games/b.kifu", std::string(kKif) + "*#評価値=12\n");
    folder.writeBytes("games/c.csa", "PI\n+\n+7776FU\n+7776FU\n");  // the second move is no move
    RecordAnalysisRequest request;
    request.enginePath = (folder.path() / "aik" / "標準.aik").string();
    request.moveTimeMs = 100;
    request.folder = (folder.path() / "games").string();
    ASSERT_TRUE(controller->StartRecordAnalysis(request));
    EXPECT_FALSE(controller->RecordAnalysing());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "games" / "a-解析.kifu"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "games" / "b-解析.kifu"));
    const std::string panel = ui.panelText();
    EXPECT_NE(panel.find("解析した棋譜: 1\n解析済みで飛ばした棋譜: 1\n解析できなかった棋譜: 1\nc.csa: "),
              std::string::npos)
        << panel;
    EXPECT_FALSE(controller->RecordChanged());  // the record shown is not touched
}

TEST_F(RecordBranchesTest, ChangesAreOfferedForSavingBeforeTheyWouldBeLost) {
    open();
    controller->EditComment("変更");
    // No: the changes go, the record is read again.
    ui.answers = {false};
    controller->OpenRecordFile(path);
    EXPECT_EQ(controller->ShownComment(), "開始の注釈");
    EXPECT_FALSE(controller->RecordChanged());

    // Yes: saved where the user says, whole, before the window may close.
    controller->EditComment("保存する注釈");
    const std::string saved = (folder.path() / "saved.kifu").string();
    ui.answers = {true};
    ui.files = {saved};
    EXPECT_TRUE(controller->CloseQuery());
    EXPECT_FALSE(controller->RecordChanged());
    controller->OpenRecordFile(saved);
    EXPECT_EQ(controller->ShownComment(), "保存する注釈");
    controller->ReplayTo(3);
    EXPECT_EQ(branches().size(), 2u);

    // Yes, then the file dialog cancelled: nothing closes.
    controller->EditComment("また変更");
    ui.answers = {true};
    ui.files.clear();
    EXPECT_FALSE(controller->CloseQuery());
}

TEST_F(RecordBranchesTest, EachClipboardFormatPastesBackWhatWasCopied) {
    using Format = GameController::CopyFormat;
    struct Case {
        Format format;
        int32_t plies;      // of the pasted record's main line
        int32_t shownPly;   // where its last position stands
        size_t branches;    // alternatives at ply 3
    };
    const Case cases[] = {
        {Format::Kif, 4, 3, 2}, {Format::Ki2, 4, 3, 2}, {Format::Csa, 4, 3, 0},
        {Format::Sfen, 0, 0, 0}, {Format::Usi, 3, 3, 0}, {Format::Bod, 0, 0, 0},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        ui.answers = {false};  // the last paste's record is discarded
        controller->OpenRecordFile(path);
        controller->ReplayTo(3);
        const Position shown = board();
        const std::string text = controller->CopiedText(c.format);
        ASSERT_TRUE(controller->PasteRecordText(text)) << text;
        EXPECT_TRUE(controller->RecordChanged());
        EXPECT_EQ(record().length, c.plies);
        controller->ReplayTo(c.shownPly);
        EXPECT_EQ(board(), shown);
        if (c.plies >= 3) {
            controller->ReplayTo(3);
            EXPECT_EQ(branches().size(), c.branches);
        }
    }
    // Text that is no record changes nothing.
    ui.answers = {false};
    controller->OpenRecordFile(path);
    EXPECT_FALSE(controller->PasteRecordText("こんにちは"));
    EXPECT_EQ(record().length, 4);
}

}  // namespace
}  // namespace nusari::test
