// A registered USI engine as the computer's side: starting it for a game,
// asking it for each move on the worker thread, and what its answers do.
#include "aik/aik_loader.h"
#include "position/entering_king.h"
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

void GameController::applyUsiReply(const UsiReply& reply) {
    EngineState& e = *engine;
    const bool inMatch = renzoku != 0;
    const std::string name = usiOpponent ? usiOpponent->name() : std::string();
    switch (reply.kind) {
        case UsiReply::Kind::Move:
            e.pendingFrom = reply.move.from;
            e.pendingTo = reply.move.to;
            // Timed when the answer came, not when the window got to it.
            ApplyComputerMove(reply.ms);
            return;
        case UsiReply::Kind::Resign:
            e.pendingFrom = Move::resign().from;
            e.pendingTo = Move::resign().to;
            ApplyComputerMove();
            return;
        case UsiReply::Kind::Win: {
            // The declaration is checked in the real game's frame, where the
            // point rule tells 先手 from 後手.
            const bool turned = record->boardTurned != 0;
            const Position real = turned ? flipPosition(e.currentPosition) : e.currentPosition;
            std::string why;
            if (isValidDeclaration(real, turned ? Side::Lower : Side::Upper, why)) {
                EndGame(2, GameEnding::EnteringKingWin);
                tellAfterGame(kUsiDeclares + name, inMatch);
            } else {
                EndGame(1, GameEnding::FoulLoss);
                tellAfterGame(kUsiFalseDeclaration + name + "\n" + why, inMatch);
            }
            return;
        }
        case UsiReply::Kind::Illegal:
            EndGame(1, GameEnding::FoulLoss);
            tellAfterGame(kUsiIllegalMove + name + " " + reply.word, inMatch);
            return;
        case UsiReply::Kind::TimeUp:
            EndGame(1, GameEnding::TimeUp);
            tellAfterGame(kUsiTimeUp + name, inMatch);
            return;
        case UsiReply::Kind::Exited:
            // The record stays as it is, ready to be saved or continued.
            usiOpponent.reset();
            InterruptGame();
            tellAfterGame(kUsiEngineGone + name, inMatch);
            return;
        case UsiReply::Kind::Stopped:
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
