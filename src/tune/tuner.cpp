#include "tune/tuner.h"

#include <cmath>
#include <map>
#include <memory>
#include <random>

#include "aik/aik_loader.h"
#include "aik/aik_reader.h"
#include "aik/aik_rewrite.h"
#include "analysis/deferred_ui.h"
#include "analysis/hit_analysis.h"
#include "analysis/rank_positions.h"
#include "records/load_record.h"
#include "records/record_files.h"
#include "records/record_tree_files.h"
#include "tune/engine_companions.h"
#include "tune/fit_positions.h"
#include "tune/king_piece_fit.h"
#include "tune/teacher_split.h"
#include "tune/tune_groups.h"

namespace nusari {

namespace {

// Extra steps taken in a direction that keeps improving.
constexpr int32_t kMaxLineSteps = 8;

// Errors of the fit are compared as integers: the mean squared error in
// these units.
constexpr double kFitErrorUnit = 1e9;

struct TeacherSet {
    std::vector<TeacherPosition> positions;  // ranked by the hit score
    std::vector<FitPosition> fit;            // fitted by the logistic fit
    int32_t games = 0;

    std::size_t size() const { return positions.size() + fit.size(); }
};

// Reads the teacher files, for the method's objective; one that fails
// counts as a game without positions.
TeacherSet readTeacherSet(const std::vector<std::string>& files, bool fit) {
    TeacherSet set;
    auto record = std::make_unique<GameRecord>();
    for (const std::string& file : files) {
        DeferredUi quiet;  // a failing file is counted, not shown
        ++set.games;
        if (fit) {
            auto tree = std::make_unique<RecordTree>();
            if (ReadRecordTreeFile(file, *tree).error.empty()) AppendFitPositions(*tree, set.fit);
        } else if (LoadRecord(*record, file, quiet).ok) {
            AppendTeacherPositions(*record, set.positions);
        }
    }
    return set;
}

// The engine file, its numbers and the parameters, and the scores of the
// parameter values tried.
class Objective {
public:
    Objective(const TuneSettings& settings, std::string bytes, std::vector<AikNumber> numbers,
              std::vector<TuneParameter> parameters)
        : settings_(settings),
          bytes_(std::move(bytes)),
          numbers_(std::move(numbers)),
          parameters_(std::move(parameters)) {}

    const std::vector<TuneParameter>& parameters() const { return parameters_; }
    int32_t evaluations() const { return evaluations_; }

    // The engine file with the parameters at `values`; false when a number
    // would leave its valid range or would not read back as written.
    bool fileFor(const std::vector<int32_t>& values, std::string& out) const {
        return RewriteAikNumbersChecked(settings_.aikPath, bytes_, numbers_,
                                        NumberValues(numbers_, parameters_, values), out);
    }

    // The engine with the parameters at `values`; null when there is no
    // such engine file.
    std::unique_ptr<EngineState> engineFor(const std::vector<int32_t>& values) const {
        std::string file;
        if (!fileFor(values, file)) return nullptr;
        auto engine = std::make_unique<EngineState>();
        DeferredUi quiet;
        if (LoadAikBytes(*engine, settings_.aikPath, std::move(file), quiet) != 1) return nullptr;
        return engine;
    }

    // The stats of the engine with the parameters at `values` on `set`;
    // false when there is no such engine file.
    bool rank(const std::vector<int32_t>& values, const TeacherSet& set, HitStats& stats) const {
        const auto engine = engineFor(values);
        if (!engine) return false;
        stats = RankTeacherPositions(*engine, set.positions, AnalysisThreads(settings_.threads));
        return true;
    }

    // The fit's error of the engine with the parameters at `values` on
    // `set`, at the scale fixed for the run.
    bool fitError(const std::vector<int32_t>& values, const TeacherSet& set, double& error) const {
        const auto engine = engineFor(values);
        if (!engine) return false;
        error = FitError(*engine, set.fit, fitScale, AnalysisThreads(settings_.threads));
        return true;
    }

    // The training score at `values` (lower is better), remembered; false
    // for no engine file.
    bool score(const std::vector<int32_t>& values, const TeacherSet& training, int32_t& score) {
        const auto known = scores_.find(values);
        if (known != scores_.end()) {
            score = known->second;
            return score >= 0;
        }
        bool ok = false;
        if (settings_.method == TuneMethod::Fit) {
            double error = 0;
            ok = fitError(values, training, error);
            score = ok ? static_cast<int32_t>(std::llround(error * kFitErrorUnit)) : -1;
        } else {
            HitStats stats;
            ok = rank(values, training, stats);
            score = ok ? stats.score : -1;
        }
        if (ok) ++evaluations_;
        scores_[values] = score;
        return ok;
    }

    double fitScale = 400;

private:
    const TuneSettings& settings_;
    const std::string bytes_;
    const std::vector<AikNumber> numbers_;
    const std::vector<TuneParameter> parameters_;
    std::map<std::vector<int32_t>, int32_t> scores_;
    int32_t evaluations_ = 0;
};

// Coordinate search: every round tries each parameter, in an order the seed
// shuffles, one step up or down (the seed picks which first), and keeps
// walking while the training score falls. A round without a gain halves the
// steps; one without a gain at step 1 ends the search.
class CoordinateSearch {
public:
    CoordinateSearch(const TuneSettings& settings, Objective& objective, const TeacherSet& training,
                     std::FILE* progress)
        : settings_(settings),
          objective_(objective),
          training_(training),
          progress_(progress),
          random_(settings.seed) {
        for (const TuneParameter& p : objective.parameters()) {
            values_.push_back(p.start);
            steps_.push_back(p.step);
        }
    }

    const std::vector<int32_t>& run() {
        if (!objective_.score(values_, training_, best_)) return values_;
        for (int32_t round = 1; round <= settings_.rounds && !budgetSpent(); ++round) {
            bool gained = false;
            for (const std::size_t p : shuffledOrder()) {
                if (budgetSpent()) break;
                gained = tryParameter(round, p) || gained;
            }
            if (!gained) {
                bool anyLarger = false;
                for (int32_t& step : steps_) {
                    anyLarger = anyLarger || step > 1;
                    step = std::max(1, step / 2);
                }
                if (!anyLarger) break;
            }
        }
        return values_;
    }

private:
    bool budgetSpent() const {
        return settings_.evaluations > 0 && objective_.evaluations() >= settings_.evaluations;
    }

    std::vector<std::size_t> shuffledOrder() {
        std::vector<std::size_t> order(values_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random_() % i]);
        return order;
    }

    // Tries one step each way, then walks on while it helps; true on a gain.
    bool tryParameter(int32_t round, std::size_t p) {
        const int32_t first = (random_() & 1u) != 0 ? 1 : -1;
        for (const int32_t direction : {first, -first}) {
            if (!tryValue(round, p, values_[p] + direction * steps_[p])) continue;
            for (int32_t n = 0; n < kMaxLineSteps && !budgetSpent(); ++n) {
                if (!tryValue(round, p, values_[p] + direction * steps_[p])) break;
            }
            return true;
        }
        return false;
    }

    // Evaluates parameter p at `value`; keeps it and returns true when the
    // training score falls.
    bool tryValue(int32_t round, std::size_t p, int32_t value) {
        const TuneParameter& parameter = objective_.parameters()[p];
        if (value < parameter.min || value > parameter.max || budgetSpent()) return false;
        std::vector<int32_t> candidate = values_;
        candidate[p] = value;
        int32_t score = 0;
        if (!objective_.score(candidate, training_, score)) return false;
        const bool better = score < best_;
        if (better) {
            values_ = std::move(candidate);
            best_ = score;
        }
        if (progress_ != nullptr) {
            std::fprintf(progress_, "round %d  eval %d  %s = %d  training %.3f  best %.3f%s\n", round,
                         objective_.evaluations(), parameter.name.c_str(), value, perPosition(score),
                         perPosition(best_), better ? "  kept" : "");
            std::fflush(progress_);
        }
        return better;
    }

    // The hit score per position, or the fit's mean squared error.
    double perPosition(int32_t score) const {
        if (settings_.method == TuneMethod::Fit) return score / kFitErrorUnit;
        return training_.positions.empty() ? 0.0
                                           : static_cast<double>(score) /
                                                 static_cast<double>(training_.positions.size());
    }

    const TuneSettings& settings_;
    Objective& objective_;
    const TeacherSet& training_;
    std::FILE* progress_;
    std::mt19937 random_;
    std::vector<int32_t> values_;
    std::vector<int32_t> steps_;
    int32_t best_ = 0;
};

// `text` followed by `path` (appended piecewise: GCC 12 warns wrongly on
// a literal plus a string).
std::string withPath(const char* text, const std::string& path) {
    std::string s = text;
    s += path;
    return s;
}

// A Ui that keeps the last message: the loader's reason for a failure.
class MessageCatcher : public Ui {
public:
    void message(const std::string& text) override { last = text; }
    bool ask(const std::string&) override { return false; }
    void setPanelText(const std::string&) override {}
    std::string panelText() const override { return {}; }
    void pumpMessages() override {}
    void playSound(Sound) override {}
    std::string last;
};

// The loader's message on one line: "error / aik file is not opened. / why".
std::string oneLine(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out += text[i];
            continue;
        }
        out += " /";
        while (i + 1 < text.size() && text[i + 1] == ' ') ++i;
        out += ' ';
    }
    return out;
}

bool readEngineFile(const std::string& path, std::string& bytes, std::string& error) {
    if (readRegularFile(path, kMaxAikFileBytes, bytes) != FileRead::Ok) {
        error = withPath("cannot read ", path);
        return false;
    }
    return true;
}

// Writes `text` to settings.outPath with the companions beside it, and
// loads it back into `written`.
bool writeResult(const TuneSettings& settings, const std::string& text, const std::vector<CompanionCopy>& companions,
                 TuneOutcome& outcome, EngineState& written, std::string& error) {
    if (!CopyCompanions(companions, error)) return false;
    for (const CompanionCopy& c : companions) outcome.copied.push_back(c.to);
    if (!writeFileReplacing(settings.outPath, text)) {
        error = withPath("cannot write ", settings.outPath);
        return false;
    }
    MessageCatcher writtenMessage;
    if (LoadAik(written, settings.outPath, writtenMessage) != 1) {
        error = withPath("the written engine does not load: ", settings.outPath) + ": " +
                oneLine(writtenMessage.last);
        return false;
    }
    return true;
}

// TuneMethod::KingPiece, once the positions and their targets are read: the
// errors before are those of the engine as loaded, whichever evaluation it
// uses, at the scale that fits it best, and the fitted evaluation is judged
// at that scale.
bool fitKingPiece(const TuneSettings& settings, const std::string& bytes, const std::vector<AikNumber>& numbers,
                  const EngineState& input, const std::vector<FitPosition>& training,
                  const std::vector<FitPosition>& heldOut, const std::vector<CompanionCopy>& companions,
                  std::FILE* progress, TuneOutcome& outcome, std::string& error) {
    const int32_t threads = AnalysisThreads(settings.threads);
    FitFigures& f = outcome.fit;
    f.scale = BestFitScale(input, training, threads);
    f.trainingPositions = static_cast<int32_t>(training.size());
    f.heldOutPositions = static_cast<int32_t>(heldOut.size());
    f.trainingBefore = FitError(input, training, f.scale, threads);
    f.heldOutBefore = FitError(input, heldOut, f.scale, threads);
    auto fitted = std::make_unique<EngineState>();
    CopyEvaluationParts(input, *fitted);
    KingPieceFitSettings fit;
    fit.epochs = settings.epochs;
    fit.seed = settings.seed;
    outcome.parameters = FitKingPieceNumbers(*fitted, training, f.scale, fit, progress);
    f.trainingAfter = FitError(*fitted, training, f.scale, threads);
    f.heldOutAfter = FitError(*fitted, heldOut, f.scale, threads);
    std::string text;
    if (!KingPieceFile(settings.aikPath, bytes, numbers, *fitted, text)) {
        error = "the fitted numbers do not make an engine file";
        return false;
    }
    auto written = std::make_unique<EngineState>();
    if (!writeResult(settings, text, companions, outcome, *written, error)) return false;
    if (!written->kingPieceTables.present ||
        !std::equal(&written->kingPieceTables.value[0][0], &written->kingPieceTables.value[0][0] + kKingPieceTables * kKingPieceSlots,
                    &fitted->kingPieceTables.value[0][0])) {
        error = withPath("the written engine does not read back the fitted tables: ", settings.outPath);
        return false;
    }
    return true;
}

}  // namespace

double ScorePerPosition(const HitStats& stats) {
    return stats.positions > 0 ? static_cast<double>(stats.score) / stats.positions : 0.0;
}

double FirstRankShare(const HitStats& stats) {
    return stats.positions > 0 ? 100.0 * stats.hits[0] / stats.positions : 0.0;
}

bool RunTune(const TuneSettings& settings, std::FILE* progress, TuneOutcome& outcome,
             std::string& error) {
    outcome = TuneOutcome{};
    std::string bytes;
    if (!readEngineFile(settings.aikPath, bytes, error)) return false;
    std::vector<AikNumber> numbers;
    auto input = std::make_unique<EngineState>();
    MessageCatcher loadMessage;
    if (LoadAikBytes(*input, settings.aikPath, bytes, loadMessage) != 1 ||
        !LocateAikNumbers(settings.aikPath, bytes, numbers)) {
        error = withPath("cannot load engine file ", settings.aikPath) + ": " +
                oneLine(loadMessage.last);
        return false;
    }
    // Before the run, so that it never ends in a file that cannot be used:
    // the output's folder takes files, and the book and messages the engine
    // names can stand beside the result.
    std::vector<CompanionCopy> companions;
    if (!CheckFolderWritable(settings.outPath, error) ||
        !PlanCompanionCopies(settings.aikPath, input->profile.zyouseki, settings.outPath,
                             companions, error)) {
        return false;
    }
    std::vector<TuneParameter> parameters;
    const bool fit = settings.method != TuneMethod::Hit;
    const std::vector<std::string> groups = !settings.groups.empty() ? settings.groups
                                            : SplitList(fit ? kDefaultFitGroups : kDefaultTuneGroups);
    if (settings.method != TuneMethod::KingPiece && !BuildTuneParameters(numbers, groups, parameters, error)) {
        return false;
    }

    const TeacherSplit split = SplitTeacherGames(TeacherGames(settings.kifFolder), settings.holdoutPercent);
    TeacherSet training = readTeacherSet(split.training, fit);
    TeacherSet heldOut = readTeacherSet(split.heldOut, fit);
    if (fit) {
        // The positions stay as the engine as loaded judges them quiet.
        KeepQuietPositions(*input, training.fit);
        KeepQuietPositions(*input, heldOut.fit);
        outcome.fit.teacherScale = TeacherScale(training.fit);
        SetFitTargets(training.fit, outcome.fit.teacherScale, settings.scoreWeightPercent);
        SetFitTargets(heldOut.fit, outcome.fit.teacherScale, settings.scoreWeightPercent);
        for (const FitPosition& f : training.fit) outcome.fit.taughtPositions += f.hasTeacher ? 1 : 0;
    }
    if (training.size() == 0) {
        error = withPath("no training positions in ", settings.kifFolder);
        return false;
    }
    outcome.trainingGames = training.games;
    outcome.heldOutGames = heldOut.games;
    outcome.parameters = static_cast<int32_t>(parameters.size());
    if (settings.method == TuneMethod::KingPiece) {
        return fitKingPiece(settings, bytes, numbers, *input, training.fit, heldOut.fit, companions, progress,
                            outcome, error);
    }

    Objective objective(settings, bytes, numbers, parameters);
    if (fit) objective.fitScale = BestFitScale(*input, training.fit, AnalysisThreads(settings.threads));
    std::vector<int32_t> start;
    for (const TuneParameter& p : parameters) start.push_back(p.start);
    CoordinateSearch search(settings, objective, training, progress);
    const std::vector<int32_t> best = search.run();
    outcome.evaluations = objective.evaluations();

    if (fit) {
        outcome.fit.scale = objective.fitScale;
        outcome.fit.trainingPositions = static_cast<int32_t>(training.fit.size());
        outcome.fit.heldOutPositions = static_cast<int32_t>(heldOut.fit.size());
        if (!objective.fitError(start, training, outcome.fit.trainingBefore) ||
            !objective.fitError(best, training, outcome.fit.trainingAfter) ||
            !objective.fitError(start, heldOut, outcome.fit.heldOutBefore) ||
            !objective.fitError(best, heldOut, outcome.fit.heldOutAfter)) {
            error = "the engine file does not load with its numbers rewritten";
            return false;
        }
    } else if (!objective.rank(start, training, outcome.trainingBefore) ||
               !objective.rank(best, training, outcome.trainingAfter) ||
               !objective.rank(start, heldOut, outcome.heldOutBefore) ||
               !objective.rank(best, heldOut, outcome.heldOutAfter)) {
        error = "the engine file does not load with its numbers rewritten";
        return false;
    }
    outcome.trainingBefore.games = outcome.trainingAfter.games = training.games;
    outcome.heldOutBefore.games = outcome.heldOutAfter.games = heldOut.games;
    for (std::size_t p = 0; p < parameters.size(); ++p) {
        if (best[p] != start[p]) outcome.changes.push_back({parameters[p].name, start[p], best[p]});
    }

    std::string tuned;
    if (!objective.fileFor(best, tuned)) {
        error = "the tuned numbers do not make an engine file";
        return false;
    }
    auto written = std::make_unique<EngineState>();
    return writeResult(settings, tuned, companions, outcome, *written, error);
}

}  // namespace nusari
