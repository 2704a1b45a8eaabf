#include "analysis/deferred_ui.h"

namespace nusari {

void DeferredUi::replay(Ui& ui) {
    for (const auto& call : calls_) call(ui);
    calls_.clear();
}

void DeferredUi::message(const std::string& text) {
    calls_.push_back([text](Ui& ui) { ui.message(text); });
}

void DeferredUi::notify(const std::string& text) {
    calls_.push_back([text](Ui& ui) { ui.notify(text); });
}

bool DeferredUi::ask(const std::string& text) {
    calls_.push_back([text](Ui& ui) { ui.ask(text); });
    return false;
}

void DeferredUi::setPanelText(const std::string& text) {
    panel_ = text;
    calls_.push_back([text](Ui& ui) { ui.setPanelText(text); });
}

void DeferredUi::playSound(Sound kind) {
    calls_.push_back([kind](Ui& ui) { ui.playSound(kind); });
}

}  // namespace nusari
