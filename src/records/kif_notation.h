// The kanji of KIF and KI2 records, as CP932 bytes: pieces, squares,
// numerals, handicaps and the words that end a game.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "position/types.h"
#include "records/game_record.h"

namespace nusari {

// The piece table's code at byte `i`: 0..15 (8 成, 11 打) or 128. 王 reads
// as 玉 and 竜 as 龍.
int32_t kifPieceAt(std::string_view line, std::size_t i);
inline constexpr int32_t kKifPromoteMark = 8;  // 成 in the piece table
inline constexpr int32_t kKifDropMark = 11;    // 打
inline constexpr int32_t kKifNoPiece = 128;

// 一..九 give 1..9, 十 10, anything else (the full-width space too) 0.
int32_t kifNumeralAt(std::string_view line, std::size_t i);
// A square's rank: exactly one of 一..九, else 0.
int32_t kifRankAt(std::string_view line, std::size_t i);
// A count in a hand line: 一..九, 十 and 十一..十九; no numeral counts one.
int32_t kifCountAt(std::string_view line, std::size_t i);
// 同 gives 0, １..９ give 1..9, anything else -1.
int32_t kifFileAt(std::string_view line, std::size_t i);
// A digit of a square, full-width (１..９, two bytes) or ASCII (1..9, one
// byte): its value, with `width` set to its bytes; 0 when there is none.
int32_t kifDigitAt(std::string_view line, std::size_t i, std::size_t& width);

// True when the CP932 `text` is at byte `at` of `line`.
bool hasAt(std::string_view line, std::string_view text, std::size_t at = 0);
// The CP932 bytes of a UTF-8 literal, converted once and kept.
const std::string& cp(const char* utf8);

// The piece as KIF writes it before a move: 歩, と, 成銀, 龍 ...
std::string kifPieceName(int32_t code);
// The piece as a diagram cell or a hand line writes it: 歩, と, 全, 龍 ...
std::string kifDiagramPiece(int32_t code);
// "７六" for square 76.
std::string kifSquareName(int32_t square);
// 一..九, 十, 十一..十八: a count in a hand line.
std::string kifCountText(int32_t count);

// A standard handicap: its name after "手合割：" and the start position it
// names (先手 complete, 上手 = 後手 without the listed pieces, 後手 first).
struct Handicap {
    const char* name;  // UTF-8
    int32_t removed[10];
};
const Handicap* handicapNamed(std::string_view cp932Name);
// The handicap whose position `start` is, or null.
const Handicap* handicapOfPosition(const Position& start);
void setupHandicap(Position& p, const Handicap& handicap);

// The end of a game as a KIF special move, or "" for none.
const char* kifEndingWord(GameEnding ending);
// The ending a KIF special move names (at the start of `text`).
GameEnding kifEndingAt(std::string_view text);

}  // namespace nusari
