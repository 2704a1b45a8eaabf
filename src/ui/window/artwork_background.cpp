// The background picture dai: cloth, the wooden board with its grid, star
// points and coordinates, the two piece stands, the logo and the
// information box whose lines DrawBoard writes on.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdint>

#include "ui/window/artwork.h"

namespace nusari {

namespace {

// Grid: squares 48 pixels apart from (183, 33) to (615, 465).
constexpr int kGridLeft = 183;
constexpr int kGridTop = 33;
constexpr int kCell = 48;
const QRect kBoardRect(165, 15, 470, 470);
const QRect kUpperStand(10, 10, 149, 249);
const QRect kLowerStand(641, 240, 150, 251);
const QRect kLogoRect(641, 10, 150, 43);
const QRect kInfoRect(641, 58, 150, 179);

// A small fixed generator, so that the wood grain is the same every start.
struct Grain {
    uint32_t state = 12345;
    double next() {
        state = state * 1103515245u + 12345u;
        return static_cast<double>((state >> 8) & 0xffff) / 65536.0;
    }
};

QFont uiFont(int pixels, bool bold = false) {
    QFont font(kUiFontFamily);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void drawCloth(QPainter& p) {
    QLinearGradient g(0, 0, 0, kPictureHeight);
    g.setColorAt(0, QColor(0x5a, 0x3c, 0x2a));
    g.setColorAt(1, QColor(0x3a, 0x24, 0x18));
    p.fillRect(0, 0, kPictureWidth, kPictureHeight, g);
    // A faint woven texture.
    p.setPen(QPen(QColor(255, 255, 255, 10), 1));
    for (int x = -kPictureHeight; x < kPictureWidth; x += 6)
        p.drawLine(x, 0, x + kPictureHeight, kPictureHeight);
    p.setPen(QPen(QColor(0, 0, 0, 18), 1));
    for (int x = 0; x < kPictureWidth + kPictureHeight; x += 6)
        p.drawLine(x, 0, x - kPictureHeight, kPictureHeight);
}

// Wavy streaks along the length of a wooden rectangle.
void drawGrain(QPainter& p, const QRect& r, int streaks, const QColor& colour, Grain& grain) {
    p.save();
    p.setClipRect(r);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < streaks; ++i) {
        const double x0 = r.left() + grain.next() * r.width();
        const double amplitude = 2 + grain.next() * 6;
        const double wave = 60 + grain.next() * 140;
        const double phase = grain.next() * 6.28;
        QPainterPath path(QPointF(x0, r.top()));
        for (int y = r.top(); y <= r.bottom() + 4; y += 4) {
            path.lineTo(x0 + amplitude * std::sin(phase + y / wave * 6.28), y);
        }
        QColor c = colour;
        c.setAlpha(12 + static_cast<int>(grain.next() * 30));
        p.setPen(QPen(c, 0.5 + grain.next() * 1.2));
        p.drawPath(path);
    }
    p.restore();
}

// A raised wooden block with a shadow and a bevelled edge.
void drawWood(QPainter& p, const QRect& r, const QColor& light, const QColor& dark, int streaks,
              Grain& grain) {
    p.fillRect(r.translated(4, 4), QColor(0, 0, 0, 90));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.fillRect(r, g);
    drawGrain(p, r, streaks, QColor(0x80, 0x50, 0x18), grain);
    p.setPen(QPen(QColor(255, 240, 200, 120), 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
    p.setPen(QPen(QColor(0x5a, 0x36, 0x12), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void drawBoardGrid(QPainter& p) {
    const int right = kGridLeft + 9 * kCell;
    const int bottom = kGridTop + 9 * kCell;
    p.setPen(QPen(QColor(0x2a, 0x18, 0x08), 1));
    for (int k = 1; k < 9; ++k) {
        p.drawLine(kGridLeft + k * kCell, kGridTop, kGridLeft + k * kCell, bottom);
        p.drawLine(kGridLeft, kGridTop + k * kCell, right, kGridTop + k * kCell);
    }
    p.setPen(QPen(QColor(0x2a, 0x18, 0x08), 2));
    p.drawRect(kGridLeft, kGridTop, 9 * kCell, 9 * kCell);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x18, 0x08));
    for (int fx : {3, 6}) {
        for (int fy : {3, 6})
            p.drawEllipse(QPointF(kGridLeft + fx * kCell, kGridTop + fy * kCell), 3.2, 3.2);
    }
    // The file and rank labels follow the board's orientation: the board
    // picture draws them over this.
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawLogo(QPainter& p) {
    p.fillRect(kLogoRect.translated(3, 3), QColor(0, 0, 0, 90));
    QLinearGradient g(kLogoRect.topLeft(), kLogoRect.bottomLeft());
    g.setColorAt(0, QColor(0x4a, 0x10, 0x10));
    g.setColorAt(1, QColor(0x1c, 0x04, 0x04));
    p.fillRect(kLogoRect, g);
    p.setPen(QPen(QColor(0xd8, 0xb0, 0x50), 2));
    p.drawRect(kLogoRect.adjusted(2, 2, -3, -3));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(uiFont(22, true));
    p.setPen(QColor(0xf0, 0xcc, 0x68));
    p.drawText(kLogoRect, Qt::AlignCenter, QStringLiteral("ぬさり将棋"));
    p.setRenderHint(QPainter::Antialiasing, false);
}

// The black (先手) or white (後手) piece symbol in front of a name line.
void drawSideMark(QPainter& p, int x, int y, bool black) {
    const QPointF shape[] = {{x + 6.0, y + 0.0},
                             {x + 11.0, y + 3.0},
                             {x + 12.0, y + 15.0},
                             {x + 0.0, y + 15.0},
                             {x + 1.0, y + 3.0}};
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(black ? QBrush(Qt::black) : QBrush(Qt::white));
    p.drawPolygon(shape, 5);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawInfoBox(QPainter& p) {
    p.fillRect(kInfoRect.translated(3, 3), QColor(0, 0, 0, 90));
    p.fillRect(kInfoRect, Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kInfoRect.adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(uiFont(12));
    // Each row: its label or symbol, and the line its text is written on.
    struct Row {
        int y;
        const char* label;
        int lineFrom;
    };
    const Row rows[] = {{75, nullptr, 676}, {100, "時間", 688}, {131, nullptr, 676},
                        {156, "時間", 688}, {185, "対局", 686}, {215, "手数", 688}};
    for (const Row& row : rows) {
        if (row.label != nullptr) {
            p.setPen(Qt::black);
            p.drawText(QRect(647, row.y, 40, 16), Qt::AlignLeft | Qt::AlignTop,
                       QString::fromUtf8(row.label));
        }
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
        p.drawLine(row.lineFrom, row.y + 16, 784, row.y + 16);
    }
    drawSideMark(p, 653, 75, true);
    drawSideMark(p, 653, 131, false);
}

}  // namespace

QImage ScaledImage(int width, int height, qreal scale, QImage::Format format) {
    QImage image(qRound(width * scale), qRound(height * scale), format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage DrawBackground(qreal scale) {
    QImage image = ScaledImage(kPictureWidth, kPictureHeight, scale, QImage::Format_RGB32);
    QPainter p(&image);
    Grain grain;
    drawCloth(p);
    drawWood(p, kBoardRect, QColor(0xf4, 0xd4, 0x8e), QColor(0xdc, 0xae, 0x5e), 90, grain);
    drawBoardGrid(p);
    drawWood(p, kUpperStand, QColor(0xd8, 0xa4, 0x60), QColor(0xb0, 0x78, 0x3c), 24, grain);
    drawWood(p, kLowerStand, QColor(0xd8, 0xa4, 0x60), QColor(0xb0, 0x78, 0x3c), 24, grain);
    drawLogo(p);
    drawInfoBox(p);
    return image;
}

}  // namespace nusari
