// The hidden page control settei_menyuu: the new-game page, the settings
// page, the analysis page and the page of the registered USI engines. The
// widgets write every change into the controller's page values; sync()
// shows those values.
#pragma once

#include <QTabWidget>

#include "ui/game_controller.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace nusari {

class ClockFields;
class UsiEnginesPage;

class SettingsPages : public QTabWidget {
  public:
    SettingsPages(QWidget* parent, GameController*& controller);
    // Shows the controller's page values, without counting them as edits.
    void sync();

    QComboBox* taikyoku_teai = nullptr;
    QLineEdit* namae_you = nullptr;
    QComboBox* taisenn_com = nullptr;
    QRadioButton* sengo_1 = nullptr;
    QRadioButton* sengo_2 = nullptr;
    QCheckBox* tuusinC = nullptr;
    QComboBox* tuusin_aite = nullptr;
    QCheckBox* hansoku_kinsi = nullptr;
    QComboBox* taikyokusha = nullptr;   // 対COM, 人間同士, COM同士
    QComboBox* taisenn_com2 = nullptr;  // the second COM of COM同士
    QPushButton* taikyoku_iiyo = nullptr;
    QPushButton* taikyoku_yame = nullptr;
    QLineEdit* zikann_max_ran = nullptr;
    QLineEdit* data_ookisa_ran = nullptr;
    QLineEdit* com_poto_ran = nullptr;
    QLineEdit* ransuu_tane_ran = nullptr;
    QPushButton* settei_iiyo = nullptr;
    QPushButton* settei_yame = nullptr;
    QPushButton* btnAnalysisAik_hitOrder = nullptr;
    UsiEnginesPage* usi_tab = nullptr;

  private:
    QWidget* buildNewGamePage();
    QWidget* buildSettingsPage();
    QWidget* buildAnalysisPage();
    QWidget* buildUsiPage();
    QLineEdit* addSettingsEdit(QWidget* page, int row, const char* label, const char* name,
                               int maxLength, SettingsEdit edit);
    void presetTextChanged(const QString& text);
    // The page for who plays: the COM list, the name or the second COM, and
    // the 先手/後手 choices.
    void showOpponent();

    GameController*& controller_;
    ClockFields* clocks_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    // True while a number edit's exit check shows its message.
    bool checkingEdit_ = false;
};

}  // namespace nusari
