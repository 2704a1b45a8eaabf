// The game details (棋譜情報): the players' names and the record's header
// lines, the usual keys offered first, edited in a dialog.
#pragma once

#include "ui/game_controller.h"

class QWidget;

namespace nusari {

class GameDetailsDialog {
  public:
    // Shows `details` for editing; true with the edits in `details` when
    // the user confirms.
    static bool edit(GameController::GameDetails& details, QWidget* parent);
};

}  // namespace nusari
