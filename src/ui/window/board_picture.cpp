#include "ui/window/board_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/window/artwork.h"

namespace nusari {

BoardRenderer::BoardRenderer()
    : background_(DrawBackground()),
      backBuffer_(kPictureWidth, kPictureHeight, QImage::Format_RGB32),
      pieces_(DrawPieceImages()) {}

void BoardRenderer::setScale(qreal scale) {
    if (scale <= 0 || qFuzzyCompare(scale, scale_)) return;
    scale_ = scale;
    background_ = DrawBackground(scale);
    backBuffer_ = ScaledImage(kPictureWidth, kPictureHeight, scale, QImage::Format_RGB32);
    pieces_ = DrawPieceImages(scale);
}

const QImage& BoardRenderer::render(const BoardScene& scene) {
    QPainter p(&backBuffer_);
    p.drawImage(0, 0, background_);
    paint(p, scene);
    return backBuffer_;
}

void BoardRenderer::paint(QPainter& p, const BoardScene& scene) const {
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(kUiFontFamily);
    font.setPixelSize(12);  // 9 points on the 96 dpi screen of the original
    p.setFont(font);
    p.setPen(Qt::black);
    for (const SceneText& text : scene.texts) {
        p.drawText(QRect(text.x, text.y, kPictureWidth - text.x, 16), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(text.text));
    }
    for (const PicturePoint& at : scene.tints) {
        p.fillRect(QRect(at.x, at.y, kPieceImageSize - 1, kPieceImageSize - 1),
                   QColor(0xff, 0xa0, 0x40, 110));
    }
    for (const Sprite& sprite : scene.sprites)
        p.drawImage(sprite.x, sprite.y, pieceImage(sprite.image));
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    for (const SceneText& note : scene.notes) {
        const QString text = QString::fromStdString(note.text);
        if (note.width > 0) {
            p.setPen(QColor(0x4a, 0x2c, 0x0c));
            p.drawText(QRect(note.x, note.y, note.width, 16), Qt::AlignCenter, text);
        } else {
            // Counts and 王手 stand out in red.
            p.setPen(QColor(0xc0, 0x10, 0x10));
            p.drawText(QRect(note.x, note.y, kPictureWidth - note.x, 16),
                       Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
    paintArrows(p, scene.arrows);
}

// 検討's best moves: the best in blue, the others lighter, each with its
// score at its head; later ranks under earlier ones.
void BoardRenderer::paintArrows(QPainter& p, const std::vector<SceneArrow>& arrows) const {
    static const QColor kColours[] = {QColor(0x10, 0x50, 0xe0, 190), QColor(0x10, 0xa0, 0x40, 160),
                                      QColor(0x90, 0x90, 0x90, 150)};
    p.setRenderHint(QPainter::Antialiasing, true);
    for (auto it = arrows.rbegin(); it != arrows.rend(); ++it) {
        const QColor colour = kColours[std::clamp(it->rank, 1, 3) - 1];
        const QPointF from(it->from.x, it->from.y);
        const QPointF to(it->to.x, it->to.y);
        const QLineF line(from, to);
        if (line.length() < 1) continue;
        // The shaft stops where the head begins.
        const double head = 16;
        QLineF shaft = line;
        shaft.setLength(std::max(0.0, line.length() - head));
        p.setPen(QPen(colour, 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(shaft);
        const QLineF normal = QLineF(shaft.p2(), to).normalVector();
        QLineF side = normal;
        side.setLength(10);
        const QPointF left = side.p2();
        const QPointF right = shaft.p2() - (left - shaft.p2());
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({to, left, right}));
        if (!it->label.empty()) {
            const QString text = QString::fromStdString(it->label);
            QFont font = p.font();
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            const QRectF box(to.x() - 24, to.y() + 6, 48, 14);
            p.setBrush(QColor(255, 255, 255, 200));
            p.drawRoundedRect(box, 3, 3);
            p.setPen(colour.darker(150));
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
}

const QImage& BoardRenderer::pieceImage(int32_t index) const {
    const int32_t i = index >= 0 && index < kPieceImageCount ? index : kSelectionFrameImage;
    return pieces_[static_cast<std::size_t>(i)];
}

BoardPicture::BoardPicture(QWidget* parent)
    : QWidget(parent), shown_(kPictureWidth, kPictureHeight, QImage::Format_RGB32) {
    resize(kPictureWidth, kPictureHeight);
    shown_.fill(Qt::black);
}

void BoardPicture::present(const QImage& image) {
    shown_ = image.copy();
    shown_.setDevicePixelRatio(image.devicePixelRatio());
    update();
}

void BoardPicture::drawOnTop(const QImage& image, int32_t x, int32_t y) {
    QPainter p(&shown_);
    p.drawImage(x, y, image);
    p.end();
    repaint();
}

void BoardPicture::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.drawImage(QRectF(rect()), shown_);
}

void BoardPicture::mousePressEvent(QMouseEvent* event) {
    if (!onClick_) return;
    MouseButton button = MouseButton::Left;
    if (event->button() == Qt::RightButton) button = MouseButton::Right;
    if (event->button() == Qt::MiddleButton) button = MouseButton::Middle;
    const QPointF at = event->position();
    onClick_(button, static_cast<int32_t>(at.x() * kPictureWidth / std::max(1, width())),
             static_cast<int32_t>(at.y() * kPictureHeight / std::max(1, height())));
}

}  // namespace nusari
