// What the position editor's picture shows and where a click on it lands:
// the board picture of the game (pieces on their squares, both hands in
// the same places) with a strip below it for the piece box (駒箱). Squares
// and sides are in the standard frame (先手 is the lower side); the board
// is never turned.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/board_scene.h"
#include "ui/position_editor.h"

namespace nusari {

// The box strip under the 800 x 500 board picture.
inline constexpr int32_t kBoxStripTop = kPictureHeight;
inline constexpr int32_t kBoxStripHeight = 70;
inline constexpr int32_t kEditorPictureHeight = kPictureHeight + kBoxStripHeight;

// The board, both hands and the box as the editor holds them, the box's
// kinds King..Pawn each with its count, the side to move in the information
// box and the blue frame on `selected` (when it is a spot of the picture).
BoardScene ComposeEditor(const PositionEditor& editor, const std::optional<EditorSpot>& selected);

// The spot under (x, y): a square, one kind of a hand (the whole stand is
// divided among its kinds) or of the box; nullopt elsewhere.
std::optional<EditorSpot> EditorSpotAt(int32_t x, int32_t y);

// Where a spot's piece is drawn (and its selection frame); nullopt for a
// spot that is not in the picture.
std::optional<PicturePoint> EditorSpotOrigin(const EditorSpot& spot);

// The next face of the piece on `square`: 先手 → 先手成 → 後手 → 後手成 →
// 先手; a king or a gold only changes side. False when the square is empty.
bool CyclePiece(PositionEditor& editor, int32_t square);

}  // namespace nusari
