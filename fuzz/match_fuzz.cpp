// What the matches read from outside: a file of start positions, a
// tournament's results file, and the lines a USI engine prints, as a match
// and 検討 take them. The same bytes go to every reader.
#include "usi/engine_line.h"
#include "fuzz_support.h"
#include "game/openings_file.h"
#include "game/tournament.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/sfen.h"
#include "study/analysers.h"

namespace {

// Each move is legal where it is played.
void checkLegalLine(nusari::Position p, nusari::Side side, const std::vector<nusari::Move>& moves) {
    for (const nusari::Move& m : moves) {
        FUZZ_CHECK(nusari::isLegalMove(p, side, m));
        nusari::applyMove(p, side, m);
        side = nusari::opponentOf(side);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace nusari;
    const std::string_view input = fuzz::bytesOf(data, size);
    std::vector<std::string> errors;
    const std::vector<Opening> openings = parseOpenings(input, errors);
    for (const std::string& e : errors) FUZZ_CHECK(e.rfind("line ", 0) == 0);
    // Every opening's moves replay legally from its start.
    for (const Opening& o : openings) {
        FUZZ_CHECK(o.line >= 1);
        checkLegalLine(o.start, o.toMove, o.moves);
    }
    // A results file: every result is of a game of the plan, won by one of its players or drawn.
    TournamentPlan plan;
    plan.names = {"A", "B", "C"};
    plan.gamesPerPairing = 4;
    const std::vector<ScheduledGame> schedule = tournamentSchedule(plan);
    std::string error;
    if (const auto results = readTournamentFile(input, plan, error)) {
        FUZZ_CHECK(results->size() <= schedule.size());
        for (const TournamentResult& r : *results) {
            FUZZ_CHECK(r.game >= 1 && r.game <= static_cast<int32_t>(schedule.size()));
            const ScheduledGame& g = schedule[static_cast<size_t>(r.game - 1)];
            FUZZ_CHECK(r.winner == -1 || r.winner == g.sente || r.winner == g.gote);
        }
    } else {
        FUZZ_CHECK(!error.empty());
    }
    AnalyserReport report;
    std::string ignored;
    parseSfen(kStartSfen, report.position, report.toMove, ignored);
    std::string_view rest = input;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const EngineLine line = parseEngineLine(rest.substr(0, end));
        FUZZ_CHECK(line.score >= -kMateScore && line.score <= kMateScore);
        FUZZ_CHECK(line.word.size() <= end);
        FUZZ_CHECK(line.hashfull <= 1000 && line.multipv <= 1000 && line.pv.size() <= kMaxPvMoves);
        // 検討 keeps at most the lines it asked for, each legal from its position.
        TakeStudyInfo(line, 3, 0, report);
        FUZZ_CHECK(report.lines.size() <= 3);
        for (const CandidateLine& c : report.lines) checkLegalLine(report.position, report.toMove, c.moves);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return 0;
}
