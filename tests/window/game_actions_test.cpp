// The window's game actions: 待った, 中断 and 投了 from the tool bar and the
// in-game menu, the replay buttons and keys, the record files, and the
// pause of a continuous match on a timer.
#include <QAction>
#include <QTableWidget>
#include <QChartView>
#include <QTabWidget>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "ui/match_files.h"
#include "ui/window/board_picture.h"
#include "ui/window/record_panes.h"
#include "ui/window/study_panel.h"
#include "window_test_support.h"

namespace nusari {
namespace {

using test::TestWindow;

class GameActionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::addDefaultEngine(folder.path());
        test::writeFile(folder.path() / "NSProject.ini", "[Aik]\nHash=1009\nMaxTime=200\n");
        w = std::make_unique<TestWindow>(test::qpath(folder.path()));
        ASSERT_TRUE(w->startUp());
        // The computer's king steps back and forth; it resigns at `resignAt`.
        // The kings repeat every four plies: repetition does not end these games.
        w->controller().judgeRepetition = false;
        w->controller().think = [this](EngineState&, const ThinkRequest& request, ThinkObserver&) {
            if (c().fields.plyCount >= resignAt) return Move::resign();
            return request.position[51] == kUpperKing ? Move{51, 52} : Move{52, 51};
        };
    }

    GameController& c() { return w->controller(); }

    void startGame(bool computerFirst = false) {
        w->button(Control::Taikyoku)->click();
        (computerFirst ? w->pages().sengo_2 : w->pages().sengo_1)->setChecked(true);
        w->pages().taikyoku_iiyo->click();
        w->waitWhileThinking();
    }

    // The human's king steps by two clicks on the picture.
    void kingStep() {
        const int32_t from = c().fields.currentPosition[59] == kLowerKing ? 59 : 58;
        for (int32_t square : {from, from == 59 ? 58 : 59}) {
            const PicturePoint at = SquareOrigin(square);
            QTest::mouseClick(&w->picture(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(at.x + 24, at.y + 24));
        }
        w->waitWhileThinking();
    }

    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w.get(), static_cast<Qt::Key>(k), modifiers);
    }

    QAction* menuEntry(const char* name) {
        for (QAction* a : w->gameMenu()->actions()) {
            if (a->objectName() == QLatin1String(name)) return a;
        }
        return nullptr;
    }

    test::TempFolder folder;
    std::unique_ptr<TestWindow> w;
    int32_t resignAt = 1000;
};

TEST_F(GameActionsTest, MattaTyuudanAndTouryouFromTheToolBarAndTheMenu) {
    startGame();
    kingStep();
    ASSERT_EQ(c().fields.plyCount, 2);
    w->button(Control::Matta)->click();
    EXPECT_EQ(c().fields.plyCount, 0);
    kingStep();
    menuEntry("taikyokutyuuPM_matta")->trigger();
    EXPECT_EQ(c().fields.plyCount, 0);

    w->answers = {false, true};
    w->button(Control::Tyuudan)->click();
    EXPECT_EQ(c().gameState, GameState::LowerToMove);
    menuEntry("taikyokutyuuPM_tyuudan")->trigger();
    EXPECT_EQ(w->questions, (std::vector<std::string>{"中断しますか？", "中断しますか？"}));
    EXPECT_EQ(c().gameState, GameState::NoGame);
    EXPECT_TRUE(w->button(Control::ModoruMax)->isEnabled());
    EXPECT_FALSE(w->button(Control::Touryou)->isEnabled());
    // The record is editable at once, not only after the next redraw.
    EXPECT_FALSE(w->findChild<QPlainTextEdit*>(QStringLiteral("comment_box"))->isReadOnly());

    startGame();
    w->answers = {true};
    menuEntry("taikyokutyuuPM_touryou")->trigger();
    EXPECT_EQ(w->questions.back(), "投了しますか？");
    EXPECT_EQ(c().gameState, GameState::NoGame);
    startGame();
    w->answers = {true};
    w->button(Control::Touryou)->click();
    EXPECT_EQ(c().gameState, GameState::NoGame);
    EXPECT_NE(test::readFile(folder.path() / kMatchLogPath).find("\t2\t0\r\n"), std::string::npos);
}

TEST_F(GameActionsTest, ReplayButtonsAndKeys) {
    resignAt = 5;
    startGame();
    for (int i = 0; i < 3; ++i) kingStep();
    ASSERT_EQ(c().gameState, GameState::NoGame);
    ASSERT_EQ(c().record->length, 5);
    int32_t& ply = c().fields.plyCount;

    w->button(Control::ModoruMax)->click();
    EXPECT_EQ(ply, 0);
    EXPECT_EQ(w->panelLabelText(), QStringLiteral("棋譜再生中"));
    w->button(Control::Modoru1)->click();
    EXPECT_EQ(ply, 0);
    w->button(Control::Susumu1)->click();
    EXPECT_EQ(ply, 1);
    w->button(Control::SusumuMax)->click();
    EXPECT_EQ(ply, 5);

    key(Qt::Key_Up);
    EXPECT_EQ(ply, 0);
    key(Qt::Key_Right);
    key(Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(ply, 2);
    key(Qt::Key_6);  // the digit row is no cursor key
    key(Qt::Key_A);
    EXPECT_EQ(ply, 2);
    key(Qt::Key_4, Qt::KeypadModifier);
    key(Qt::Key_Left);
    EXPECT_EQ(ply, 0);
    key(Qt::Key_Down);
    EXPECT_EQ(ply, 5);
    key(Qt::Key_8, Qt::KeypadModifier);
    EXPECT_EQ(ply, 0);
    key(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(ply, 5);

    // During a game the keys do nothing.
    startGame();
    kingStep();
    key(Qt::Key_Up);
    EXPECT_EQ(ply, 2);
}

TEST_F(GameActionsTest, SaveAndOpenThroughTheirButtons) {
    resignAt = 3;
    startGame();
    kingStep();
    kingStep();
    ASSERT_EQ(c().record->length, 3);
    const std::filesystem::path path = folder.path() / "saved.csa";
    w->files = {path.string()};
    w->button(Control::FairuHozon)->click();
    EXPECT_FALSE(test::readFile(path).empty());

    w->files = {path.string()};
    w->button(Control::FairuHiraku)->click();
    EXPECT_EQ(c().record->length, 3);
    EXPECT_EQ(c().fields.plyCount, 0);
    EXPECT_TRUE(w->button(Control::Susumu1)->isEnabled());
    EXPECT_EQ(w->pages().taikyoku_teai->currentIndex(), 0);
}

TEST_F(GameActionsTest, TheMoveListFollowsTheGameAndReplaysOnAClick) {
    resignAt = 3;
    startGame();
    QListWidget* list = w->moveList();
    EXPECT_EQ(list->count(), 1);  // the start position
    kingStep();
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 2);
    kingStep();  // the computer resigns at ply 3
    ASSERT_EQ(list->count(), 6);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("  1 ▲５八玉  0:01"));
    EXPECT_EQ(list->item(4)->text(), QStringLiteral("  4 △投了"));
    EXPECT_EQ(list->item(5)->text(), QStringLiteral("まで3手で先手の勝ち"));
    auto clickRow = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    };
    clickRow(1);
    EXPECT_EQ(c().fields.plyCount, 1);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(c().fields.currentPosition[58], kLowerKing);
    clickRow(5);  // the result line: the end of the game
    EXPECT_EQ(c().fields.plyCount, 3);
}

TEST_F(GameActionsTest, AtTheEndOfALongGameTheListShowsItsLastLineWhole) {
    resignAt = 121;
    startGame();
    for (int i = 0; i < 61; ++i) kingStep();
    QListWidget* list = w->moveList();
    ASSERT_EQ(list->count(), 124);  // 121 plies, 投了 and the result
    w->show();
    QCoreApplication::processEvents();
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    EXPECT_TRUE(list->viewport()->rect().contains(last))
        << last.top() << " " << last.bottom() << " in " << list->viewport()->height();
}

// Drops `data` on the window; whether the window took it.
bool dropData(QWidget* w, QMimeData& data) {
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST_F(GameActionsTest, ADroppedRecordFileOpensLikeTheOpenButton) {
    const std::filesystem::path path = folder.path() / "dropped.KIFU";
    test::writeFile(path, "手合割：香落ち\n手数----指手--\n1 ３四歩(33)\n2 ７六歩(77)\n");
    auto drop = [this](const std::filesystem::path& p) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(test::qpath(p))});
        return dropData(w.get(), data);
    };
    EXPECT_FALSE(drop(folder.path() / "notes.txt"));
    EXPECT_TRUE(drop(path));
    EXPECT_EQ(c().record->length, 2);
    EXPECT_EQ(c().record->humanIsSecond, 1);  // 上手 moves first
    EXPECT_EQ(c().fields.currentPosition[11], kEmpty);
    EXPECT_EQ(w->pages().taikyoku_teai->currentIndex(), 0);

    // Dropped text opens as a pasted record.
    QMimeData text;
    text.setText(QStringLiteral("position startpos moves 7g7f 3c3d 2g2f"));
    EXPECT_TRUE(dropData(w.get(), text));
    EXPECT_EQ(c().record->length, 3);
}

TEST_F(GameActionsTest, TheMatchPausesOnATimerWithTheWindowResponsive) {
    resignAt = 1;
    int32_t requested = 0;
    const PauseFunction windowPause = c().pause;
    c().pause = [&requested, windowPause](int32_t ms, std::function<void()> then) {
        requested = ms;
        windowPause(50, std::move(then));
    };
    c().renzoku = 10;
    startGame();
    kingStep();  // the computer resigns: the next game is the computer's

    // The end of the game has returned to the event loop.
    EXPECT_EQ(requested, 30000);
    EXPECT_TRUE(c().MatchPaused());
    EXPECT_EQ(c().gameState, GameState::ComputerThinking);
    EXPECT_TRUE(w->pages().sengo_2->isChecked());
    EXPECT_EQ(c().fields.plyCount, 0);
    QTRY_COMPARE_WITH_TIMEOUT(c().gameState, GameState::LowerToMove, 5000);
    EXPECT_EQ(c().fields.plyCount, 1);
    EXPECT_EQ(c().record->humanIsSecond, 1);
    EXPECT_EQ(c().renzoku, 9);
}

TEST_F(GameActionsTest, TheMatchShowsInTheTitleAndAboveThePanelUntilItEnds) {
    c().renzoku = 10;
    startGame();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("連続対局 1/10 — ぬさり将棋"));
    EXPECT_TRUE(w->panelLabelText().startsWith(QStringLiteral("連続対局 1/10\n対局開始")));

    w->answers = {true, true};  // 中断, and end the match
    w->button(Control::Tyuudan)->click();
    EXPECT_EQ(c().renzoku, 0);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ぬさり将棋"));
    EXPECT_FALSE(w->panelLabelText().contains(QStringLiteral("連続対局")));
}

TEST_F(GameActionsTest, ClosingDuringThePauseCancelsIt) {
    resignAt = 1;
    const PauseFunction windowPause = c().pause;
    c().pause = [windowPause](int32_t, std::function<void()> then) {
        windowPause(50, std::move(then));
    };
    c().renzoku = 10;
    startGame();
    kingStep();
    ASSERT_TRUE(c().MatchPaused());
    w->answers = {true};
    EXPECT_TRUE(w->close());
    QTest::qWait(150);
    EXPECT_EQ(c().fields.plyCount, 0);
}

}  // namespace
}  // namespace nusari

namespace nusari {
namespace {

// The graph shows the scores in an opened record's comments; a click on it
// goes to that ply.
TEST_F(GameActionsTest, TheGraphShowsTheRecordsScoresAndAClickGoesToAPly) {
    const auto path = folder.path() / "scored.kifu";
    test::writeFile(path,
                    "手合割：平手\n手数----指手--\n1 ７六歩(77)\n*#評価値=100\n2 ３四歩(33)\n"
                    "**評価値=-50\n3 ２六歩(27)\n*#評価値=2500\n4 ８四歩(83)\n");
    c().OpenRecordFile(path.string());
    RecordPanes& panes = *w->recordPanes();
    panes.tabs()->setCurrentWidget(panes.graph());
    EXPECT_EQ(panes.graph()->lines().analysed,
              (std::vector<GraphPoint>{{1, 100}, {3, kGraphScoreLimit}}));
    EXPECT_EQ(panes.graph()->lines().played, (std::vector<GraphPoint>{{2, -50}}));

    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    auto* view = panes.graph()->findChild<QChartView*>();
    const QPointF at = view->chart()->mapToPosition(QPointF(3, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->mapFromScene(view->chart()->mapToScene(at)));
    EXPECT_EQ(c().fields.plyCount, 3);
}

// 検討's panel stands under the board while it runs, fills in from the
// engine's thread, previews a line on a click until Esc, and goes with its
// end button.
TEST_F(GameActionsTest, TheStudyPanelShowsUnderTheBoardWhileEnginesAnalyse) {
    ASSERT_TRUE(c().StartStudy({(folder.path() / "aik" / "標準.aik").string()}));
    StudyPanel& panel = *w->studyPanel();
    EXPECT_TRUE(panel.isVisibleTo(w.get()));
    EXPECT_TRUE(w->button(Control::Kentou)->isChecked());
    EXPECT_GE(w->height(), kToolBarHeight + kPictureHeight + kStudyPanelHeight);
    EXPECT_LE(w->picture().geometry().bottom(), panel.geometry().top());
    ASSERT_EQ(panel.panes().size(), 1u);
    QTableWidget* table = panel.panes()[0].table;
    for (int i = 0; i < 500 && table->rowCount() < 3; ++i) QTest::qWait(20);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_FALSE(table->item(0, 2)->text().isEmpty());

    const QRect cell = table->visualItemRect(table->item(0, 2));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_TRUE(c().Previewing());
    key(Qt::Key_Escape);
    EXPECT_FALSE(c().Previewing());

    panel.endButton()->click();
    EXPECT_FALSE(c().Studying());
    EXPECT_FALSE(panel.isVisibleTo(w.get()));
    EXPECT_FALSE(w->button(Control::Kentou)->isChecked());
    EXPECT_TRUE(LiveAnalyser::WaitForEnded(5000));
}

}  // namespace
}  // namespace nusari
