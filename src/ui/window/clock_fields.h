// The new-game page's clocks: the time list (the computer's limit per move,
// the presets, 個別設定) and each side's 持ち時間 with 秒読み or an increment.
// Every change goes to the controller; sync() shows its values.
#pragma once

#include <QWidget>

#include "ui/game_controller.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace nusari {

class ClockFields : public QWidget {
  public:
    ClockFields(QWidget* parent, GameController*& controller);
    void sync();

    QComboBox* taikyoku_jikan = nullptr;

  private:
    struct SideRow {
        QLineEdit* main = nullptr;   // h:mm:ss
        QComboBox* mode = nullptr;   // 秒読み or 加算
        QSpinBox* seconds = nullptr;
    };
    void addSide(int side, int y);
    // The side's row as a setting into the controller (a main time that
    // does not read as one is shown as it was).
    void sideEdited(int side);

    GameController*& controller_;
    SideRow rows_[2];
};

}  // namespace nusari
