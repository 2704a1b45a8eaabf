// What the window shows of 検討: one pane per analyser with its progress
// and its candidate lines in Japanese notation, and the best moves as
// arrows. Texts only; the window lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "study/analyser_report.h"

namespace nusari {

struct StudyPaneView {
    std::string title;   // the engine's name
    std::string status;  // "深さ 12/20  ノード 1,234,567  NPS 450,000  ハッシュ 0.7%"
    std::string error;   // why the analyser stopped; empty while it works
    struct Row {
        std::string rank;   // "1"
        std::string score;  // "+123", "-45↓", "詰 7", "-詰 5"
        std::string line;   // "▲２六歩△８四歩…"
    };
    std::vector<Row> rows;
    bool aik = false;  // its lines can be explained
};

// A score for the table: from the side to move, or from 先手's side when
// `fromSente` (a bound turns with the sign).
std::string StudyScoreText(const CandidateLine& line, Side toMove, bool fromSente);

// The pane of a report; `current` is false while the report belongs to
// a position that is no longer shown (its lines are then left out).
StudyPaneView StudyPaneOf(const AnalyserReport& report, bool fromSente, bool current);

// A count with thousands separators: "1,234,567".
std::string GroupedCount(int64_t n);

// The arrows' moves of a report: up to three lines whose first move scores
// within `marginCp` of the best (side to move), best first.
struct StudyArrow {
    Move move;
    int32_t rank = 1;
    std::string label;  // the score as the table shows it
};
inline constexpr int32_t kMaxStudyArrows = 3;
inline constexpr int32_t kStudyArrowMarginCp = 300;
std::vector<StudyArrow> StudyArrowsOf(const AnalyserReport& report, bool fromSente,
                                      int32_t marginCp = kStudyArrowMarginCp);

}  // namespace nusari
