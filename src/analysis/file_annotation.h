// 棋譜解析 of record files, for the command line and the window alike: a
// record that holds an analysis already is skipped, an analysed one goes
// beside the file as NAME-解析.kifu (UTF-8, comments kept).
#pragma once

#include <string>

#include "aik/ui.h"
#include "analysis/record_annotation.h"

namespace nusari {

// A record that an analysis has already commented ("#評価値=").
bool HoldsAnalysis(const RecordTree& tree);

// Where the analysed record of `file` goes: `out` for one file, else the
// same name with "-解析" and the KIFU extension, in `out` when it is a
// folder (beside the file when `out` is empty).
std::string AnalysedRecordPath(const std::string& file, const std::string& out, bool folder);

struct FileAnnotation {
    enum class Kind { Done, Skipped, Unreadable, NoScore, NotWritten };
    Kind kind = Kind::Unreadable;
    AnnotationSummary summary;
    std::string error;  // the reader's message of an unreadable record (UTF-8)
    bool failed() const { return kind != Kind::Done && kind != Kind::Skipped; }
};

// Reads `file`, judges its main line with `scorer` and writes it to
// `output`; skipped when the record holds an analysis or, with
// `skipExisting`, when `output` exists. A record whose moves got no score
// is a failure and is not written.
FileAnnotation AnnotateRecordFile(const std::string& file, const std::string& output, bool skipExisting,
                                  const PositionScorer& scorer, const AnnotationSettings& settings,
                                  const AnnotationProgress& progress, Ui& ui);

}  // namespace nusari
