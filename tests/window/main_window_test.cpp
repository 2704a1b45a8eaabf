// The main window: layout, clicks on the board picture, enabled controls,
// the pages, the settings file across a restart, closing.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <random>
#include <thread>

#include "position/setup.h"
#include "think/clock.h"
#include "ui/ui_texts.h"
#include "ui/window/artwork.h"
#include "ui/window/ini_store.h"
#include "ui/window/notice_box.h"
#include "window_test_support.h"

namespace nusari {
namespace {

using test::TestWindow;

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::addDefaultEngine(folder.path());
        test::writeFile(iniPath(), "[Aik]\nHash=1009\nMaxTime=200\n");
    }

    std::filesystem::path iniPath() const { return folder.path() / "NSProject.ini"; }

    std::unique_ptr<TestWindow> open() {
        auto w = std::make_unique<TestWindow>(test::qpath(folder.path()));
        started = w->startUp();
        return w;
    }

    // Starts a game from the new-game page as a person would.
    void startGame(TestWindow& w, bool computerFirst = false) {
        w.button(Control::Taikyoku)->click();
        (computerFirst ? w.pages().sengo_2 : w.pages().sengo_1)->setChecked(true);
        w.pages().taikyoku_iiyo->click();
        w.waitWhileThinking();
    }

    void click(TestWindow& w, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(&w.picture(), b, Qt::NoModifier, QPoint(x, y));
        w.waitWhileThinking();
    }

    test::TempFolder folder;
    bool started = false;
};

// Japanese lines and paths have no blanks: they wrap between characters.
TEST_F(WindowTest, ThePanelWrapsLongLinesWithinItsWidth) {
    auto w = open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const QPlainTextEdit* view = w->panelView();
    ASSERT_EQ(view->geometry(), QRect(8, 8, 137, 209));
    const std::string texts[] = {
        kMatchPauseText,
        "連続対局\n棋譜の自動保存に失敗：/home/user/nusari/build/20261207181234_10.csa",
        std::string(60, '9'),
    };
    for (const std::string& text : texts) {
        w->setPanelText(text);
        QTextDocument* doc = view->document();
        int rows = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            doc->documentLayout()->blockBoundingRect(b);  // lays the block out
            for (int i = 0; i < b.layout()->lineCount(); ++i, ++rows)
                EXPECT_LE(b.layout()->lineAt(i).naturalTextWidth(), view->viewport()->width());
        }
        EXPECT_GT(rows, doc->blockCount()) << text;
        EXPECT_EQ(w->panelLabelText().toStdString(), text);
    }
}

TEST_F(WindowTest, LayoutFollowsTheDesign) {
    auto w = open();
    ASSERT_TRUE(started);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ぬさり将棋"));
    // The specified 800 x 540 on the left, the move list beside it.
    EXPECT_EQ(w->size(), QSize(800 + kMoveListWidth, 540));
    EXPECT_EQ(w->picture().geometry(), QRect(0, 40, 800, 500));
    EXPECT_GE(w->moveList()->geometry().left(), 800);
    const int xs[] = {0, 40, 80, 136, 176, 216, 256, 312, 352, 392, 432, 488, 544, 584, 624};
    for (int i = 0; i < kToolButtonCount; ++i) {
        const QToolButton* b = w->button(static_cast<Control>(i));
        EXPECT_EQ(b->size(), QSize(36, 36));
        EXPECT_NEAR(b->x(), xs[i], 3) << i;
        EXPECT_FALSE(b->toolTip().isEmpty());
    }
    EXPECT_EQ(w->button(Control::Taikyoku)->toolTip(), QStringLiteral("新規対局、各種設定の表示"));
    const auto* panel = w->findChild<QWidget*>(QStringLiteral("sikou_paneru"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(8, 304, 150, 225));
    // The new-game page has room for the clocks and the rules below its first rows.
    EXPECT_EQ(w->pages().geometry(), QRect(8, 40, 393, 369));
    EXPECT_FALSE(w->pages().isVisibleTo(w.get()));
    EXPECT_EQ(w->gameMenu()->actions().size(), 6);  // 待った 中断 投了 入玉宣言, a separator, 盤面反転
    EXPECT_TRUE(w->panelLabelText().startsWith(QStringLiteral("NusarSyougi  Ver91")));
    EXPECT_EQ(w->pages().taikyoku_teai->count(), 13);
    EXPECT_EQ(w->pages().taikyoku_teai->currentText(), QStringLiteral("平手"));
    EXPECT_EQ(w->pages().taisenn_com->currentText(), QStringLiteral("標準"));
    EXPECT_EQ(w->pages().namae_you->text(), QStringLiteral("YOU"));
    const auto* clocks = w->pages().findChild<QComboBox*>(QStringLiteral("taikyoku_jikan"));
    ASSERT_NE(clocks, nullptr);
    EXPECT_EQ(clocks->count(), kClockPresetCount);
    EXPECT_EQ(clocks->currentText(), QStringLiteral("COMは1手0.2秒"));  // MaxTime=200
    // The first picture shows the even-game start.
    const QImage& shown = w->picture().image();
    BoardRenderer renderer;
    EXPECT_EQ(shown.pixel(SquareOrigin(77).x + 24, SquareOrigin(77).y + 24),
              renderer.pieceImage(kLowerPawn).pixel(24, 24));
}

// A larger window draws a larger board at its own resolution; clicks land
// on the squares drawn, also with the board turned by hand.
TEST_F(WindowTest, TheBoardGrowsWithTheWindowAndTurnsByHand) {
    auto w = open();
    ASSERT_TRUE(started);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->resize(1530, 790);
    QApplication::processEvents();
    EXPECT_EQ(w->picture().geometry(), QRect(0, 40, 1200, 750));
    EXPECT_EQ(w->picture().image().size(),
              QSize(1200, 750) * w->picture().devicePixelRatioF());
    EXPECT_GE(w->moveList()->geometry().left(), 1200);
    EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("sikou_paneru"))->geometry(),
              QRect(12, 436, 225, 338));
    const auto clickSquare = [&](int32_t square) {
        const PicturePoint at = SquareOrigin(square);
        click(*w, qRound((at.x + 24) * 1.5), qRound((at.y + 24) * 1.5));
    };
    // While no game runs the moves go into the record: ▲7六歩, then △3四歩
    // with the board turned, where 3三 is drawn where 7七 was.
    clickSquare(77);
    clickSquare(76);
    EXPECT_EQ(w->controller().fields.plyCount, 1);
    EXPECT_TRUE(w->button(Control::FairuHozon)->isEnabled());
    w->button(Control::Hanten)->click();
    EXPECT_TRUE(w->controller().viewTurned);
    clickSquare(flipSquare(33));
    clickSquare(flipSquare(34));
    EXPECT_EQ(w->controller().fields.plyCount, 2);
    EXPECT_EQ(w->controller().fields.currentPosition[34], kUpperPawn);
}

TEST_F(WindowTest, ControlsFollowTheGame) {
    auto w = open();
    auto enabled = [&](Control c) {
        return c == Control::Gamen ? w->picture().isEnabled() : w->button(c)->isEnabled();
    };
    for (int c = 0; c < kControlCount; ++c) {
        EXPECT_EQ(enabled(static_cast<Control>(c)),
                  ControlEnabled(static_cast<Control>(c), ControlSet::Startup))
            << c;
    }
    startGame(*w);
    ASSERT_EQ(w->controller().gameState, GameState::LowerToMove);
    EXPECT_FALSE(w->pages().isVisibleTo(w.get()));
    for (int c = 0; c < kControlCount; ++c) {
        EXPECT_EQ(enabled(static_cast<Control>(c)),
                  ControlEnabled(static_cast<Control>(c), ControlSet::GameRunning))
            << c;
    }
    EXPECT_TRUE(w->picture().isEnabled());
    EXPECT_FALSE(w->button(Control::Taikyoku)->isEnabled());
}

TEST_F(WindowTest, ClicksMapToSquaresAndStandAreas) {
    auto w = open();
    startGame(*w);
    GameController& c = w->controller();
    // x 613, y 463 is square 19, the human's lance: it is selected.
    click(*w, 613, 463);
    EXPECT_EQ(c.fields.pendingFrom, 19);
    // The blue frame is on the visible picture.
    EXPECT_GT(
        w->picture().image().pixelColor(SquareOrigin(19).x + 1, SquareOrigin(19).y + 24).blue(),
        200);
    // x 185, y 35 is square 91: not a destination, so it cancels.
    click(*w, 185, 35);
    EXPECT_EQ(c.fields.pendingTo, 91);
    EXPECT_EQ(c.fields.pendingFrom, 0);
    EXPECT_LT(
        w->picture().image().pixelColor(SquareOrigin(19).x + 1, SquareOrigin(19).y + 24).blue(),
        200);

    // The stand: a silver in hand is selected from its area.
    c.fields.currentPosition[kLowerHandBase + kSilver] = 1;
    w->drawBoard();
    click(*w, 740, 330);
    EXPECT_EQ(c.fields.pendingFrom, kLowerHandBase + kSilver);
    EXPECT_GT(w->picture().image().pixelColor(716, 340).blue(), 200);
    click(*w, 740, 330, Qt::RightButton);
    EXPECT_EQ(c.fields.pendingFrom, 0);
}

TEST_F(WindowTest, APlayedMoveIsAnsweredAndDrawn) {
    auto w = open();
    startGame(*w);
    GameController& c = w->controller();
    click(*w, SquareOrigin(77).x + 24, SquareOrigin(77).y + 24);
    click(*w, SquareOrigin(76).x + 24, SquareOrigin(76).y + 24);
    ASSERT_EQ(c.fields.plyCount, 2);
    EXPECT_EQ(c.gameState, GameState::LowerToMove);
    // The picture shows the pawn on 76 and the red frame on the reply.
    BoardRenderer renderer;
    EXPECT_EQ(w->picture().image().pixel(SquareOrigin(76).x + 24, SquareOrigin(76).y + 24),
              renderer.pieceImage(kLowerPawn).pixel(24, 24));
    const PicturePoint last = SquareOrigin(c.fields.lastDestination);
    EXPECT_GT(w->picture().image().pixelColor(last.x + 1, last.y + 24).red(), 200);
    EXPECT_GE(w->sounds, 2);
}

// Events are handled while the computer thinks, and none of them disturbs it.
TEST_F(WindowTest, TheWindowStaysResponsiveWhileTheComputerThinks) {
    auto w = open();
    GameController& c = w->controller();
    int ticks = 0;
    bool closeRefused = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (c.gameState != GameState::ComputerThinking) return;
        QTest::mouseClick(&w->picture(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 380));
        closeRefused = closeRefused || !w->close();
    });
    timer.start(10);
    // Out of the book, so that the engine searches.
    w->pages().taikyoku_teai->setCurrentIndex(kPresetNoRook);
    startGame(*w, true);
    timer.stop();
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(c.fields.plyCount, 1);
    EXPECT_EQ(c.fields.pendingFrom, 0);
    EXPECT_EQ(c.gameState, GameState::LowerToMove);
}

// The search runs on its own thread: a dialog opened while the computer
// thinks neither stops it nor holds its move up, which is played (and timed)
// while the dialog is still open.
TEST_F(WindowTest, ADialogDuringTheComputersTurnDoesNotHoldItUp) {
    auto w = open();
    GameController& c = w->controller();
    c.think = [](EngineState&, const ThinkRequest&, ThinkObserver&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return Move{51, 42};  // the king steps aside
    };
    w->button(Control::Taikyoku)->click();
    w->pages().sengo_2->setChecked(true);
    w->pages().taikyoku_iiyo->click();
    ASSERT_EQ(c.gameState, GameState::ComputerThinking);

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ぬさり将棋"), QStringLiteral("version"),
                    QMessageBox::Ok, w.get());
    int32_t pliesWhileOpen = -1;
    QTimer::singleShot(1500, &box, [&] {
        pliesWhileOpen = c.fields.plyCount;
        box.accept();
    });
    box.exec();
    EXPECT_EQ(pliesWhileOpen, 1);
    EXPECT_EQ(c.gameState, GameState::LowerToMove);
    EXPECT_EQ(c.fields.currentPosition[42], kUpperKing);
    EXPECT_EQ(c.record->history[1][kUpperTimeCell], 1);  // under a second, counted as one
}

TEST_F(WindowTest, PagesShowTheSettingsAndCountOnlyRealEdits) {
    auto w = open();
    SettingsPages& p = w->pages();
    w->button(Control::Taikyoku)->click();
    EXPECT_TRUE(p.isVisibleTo(w.get()));
    EXPECT_EQ(p.currentIndex(), 0);
    EXPECT_EQ(p.zikann_max_ran->text(), QStringLiteral("200"));
    EXPECT_EQ(p.data_ookisa_ran->text(), QStringLiteral("1009"));
    EXPECT_EQ(p.com_poto_ran->text(), QStringLiteral("COM1"));
    EXPECT_FALSE(p.settei_iiyo->isEnabled());
    EXPECT_EQ(p.zikann_max_ran->maxLength(), 8);
    EXPECT_EQ(p.data_ookisa_ran->maxLength(), 7);
    EXPECT_EQ(p.com_poto_ran->maxLength(), 4);
    EXPECT_EQ(p.ransuu_tane_ran->maxLength(), 3);

    p.zikann_max_ran->setText(QStringLiteral("12a5"));
    EXPECT_TRUE(p.settei_iiyo->isEnabled());
    emit p.zikann_max_ran->editingFinished();
    EXPECT_EQ(w->messages.back(), "数値を設定して下さい");
    EXPECT_EQ(p.zikann_max_ran->text(), QStringLiteral("200"));

    p.ransuu_tane_ran->setText(QStringLiteral("42"));
    p.settei_iiyo->click();
    EXPECT_FALSE(p.isVisibleTo(w.get()));
    EXPECT_EQ(w->controller().randomSeed, 42);
    EXPECT_TRUE(w->panelLabelText().endsWith(QStringLiteral("RandomSeed = 42")));

    w->button(Control::Taikyoku)->click();
    p.taikyoku_yame->click();
    EXPECT_FALSE(p.isVisibleTo(w.get()));
}

TEST_F(WindowTest, TheNameBoxHoldsEighteenShiftJisBytes) {
    auto w = open();
    QLineEdit* name = w->pages().namae_you;
    // Typed one character after the other.
    auto type = [name](const QString& text) {
        name->clear();
        for (const QChar c : text) name->insert(QString(c));
    };
    type(QStringLiteral("abcdefghijklmnopqrstu"));
    EXPECT_EQ(name->text(), QStringLiteral("abcdefghijklmnopqr"));
    type(QStringLiteral("一二三四五六七八九十"));
    EXPECT_EQ(name->text(), QStringLiteral("一二三四五六七八九"));
    type(QStringLiteral("ab一二三四五六七八九"));
    EXPECT_EQ(name->text(), QStringLiteral("ab一二三四五六七八"));
    EXPECT_EQ(w->controller().page.playerName, "ab一二三四五六七八");
}

TEST_F(WindowTest, ThePageInputsReachTheController) {
    auto w = open();
    SettingsPages& p = w->pages();
    p.taikyoku_teai->setCurrentIndex(3);
    EXPECT_EQ(w->controller().page.presetRow, 3);
    EXPECT_EQ(w->controller().page.presetText, "角落ち");
    p.taikyoku_teai->setEditText(QStringLiteral("自由"));
    EXPECT_EQ(w->controller().page.presetRow, -1);
    p.sengo_2->setChecked(true);
    EXPECT_TRUE(w->controller().page.computerFirst);
    // Without a link, play over the link is not offered.
    EXPECT_FALSE(p.tuusinC->isEnabled());
    w->selectPreset(0);
    EXPECT_EQ(p.taikyoku_teai->currentText(), QStringLiteral("継続----"));
}

TEST_F(WindowTest, SettingsAndPositionSurviveARestart) {
    test::writeFile(iniPath(), "[Aik]\nHash=1009\nMaxTime=200\n[Other]\nKeep=me\n");
    {
        auto w = open();
        w->move(120, 90);
        w->resize(1100, 580);
        SettingsPages& p = w->pages();
        w->button(Control::Taikyoku)->click();
        p.zikann_max_ran->setText(QStringLiteral("4321"));
        p.com_poto_ran->setText(QStringLiteral("LAN"));
        p.settei_iiyo->click();
        EXPECT_TRUE(w->close());
    }
    const std::string ini = test::readFile(iniPath());
    EXPECT_NE(ini.find("Keep=me"), std::string::npos);
    EXPECT_NE(ini.find("MaxTime=4321"), std::string::npos);
    auto w = open();
    EXPECT_EQ(w->controller().engine->timeLimitMs, 4321);
    EXPECT_EQ(w->controller().portName, "LAN");
    EXPECT_EQ(w->pos(), QPoint(120, 90));
    // The size comes back as far as the screen holds it.
    EXPECT_NE(ini.find("Width=1100"), std::string::npos);
    EXPECT_EQ(w->size(), QSize(1100, 580)
                             .boundedTo(QGuiApplication::primaryScreen()->availableSize())
                             .expandedTo(w->minimumSize()));
    EXPECT_TRUE(w->panelLabelText().contains(QStringLiteral("PortName = LAN")));
}

TEST_F(WindowTest, ClosingDuringAGameAsks) {
    auto w = open();
    startGame(*w);
    w->answers = {false};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(w->questions.back(), "対局中です\n終了しますか？");
    w->answers = {true};
    EXPECT_TRUE(w->close());
    EXPECT_NE(test::readFile(iniPath()).find("[Form]"), std::string::npos);
}

TEST_F(WindowTest, WithoutAnAikFolderTheProgramEndsAndKeepsTheSettingsFile) {
    std::filesystem::remove_all(folder.path() / "aik");
    const std::string before = test::readFile(iniPath());
    auto w = open();
    EXPECT_FALSE(started);
    EXPECT_EQ(w->messages, std::vector<std::string>{"aikフォルダが存在しません"});
    EXPECT_TRUE(w->close());
    EXPECT_EQ(test::readFile(iniPath()), before);
}

TEST_F(WindowTest, TheVersionBox) {
    auto w = open();
    w->button(Control::Zyouhou)->click();
    ASSERT_FALSE(w->messages.empty());
    EXPECT_EQ(w->messages.back().rfind("NusarSyougi  Ver91", 0), 0u);
}

// A burst of notices (a server sending bad lines, a verdict after them)
// fills one box that holds nothing up: the window can still be closed.
TEST_F(WindowTest, NoticesShareOneBoxThatNeverHoldsTheWindow) {
    MainWindow w(test::qpath(folder.path()));
    ASSERT_TRUE(w.startUp());
    w.show();
    for (int i = 0; i < 1000; ++i) w.notify("受信エラー " + std::to_string(i));
    QMessageBox* box = w.noticeBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(w.findChildren<QMessageBox*>().size(), 1);
    EXPECT_EQ(box->text(), QStringLiteral("受信エラー 999\n\n") + earlierNoticesLine(999));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(box->isModal());

    box->close();
    QApplication::processEvents();
    w.notify("対局終了");
    ASSERT_NE(w.noticeBox(), nullptr);
    EXPECT_EQ(w.noticeBox()->text(), QStringLiteral("対局終了"));
    EXPECT_TRUE(w.close());
}

TEST(IniStore, ArbitraryBytesInTheSettingsFileAreSafe) {
    test::TempFolder folder;
    const auto path = folder.path() / "NSProject.ini";
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string bytes = round % 2 == 0 ? "[Aik]\nHash=" : "[Form]\nTop=";
        const std::size_t n = random() % 300;
        for (std::size_t i = 0; i < n; ++i) bytes += static_cast<char>(random() % 256);
        test::writeFile(path, bytes);
        IniStore store(test::qpath(path));
        const Settings s = ReadSettings(store);
        EXPECT_GE(s.hash, 1);
        EXPECT_GE(s.maxTime, 0);
        // What the window writes on closing reads back the same.
        WriteSettings(store, s);
        IniStore again(test::qpath(path));
        EXPECT_EQ(ReadSettings(again), s);
    }
}

}  // namespace
}  // namespace nusari
