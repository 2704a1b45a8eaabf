// How a game ends: the one ending type of the records, the referee, the
// players and the match tools, and the outcome the referee gives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "position/types.h"

namespace nusari {

// How a game ended. In a record the side meant is the side to move after
// the last ply; the referee's Outcome names the winner itself.
enum class GameEnding : int32_t {
    None,             // no word on the end (still running, or not said)
    Resign,           // 投了, %TORYO: the side to move resigned
    Interrupt,        // 中断, %CHUDAN
    Repetition,       // 千日手, %SENNICHITE: fourfold repetition, a draw
    Impasse,          // 持将棋, %JISHOGI
    Mate,             // 詰み, %TSUMI: the side to move is mated
    TimeUp,           // 切れ負け, %TIME_UP: the side to move lost on time
    FoulWin,          // 反則勝ち: the other side's last move was a foul
    FoulLoss,         // 反則負け, %ILLEGAL_MOVE: the side to move fouled
    EnteringKingWin,  // 入玉勝ち, %KACHI: the side to move declared a win
    Draw,             // 引き分け, %HIKIWAKE
    // 連続王手の千日手: the fourfold repetition came from one side giving
    // check with every move, and that side loses (the outcome names it; in
    // a record it is the side to move).
    PerpetualCheck,
    // The game reached the ply limit: a draw.
    PlyLimit,
    // The side to move declared a win (入玉宣言) that the rules refuse: it loses.
    BadDeclaration,
    // A player crashed, closed its line or disconnected: it loses.
    PlayerGone,
    // The side to move gave no answer within its time and the margin: it loses.
    NoAnswer,
};

// The one margin of every game (the window's, the links' and the tools'):
// an answer may come this much after the time it was given; a later one
// loses (NoAnswer, TimeUp).
inline constexpr int64_t kAnswerMarginMs = 1000;

// What the referee decided: the ending, the side that won (none for a draw
// or a game still running) and a printable detail for a fault.
struct Outcome {
    GameEnding ending = GameEnding::None;
    std::optional<Side> winner;
    std::string detail;

    bool over() const { return ending != GameEnding::None; }
};

}  // namespace nusari
