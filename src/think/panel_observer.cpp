#include "think/panel_observer.h"

#include "position/position.h"
#include "think/think_texts.h"

namespace nusari {

Move PanelObserver::shown(const Move& m) const { return turned_ && m.isMove() ? flipMove(m) : m; }

void PanelObserver::onStart() {
    ui_.setPanelText(kThinkingText);
    ui_.pumpMessages();
}

void PanelObserver::onIteration(const ThinkIteration& iteration) {
    ThinkIteration view = iteration;
    view.best = shown(iteration.best);
    view.setting.induced = shown(iteration.setting.induced);
    ui_.setPanelText(progressText(view));
    ui_.pumpMessages();
}

void PanelObserver::onResult(const ThinkResult& result) {
    if (result.end == ThinkEnd::NoThink) return;
    ThinkResult view = result;
    view.setting.induced = shown(result.setting.induced);
    ui_.setPanelText(resultText(view));
}

}  // namespace nusari
