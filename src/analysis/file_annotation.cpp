#include "analysis/file_annotation.h"

#include <filesystem>
#include <system_error>

#include "records/record_tree_files.h"
#include "records/record_writer.h"

namespace nusari {

namespace fs = std::filesystem;

bool HoldsAnalysis(const RecordTree& tree) {
    for (NodeId id = 0; id < tree.nodeCount(); ++id) {
        if (tree.node(id).comment.find("#評価値=") != std::string::npos) return true;
    }
    return false;
}

std::string AnalysedRecordPath(const std::string& file, const std::string& out, bool folder) {
    if (!folder && !out.empty()) return out;
    const fs::path in(file);
    const fs::path name = in.stem().string() + "-解析.kifu";
    return ((folder && !out.empty()) ? fs::path(out) : in.parent_path()) / name;
}

FileAnnotation AnnotateRecordFile(const std::string& file, const std::string& output, bool skipExisting,
                                  const PositionScorer& scorer, const AnnotationSettings& settings,
                                  const AnnotationProgress& progress, Ui& ui) {
    FileAnnotation result;
    RecordTree tree;
    const ReadOutcome read = ReadRecordTreeFile(file, tree);
    if (!read.error.empty()) {
        result.error = read.error;
        return result;
    }
    std::error_code error;
    if (HoldsAnalysis(tree) || (skipExisting && fs::exists(output, error))) {
        result.kind = FileAnnotation::Kind::Skipped;
        return result;
    }
    result.summary = AnnotateLine(tree, tree.mainLineEnd(), scorer, settings, progress);
    if (result.summary.judged == 0 && tree.hasMoves()) {
        result.kind = FileAnnotation::Kind::NoScore;
        return result;
    }
    if (WriteRecord(tree, output, ui) != 1) {
        result.kind = FileAnnotation::Kind::NotWritten;
        return result;
    }
    result.kind = FileAnnotation::Kind::Done;
    return result;
}

}  // namespace nusari
