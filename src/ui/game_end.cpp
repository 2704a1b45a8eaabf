// The end of a game, with a result or by an interruption, and the human's
// 投了 and 中断.
#include "position/text_encoding.h"
#include "records/kif_writer.h"
#include "ui/game_controller.h"
#include "ui/match_files.h"
#include "ui/time_text.h"
#include "ui/ui_texts.h"

namespace nusari {

// The finished game becomes a record to replay.
void GameController::closeRecord(std::time_t endTime) {
    GameFields& g = fields;
    record->length = g.plyCount;
    record->endTime = LocalTimeText(endTime);
    g.lastDestination = 0;
    // The result under what the panel shows, as the move list's last line
    // says it too.
    if (const std::string result = GameResultText(*record); !result.empty()) {
        const std::string shown = ui.panelText();
        ui.setPanelText(shown.empty() ? toUtf8(result) : shown + "\n\n" + toUtf8(result));
    }
    DrawBoard();
}

// The game goes into the record's tree; polling stops and a remote game's
// link closes; no game runs any more. A match with games left waits for the
// next start.
void GameController::leaveGame() {
    commitGameToTree();
    if (page.linkChecked) {
        ui.setPollTimer(0);
        if (link != nullptr) link->CloseLink();
    }
    // A USI engine playing the computer is told to quit; a match's next
    // game starts it again.
    usiOpponent.reset();
    stopClocks();
    gameState = GameState::NoGame;
    fields.pendingFrom = 0;
    ui.setControls(ControlSet::NoGame);
    matchKept_ = renzoku > 0;
    showMatch();
}

void GameController::EndGame(int32_t result, GameEnding ending) {
    const std::time_t now = std::time(nullptr);
    // The clocks stop (and show where they stopped); a match's next game
    // starts clocks of its own after its pause.
    ui.setClockTimer(0);
    usiGameOver(result);
    if (page.linkChecked && link != nullptr) link->GameEnded(result);
    record->ending = ending;
    closeRecord(now);
    // The log is a record for the user; a line that cannot be written is lost.
    AppendMatchLog(folders.writeFolder,
                   MatchLogLine(record->endTime, engine->profile.namae, result, fields.plyCount));
    if (continueMatch(now)) return;
    leaveGame();
}

void GameController::InterruptGame() {
    // A match waiting for its next game stops waiting, and its note goes.
    if (matchPaused_) {
        std::string text = ui.panelText();
        const std::size_t note = text.find(kMatchPauseText);
        if (note != std::string::npos) {
            text.erase(note);
            while (!text.empty() && text.back() == '\n') text.pop_back();
            ui.setPanelText(text);
        }
    }
    matchPaused_ = false;
    ++pauseNumber_;
    usiGameOver(-1);
    if (page.linkChecked && link != nullptr) link->GameEnded(-1);
    record->ending = GameEnding::Interrupt;
    closeRecord(std::time(nullptr));
    leaveGame();
    SelectPreset(kPresetContinue);
}

// The questions are modal: timers (a remote move, the end of a match's
// pause) may have changed the game before the answer, so the state is
// checked again after it.
void GameController::OnTouryou() {
    // The second person at the board resigns its own side.
    if (gameState == GameState::ComputerThinking && humanOpponent_) {
        if (ui.ask(kResignQuestion) && gameState == GameState::ComputerThinking) {
            takeEngineAnswer(Side::Upper, PlayerAnswer::with(PlayerAnswer::Kind::Resign), kSecondPerson);
        }
        return;
    }
    if (gameState != GameState::LowerToMove) return;
    if (!ui.ask(kResignQuestion) || gameState != GameState::LowerToMove) return;
    human_.give(PlayerAnswer::with(PlayerAnswer::Kind::Resign));
    takeHumanAnswers();
}

void GameController::OnDeclare() {
    if (gameState != GameState::LowerToMove || page.linkChecked) return;
    if (!ui.ask(kDeclareQuestion) || gameState != GameState::LowerToMove) return;
    const int64_t used = now() - fields.moveStartMs;
    if (clockRanOut(Side::Lower, used)) return;
    syncReferee(Side::Lower);
    PlayerAnswer declare = PlayerAnswer::with(PlayerAnswer::Kind::Declare);
    declare.ms = used;
    const bool wins = referee_->answer(declare).ending == GameEnding::EnteringKingWin;
    const bool inMatch = renzoku != 0;
    // A declaration that fails is the declarer's foul, as the record says
    // of an engine's.
    EndGame(wins ? 1 : 2, wins ? GameEnding::EnteringKingWin : GameEnding::FoulLoss);
    tellAfterGame(wins ? kHumanDeclarationWins : kHumanDeclarationFails, inMatch);
}

// During a match the game stops first; then the match is ended or kept for
// the next start.
void GameController::OnTyuudan() {
    auto mayInterrupt = [this] { return gameState == GameState::LowerToMove || matchPaused_; };
    if (!mayInterrupt()) return;
    if (!ui.ask(kInterruptQuestion) || !mayInterrupt()) return;
    if (gameState == GameState::LowerToMove) {
        human_.give(PlayerAnswer::with(PlayerAnswer::Kind::Interrupt));
        takeHumanAnswers();
    } else {
        InterruptGame();
    }
    if (renzoku > 0 && ui.ask(kEndMatchQuestion)) endMatch();
}

}  // namespace nusari
