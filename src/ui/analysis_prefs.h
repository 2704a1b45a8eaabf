// The analysis settings the user chooses, kept in the settings file's
// [Analysis] section: 検討's number of lines and score sign, and the win
// rate scale and label thresholds of 棋譜解析.
#pragma once

#include <cstdint>

#include "analysis/move_judgement.h"
#include "settings/settings.h"
#include "study/analyser_report.h"

namespace nusari {

struct AnalysisPrefs {
    int32_t studyLines = 3;
    bool scoreFromSente = true;  // else from the side to move
    int32_t winRateScale = 600;
    LabelThresholds thresholds;
    bool operator==(const AnalysisPrefs& o) const {
        return studyLines == o.studyLines && scoreFromSente == o.scoreFromSente &&
               winRateScale == o.winRateScale && thresholds.slack == o.thresholds.slack &&
               thresholds.dubious == o.thresholds.dubious &&
               thresholds.mistake == o.thresholds.mistake &&
               thresholds.blunder == o.thresholds.blunder;
    }
};

// A missing or unusable value gives its default; thresholds that do not
// rise from 1 to 100 give the default four.
AnalysisPrefs ReadAnalysisPrefs(SettingsStore& store);
// Sets the values that differ from what the store holds, then flushes.
bool WriteAnalysisPrefs(SettingsStore& store, const AnalysisPrefs& prefs);

}  // namespace nusari
