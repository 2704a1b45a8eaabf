#include <algorithm>
#include <utility>

#include "position/sfen.h"
#include "study/analysers.h"
#include "study/study_texts.h"
#include "think/clock.h"

namespace nusari {

namespace {

// How long an engine may take to answer "stop".
constexpr int64_t kStopAnswerMs = 3000;
// How long each read of the engine's output waits.
constexpr int64_t kReadSliceMs = 30;

// The engine's option that sets the number of lines, or empty.
std::string multiPvOption(const UsiEngine& engine) {
    for (const char* name : {"MultiPV", "USI_MultiPV"}) {
        for (const UsiOption& option : engine.announcedOptions()) {
            if (option.name == name) return name;
        }
    }
    return {};
}

// Sends "stop" and reads to its "bestmove": empty, or why the engine can
// not go on (a silent engine is shut down).
std::string stopThinking(UsiEngine& engine) {
    engine.onInfo = nullptr;
    engine.requestStop();
    const int64_t deadline = nowMs() + kStopAnswerMs;
    while (nowMs() < deadline) {
        const UsiEngine::Answer answer = engine.pollThink(kReadSliceMs);
        if (answer.kind == UsiEngine::Answer::Kind::Word) return {};
        if (answer.kind == UsiEngine::Answer::Kind::Exited) return kStudyEngineEnded;
    }
    engine.stop();
    return kStudyEngineSilent;
}

void runUsi(StudyChannel& channel, const EngineCommand& command, int64_t handshakeMs) {
    AnalyserReport report = channel.report();
    const auto fail = [&](std::string text) {
        report.thinking = false;
        report.error = std::move(text);
        channel.publish(report);
    };
    UsiEngine engine(command, handshakeMs);
    std::string error;
    if (!engine.start(error) || !engine.newGame(error)) return fail(kStudyEngineFailed + error);
    report.name = engine.name();
    channel.publish(report);
    const std::string linesOption = multiPvOption(engine);
    int32_t linesSet = 0;  // sent with the first think, whatever the registration set
    int32_t lines = 1;
    int64_t startMs = 0;
    bool thinking = false;
    bool changed = false;
    while (!channel.ending()) {
        StudyChannel::Work work;
        if (channel.nextWork(work, thinking ? 0 : 50)) {
            if (thinking) {
                const std::string why = stopThinking(engine);
                if (!why.empty()) return fail(why);
            }
            lines = linesOption.empty() ? 1 : work.lines;
            if (lines != linesSet) {
                engine.send("setoption name " + linesOption + " value " + std::to_string(lines));
                linesSet = lines;
            }
            report = ReportForWork(report, work);
            engine.onInfo = [&](const EngineLine& info) {
                TakeStudyInfo(info, lines, startMs, report);
                changed = true;
            };
            startMs = nowMs();
            engine.sendThink("position sfen " + toSfen(work.position, work.toMove, 1), "go infinite");
            thinking = true;
            channel.publish(report);
        }
        if (!thinking) continue;
        const UsiEngine::Answer answer = engine.pollThink(kReadSliceMs);
        if (answer.kind == UsiEngine::Answer::Kind::Exited) return fail(kStudyEngineEnded);
        // An engine may end an infinite think on its own (a mated position).
        if (answer.kind == UsiEngine::Answer::Kind::Word) {
            thinking = false;
            report.thinking = false;
            changed = true;
        }
        if (changed) channel.publish(report);
        changed = false;
    }
    if (thinking) stopThinking(engine);
    engine.stop();
}

}  // namespace

void TakeStudyInfo(const EngineLine& info, int32_t lines, int64_t startMs, AnalyserReport& report) {
    if (info.depth >= 0) report.depth = info.depth;
    if (info.seldepth >= 0) report.seldepth = info.seldepth;
    if (info.nodes >= 0) report.nodes = info.nodes;
    if (info.hashfull >= 0) report.hashPermille = info.hashfull;
    if (info.nps >= 0) {
        report.nps = info.nps;
    } else if (info.nodes >= 0) {
        report.nps = info.nodes * 1000 / std::max<int64_t>(1, nowMs() - startMs);
    }
    if (!info.hasScore && info.pv.empty()) return;
    const int32_t rank = std::max(info.multipv, 1);
    if (rank > lines) return;
    if (static_cast<int32_t>(report.lines.size()) < rank) report.lines.resize(static_cast<size_t>(rank));
    CandidateLine& line = report.lines[static_cast<size_t>(rank - 1)];
    if (info.hasScore) {
        line.mate = info.mate;
        line.matePlies = info.mate ? kMateScore - std::abs(info.score) : 0;
        line.score = info.mate ? (info.score > 0 ? kStudyMateScore : -kStudyMateScore) : info.score;
        line.bound = info.lowerBound ? ScoreBound::Lower
                                     : (info.upperBound ? ScoreBound::Upper : ScoreBound::Exact);
    }
    if (info.depth >= 0) line.depth = info.depth;
    if (!info.pv.empty()) line.moves = usiMoveLine(report.position, report.toMove, info.pv);
}

std::unique_ptr<LiveAnalyser> StartUsiAnalyser(EngineCommand command, int64_t handshakeMs,
                                               int32_t lines) {
    AnalyserReport first;
    first.name = command.name.empty() && !command.argv.empty() ? command.argv[0] : command.name;
    auto channel = std::make_shared<StudyChannel>(std::move(first), lines);
    return std::make_unique<LiveAnalyser>(
        channel, [command = std::move(command), handshakeMs](StudyChannel& c) {
            runUsi(c, command, handshakeMs);
        });
}

}  // namespace nusari
