// The main window TsyougiF: tool bar, board picture, thinking panel and the
// settings pages. It owns the game controller, forwards its events to it
// and implements the GameView the controller and the engine talk to.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "ui/control_table.h"
#include "ui/game_controller.h"
#include "ui/window/board_picture.h"
#include "ui/window/ini_store.h"
#include "ui/window/notice_box.h"
#include "ui/window/settings_pages.h"
#include "ui/window/sound_player.h"
#include "ui/window/think_thread.h"

class QFrame;
namespace nusari {
class RecordPanes;
class StudyPanel;
class TournamentDialog;
}
class QListWidget;
class QMessageBox;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace nusari {

// The tool bar's height above the board picture.
inline constexpr int kToolBarHeight = 40;

class MainWindow : public QWidget, public GameView {
  public:
    // `programFolder` holds the aik and oto folders and NSProject.ini.
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    // The folders of a build folder or of an installed program.
    explicit MainWindow(const ProgramFolders& folders, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The creation steps after the layout: settings, engine list, hash
    // arrays, the first picture. False when the program must end at once.
    bool startUp();

    GameController& controller() { return *controller_; }
    BoardPicture& picture() { return *picture_; }
    SettingsPages& pages() { return *pages_; }
    QToolButton* button(Control control) const;
    QMenu* gameMenu() const { return gameMenu_; }
    QMenu* boardMenu() const { return boardMenu_; }
    QListWidget* moveList() const { return moveList_; }
    RecordPanes* recordPanes() const { return panes_; }
    QTimer* pollTimer() const { return pollTimer_; }
    QProgressBar* analysisProgress() const { return progress_; }
    // What the thinking panel shows: the match line, then the panel text.
    QString panelLabelText() const;
    QPlainTextEdit* panelView() const { return panelLabel_; }
    // The box of the notices while it is open, else null.
    QMessageBox* noticeBox() const { return notices_.box(); }

    // The position editor (局面編集) on the position shown; a position set
    // up there becomes the record to play from. Nothing while a game runs.
    void editPosition();
    // Asks for the engine and the time, then starts 棋譜解析 of the line shown.
    void analyseRecord();
    // 検討 with the engines the user checks.
    void startStudy();
    StudyPanel* studyPanel() const { return study_; }
    QTimer* studyTimer() const { return studyTimer_; }
    // The 連続対局 dialog, made when first asked for; it stays beside the window.
    TournamentDialog* openTournament();
    TournamentDialog* tournamentDialog() const { return tournament_; }

    // GameView.
    void message(const std::string& text) override;
    void notify(const std::string& text) override;
    bool ask(const std::string& text) override;
    SaveChoice askToSave(const std::string& text) override;
    void setPanelText(const std::string& text) override;
    std::string panelText() const override { return panelText_; }
    void pumpMessages() override;
    void playSound(Sound kind) override;
    void selectPreset(int32_t index) override;
    void setGameState(GameState state) override;
    void setControls(ControlSet set) override;
    void drawBoard() override;
    void pagesChanged() override;
    void drawSelectionFrame(int32_t x, int32_t y) override;
    void setPollTimer(int32_t intervalMs) override;
    void setClockTimer(int32_t intervalMs) override;
    void countdown(int32_t second) override;
    void showGameMenu(int32_t x, int32_t y) override;
    void showBoardMenu(int32_t x, int32_t y) override;
    std::string chooseFile(FileDialog kind, const std::string& proposedName) override;
    void closeWindow() override;
    bool openDocument(const std::string& path) override;
    void showMatch(const std::string& text) override;
    void studyChanged() override;
    void tournamentChanged() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The cursor keys and keypad digits step through a record.
    void keyPressEvent(QKeyEvent* event) override;
    // A record file dropped on the window opens as with the open button.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildToolBar();
    void buildPanel();
    void buildMoveList();
    // Copy and paste of the record and the shown position.
    void buildClipboardActions();
    void copyRecord(GameController::CopyFormat format);
    void pasteRecord();
    // Brings the move list up to the game or record and marks the ply shown.
    void refreshMoveList();
    void buildGameMenu();
    // Ctrl+E opens the position editor.
    void buildEditorAction();
    void buildAnalysisActions();
    void buildStudyPanel();
    // The progress bar and its stop button at the panel's foot while
    // 棋譜解析 runs.
    void buildAnalysisProgress();
    void showAnalysisProgress(bool on);
    void connectGameActions();
    void restorePosition();
    // Places the picture, the panel, the list and the panes for the size.
    void layOut();
    void showPanel();

    IniStore store_;
    SoundPlayer sounds_;
    BoardRenderer renderer_;
    // Declared before the controller, which stops it when it goes.
    ThinkThread thinkThread_;
    std::unique_ptr<GameController> controller_;
    // The pages reach the controller through this pointer.
    GameController* controllerPtr_ = nullptr;
    QFrame* toolBar_ = nullptr;  // menyuu
    std::array<QToolButton*, kToolButtonCount> buttons_{};
    BoardPicture* picture_ = nullptr;  // gamen
    QFrame* panel_ = nullptr;          // sikou_paneru
    QPlainTextEdit* panelLabel_ = nullptr;  // sikou_hyouzi
    QListWidget* moveList_ = nullptr;       // the 棋譜 beside the board
    RecordPanes* panes_ = nullptr;          // its branches and comment
    StudyPanel* study_ = nullptr;           // 検討, under the board
    QTimer* studyTimer_ = nullptr;          // takes 検討's reports
    TournamentDialog* tournament_ = nullptr;
    QTimer* tournamentTimer_ = nullptr;     // takes the tournament's news
    QProgressBar* progress_ = nullptr;      // 棋譜解析's
    QPushButton* stopAnalysis_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    std::string panelText_;
    std::string matchText_;
    NoticeBox notices_;
    SettingsPages* pages_ = nullptr;  // settei_menyuu
    QMenu* gameMenu_ = nullptr;       // taikyokutyuuPM
    QMenu* boardMenu_ = nullptr;      // the board's menu while no game runs
    QTimer* pollTimer_ = nullptr;     // sokuteiT
    QTimer* clockTimer_ = nullptr;    // the game clocks' tick
    bool started_ = false;
    bool shutDown_ = false;
    // Window pixels a picture pixel.
    double pictureScale_ = 1;
};

}  // namespace nusari
