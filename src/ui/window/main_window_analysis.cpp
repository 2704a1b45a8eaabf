// 棋譜解析 from the main window: the entries of the move list's and the
// board's menus that start and stop it.
#include <QAction>
#include <QMenu>

#include "ui/window/main_window.h"
#include "ui/window/record_analysis_dialog.h"

namespace nusari {

void MainWindow::buildAnalysisActions() {
    auto* start = new QAction(QStringLiteral("棋譜解析..."), this);
    start->setObjectName(QStringLiteral("record_analysis"));
    auto* stop = new QAction(QStringLiteral("棋譜解析を中止"), this);
    stop->setObjectName(QStringLiteral("stop_record_analysis"));
    connect(start, &QAction::triggered, this, [this] { analyseRecord(); });
    connect(stop, &QAction::triggered, this, [this] { controller_->StopRecordAnalysis(); });
    for (QMenu* menu : {findChild<QMenu*>(QStringLiteral("clipboard_menu")), boardMenu_}) {
        if (menu == nullptr) continue;
        menu->addSeparator();
        menu->addAction(start);
        menu->addAction(stop);
        // Each entry only when it can be done.
        connect(menu, &QMenu::aboutToShow, this, [this, start, stop] {
            const GameController& c = *controller_;
            start->setEnabled(c.gameState == GameState::NoGame && !c.RecordAnalysing() &&
                              c.ListedPlies() > 0);
            stop->setEnabled(c.RecordAnalysing());
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

}  // namespace nusari
