// The 32 x 32 glyphs of the tool bar.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/window/artwork.h"

namespace nusari {

namespace {

const QColor kOutline(0x30, 0x30, 0x30);

void openFolder(QPainter& p) {
    p.setPen(QPen(QColor(0x8a, 0x62, 0x10), 1.2));
    p.setBrush(QColor(0xe8, 0xb8, 0x40));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(26, 11);
    back.lineTo(26, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xfa, 0xd8, 0x6a));
    const QPointF flap[] = {{7, 15}, {30, 15}, {26, 27}, {3, 27}};
    p.drawPolygon(flap, 4);
}

void floppy(QPainter& p) {
    p.setPen(QPen(QColor(0x10, 0x20, 0x50), 1.2));
    p.setBrush(QColor(0x30, 0x60, 0xc0));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawRect(QRectF(8, 5, 16, 9));
    p.setBrush(QColor(0xb8, 0xb8, 0xc0));
    p.drawRect(QRectF(9, 19, 14, 9));
    p.setBrush(QColor(0x30, 0x60, 0xc0));
    p.drawRect(QRectF(18, 20, 3, 6));
}

void exitDoor(QPainter& p) {
    p.setPen(QPen(QColor(0x50, 0x30, 0x10), 1.2));
    p.setBrush(QColor(0xa8, 0x70, 0x38));
    p.drawRect(QRectF(5, 3, 15, 26));
    p.setBrush(QColor(0xf0, 0xd0, 0x40));
    p.drawEllipse(QPointF(16.5, 16), 1.5, 1.5);
    p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(17, 16), QPointF(29, 16));
    p.drawLine(QPointF(24, 11), QPointF(29, 16));
    p.drawLine(QPointF(24, 21), QPointF(29, 16));
}

void newGame(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x40, 0x10), 1.2));
    p.setBrush(QColor(0xf0, 0xc8, 0x78));
    p.drawRect(QRectF(3, 5, 24, 24));
    p.setPen(QPen(QColor(0x50, 0x30, 0x10), 0.8));
    for (int k = 1; k < 4; ++k) {
        p.drawLine(QPointF(3 + 6 * k, 5), QPointF(3 + 6 * k, 29));
        p.drawLine(QPointF(3, 5 + 6 * k), QPointF(27, 5 + 6 * k));
    }
    const QPointF piece[] = {{22, 1}, {28, 4}, {30, 17}, {14, 17}, {16, 4}};
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(0xfc, 0xe8, 0xb0));
    p.drawPolygon(piece, 5);
}

void undoArrow(QPainter& p) {
    p.setPen(QPen(QColor(0xd0, 0x70, 0x10), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(9, 12);
    arc.cubicTo(20, 4, 32, 14, 24, 24);
    arc.lineTo(16, 27);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0x70, 0x10));
    const QPointF head[] = {{2, 13}, {12, 5}, {13, 18}};
    p.drawPolygon(head, 3);
}

void pauseBars(QPainter& p) {
    p.setPen(QPen(QColor(0x10, 0x30, 0x70), 1));
    p.setBrush(QColor(0x38, 0x78, 0xd8));
    p.drawRoundedRect(QRectF(7, 5, 7, 22), 1.5, 1.5);
    p.drawRoundedRect(QRectF(18, 5, 7, 22), 1.5, 1.5);
}

void whiteFlag(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x40, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 3), QPointF(7, 30));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    QPainterPath flag;
    flag.moveTo(8, 4);
    flag.cubicTo(14, 1, 20, 7, 28, 4);
    flag.lineTo(28, 17);
    flag.cubicTo(20, 20, 14, 14, 8, 17);
    flag.closeSubpath();
    p.drawPath(flag);
}

// One triangle pointing left (-1) or right (+1) with its point at x.
void triangle(QPainter& p, double x, int direction) {
    const QPointF shape[] = {{x, 16}, {x - direction * 11.0, 7}, {x - direction * 11.0, 25}};
    p.drawPolygon(shape, 3);
}

void replayGlyph(QPainter& p, Control button) {
    p.setPen(QPen(QColor(0x0c, 0x40, 0x18), 1));
    p.setBrush(QColor(0x28, 0xa0, 0x48));
    switch (button) {
        case Control::ModoruMax:
            p.drawRect(QRectF(4, 7, 3, 18));
            triangle(p, 7, -1);
            triangle(p, 17, -1);
            break;
        case Control::Modoru1:
            triangle(p, 10, -1);
            break;
        case Control::Susumu1:
            triangle(p, 22, 1);
            break;
        default:
            triangle(p, 15, 1);
            triangle(p, 25, 1);
            p.drawRect(QRectF(25, 7, 3, 18));
            break;
    }
}

void information(QPainter& p) {
    QLinearGradient g(0, 2, 0, 30);
    g.setColorAt(0, QColor(0x60, 0x9c, 0xf0));
    g.setColorAt(1, QColor(0x18, 0x50, 0xb8));
    p.setPen(QPen(QColor(0x10, 0x30, 0x80), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13, 4, 12), 1, 1);
}

// Two curved arrows round a board: the board turned.
void turnBoard(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x40, 0x10), 1.2));
    p.setBrush(QColor(0xf0, 0xc8, 0x78));
    p.drawRect(QRectF(9, 9, 14, 14));
    p.setPen(QPen(QColor(0x18, 0x50, 0xb8), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 26, 26), 30 * 16, 120 * 16);
    p.drawArc(QRectF(3, 3, 26, 26), 210 * 16, 120 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x18, 0x50, 0xb8));
    const QPointF upper[] = {{3.5, 11}, {9, 9.5}, {4, 5}};
    const QPointF lower[] = {{28.5, 21}, {23, 22.5}, {28, 27}};
    p.drawPolygon(upper, 3);
    p.drawPolygon(lower, 3);
}

// A piece on a square with a pencil: the position set up by hand.
void editPosition(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x40, 0x10), 1.2));
    p.setBrush(QColor(0xf0, 0xc8, 0x78));
    p.drawRect(QRectF(3, 5, 22, 22));
    p.setBrush(QColor(0xfa, 0xe6, 0xb0));
    const QPointF piece[] = {{14, 8}, {20, 11}, {21, 24}, {7, 24}, {8, 11}};
    p.drawPolygon(piece, 5);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(QColor(0xd0, 0x30, 0x30));
    const QPointF pencil[] = {{29, 10}, {31, 12}, {20, 23}, {17, 25}, {18, 21}};
    p.drawPolygon(pencil, 5);
}

// A magnifying glass over a piece: 検討.
void magnifier(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x40, 0x10), 1.2));
    p.setBrush(QColor(0xfa, 0xe6, 0xb0));
    const QPointF piece[] = {{12, 3}, {19, 6}, {21, 22}, {3, 22}, {5, 6}};
    p.drawPolygon(piece, 5);
    p.setPen(QPen(QColor(0x20, 0x40, 0x90), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(0xa0, 0xc8, 0xff, 120));
    p.drawEllipse(QPointF(17, 16), 7.5, 7.5);
    p.drawLine(QPointF(22.5, 21.5), QPointF(29, 28));
}

}  // namespace

QImage DrawToolGlyph(Control button) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (button) {
        case Control::FairuHiraku:
            openFolder(p);
            break;
        case Control::FairuHozon:
            floppy(p);
            break;
        case Control::Owari:
            exitDoor(p);
            break;
        case Control::Taikyoku:
            newGame(p);
            break;
        case Control::Matta:
            undoArrow(p);
            break;
        case Control::Tyuudan:
            pauseBars(p);
            break;
        case Control::Touryou:
            whiteFlag(p);
            break;
        case Control::ModoruMax:
        case Control::Modoru1:
        case Control::Susumu1:
        case Control::SusumuMax:
            replayGlyph(p, button);
            break;
        case Control::Zyouhou:
            information(p);
            break;
        case Control::Hanten:
            turnBoard(p);
            break;
        case Control::KyokumenHensyuu:
            editPosition(p);
            break;
        case Control::Kentou:
            magnifier(p);
            break;
        case Control::Gamen:
            break;
    }
    return image;
}

}  // namespace nusari
