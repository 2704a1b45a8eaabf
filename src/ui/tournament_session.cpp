// 連続対局 of engines in the window, and COM同士 from the new-game page as a
// tournament of one game: the request becomes a tournament on its own
// thread, and its snapshots become the dialog's table, the panel and the
// board.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "aik/aik_loader.h"
#include "analysis/record_annotation.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "position/regular_file.h"
#include "settings/usi_engines.h"
#include "ui/game_controller.h"
#include "ui/study_view.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

// A results file holds a line per game: a few hundred kilobytes at most.
constexpr size_t kMaxTournamentFileBytes = 4 * 1024 * 1024;

// "▲攻め 深さ 9 評価値 +120 ▲７六歩△３四歩": a side's last report.
std::string reportLine(const TournamentSide& side, bool sente) {
    std::string text = sente ? "▲" : "△";
    text += side.name;
    if (side.depth >= 0) {
        text += " 深さ ";
        text += std::to_string(side.depth);
    }
    if (side.hasScore) {
        CandidateLine line;
        line.score = side.score;
        line.mate = side.mate;
        line.matePlies = side.mate ? kStudyMateScore - std::abs(side.score) : 0;
        text += " 評価値 ";
        text += StudyScoreText(line, Side::Lower, false);
    }
    if (!side.pv.empty()) {
        text += ' ';
        text += LineText(side.pvFrom, side.pvToMove, usiMoveLine(side.pvFrom, side.pvToMove, side.pv));
    }
    return text;
}

}  // namespace

bool GameController::StartTournament(const TournamentRequest& request) {
    if (gameState != GameState::NoGame || analysis_ || tournament_ != nullptr) return false;
    StopStudy();
    TournamentSetup setup;
    setup.plan.kind = request.kind;
    setup.plan.gamesPerPairing = request.gamesPerPairing;
    setup.plan.swapColours = request.swapColours;
    setup.time = request.time;
    setup.folder = request.folder;
    setup.handshakeMs = usiHandshakeMs;
    for (const std::string& path : request.enginePaths) {
        EngineCommand command;
        std::string name;
        if (const std::optional<std::string> usiName = UsiEngineName(path)) {
            const UsiEngineEntry* entry = FindUsiEngine(usiEngines, *usiName);
            if (entry == nullptr || !UsiCommandOf(*entry, command)) {
                showError(ui, kTournamentEngineMissing + *usiName);
                return false;
            }
            name = *usiName;
        } else {
            // An .aik engine plays through the program's own USI engine.
            const auto row = std::find(page.enginePaths.begin(), page.enginePaths.end(), path) - page.enginePaths.begin();
            name = row < static_cast<std::ptrdiff_t>(page.engineNames.size()) ? page.engineNames[static_cast<size_t>(row)]
                                                                              : std::filesystem::path(path).stem().string();
            command.argv = {usiAdapter.string()};
            command.options = {{"AikFile", path}};
        }
        // Two entries of one name are told apart by their number.
        const auto same = std::count(setup.plan.names.begin(), setup.plan.names.end(), name);
        if (same > 0) {
            name += " #";
            name += std::to_string(same + 1);
        }
        command.name = name;
        setup.plan.names.push_back(name);
        setup.commands.push_back(command);
    }
    if (setup.plan.names.size() < 2 || request.gamesPerPairing < 1) {
        showError(ui, kTournamentTooFew);
        return false;
    }
    if (!request.time.limited()) {
        showError(ui, kTournamentNoTime);
        return false;
    }
    setup.openings = {evenOpening()};
    if (!request.startSfen.empty()) {
        // Checked as an openings file's line is: both kings, a move to make.
        std::vector<std::string> errors;
        setup.openings = parseOpenings("sfen " + request.startSfen, errors);
        if (setup.openings.empty()) {
            showError(ui, kComputersNoStart + (errors.empty() ? request.startSfen : errors.front()));
            return false;
        }
    } else if (!request.openingsPath.empty()) {
        std::vector<std::string> errors;
        setup.openings = loadOpenings(request.openingsPath, errors);
        if (!errors.empty() || setup.openings.empty()) {
            std::string text = kTournamentBadOpenings + request.openingsPath;
            for (size_t i = 0; i < errors.size() && i < 5; ++i) text.append("\n").append(errors[i]);
            showError(ui, text);
            return false;
        }
    }
    setup.plan.openingCount = static_cast<int32_t>(setup.openings.size());
    std::error_code ec;
    std::filesystem::create_directories(request.folder, ec);
    if (request.folder.empty() || !std::filesystem::is_directory(request.folder, ec)) {
        showError(ui, kTournamentNoFolder + request.folder.string());
        return false;
    }
    std::vector<TournamentResult> done;
    const std::filesystem::path resultsPath = request.folder / kTournamentResultsFile;
    if (std::filesystem::exists(resultsPath, ec)) {
        std::string text;
        std::string error = kTournamentUnreadable;
        std::optional<std::vector<TournamentResult>> kept;
        if (readRegularFile(resultsPath.string(), kMaxTournamentFileBytes, text) == FileRead::Ok) {
            kept = readTournamentFile(text, setup.plan, error);
        }
        if (!kept) {
            showError(ui, std::string(kTournamentOtherResults).append(resultsPath.string()).append("\n").append(error));
            return false;
        }
        done = std::move(*kept);
    }
    tournamentPlan_ = setup.plan;
    tournamentTime_ = setup.time;
    tournamentFolder_ = setup.folder;
    tournamentShown_ = TournamentSnapshot{};
    tournamentShown_.results = done;
    tournamentSeen_ = 0;
    tournament_ = std::make_unique<TournamentRun>(std::move(setup), std::move(done));
    // As while 棋譜解析 runs: the record stays as it is, no game starts.
    ui.setControls(ControlSet::Analysing);
    ui.tournamentChanged();
    return true;
}

void GameController::startComputersGame() {
    const auto engines = static_cast<int32_t>(page.enginePaths.size());
    const auto listed = [engines](int32_t row) { return row >= 0 && row < engines; };
    if (!listed(page.engineRow) || !listed(page.secondEngineRow)) return showError(ui, kAikLoadError);
    TournamentRequest r;
    // The preset's position, or 継続's: the position shown.
    if (page.presetRow == kPresetContinue) {
        const ShownSetUpPosition shown = ShownSetUp();
        r.startSfen = toSfen(shown.position, shown.toMove);
    } else if (page.presetRow > kPresetEven && page.presetRow < kPresetCount) {
        Position start{};
        setupPosition(start, page.presetRow);
        r.startSfen = toSfen(start, Side::Lower);
    } else if (page.presetRow != kPresetEven) {
        return showError(ui, kComputersNoStart + page.presetText);
    }
    const std::string& chosen = page.enginePaths[static_cast<size_t>(page.engineRow)];
    const std::string& second = page.enginePaths[static_cast<size_t>(page.secondEngineRow)];
    // The first engine of the one pairing is 先手: 対戦COM when it moves first.
    r.enginePaths = page.computerFirst ? std::vector<std::string>{chosen, second} : std::vector<std::string>{second, chosen};
    r.gamesPerPairing = 1;
    r.swapColours = false;
    if (page.clockRow == kClockPerMove) {
        r.time.byoyomiMs = engine->timeLimitMs;
    } else if (page.clocks[0] == page.clocks[1]) {
        r.time = page.clocks[0];
    } else {
        return showError(ui, kComputersSameClock);
    }
    r.time.marginMs = kAnswerMarginMs;
    char stamp[32];
    const std::time_t t = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&t));
    r.folder = folders.writeFolder / "output" / "tournament" / stamp;
    // A folder of its own, even for two games begun within a second.
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(r.folder, ec); ++n) {
        r.folder = folders.writeFolder / "output" / "tournament" / (std::string(stamp) + "-" + std::to_string(n));
    }
    if (!StartTournament(r)) return;
    computersGame_ = true;
    HidePages();
    ui.setPanelText(kGameStartText);
}

void GameController::StopTournament() {
    if (tournament_ != nullptr) tournament_->stop();
}

bool GameController::TournamentRunning() const { return tournament_ != nullptr; }

void GameController::OnTournamentTick() {
    if (tournament_ == nullptr) return;
    const uint64_t serial = tournament_->serial();
    if (serial == tournamentSeen_) {
        // The clock of the side to move runs down between its moves.
        if (!showsTournament()) return;
        std::vector<std::string> clocks = tournamentClocks();
        if (clocks == tournamentClocks_) return;
        tournamentClocks_ = std::move(clocks);
        return DrawBoard();
    }
    tournamentSeen_ = serial;
    const int32_t shownBefore = tournamentShown_.game;
    const int32_t pliesBefore = tournamentShown_.plies;
    tournamentShown_ = tournament_->snapshot();
    if (!tournamentShown_.running) {
        // The thread has ended: its engines are gone, joining is at once.
        tournament_.reset();
        tournamentShown_.game = 0;
        ui.setControls(record->length != 0 ? ControlSet::NoGame : ControlSet::Startup);
        // COM同士's game becomes the record.
        const std::filesystem::path game = tournamentGamePath(tournamentFolder_, 1, 1);
        if (std::exchange(computersGame_, false) && !tournamentShown_.results.empty()) OpenRecordFile(game.string());
    }
    if (tournamentShown_.game != shownBefore || tournamentShown_.plies != pliesBefore) {
        tournamentClocks_ = tournamentClocks();
        DrawBoard();
    }
    if (tournamentShown_.plies != pliesBefore && tournamentShown_.game != 0) ui.playSound(Sound::Piece);
    if (computersGame_ && tournamentShown_.game != 0) {
        const TournamentView v = ShownTournament();
        ui.setPanelText(v.game + "\n" + v.lines[0] + "\n" + v.lines[1]);
    }
    ui.tournamentChanged();
}

std::vector<std::string> GameController::tournamentClocks() const {
    const TournamentSnapshot& t = tournamentShown_;
    std::vector<std::string> clocks;
    for (int i = 0; i < 2; ++i) {
        const bool moving = (i == 0) == (t.toMove == Side::Lower);
        clocks.push_back(clockReading(tournamentTime_, t.sides[i].clockMs, moving ? now() - t.moveStartMs : 0));
    }
    return clocks;
}

GameController::TournamentView GameController::ShownTournament() const {
    TournamentView v;
    const TournamentSnapshot& s = tournamentShown_;
    v.rows = tournamentStandings(tournamentPlan_, tournamentSchedule(tournamentPlan_), s.results);
    v.folder = tournamentFolder_;
    v.log = s.log;
    v.played = static_cast<int32_t>(s.results.size());
    v.total = s.total;
    v.running = tournament_ != nullptr;
    if (s.game != 0) {
        v.game = "第";
        v.game += std::to_string(s.game);
        v.game += "局 ▲";
        v.game += s.sides[0].name;
        v.game += " △";
        v.game += s.sides[1].name;
        v.game += ' ';
        v.game += std::to_string(s.plies);
        v.game += "手";
        for (int i = 0; i < 2; ++i) v.lines[i] = reportLine(s.sides[i], i == 0);
    }
    return v;
}

}  // namespace nusari
