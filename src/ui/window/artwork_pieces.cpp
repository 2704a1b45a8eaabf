// The 30 images of 49 x 49: the pieces as pentagonal wooden tiles with
// their kanji (promoted ones in red, the upper side's turned upside down)
// and the blue and red frames.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/window/artwork.h"

namespace nusari {

namespace {

struct PieceLook {
    const char* kanji;
    double scale;  // the tile's size; the king's is the largest
    bool promoted;
};

// Images 0..13 of the lower side; 14..27 are the same turned around.
constexpr PieceLook kLooks[14] = {
    {"王", 1.00, false}, {"飛", 0.97, false}, {"角", 0.97, false}, {"金", 0.94, false},
    {"銀", 0.94, false}, {"桂", 0.91, false}, {"香", 0.89, false}, {"歩", 0.86, false},
    {"龍", 0.97, true},  {"馬", 0.97, true},  {"全", 0.94, true},  {"圭", 0.91, true},
    {"杏", 0.89, true},  {"と", 0.86, true},
};

constexpr double kCentre = kPieceImageSize / 2.0;
constexpr double kBase = 46.5;

// The tile outline, scaled about the middle of its base.
QPainterPath tileShape(double scale) {
    const QPointF corners[] = {{24.5, 2.5}, {39.5, 9.5}, {44.0, kBase}, {5.0, kBase}, {9.5, 9.5}};
    QPainterPath path;
    for (int i = 0; i < 5; ++i) {
        const QPointF at(kCentre + (corners[i].x() - kCentre) * scale,
                         kBase + (corners[i].y() - kBase) * scale);
        if (i == 0) {
            path.moveTo(at);
        } else {
            path.lineTo(at);
        }
    }
    path.closeSubpath();
    return path;
}

// Paints a tile in the 49 x 49 square of the painter's coordinates.
void paintPiece(QPainter& p, const PieceLook& look, bool upsideDown) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (upsideDown) {
        p.translate(kPieceImageSize, kPieceImageSize);
        p.rotate(180);
    }
    const QPainterPath shape = tileShape(look.scale);
    p.fillPath(shape.translated(1.2, 1.2), QColor(0, 0, 0, 70));
    QLinearGradient wood(0, 2, 0, kBase);
    wood.setColorAt(0, QColor(0xfc, 0xea, 0xb8));
    wood.setColorAt(1, QColor(0xe4, 0xbc, 0x70));
    p.fillPath(shape, wood);
    p.setPen(QPen(QColor(0x5c, 0x3c, 0x12), 1.2));
    p.drawPath(shape);

    QFont font(kUiFontFamily);
    font.setPixelSize(static_cast<int>(25 * look.scale));
    font.setBold(true);
    p.setFont(font);
    p.setPen(look.promoted ? QColor(0xc0, 0x10, 0x10) : QColor(0x10, 0x08, 0x04));
    const double top = kBase - 36 * look.scale;
    p.drawText(QRectF(0, top, kPieceImageSize, kBase - top), Qt::AlignCenter,
               QString::fromUtf8(look.kanji));
}

QImage drawPiece(const PieceLook& look, bool upsideDown, qreal scale) {
    QImage image =
        ScaledImage(kPieceImageSize, kPieceImageSize, scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintPiece(p, look, upsideDown);
    return image;
}

QImage drawFrame(const QColor& colour, qreal scale) {
    QImage image =
        ScaledImage(kPieceImageSize, kPieceImageSize, scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(1.5, 1.5, 46, 46));
    return image;
}

}  // namespace

std::array<QImage, kPieceImageCount> DrawPieceImages(qreal scale) {
    std::array<QImage, kPieceImageCount> images;
    for (int i = 0; i < 14; ++i) {
        images[static_cast<std::size_t>(i)] = drawPiece(kLooks[i], false, scale);
        images[static_cast<std::size_t>(i + 14)] = drawPiece(kLooks[i], true, scale);
    }
    images[kSelectionFrameImage] = drawFrame(QColor(0x18, 0x48, 0xff), scale);
    images[kLastMoveFrameImage] = drawFrame(QColor(0xe8, 0x18, 0x18), scale);
    return images;
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / double(kPieceImageSize), size / double(kPieceImageSize));
    // A square of board with a grid line, the king's tile on it.
    QLinearGradient board(0, 0, kPieceImageSize, kPieceImageSize);
    board.setColorAt(0, QColor(0xf0, 0xc8, 0x78));
    board.setColorAt(1, QColor(0xd8, 0xa8, 0x58));
    p.setPen(QPen(QColor(0x6c, 0x48, 0x18), 1.0));
    p.setBrush(board);
    p.drawRoundedRect(QRectF(0.5, 0.5, kPieceImageSize - 1.0, kPieceImageSize - 1.0), 7, 7);
    p.setPen(QPen(QColor(0x6c, 0x48, 0x18, 120), 0.6));
    for (const double at : {12.5, 36.5}) {
        p.drawLine(QPointF(at, 1), QPointF(at, kPieceImageSize - 1));
        p.drawLine(QPointF(1, at), QPointF(kPieceImageSize - 1, at));
    }
    p.translate(kCentre, kCentre);
    p.scale(0.9, 0.9);
    p.translate(-kCentre, -kCentre);
    paintPiece(p, kLooks[0], false);
    return image;
}

}  // namespace nusari
