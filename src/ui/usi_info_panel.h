// What a USI engine's info lines show in the thinking panel while it
// thinks. An engine may write thousands of lines a second: only the latest
// line that tells something is kept, and it is turned into the panel's text
// at most once an interval and once more when the think ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "aik/ui.h"
#include "records/game_record.h"
#include "usi/engine_line.h"

namespace nusari {

// The shortest time between two panel texts of one think.
inline constexpr int64_t kUsiPanelIntervalMs = 50;

class UsiInfoPanel {
  public:
    // For the engine `name` thinking about the position after `plies` plies
    // of `record`; texts go to `ui`. `clock` gives the time in milliseconds.
    UsiInfoPanel(std::string name, const GameRecord& record, int32_t plies, Ui& ui,
                 std::function<int64_t()> clock);

    // An info line: kept when it has a score or a variation, shown when the
    // interval since the last text has passed.
    void take(const EngineLine& line);
    // Shows the kept line once the interval has passed (between reads).
    void tick();
    // Shows the kept line now (the think has ended).
    void finish();

  private:
    void show();

    std::string name_;
    const GameRecord& record_;
    int32_t plies_;
    Ui& ui_;
    std::function<int64_t()> clock_;
    EngineLine latest_;
    bool pending_ = false;
    bool shownOnce_ = false;
    int64_t shownMs_ = 0;
};

// What the panel shows of an engine's info line: its name, depth, score
// from its side, nodes and the principal variation in Japanese notation.
std::string UsiInfoText(const std::string& name, const EngineLine& line, const GameRecord& record,
                        int32_t plies);

}  // namespace nusari
