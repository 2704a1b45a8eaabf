// The options of one registered USI engine in a table, each with an editor
// of its type: a spin box within the bounds, a check box, a list of the
// choices, a line for a text. Ok hands the values to `apply` and closes only
// when it takes them; 再読込 closes with kReread.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "settings/usi_engines.h"

class QTableWidget;

namespace nusari {

class UsiOptionsDialog : public QDialog {
  public:
    // The result of exec() when the user asked to read the options again.
    static constexpr int kReread = 2;
    using Apply = std::function<bool(const std::vector<std::string>& values)>;

    UsiOptionsDialog(QWidget* parent, const UsiEngineEntry& entry, Apply apply);

    // The values the editors show, one per option (empty for a button).
    std::vector<std::string> values() const;
    // Puts every option's default into its editor.
    void restoreDefaults();
    void accept() override;

    QTableWidget* usi_opusyon_hyou = nullptr;

  private:
    struct Editor {
        std::function<std::string()> get;
        std::function<void(const std::string&)> set;
    };
    Editor addEditor(int row, const UsiOption& option);

    std::vector<UsiOption> options_;
    std::vector<Editor> editors_;
    Apply apply_;
};

}  // namespace nusari
