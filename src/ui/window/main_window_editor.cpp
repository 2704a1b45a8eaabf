// The position editor (局面編集) from the main window.
#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "ui/window/main_window.h"
#include "ui/window/position_editor_dialog.h"

namespace nusari {

void MainWindow::buildEditorAction() {
    auto* edit = new QAction(QStringLiteral("局面編集"), this);
    edit->setObjectName(QStringLiteral("edit_position"));
    edit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(edit, &QAction::triggered, this, [this] { editPosition(); });
    addAction(edit);
    // Also from the tool bar and the board's menu while no game runs.
    boardMenu_->addAction(edit);
    connect(button(Control::KyokumenHensyuu), &QToolButton::clicked, this,
            [this] { editPosition(); });
}

void MainWindow::editPosition() {
    GameController& c = *controller_;
    if (c.gameState != GameState::NoGame || c.RecordAnalysing() || c.TournamentRunning()) return;
    const GameController::ShownSetUpPosition shown = c.ShownSetUp();
    if (const std::optional<SetUpResult> result =
            PositionEditorDialog::edit(shown.position, shown.toMove, this)) {
        c.StartFromSetUp(*result);
    }
}

}  // namespace nusari
