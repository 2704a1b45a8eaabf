// The analysis page's Start: an engine's hit-position analysis over the
// teacher games of the "kif" folder, its report, and the window reset after.
#pragma once

#include <string>

#include "ui/game_controller.h"

namespace nusari {

// After an analysis the thinking panel shows "分析完了" and, on a line
// of its own, this and the report's path.
inline constexpr const char* kReportPathLine = "レポート：";
// Shown with the report's path when it could not be written or opened.
inline constexpr const char* kReportWriteFailed = "レポートを書き込めませんでした：";
inline constexpr const char* kReportOpenFailed = "レポートを開けませんでした：";
// Before the analysis, below "現在分析中": these around the number of
// record files found in the kif folder.
inline constexpr const char* kTeacherGamesFound = "教師棋譜 ";
inline constexpr const char* kTeacherGamesFoundEnd = " 局を分析します";
// Instead of an empty report: this, the kif folder's path and the hint.
inline constexpr const char* kNoTeacherGames = "教師棋譜がありません：";
inline constexpr const char* kNoTeacherGamesHint =
    "\nCSA・KIF・KI2 の棋譜ファイルを置いてから分析して下さい";

// Runs the analysis of the .aik file `fileName` (UTF-8 path as the file
// dialog returned it) and opens the report.
void RunHitAnalysis(GameController& c, const std::string& fileName);

}  // namespace nusari
