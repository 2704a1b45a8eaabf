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
