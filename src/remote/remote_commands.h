// What the remote and the game server can say besides moves: the special
// words of "%" lines and the server's "#" lines that end a game.
#pragma once

#include "records/game_record.h"

#include <cstdint>
#include <string_view>

namespace nusari {

// What a special command makes the game do.
enum class RemoteAction : int32_t {
    EndGame,    // EndGame with `result`
    TakeBack,   // 待った: two plies back
    Interrupt,  // 中断: no result
};

struct SpecialCommand {
    const char* letters;  // the first three letters of the word
    const char* message;  // UTF-8
    RemoteAction action;
    int32_t result;     // for EndGame, from the lower side's view
    bool quietInMatch;  // no message during a continuous match
    GameEnding ending;  // for EndGame, as the record keeps it
};

// The command a "%" word names by its first three letters ("TOR" of
// "%TORYO"), or null.
const SpecialCommand* FindSpecialCommand(std::string_view word);

// What a "#" line of the server means for the local game.
enum class ServerVerdict : int32_t {
    None,       // not an end: a reason line whose result line follows, or unknown
    Result,     // the game is over with `result`
    Interrupt,  // the server stopped the game without a result
};

struct ServerEnd {
    ServerVerdict verdict = ServerVerdict::None;
    int32_t result = 0;
};

// The verdict of a server line ("#WIN\n", "#LOSE", "#DRAW", ...; a CR or LF
// at the end does not count).
ServerEnd ServerEndOf(std::string_view line);

// The end a server's reason line names for the record ("#RESIGN",
// "#TIME_UP", ...), or GameEnding::None.
GameEnding ServerReasonOf(std::string_view line);

// The end the record keeps for the server's verdict: `result` from the
// lower side's view (1 the remote wins, 2 the computer, else a draw), the
// reason line's end as `reason`. The record names the side to move as the
// loser or the winner by its ending, so the ending follows the winner the
// server named: a win of the side to move is its declaration (#JISHOGI)
// or the other side's foul; a loss is the reason given (a resignation when
// none was).
GameEnding RecordedServerEnding(GameEnding reason, int32_t result, bool remoteToMove);

}  // namespace nusari
