// The 連続対局 dialog: which engines play, how many games, the time and the
// openings, where the games go; then the table of results as they come in,
// the game on the board with both engines' lines, stop and go on. It stays
// open beside the window (closing hides it; the tournament goes on).
#pragma once

#include <QDialog>

#include "ui/game_controller.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace nusari {

class TournamentDialog : public QDialog {
  public:
    TournamentDialog(GameController& controller, QWidget* parent);
    // The engine list as the new-game page has it now.
    void refreshEngines();
    // What the controller's ShownTournament says: the table, the game, the log
    // and which buttons work.
    void refresh();
    // The request of the dialog's fields; empty after a message on a field
    // that makes none.
    std::optional<GameController::TournamentRequest> request();
    void start();

  private:
    void chooseOpenings(int row);
    void chooseFolder();
    void openGame(const QString& line);
    QString newFolder() const;

    GameController& c_;
    QListWidget* engines_ = nullptr;
    QComboBox* kind_ = nullptr;
    QSpinBox* games_ = nullptr;
    QLineEdit* mainTime_ = nullptr;
    QDoubleSpinBox* byoyomi_ = nullptr;
    QDoubleSpinBox* increment_ = nullptr;
    QComboBox* openings_ = nullptr;
    QString openingsFile_;
    QCheckBox* swap_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* game_ = nullptr;
    QLabel* lines_[2] = {nullptr, nullptr};
    QTableWidget* table_ = nullptr;
    QListWidget* log_ = nullptr;
};

}  // namespace nusari
