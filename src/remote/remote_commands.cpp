#include "remote/remote_commands.h"

namespace nusari {

namespace {

constexpr SpecialCommand kCommands[] = {
    {"TOR", "特殊コマンド：通信側の投了", RemoteAction::EndGame, 2, true, GameEnding::Resign},
    {"MAT", "特殊コマンド：通信側の待った", RemoteAction::TakeBack, 0, false, GameEnding::None},
    {"CHU", "特殊コマンド：通信側の中断", RemoteAction::Interrupt, 0, false, GameEnding::Interrupt},
    {"SEN", "特殊コマンド：通信側の千日手宣言", RemoteAction::EndGame, -1, false,
     GameEnding::Repetition},
    {"JIS", "特殊コマンド：通信側の持将棋宣言", RemoteAction::EndGame, -1, false, GameEnding::Impasse},
    {"KAC", "特殊コマンド：通信側の勝ち宣言", RemoteAction::EndGame, 1, false,
     GameEnding::EnteringKingWin},
    {"HIK", "特殊コマンド：通信側の引き分け宣言", RemoteAction::EndGame, -1, false, GameEnding::Draw},
};

constexpr struct {
    std::string_view line;
    GameEnding ending;
} kServerReasons[] = {
    {"#RESIGN", GameEnding::Resign},         {"#TIME_UP", GameEnding::TimeUp},
    {"#SENNICHITE", GameEnding::Repetition}, {"#MAX_MOVES", GameEnding::Impasse},
    {"#JISHOGI", GameEnding::Impasse},       {"#ILLEGAL_MOVE", GameEnding::FoulLoss},
};

// The server reports an end in two lines, a reason (#RESIGN, #TIME_UP,
// #JISHOGI, ...) and a result (#WIN, #LOSE, #DRAW, #CENSORED). A repetition
// and the move limit can only be draws, so they end the game at once; the
// other reasons wait for their result line. "#WIN" is the computer's win.
constexpr struct {
    std::string_view line;
    ServerEnd end;
} kServerEnds[] = {
    {"#WIN", {ServerVerdict::Result, 2}},
    {"#LOSE", {ServerVerdict::Result, 1}},
    {"#DRAW", {ServerVerdict::Result, -1}},
    {"#CENSORED", {ServerVerdict::Result, -1}},
    {"#SENNICHITE", {ServerVerdict::Result, -1}},
    {"#MAX_MOVES", {ServerVerdict::Result, -1}},
    {"#CHUDAN", {ServerVerdict::Interrupt, 0}},
};

}  // namespace

const SpecialCommand* FindSpecialCommand(std::string_view word) {
    for (const SpecialCommand& command : kCommands) {
        if (word.substr(0, 3) == command.letters) return &command;
    }
    return nullptr;
}

namespace {

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

ServerEnd ServerEndOf(std::string_view line) {
    line = withoutLineEnd(line);
    for (const auto& entry : kServerEnds) {
        if (line == entry.line) return entry.end;
    }
    return {};
}

GameEnding ServerReasonOf(std::string_view line) {
    line = withoutLineEnd(line);
    for (const auto& entry : kServerReasons) {
        if (line == entry.line) return entry.ending;
    }
    return GameEnding::None;
}

GameEnding RecordedServerEnding(GameEnding reason, int32_t result, bool remoteToMove) {
    if (result != 1 && result != 2) {
        return reason == GameEnding::Repetition || reason == GameEnding::Impasse ? reason
                                                                                 : GameEnding::Draw;
    }
    const bool moverWins = (result == 1) == remoteToMove;
    if (moverWins) {
        return reason == GameEnding::Impasse ? GameEnding::EnteringKingWin : GameEnding::FoulWin;
    }
    if (reason == GameEnding::Impasse) return GameEnding::FoulLoss;
    return reason == GameEnding::None ? GameEnding::Resign : reason;
}

}  // namespace nusari
