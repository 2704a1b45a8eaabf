#include "ui/analysis_prefs.h"

#include <string>

namespace nusari {

namespace {

constexpr std::string_view kSection = "Analysis";

int32_t readInt(SettingsStore& store, std::string_view key, int32_t fallback, int32_t least,
                int32_t most) {
    const std::optional<std::string> text = store.value(kSection, key);
    const std::optional<int32_t> v = text ? ParseIniInteger(*text) : std::nullopt;
    return v && *v >= least && *v <= most ? *v : fallback;
}

}  // namespace

AnalysisPrefs ReadAnalysisPrefs(SettingsStore& store) {
    AnalysisPrefs p;
    p.studyLines = readInt(store, "StudyLines", p.studyLines, 1, kMaxStudyLines);
    p.scoreFromSente = readInt(store, "ScoreFromSente", 1, 0, 1) == 1;
    p.winRateScale = readInt(store, "WinRateScale", p.winRateScale, 50, 5000);
    const int32_t t[4] = {readInt(store, "Slack", 5, 1, 100), readInt(store, "Dubious", 10, 1, 100),
                          readInt(store, "Mistake", 20, 1, 100), readInt(store, "Blunder", 50, 1, 100)};
    if (t[0] < t[1] && t[1] < t[2] && t[2] < t[3]) p.thresholds = LabelThresholds{double(t[0]), double(t[1]), double(t[2]), double(t[3])};
    return p;
}

bool WriteAnalysisPrefs(SettingsStore& store, const AnalysisPrefs& p) {
    const auto set = [&](std::string_view key, int32_t v) {
        const std::string text = std::to_string(v);
        if (store.value(kSection, key) != text) store.setValue(kSection, key, text);
    };
    set("StudyLines", p.studyLines);
    set("ScoreFromSente", p.scoreFromSente ? 1 : 0);
    set("WinRateScale", p.winRateScale);
    set("Slack", static_cast<int32_t>(p.thresholds.slack));
    set("Dubious", static_cast<int32_t>(p.thresholds.dubious));
    set("Mistake", static_cast<int32_t>(p.thresholds.mistake));
    set("Blunder", static_cast<int32_t>(p.thresholds.blunder));
    return store.flush();
}

}  // namespace nusari
