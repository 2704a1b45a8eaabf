#include "ui/window/main_window.h"

#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "ui/move_list.h"
#include "ui/ui_texts.h"
#include "ui/window/artwork.h"
#include "ui/window/record_panes.h"

namespace nusari {

namespace {

struct ToolButtonLayout {
    Control control;
    const char* name;
    const char* hint;
    int x;
};

constexpr ToolButtonLayout kToolButtons[kToolButtonCount] = {
    {Control::FairuHiraku, "fairu_hiraku", "棋譜ファイルを開く", 0},
    {Control::FairuHozon, "fairu_hozon", "棋譜ファイルを保存", 40},
    {Control::Owari, "owari", "ぬさり将棋の終了", 80},
    {Control::Taikyoku, "taikyoku", "新規対局、各種設定の表示", 136},
    {Control::Matta, "matta", "待った", 176},
    {Control::Tyuudan, "tyuudan", "中断", 216},
    {Control::Touryou, "touryou", "投了", 256},
    {Control::ModoruMax, "modoru_max", "対局開始局面へ戻る", 312},
    {Control::Modoru1, "modoru_1", "一手戻る", 352},
    {Control::Susumu1, "susumu_1", "一手進める", 392},
    {Control::SusumuMax, "susumu_max", "対局終了局面へ進む", 432},
    {Control::Zyouhou, "zyouhou", "バージョン情報", 488},
    {Control::Hanten, "hanten", "盤面反転", 544},
    {Control::KyokumenHensyuu, "kyokumen_hensyuu", "局面編集", 584},
    {Control::Kentou, "kentou_botan", "検討 (エンジンで局面を解析)", 624},
};

QString title() {
    return QString::fromUtf8(kProgramTitle);
}

}  // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : MainWindow(FoldersBesideProgram(programFolder.toStdString()), parent) {}

MainWindow::MainWindow(const ProgramFolders& folders, QWidget* parent)
    : QWidget(parent),
      store_(QString::fromStdString(folders.settingsFile.string())),
      sounds_(QString::fromStdString(folders.dataFolder.string())),
      thinkThread_(*this, *this),
      notices_(*this, title()) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(title());
    // The board and its controls as they always were, the move list beside,
    // is the smallest size; the window grows from there.
    setMinimumSize(kPictureWidth + kMoveListWidth, kToolBarHeight + kPictureHeight);
    resize(minimumSize());
    setAcceptDrops(true);
    QFont font(kUiFontFamily);
    font.setPixelSize(12);
    setFont(font);

    controller_ = std::make_unique<GameController>(*this, store_, folders);
    controllerPtr_ = controller_.get();
    // The tournaments' .aik engines play through the USI engine installed beside the window's program.
    controller_->usiAdapter = (QCoreApplication::applicationDirPath() + QStringLiteral("/nusari-usi")).toStdString();
    // The search runs on a worker thread; the window never waits for it.
    controller_->runThink = [this](std::function<void(Ui&)> work, std::function<void()> done) {
        thinkThread_.run(std::move(work), std::move(done));
    };
    controller_->stopThink = [this, engine = controller_->engine.get()] {
        thinkThread_.stop(*engine);
    };

    buildToolBar();
    picture_ = new BoardPicture(this);
    picture_->setObjectName(QStringLiteral("gamen"));
    picture_->setClickHandler(
        [this](MouseButton b, int32_t x, int32_t y) { controller_->OnBoardMouseDown(b, x, y); });
    buildPanel();
    buildMoveList();
    buildClipboardActions();
    pages_ = new SettingsPages(this, controllerPtr_);
    pages_->setGeometry(8, 40, 393, 369);
    pages_->hide();
    buildGameMenu();
    buildStudyPanel();
    buildAnalysisProgress();
    layOut();
    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName(QStringLiteral("sokuteiT"));
    connect(pollTimer_, &QTimer::timeout, this, [this] { controller_->OnPollTimer(); });
    clockTimer_ = new QTimer(this);
    connect(clockTimer_, &QTimer::timeout, this, [this] { controller_->OnClockTick(); });
    connectGameActions();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolBar() {
    toolBar_ = new QFrame(this);
    toolBar_->setObjectName(QStringLiteral("menyuu"));
    toolBar_->setFrameStyle(QFrame::Box | QFrame::Plain);
    for (int i = 0; i < kToolButtonCount; ++i) {
        const ToolButtonLayout& tool = kToolButtons[i];
        auto* b = new QToolButton(toolBar_);
        b->setObjectName(QString::fromUtf8(tool.name));
        b->setToolTip(QString::fromUtf8(tool.hint));
        b->setIcon(QIcon(QPixmap::fromImage(DrawToolGlyph(tool.control))));
        b->setIconSize(QSize(32, 32));
        b->setAutoRaise(true);
        b->setGeometry(tool.x + 2, 2, 36, 36);
        buttons_[static_cast<std::size_t>(i)] = b;
    }
    connect(button(Control::Owari), &QToolButton::clicked, this, &QWidget::close);
    connect(button(Control::Taikyoku), &QToolButton::clicked, this,
            [this] { controller_->ShowPages(); });
    connect(button(Control::Zyouhou), &QToolButton::clicked, this,
            [this] { message(kVersionBoxText); });
    // Pressed in while the board is turned by hand.
    button(Control::Hanten)->setCheckable(true);
    connect(button(Control::Hanten), &QToolButton::clicked, this,
            [this] { controller_->TurnBoard(); });
    // Pressed in while 検討 runs; a click starts or ends it.
    button(Control::Kentou)->setCheckable(true);
    connect(button(Control::Kentou), &QToolButton::clicked, this, [this] {
        if (controller_->Studying()) {
            controller_->StopStudy();
        } else {
            startStudy();
        }
        button(Control::Kentou)->setChecked(controller_->Studying());
    });
}

void MainWindow::buildPanel() {
    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("sikou_paneru"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setAutoFillBackground(true);
    QPalette cream = panel_->palette();
    cream.setColor(QPalette::Window, QColor(0xff, 0xfb, 0xf0));
    cream.setColor(QPalette::WindowText, Qt::black);
    panel_->setPalette(cream);
    // A read-only text that wraps at its width, between any two characters
    // when a line has no blank (Japanese, a path), as a label cannot.
    panelLabel_ = new QPlainTextEdit(panel_);
    panelLabel_->setObjectName(QStringLiteral("sikou_hyouzi"));
    panelLabel_->setReadOnly(true);
    panelLabel_->setTextInteractionFlags(Qt::NoTextInteraction);
    panelLabel_->setFocusPolicy(Qt::NoFocus);
    panelLabel_->setContextMenuPolicy(Qt::NoContextMenu);
    panelLabel_->setFrameStyle(QFrame::NoFrame);
    panelLabel_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelLabel_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelLabel_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    panelLabel_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    panelLabel_->document()->setDocumentMargin(0);
    panelLabel_->viewport()->setCursor(Qt::ArrowCursor);
    cream.setColor(QPalette::Base, cream.color(QPalette::Window));
    cream.setColor(QPalette::Text, Qt::black);
    panelLabel_->setPalette(cream);
}

void MainWindow::buildGameMenu() {
    gameMenu_ = new QMenu(this);
    gameMenu_->setObjectName(QStringLiteral("taikyokutyuuPM"));
    gameMenu_->addAction(QStringLiteral("待った(&R)"))
        ->setObjectName(QStringLiteral("taikyokutyuuPM_matta"));
    gameMenu_->addAction(QStringLiteral("中断(&Q)"))
        ->setObjectName(QStringLiteral("taikyokutyuuPM_tyuudan"));
    gameMenu_->addAction(QStringLiteral("投了(&G)"))
        ->setObjectName(QStringLiteral("taikyokutyuuPM_touryou"));
    gameMenu_->addAction(QStringLiteral("入玉宣言(&D)"))
        ->setObjectName(QStringLiteral("taikyokutyuuPM_sengen"));
    // The board may be turned in a game and out of one.
    QAction* turn = new QAction(QStringLiteral("盤面反転(&F)"), this);
    turn->setObjectName(QStringLiteral("banmen_hanten"));
    connect(turn, &QAction::triggered, this, [this] { controller_->TurnBoard(); });
    gameMenu_->addSeparator();
    gameMenu_->addAction(turn);
    boardMenu_ = new QMenu(this);
    boardMenu_->setObjectName(QStringLiteral("banmenPM"));
    boardMenu_->addAction(turn);
}

QToolButton* MainWindow::button(Control control) const {
    const auto i = static_cast<std::size_t>(control);
    return i < buttons_.size() ? buttons_[i] : nullptr;
}

QString MainWindow::panelLabelText() const {
    return panelLabel_->toPlainText();
}

bool MainWindow::startUp() {
    started_ = controller_->StartUp() == 1;
    restorePosition();
    return started_;
}

void MainWindow::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString::fromStdString(text), QMessageBox::Ok,
                    this);
    box.exec();
}

// The box is shown and the call returns: the game flow goes on behind it.
void MainWindow::notify(const std::string& text) {
    notices_.show(QString::fromStdString(text));
}

bool MainWindow::ask(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

SaveChoice MainWindow::askToSave(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString::fromStdString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save: return SaveChoice::Save;
        case QMessageBox::Discard: return SaveChoice::Discard;
        default: return SaveChoice::Cancel;
    }
}

void MainWindow::setPanelText(const std::string& text) {
    panelText_ = text;
    showPanel();
}

void MainWindow::showPanel() {
    const std::string shown = matchText_.empty() ? panelText_ : matchText_ + "\n" + panelText_;
    panelLabel_->setPlainText(QString::fromStdString(shown));
}

// The title ends with the program's name, so that no platform adds it again.
void MainWindow::showMatch(const std::string& text) {
    if (text == matchText_) return;
    matchText_ = text;
    setWindowTitle(text.empty() ? title()
                                : QString::fromStdString(text) + QStringLiteral(" — ") + title());
    showPanel();
}

void MainWindow::pumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MainWindow::playSound(Sound kind) {
    sounds_.play(kind);
}

void MainWindow::selectPreset(int32_t index) {
    if (index < 0 || index >= kPresetCount) return;
    controller_->page.presetRow = index;
    controller_->page.presetText = kPresetNames[index];
    pages_->sync();
}

void MainWindow::setGameState(GameState state) {
    controller_->gameState = state;
}

void MainWindow::setControls(ControlSet set) {
    for (int i = 0; i < kToolButtonCount; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setEnabled(
            ControlEnabled(kToolButtons[i].control, set));
    }
    picture_->setEnabled(ControlEnabled(Control::Gamen, set));
    // The record panes are editable exactly while no game runs.
    panes_->refresh();
    // 棋譜解析 shows its progress; a tournament, which has the same controls, shows its own in its dialog.
    showAnalysisProgress(set == ControlSet::Analysing && controller_->RecordAnalysing());
}

void MainWindow::drawBoard() {
    renderer_.setScale(pictureScale_ * picture_->devicePixelRatioF());
    button(Control::Hanten)->setChecked(controller_->viewTurned);
    picture_->present(renderer_.render(controller_->ComposeScene()));
    refreshMoveList();
    panes_->refresh();
}

void MainWindow::buildMoveList() {
    moveList_ = new QListWidget(this);
    moveList_->setObjectName(QStringLiteral("kifu_list"));
    // The move list over the alternatives of the shown ply and its comment.
    panes_ = new RecordPanes(*controller_, this);
    moveList_->setFocusPolicy(Qt::NoFocus);
    moveList_->setUniformItemSizes(true);
    // Scrolled by pixels, the list's end shows its last line whole.
    moveList_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A click on a ply replays to it, as the replay keys do.
    connect(moveList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = moveList_->row(item);
        const int32_t plies = controller_->ListedPlies();
        controller_->ReplayTo(row > plies ? plies : row);
    });
}

void MainWindow::refreshMoveList() {
    const GameController::MoveListView view = controller_->ShownMoveList();
    const QSignalBlocker block(moveList_);
    // Lines already there stay (the list grows ply by ply); the rest change.
    for (int row = 0; row < static_cast<int>(view.lines.size()); ++row) {
        const QString text = QString::fromStdString(view.lines[static_cast<std::size_t>(row)]);
        if (row < moveList_->count()) {
            if (moveList_->item(row)->text() != text) moveList_->item(row)->setText(text);
        } else {
            moveList_->addItem(text);
        }
    }
    while (moveList_->count() > static_cast<int>(view.lines.size())) {
        delete moveList_->takeItem(moveList_->count() - 1);
    }
    moveList_->setCurrentRow(view.currentRow);
    // At the last ply the lines after it (how the game ended) show too,
    // and the list ends on a whole line.
    if (view.currentRow >= controller_->ListedPlies()) {
        moveList_->scrollToBottom();
    } else {
        moveList_->scrollToItem(moveList_->item(view.currentRow));
    }
}

void MainWindow::pagesChanged() {
    pages_->sync();
    // With the pages gone the window takes the keys again.
    if (!controller_->pagesVisible) setFocus();
}

void MainWindow::drawSelectionFrame(int32_t x, int32_t y) {
    picture_->drawOnTop(renderer_.pieceImage(kSelectionFrameImage), x, y);
}

void MainWindow::setPollTimer(int32_t intervalMs) {
    if (intervalMs > 0) {
        pollTimer_->start(intervalMs);
    } else {
        pollTimer_->stop();
    }
}

void MainWindow::setClockTimer(int32_t intervalMs) {
    if (intervalMs > 0) {
        clockTimer_->start(intervalMs);
    } else {
        clockTimer_->stop();
    }
}

void MainWindow::countdown(int32_t second) { sounds_.countdown(second); }

void MainWindow::showBoardMenu(int32_t x, int32_t y) {
    boardMenu_->popup(picture_->mapToGlobal(QPoint(x, y)));
}

void MainWindow::showGameMenu(int32_t x, int32_t y) {
    gameMenu_->popup(picture_->mapToGlobal(QPoint(x, y)));
}

bool MainWindow::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string MainWindow::chooseFile(FileDialog kind, const std::string& proposedName) {
    QFileDialog dialog(this);
    // Qt's own dialog, which speaks Japanese; a desktop's may not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    switch (kind) {
        case FileDialog::OpenRecord:
            dialog.setWindowTitle(QStringLiteral("棋譜読み込み"));
            dialog.setNameFilters({QStringLiteral("棋譜ファイル(*.csa *.kif *.kifu *.ki2 *.ki2u "
                                                  "*.CSA *.KIF *.KIFU *.KI2 *.KI2U)"),
                                   QStringLiteral("csaファイル(*.csa *.CSA)"),
                                   QStringLiteral("kifファイル(*.kif *.kifu *.KIF *.KIFU)"),
                                   QStringLiteral("ki2ファイル(*.ki2 *.ki2u *.KI2 *.KI2U)")});
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case FileDialog::SaveRecord: {
            dialog.setWindowTitle(QStringLiteral("棋譜保存"));
            const QStringList filters = {QStringLiteral("csaファイルV2(*.csa)"),
                                         QStringLiteral("kifファイル(*.kif)"),
                                         QStringLiteral("kifuファイル UTF-8(*.kifu)")};
            dialog.setNameFilters(filters);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("csa"));
            // The name's extension follows the format chosen.
            const QStringList suffixes = {QStringLiteral("csa"), QStringLiteral("kif"),
                                          QStringLiteral("kifu")};
            connect(&dialog, &QFileDialog::filterSelected, &dialog,
                    [&dialog, filters, suffixes](const QString& filter) {
                        const qsizetype k = filters.indexOf(filter);
                        if (k < 0) return;
                        dialog.setDefaultSuffix(suffixes[k]);
                        const QStringList chosen = dialog.selectedFiles();
                        if (chosen.isEmpty()) return;
                        const QFileInfo info(chosen.front());
                        dialog.selectFile(info.completeBaseName() + "." + suffixes[k]);
                    });
            break;
        }
        case FileDialog::OpenAik:
            dialog.setWindowTitle(QStringLiteral("棋譜読み込み"));
            dialog.setNameFilter(QStringLiteral("aikファイル(*.aik)"));
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
    }
    if (!proposedName.empty()) dialog.selectFile(QString::fromStdString(proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

void MainWindow::closeWindow() {
    QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (shutDown_ || !started_) {
        event->accept();
        return;
    }
    if (!controller_->CloseQuery()) {
        event->ignore();
        return;
    }
    shutDown_ = true;
    controller_->windowWidth = width();
    controller_->windowHeight = height();
    controller_->ShutDown(y(), x());
    event->accept();
}

}  // namespace nusari
