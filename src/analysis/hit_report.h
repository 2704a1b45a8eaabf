// The HTML report of a hit-position analysis.
#pragma once

#include <ctime>
#include <string>

#include "analysis/hit_analysis.h"

namespace nusari {

// The report text (UTF-8, LF line ends) for the engine named `namaeCp932`
// (its CP932 bytes) on the local date of `when`. Its head names the
// character set the file is written in; numbers have a "." whatever the
// process's locale.
std::string hitReportText(const HitStats& stats, const std::string& namaeCp932, const std::tm& when);

// "output/analysis/hitOrder" + yyyymmdd_hhnnss + ".html" below `programFolder`.
std::string hitReportPath(const std::string& programFolder, const std::tm& when);

// Writes the report as CP932 with CR LF, creating the folder when it is
// missing; false when the file cannot be written (an old file stays whole).
// It is saved as writeFileReplacing saves: through a symbolic link, and
// never over a folder, FIFO or device.
bool writeHitReport(const std::string& path, const std::string& utf8Text);

}  // namespace nusari
