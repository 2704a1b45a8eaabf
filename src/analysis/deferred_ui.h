// A Ui for a worker thread: it keeps what the work shows, and the thread
// that owns the real Ui shows it later, in the same order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "aik/ui.h"

namespace nusari {

class DeferredUi : public Ui {
public:
    // Shows everything kept on `ui`, in order, and forgets it.
    void replay(Ui& ui);

    void message(const std::string& text) override;
    void notify(const std::string& text) override;
    // Nobody can answer on a worker thread: the question is shown later and
    // answered no now.
    bool ask(const std::string& text) override;
    void setPanelText(const std::string& text) override;
    std::string panelText() const override { return panel_; }
    void pumpMessages() override {}
    void playSound(Sound kind) override;

private:
    std::vector<std::function<void(Ui&)>> calls_;
    std::string panel_;
};

}  // namespace nusari
