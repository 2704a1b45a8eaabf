// The record of one game: the players' names, the start and end times and
// the position after every ply, with both sides' thinking times.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "position/types.h"
#include "records/game_ending.h"

namespace nusari {

inline constexpr int32_t kHistoryEntries = 1000;
// Entry 0 is the start position, so a record holds at most 999 plies.
inline constexpr int32_t kMaxRecordPlies = kHistoryEntries - 1;
inline constexpr std::size_t kMaxNameBytes = 18;

// A player's name: at most 18 bytes of CP932 text and a terminating zero.
using NameField = std::array<char, kMaxNameBytes + 1>;

// About 0.5 MB: allocate it on the heap, std::make_unique<GameRecord>().
struct GameRecord {
    NameField firstName{};   // 先手, written after "N+"
    NameField secondName{};  // 後手, written after "N-"
    // Entry n is the position after n plies, always with the human as the
    // lower side. Slot 111 holds the lower side's and slot 119 the upper
    // side's cumulative thinking seconds up to that ply (0 in entry 0).
    std::array<Position, kHistoryEntries> history{};
    std::string startTime;  // CP932, "yyyy/mm/dd hh:nn:ss"
    std::string endTime;
    // Plies held in the history (0..999).
    int32_t length = 0;
    // 1 when the lower side (the human) is the second player (後手), so the
    // upper side makes ply 1. A record read from a file has it 1 when its
    // second player (後手, 上手) moves first: a handicap or a 後手番 diagram.
    int32_t humanIsSecond = 0;
    // 1 when the history is the standard diagram turned half round, so the
    // lower side is 後手 ("-"); 0 when the lower side is 先手 ("+"). Names
    // and files always follow the standard diagram.
    int32_t boardTurned = 0;
    GameEnding ending = GameEnding::None;
};

// True when 先手 ("+", the standard diagram's lower side) makes ply 1.
bool senteMovesFirst(const GameRecord& record);

// Entry n of the history in the standard diagram's frame, 先手 as the
// lower side, without thinking times in cells 111 and 119.
Position standardEntry(const GameRecord& record, int32_t entry);

// The side, in the standard frame, that is to move after `plies` plies.
Side standardSideToMove(const GameRecord& record, int32_t plies);

// A square of the history in the standard diagram's frame.
int32_t standardSquare(const GameRecord& record, int32_t square);

// The time cell (111 or 119) of the history's side that made ply n.
int32_t timeCellOfPly(const GameRecord& record, int32_t ply);

// Stores the first 18 bytes of `cp932` (up to a zero byte) in `field`. A
// two-byte character that would be cut in half is left out whole, so the
// name stays valid CP932.
void setName(NameField& field, std::string_view cp932);
std::string_view nameOf(const NameField& field);

// The squares of a ply, from comparing the positions before and after it
// over squares 11..99: `from` became empty, `to` is the other square that
// changed; from == 0 means a drop, and both are 0 when nothing changed.
struct PlySquares {
    int32_t from = 0;
    int32_t to = 0;
};
PlySquares plySquares(const Position& before, const Position& after);

// The side that made ply n (n >= 1) of the record.
Side moverOfPly(const GameRecord& record, int32_t ply);

// The move of `mover` that leads from `before` to `after`: a drop comes
// from the mover's hand cell of the dropped kind, and a piece that arrives
// promoted after leaving unpromoted makes `to` + 100. from == 0 when the
// positions differ in no square.
Move moveOfPly(const Position& before, const Position& after, Side mover);

}  // namespace nusari
