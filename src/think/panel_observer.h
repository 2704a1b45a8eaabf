// Shows a think in the thinking panel: "現在思考中", a progress text after
// every iteration and the result text, pumping the window's messages after
// the first two.
#pragma once

#include "aik/ui.h"
#include "position/types.h"
#include "think/think_observer.h"

namespace nusari {

class PanelObserver : public ThinkObserver {
  public:
    // `toMove` is the request's side to move: the texts show the moves as
    // the thinking side sees them when it is the upper side.
    PanelObserver(Ui& ui, Side toMove) : ui_(ui), turned_(toMove == Side::Lower) {}

    void onStart() override;
    void onIteration(const ThinkIteration& iteration) override;
    void onResult(const ThinkResult& result) override;

  private:
    Move shown(const Move& m) const;

    Ui& ui_;
    bool turned_;
};

}  // namespace nusari
