// The program's pictures, drawn with QPainter at start-up: the board
// background, the 30 piece and frame images and the tool-bar glyphs.
#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "ui/board_scene.h"
#include "ui/control_table.h"

namespace nusari {

// The family of the window and the picture texts.
inline const QString kUiFontFamily = QStringLiteral("IPAPGothic");

// The pictures are drawn at `scale` device pixels a picture pixel, with
// that device pixel ratio, so they stay sharp at any size: a painter on them
// works in picture coordinates.

// The 800 x 500 background (dai): board with grid and star points, the two
// piece stands, the logo and the information box.
QImage DrawBackground(qreal scale = 1);

// Images 0..29 of 49 x 49 with transparency around each piece or frame.
std::array<QImage, kPieceImageCount> DrawPieceImages(qreal scale = 1);

// An empty image of `width` x `height` picture pixels drawn at `scale`.
QImage ScaledImage(int width, int height, qreal scale, QImage::Format format);

// The program's icon, `size` x `size`: the king's tile on a square of board.
QImage DrawProgramIcon(int size);

// The 32 x 32 glyph of a tool-bar button.
QImage DrawToolGlyph(Control button);

}  // namespace nusari
