// The board picture gamen with its background dai and back buffer ura.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <array>
#include <functional>

#include "ui/board_scene.h"
#include "ui/game_controller.h"

namespace nusari {

// Paints a BoardScene: background, texts, then the images in order.
class BoardRenderer {
  public:
    BoardRenderer();
    // Device pixels a picture pixel: the artwork is drawn again at that
    // size when it changes.
    void setScale(qreal scale);
    qreal scale() const { return scale_; }
    // Rebuilds the back buffer from the scene and returns it.
    const QImage& render(const BoardScene& scene);
    // Paints the scene's texts, tints, images and notes with `p`, in
    // picture coordinates, over whatever it holds.
    void paint(QPainter& p, const BoardScene& scene) const;
    const QImage& background() const { return background_; }
    const QImage& pieceImage(int32_t index) const;

  private:
    void paintArrows(QPainter& p, const std::vector<SceneArrow>& arrows) const;
    qreal scale_ = 1;
    QImage background_;                            // dai
    QImage backBuffer_;                            // ura
    std::array<QImage, kPieceImageCount> pieces_;  // komaIL
};

// The visible picture: shows the last rendered image at the widget's size
// and reports clicks in picture coordinates.
class BoardPicture : public QWidget {
  public:
    using ClickHandler = std::function<void(MouseButton, int32_t x, int32_t y)>;

    explicit BoardPicture(QWidget* parent);
    // Copies the whole image onto the picture.
    void present(const QImage& image);
    // Draws one image (the selection frame) straight onto the picture, at
    // (x, y) in picture coordinates.
    void drawOnTop(const QImage& image, int32_t x, int32_t y);
    const QImage& image() const { return shown_; }
    void setClickHandler(ClickHandler handler) { onClick_ = std::move(handler); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage shown_;
    ClickHandler onClick_;
};

}  // namespace nusari
