// 棋譜解析 and 検討 from the main window: the entries of the move list's and
// the board's menus that start and stop them, and the 検討 panel under the
// board with its timer.
#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "ui/window/main_window.h"
#include "ui/window/record_analysis_dialog.h"
#include "ui/window/study_dialog.h"
#include "ui/window/study_panel.h"
#include "ui/window/tournament_dialog.h"

namespace nusari {

void MainWindow::buildAnalysisActions() {
    auto* start = new QAction(QStringLiteral("棋譜解析..."), this);
    start->setObjectName(QStringLiteral("record_analysis"));
    auto* stop = new QAction(QStringLiteral("棋譜解析を中止"), this);
    stop->setObjectName(QStringLiteral("stop_record_analysis"));
    auto* study = new QAction(QStringLiteral("検討..."), this);
    study->setObjectName(QStringLiteral("study"));
    auto* endStudy = new QAction(QStringLiteral("検討を終了"), this);
    endStudy->setObjectName(QStringLiteral("stop_study"));
    connect(start, &QAction::triggered, this, [this] { analyseRecord(); });
    connect(stop, &QAction::triggered, this, [this] { controller_->StopRecordAnalysis(); });
    connect(study, &QAction::triggered, this, [this] { startStudy(); });
    connect(endStudy, &QAction::triggered, this, [this] { controller_->StopStudy(); });
    auto* tournament = new QAction(QStringLiteral("連続対局 (エンジン同士)..."), this);
    tournament->setObjectName(QStringLiteral("tournament"));
    connect(tournament, &QAction::triggered, this, [this] { openTournament(); });
    tournamentTimer_ = new QTimer(this);
    tournamentTimer_->setInterval(100);
    connect(tournamentTimer_, &QTimer::timeout, this, [this] { controller_->OnTournamentTick(); });
    for (QMenu* menu : {findChild<QMenu*>(QStringLiteral("clipboard_menu")), boardMenu_}) {
        if (menu == nullptr) continue;
        menu->addSeparator();
        menu->addAction(study);
        menu->addAction(endStudy);
        menu->addAction(start);
        menu->addAction(stop);
        menu->addAction(tournament);
        // Each entry only when it can be done.
        connect(menu, &QMenu::aboutToShow, this, [this, start, stop, study, endStudy, tournament] {
            const GameController& c = *controller_;
            const bool free = c.gameState == GameState::NoGame && !c.RecordAnalysing() && !c.TournamentRunning();
            start->setEnabled(free);
            stop->setEnabled(c.RecordAnalysing());
            study->setEnabled(free && !c.Studying());
            endStudy->setEnabled(c.Studying());
            tournament->setEnabled(c.gameState == GameState::NoGame);
        });
    }
}

void MainWindow::analyseRecord() {
    GameController& c = *controller_;
    if (c.gameState != GameState::NoGame || c.RecordAnalysing()) return;
    if (const std::optional<RecordAnalysisRequest> request = AskRecordAnalysis(c, this)) {
        c.StartRecordAnalysis(*request);
    }
}

void MainWindow::startStudy() {
    GameController& c = *controller_;
    if (c.gameState != GameState::NoGame || c.RecordAnalysing() || c.Studying()) return;
    const std::vector<std::string> paths = AskStudyEngines(c, this);
    if (!paths.empty()) c.StartStudy(paths);
}

TournamentDialog* MainWindow::openTournament() {
    if (tournament_ == nullptr) {
        tournament_ = new TournamentDialog(*controller_, this);
        // Beside the window where the screen has room, so that the board stays in sight.
        tournament_->adjustSize();
        const QRect screen = this->screen()->availableGeometry();
        const QRect window = frameGeometry();
        const int x = std::min(window.right() + 8, screen.right() - tournament_->width());
        tournament_->move(std::max(screen.left(), x), window.top());
    }
    tournament_->refreshEngines();
    tournament_->refresh();
    tournament_->show();
    tournament_->raise();
    return tournament_;
}

// The timer runs while a tournament does; the dialog follows it.
void MainWindow::tournamentChanged() {
    if (controller_->TournamentRunning()) {
        if (!tournamentTimer_->isActive()) tournamentTimer_->start();
    } else {
        tournamentTimer_->stop();
    }
    if (tournament_ != nullptr) tournament_->refresh();
}

// The panel shows while 検討 runs, and the timer takes the reports.
void MainWindow::studyChanged() {
    const bool on = controller_->Studying();
    if (on == study_->isHidden()) {
        study_->setVisible(on);
        const int extra = on ? kStudyPanelHeight : 0;
        setMinimumSize(kPictureWidth + kMoveListWidth, kToolBarHeight + kPictureHeight + extra);
        if (on && height() < minimumHeight()) resize(width(), minimumHeight());
        if (on) {
            studyTimer_->start();
        } else {
            studyTimer_->stop();
        }
        layOut();
        drawBoard();
    }
    if (on) study_->refresh();
    button(Control::Kentou)->setChecked(on);
}

void MainWindow::buildAnalysisProgress() {
    progress_ = new QProgressBar(panel_);
    progress_->setObjectName(QStringLiteral("kaiseki_sintyoku"));
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    stopAnalysis_ = new QPushButton(QStringLiteral("中止"), panel_);
    stopAnalysis_->setObjectName(QStringLiteral("kaiseki_tyuusi"));
    progress_->hide();
    stopAnalysis_->hide();
    connect(stopAnalysis_, &QPushButton::clicked, this, [this] { controller_->StopRecordAnalysis(); });
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        progress_->setValue(std::max(0, controller_->AnalysisPermille()));
    });
}

void MainWindow::showAnalysisProgress(bool on) {
    if (progress_ == nullptr || on != progress_->isHidden()) return;
    progress_->setValue(0);
    progress_->setVisible(on);
    stopAnalysis_->setVisible(on);
    if (on) {
        progressTimer_->start();
    } else {
        progressTimer_->stop();
    }
    layOut();
}

void MainWindow::buildStudyPanel() {
    study_ = new StudyPanel(*controller_, this);
    study_->hide();
    studyTimer_ = new QTimer(this);
    studyTimer_->setObjectName(QStringLiteral("kentouT"));
    studyTimer_->setInterval(100);
    connect(studyTimer_, &QTimer::timeout, this, [this] { controller_->OnStudyTick(); });
}

}  // namespace nusari
