// A game in USI words: the position command with every ply
// so far, the go command of the time setting, an engine's reply as a move
// of the board, and its principal variation in Japanese notation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/game_ending.h"
#include "records/game_record.h"

namespace nusari {

// A game in the CSA time mode lasts this long for each side.
inline constexpr int64_t kCsaModeGameMs = 1500 * 1000;

// "position sfen <the start> moves ..." for the record's first `plies` plies.
std::string UsiPositionCommand(const GameRecord& record, int32_t plies);

// The go command and the time the answer must come within. By byoyomi of
// `limitMs`; in the CSA time mode by each side's time left of the game,
// from the thinking seconds of the history entry `plies`.
struct UsiGo {
    std::string command;
    int64_t waitMs = 0;
};
UsiGo UsiGoCommand(const GameRecord& record, int32_t plies, int32_t limitMs, bool csaTimeMode);

// The engine's "bestmove" word as a legal move of `boardMover` in `board`
// (the controller's frame of the record), or nothing.
std::optional<Move> UsiReplyMove(const GameRecord& record, const Position& board, Side boardMover,
                                 std::string_view word);

// "▲７六歩 △３四歩 ..." for the moves of a principal variation from the
// position after `plies` plies, up to the first that is not legal. UTF-8.
std::string UsiVariationText(const GameRecord& record, int32_t plies,
                             const std::vector<std::string>& pv, std::size_t most = 6);

}  // namespace nusari
