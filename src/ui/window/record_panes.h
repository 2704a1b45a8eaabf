// The panes under the move list: the alternatives of the shown ply (分岐)
// with the buttons that make one the main line, move it or delete it, the
// button of the game details (棋譜情報), and in two tabs the comment of the
// shown ply and the evaluation graph of the line.
#pragma once

#include <QWidget>

#include "ui/game_controller.h"
#include "ui/window/evaluation_graph.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace nusari {

class RecordPanes : public QWidget {
  public:
    RecordPanes(GameController& controller, QWidget* parent);

    // Brings the panes up to the ply shown; editing is offered only while
    // no game runs.
    void refresh();

    QListWidget* branchList() const { return branches_; }
    QPlainTextEdit* commentBox() const { return comment_; }
    EvaluationGraph* graph() const { return graph_; }
    QTabWidget* tabs() const { return tabs_; }

  private:
    void editDetails();

    GameController& controller_;
    QListWidget* branches_ = nullptr;
    QPushButton* promote_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* details_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    EvaluationGraph* graph_ = nullptr;
    // True while refresh writes the comment box: its own change is no edit.
    bool refreshing_ = false;
};

}  // namespace nusari
