#include <algorithm>
#include <utility>

#include "aik/aik_loader.h"
#include "aik/engine_state.h"
#include "position/text_encoding.h"
#include "study/analysers.h"
#include "study/study_texts.h"
#include "think/candidate.h"
#include "think/clock.h"
#include "think/hash_tables.h"
#include "think/second_search.h"
#include "think/think_move.h"

namespace nusari {

namespace {

// A think of a day: 検討 ends it, never its clock.
constexpr int32_t kStudyMoveTimeMs = 24 * 60 * 60 * 1000;
// Iterations enough for any depth the engine reaches: 60 plies.
constexpr int32_t kStudyIterations = 600;

// Keeps the first message of the loader for the report.
class MessageKeeper : public Ui {
  public:
    void message(const std::string& text) override {
        if (first.empty()) first = text;
    }
    bool ask(const std::string& /*text*/) override { return false; }
    void setPanelText(const std::string& /*text*/) override {}
    std::string panelText() const override { return {}; }
    void pumpMessages() override {}
    void playSound(Sound /*kind*/) override {}
    std::string first;
};

CandidateLine lineOf(int32_t score, const BestLine& moves, int32_t depth, bool head) {
    CandidateLine line;
    line.mate = score >= kWinScore || score <= kLossScore;
    line.score = line.mate ? (score > 0 ? kStudyMateScore : -kStudyMateScore) : score;
    // Only the head is searched to the end; the others did not beat it.
    line.bound = head ? ScoreBound::Exact : ScoreBound::Upper;
    line.depth = depth;
    line.moves.assign(moves.begin(), moves.end());
    return line;
}

// Each iteration into the report.
class StudyObserver : public ThinkObserver {
  public:
    StudyObserver(StudyChannel& channel, EngineState& engine, AnalyserReport& report, int32_t lines)
        : channel_(channel), engine_(engine), report_(report), lines_(lines), startMs_(nowMs()) {}
    int32_t wantedCandidates() const override { return lines_; }
    void onIteration(const ThinkIteration& it) override {
        if (!it.best.isMove()) return;
        report_.depth = it.depth / kPlyDepth;
        report_.nodes = it.nodes;
        report_.nps = int64_t{it.nodes} * 1000 / std::max<int64_t>(1, nowMs() - startMs_);
        report_.hashPermille =
            engine_.profile.tansaku == 1 ? SearchTableUsePermille(engine_) : HashUsePermille(engine_);
        report_.lines.clear();
        for (int32_t i = 0; i < it.candidateCount; ++i) {
            const RootCandidate& c = it.candidates[i];
            report_.lines.push_back(lineOf(c.score, c.line, report_.depth, i == 0));
        }
        if (report_.lines.empty()) report_.lines.push_back(lineOf(it.score, it.line, report_.depth, true));
        channel_.publish(report_);
    }
    void onResult(const ThinkResult& result) override {
        // A mate found before any iteration, or a position lost already.
        if (report_.lines.empty() && result.move.isMove()) {
            BestLine line;
            line.add(result.move);
            report_.lines.push_back(lineOf(result.end == ThinkEnd::Won ? kWinScore : result.score,
                                           line, report_.depth, true));
        } else if (report_.lines.empty() && result.end == ThinkEnd::Lost) {
            report_.lines.push_back(lineOf(kLossScore, BestLine{}, 0, true));
        }
        report_.thinking = false;
        channel_.publish(report_);
    }

  private:
    StudyChannel& channel_;
    const EngineState& engine_;
    AnalyserReport& report_;
    int32_t lines_;
    int64_t startMs_;
};

void runAik(StudyChannel& channel, EngineState& engine, const std::string& path) {
    AnalyserReport report = channel.report();
    MessageKeeper loader;
    if (LoadAik(engine, path, loader) != 1 || AllocHashTables(engine, loader) != 1) {
        report.error = kStudyEngineFailed + (loader.first.empty() ? path : loader.first);
        channel.publish(report);
        return;
    }
    engine.bookTable.clear();
    engine.profile.hukasa = std::max(engine.profile.hukasa, kStudyIterations);
    report.name = toUtf8(engine.profile.namae);
    channel.publish(report);
    while (!channel.ending()) {
        StudyChannel::Work work;
        if (!channel.nextWork(work, 200)) continue;
        engine.stopRequested = 0;
        // A position posted since the work was taken may have found the
        // flag still clear: its think starts at once instead.
        if (channel.workWaiting()) continue;
        report = ReportForWork(report, work);
        channel.publish(report);
        ThinkRequest request;
        request.position = work.position;
        request.toMove = work.toMove;
        request.limits.moveTimeMs = kStudyMoveTimeMs;
        request.limits.startMs = nowMs();
        StudyObserver observer(channel, engine, report, work.lines);
        ThinkMove(engine, request, observer);
    }
    FreeHashTables(engine);
}

}  // namespace

std::unique_ptr<LiveAnalyser> StartAikAnalyser(std::string path, int32_t hashEntries,
                                               int32_t lines) {
    AnalyserReport first;
    first.name = path;
    first.aik = true;
    auto channel = std::make_shared<StudyChannel>(std::move(first), lines);
    auto engine = std::make_shared<EngineState>();
    engine->hashEntryCount = hashEntries;
    // A new position, a new line count or the end stops the search at once.
    // (The flag first: a think that starts meanwhile reads it.)
    channel->onPosted = [engine] {
        engine->stopRequested = 1;
        engine->continueSearch = 0;
    };
    return std::make_unique<LiveAnalyser>(channel, [engine, path = std::move(path)](StudyChannel& c) {
        runAik(c, *engine, path);
    });
}

}  // namespace nusari
