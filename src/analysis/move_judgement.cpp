#include "analysis/move_judgement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace nusari {

namespace {

// The keys of the lines an analysis writes; the labels stand in brackets.
constexpr std::string_view kAnalysisKeys[] = {"#評価値=", "#詰み=", "#読み筋=", "#深さ=",
                                              "#エンジン="};

bool isAnalysisLine(std::string_view line) {
    for (const std::string_view key : kAnalysisKeys) {
        if (line.substr(0, key.size()) == key) return true;
    }
    for (int32_t i = 1; i < kMoveLabelCount; ++i) {
        const std::string label =
            "【" + std::string(MoveLabelText(static_cast<MoveLabel>(i))) + "】";
        if (line == label) return true;
    }
    return false;
}

}  // namespace

double WinRate(int32_t score, double scale) {
    if (!(scale > 0)) scale = 600;
    return 100.0 / (1.0 + std::exp(-static_cast<double>(score) / scale));
}

std::string_view MoveLabelText(MoveLabel label) {
    switch (label) {
        case MoveLabel::None: return "";
        case MoveLabel::Slack: return "緩手";
        case MoveLabel::Dubious: return "疑問手";
        case MoveLabel::Mistake: return "悪手";
        case MoveLabel::Blunder: return "大悪手";
    }
    return "";
}

MoveLabel LabelOfLoss(double loss, const LabelThresholds& t) {
    if (loss >= t.blunder) return MoveLabel::Blunder;
    if (loss >= t.mistake) return MoveLabel::Mistake;
    if (loss >= t.dubious) return MoveLabel::Dubious;
    if (loss >= t.slack) return MoveLabel::Slack;
    return MoveLabel::None;
}

double WinRateLoss(const MoveVerdict& v, double scale) {
    return std::max(0.0, WinRate(v.scoreBefore, scale) - WinRate(v.scoreAfter, scale));
}

MoveLabel LabelOf(const MoveVerdict& v, const LabelThresholds& thresholds, double scale) {
    return v.engineBest ? MoveLabel::None : LabelOfLoss(WinRateLoss(v, scale), thresholds);
}

std::string AnalysisComment(const MoveVerdict& v, MoveLabel label) {
    std::string block;
    if (label != MoveLabel::None) block += "【" + std::string(MoveLabelText(label)) + "】\n";
    block += "#評価値=" + std::to_string(v.senteScore) + "\n";
    if (!v.line.empty()) block += "#読み筋=" + v.line + "\n";
    if (v.depth > 0) block += "#深さ=" + std::to_string(v.depth) + "\n";
    if (!v.engine.empty()) block += "#エンジン=" + v.engine + "\n";
    block.pop_back();
    return block;
}

std::string WithAnalysisComment(std::string_view comment, std::string_view block) {
    std::vector<std::string_view> kept;
    while (!comment.empty()) {
        const std::size_t end = comment.find('\n');
        const std::string_view line = comment.substr(0, end);
        if (!isAnalysisLine(line)) kept.push_back(line);
        if (end == std::string_view::npos) break;
        comment.remove_prefix(end + 1);
    }
    while (!kept.empty() && kept.back().empty()) kept.pop_back();
    std::string out;
    for (const std::string_view line : kept) {
        out += line;
        out += '\n';
    }
    out += block;
    return out;
}

void SideTally::add(MoveLabel label, double loss) {
    ++labels[static_cast<std::size_t>(label)];
    ++moves;
    totalLoss += std::max(0.0, loss);
}

}  // namespace nusari
