// A registered USI engine as the computer's side: starting it for a game,
// asking it for each move on the worker thread, and what its answers do.
#include "aik/aik_loader.h"
#include "position/position.h"
#include "position/text_encoding.h"
#include "ui/game_controller.h"
#include "usi/usi_texts.h"

namespace nusari {

int32_t GameController::prepareComputer(const std::string& path) {
    EngineState& e = *engine;
    const std::optional<std::string> usiName = UsiEngineName(path);
    if (!usiName) {
        usiPlays_ = false;
        usiOpponent.reset();
        return LoadAik(e, path, ui);
    }
    const UsiEngineEntry* found = FindUsiEngine(usiEngines, *usiName);
    if (found == nullptr) {
        showError(ui, kUsiNotRegistered + *usiName);
        return -1;
    }
    // A copy: the window works on while the engine starts.
    const UsiEngineEntry entry = *found;
    if (!usiOpponent || usiOpponent->name() != entry.name || !usiOpponent->running()) {
        usiOpponent = std::make_unique<UsiOpponent>(entry, usiHandshakeMs);
        std::string error;
        // A second start, or closing the window, waits for this one.
        openingLink_ = true;
        startingUsi_ = true;
        const bool started = usiOpponent->Start(ui, error);
        openingLink_ = false;
        startingUsi_ = false;
        if (!started) {
            usiOpponent.reset();
            showError(ui, kUsiStartFailed + entry.name + "\n" + error);
            return -1;
        }
    }
    usiOpponent->NewGame();
    // The engine's name in the record and the match log, as a .aik
    // engine's namae.
    e.profile.namae = toCp932(entry.name);
    usiPlays_ = true;
    return 1;
}

void GameController::usiGameOver(int32_t result) {
    if (!usiPlays_ || !usiOpponent) return;
    // The engine plays the upper side: the lower side's win is its loss.
    usiOpponent->GameOver(result == 1 ? "lose" : result == 2 ? "win" : "draw");
}

namespace {

// What an answer other than a move means when the referee has already
// decided the position (the engine's side is mated): every one loses.
Outcome settledAnswer(const PlayerAnswer& answer) {
    switch (answer.kind) {
        case PlayerAnswer::Kind::Declare: return {GameEnding::BadDeclaration, std::nullopt, {}};
        case PlayerAnswer::Kind::NoAnswer: return {GameEnding::NoAnswer, std::nullopt, {}};
        default: return {GameEnding::FoulLoss, std::nullopt, {}};
    }
}

}  // namespace

void GameController::takeLowerAnswer(const PlayerAnswer& answer, const std::string& name) {
    using Kind = PlayerAnswer::Kind;
    // Told as the game was when the answer came: a match goes on meanwhile.
    const bool inMatch = renzoku != 0;
    switch (answer.kind) {
        case Kind::Takeback:
            TakeBack();
            if (!answer.detail.empty()) ui.notify(answer.detail);
            return;
        case Kind::Verdict:
            EndGame(answer.result, answer.ending);
            break;
        case Kind::Interrupt:
            InterruptGame();
            break;
        default:
            return takeEngineAnswer(Side::Lower, answer, name);
    }
    if (!answer.detail.empty()) tellAfterGame(answer.detail, inMatch);
}

void GameController::takeEngineAnswer(Side side, const PlayerAnswer& answer, const std::string& name) {
    const bool inMatch = renzoku != 0;
    // Results from the lower side's view.
    const int32_t sideWins = side == Side::Lower ? 1 : 2;
    const int32_t sideLoses = side == Side::Lower ? 2 : 1;
    using Kind = PlayerAnswer::Kind;
    switch (answer.kind) {
        case Kind::Move:
            // The engine's score goes with its move into the record, from 先手's side.
            pendingScore_.reset();
            if (answer.hasScore) {
                const Side sente = record->boardTurned != 0 ? Side::Upper : Side::Lower;
                pendingScore_ = side == sente ? answer.score : -answer.score;
            }
            if (side == Side::Lower) return PlayLowerMove(answer.move);
            // Timed when the answer came, not when the window got to it.
            return ApplyComputerMove(answer.move, answer.ms);
        case Kind::Resign:
            if (side == Side::Lower) {
                PlaySound(Sound::Message);
                return EndGame(2, GameEnding::Resign);
            }
            return ApplyComputerMove(Move::resign());
        case Kind::Gone:
            // The record stays as it is, ready to be saved or continued.
            if (side == Side::Upper) usiOpponent.reset();
            InterruptGame();
            return tellAfterGame(kUsiEngineGone + name, inMatch);
        case Kind::Takeback:
            return;
        default:
            break;
    }
    // A declaration, a word that is no legal move, silence: the referee
    // decides; the record keeps the words it always had for them.
    syncReferee(side);
    const Outcome outcome = referee_->over() ? settledAnswer(answer) : referee_->answer(answer);
    switch (outcome.ending) {
        case GameEnding::EnteringKingWin:
            EndGame(sideWins, GameEnding::EnteringKingWin);
            return tellAfterGame(kUsiDeclares + name, inMatch);
        case GameEnding::BadDeclaration:
            EndGame(sideLoses, GameEnding::FoulLoss);
            return tellAfterGame(kUsiFalseDeclaration + name + "\n" + outcome.detail, inMatch);
        case GameEnding::FoulLoss:
            EndGame(sideLoses, GameEnding::FoulLoss);
            return tellAfterGame(kUsiIllegalMove + name + " " + answer.detail, inMatch);
        case GameEnding::NoAnswer:
        case GameEnding::TimeUp:
            EndGame(sideLoses, GameEnding::TimeUp);
            return tellAfterGame(kUsiTimeUp + name, inMatch);
        default:
            return;
    }
}

namespace {

constexpr const char* kPortTarget = "RS232C/LAN";
// The port the settings file names by default.
constexpr const char* kDefaultPort = "COM1";

}  // namespace

std::vector<std::string> GameController::LinkTargets() const {
    std::vector<std::string> targets{kPortTarget};
    for (const UsiEngineEntry& entry : usiEngines) {
        std::string shown(kUsiListMark);
        shown += entry.name;
        targets.push_back(shown);
    }
    return targets;
}

int32_t GameController::LinkTargetRow() const {
    const std::optional<std::string> name = UsiEngineName(portName);
    if (!name) return 0;
    for (std::size_t i = 0; i < usiEngines.size(); ++i) {
        if (usiEngines[i].name == *name) return static_cast<int32_t>(i) + 1;
    }
    return 0;
}

void GameController::SelectLinkTarget(int32_t row) {
    if (row == LinkTargetRow()) return;
    if (row >= 1 && row <= static_cast<int32_t>(usiEngines.size())) {
        // The port name the settings page had before is kept to come back to.
        if (!UsiEngineName(portName)) serialPortName_ = portName;
        portName = UsiPortName(usiEngines[static_cast<std::size_t>(row - 1)].name);
    } else {
        portName = serialPortName_.empty() ? kDefaultPort : serialPortName_;
    }
    // The settings page's Ok applies its port edit: it must hold the choice.
    settingsPage.portName = portName;
    ui.pagesChanged();
}

}  // namespace nusari
