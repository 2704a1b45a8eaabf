// The 検討 panel under the board: the number of lines and the score's
// sign, and one pane per analyser with its progress, its table of candidate
// lines (a click previews a line on the board) and the buttons that take
// the selected line into the record or explain it.
#pragma once

#include <QWidget>
#include <vector>

#include "ui/game_controller.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace nusari {

// The panel's height at the board's scale 1.
inline constexpr int kStudyPanelHeight = 210;

class StudyPanel : public QWidget {
  public:
    StudyPanel(GameController& controller, QWidget* parent);

    // Brings the panes up to the controller's reports.
    void refresh();

    struct Pane {
        QWidget* box = nullptr;
        QLabel* title = nullptr;
        QLabel* status = nullptr;
        QTableWidget* table = nullptr;
        QPushButton* branch = nullptr;
        QPushButton* comment = nullptr;
        QPushButton* why = nullptr;
    };
    const std::vector<Pane>& panes() const { return panes_; }
    QSpinBox* lineCount() const { return lines_; }
    QComboBox* scoreSide() const { return side_; }
    QPushButton* endButton() const { return end_; }

  private:
    void addPane();
    // The row selected in pane `index`, the first when none is.
    int selectedRow(int index) const;
    void explain(int index);

    GameController& controller_;
    QSpinBox* lines_ = nullptr;
    QComboBox* side_ = nullptr;
    QPushButton* end_ = nullptr;
    QWidget* paneRow_ = nullptr;
    std::vector<Pane> panes_;
};

}  // namespace nusari
