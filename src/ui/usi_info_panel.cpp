#include "ui/usi_info_panel.h"

#include <utility>

#include "usi/usi_game.h"

namespace nusari {

UsiInfoPanel::UsiInfoPanel(std::string name, const GameRecord& record, int32_t plies, Ui& ui,
                           std::function<int64_t()> clock)
    : name_(std::move(name)), record_(record), plies_(plies), ui_(ui), clock_(std::move(clock)) {}

void UsiInfoPanel::take(const EngineLine& line) {
    if (!line.hasScore && line.pv.empty()) return;
    // Assigned, not rebuilt: the kept variation reuses its storage.
    latest_ = line;
    pending_ = true;
    tick();
}

void UsiInfoPanel::tick() {
    if (pending_ && (!shownOnce_ || clock_() - shownMs_ >= kUsiPanelIntervalMs)) show();
}

void UsiInfoPanel::finish() {
    if (pending_) show();
}

void UsiInfoPanel::show() {
    pending_ = false;
    shownOnce_ = true;
    shownMs_ = clock_();
    ui_.setPanelText(UsiInfoText(name_, latest_, record_, plies_));
}

std::string UsiInfoText(const std::string& name, const EngineLine& line, const GameRecord& record,
                        int32_t plies) {
    std::string text = name;
    if (line.depth >= 0) text += "\n深さ " + std::to_string(line.depth);
    if (line.hasScore) {
        text += "\n評価値 ";
        if (line.score >= kMateScore - 1000) {
            text += "詰み " + std::to_string(kMateScore - line.score) + "手";
        } else if (line.score <= -kMateScore + 1000) {
            text += "被詰み " + std::to_string(kMateScore + line.score) + "手";
        } else {
            text += std::to_string(line.score);
        }
    }
    if (line.nodes >= 0) text += "\nノード数 " + std::to_string(line.nodes);
    const std::string pv = UsiVariationText(record, plies, line.pv);
    if (!pv.empty()) text += "\n読み筋 " + pv;
    return text;
}

}  // namespace nusari
