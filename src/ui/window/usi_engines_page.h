// The page usi_tab of the page control: the registered USI engines, with a
// name and a command line to register one, and the buttons that remove an
// entry, rename it and open its options.
#pragma once

#include <QWidget>
#include <string>

#include "ui/game_controller.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace nusari {

class UsiEnginesPage : public QWidget {
  public:
    UsiEnginesPage(GameController*& controller, QWidget* parent = nullptr);
    // Shows the controller's entries; the selected one stays selected.
    void sync();

    QListWidget* usi_itiran = nullptr;
    QLineEdit* usi_namae = nullptr;
    QLineEdit* usi_komando = nullptr;
    QPushButton* usi_sansyou = nullptr;
    QPushButton* usi_touroku = nullptr;
    QPushButton* usi_namae_henkou = nullptr;
    QPushButton* usi_opusyon = nullptr;
    QPushButton* usi_sakuzyo = nullptr;
    QPushButton* usi_yame = nullptr;

  private:
    void registerEngine();
    void renameEngine();
    void removeEngine();
    void editOptions();
    void browse();
    void showSelected();
    // The name of the selected entry; empty without a selection.
    std::string selectedName() const;
    void select(const std::string& name);
    // Disables the page's buttons while an engine starts.
    void setBusy(bool busy);

    GameController*& controller_;
    bool busy_ = false;
};

}  // namespace nusari
