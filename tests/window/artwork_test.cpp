// The drawn artwork and the rendered board picture.
#include "ui/window/artwork.h"

#include <gtest/gtest.h>

#include <QImage>

#include "position/setup.h"
#include "ui/board_scene.h"
#include "ui/window/board_picture.h"

namespace nusari {
namespace {

TEST(Artwork, SizesAndTransparency) {
    const QImage background = DrawBackground();
    EXPECT_EQ(background.size(), QSize(kPictureWidth, kPictureHeight));
    // The board is wood, the information box white.
    const QColor wood = background.pixelColor(400, 250);
    EXPECT_GT(wood.red(), wood.blue() + 60);
    EXPECT_EQ(background.pixelColor(760, 80), QColor(Qt::white));

    const auto pieces = DrawPieceImages();
    for (int i = 0; i < kPieceImageCount; ++i) {
        SCOPED_TRACE(i);
        const QImage& image = pieces[static_cast<std::size_t>(i)];
        EXPECT_EQ(image.size(), QSize(kPieceImageSize, kPieceImageSize));
        // Pieces fill their middle, frames their edge.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), i < 28 ? 0 : 255);
        EXPECT_EQ(qAlpha(image.pixel(24, 24)), i < 28 ? 255 : 0);
    }
    // Frames: blue and red edges.
    EXPECT_GT(pieces[kSelectionFrameImage].pixelColor(1, 24).blue(), 200);
    EXPECT_GT(pieces[kLastMoveFrameImage].pixelColor(1, 24).red(), 200);
    // The lower side's tiles point up, the upper side's down.
    EXPECT_EQ(qAlpha(pieces[0].pixel(24, 0)), 0);
    EXPECT_EQ(qAlpha(pieces[0].pixel(24, 44)), 255);
    EXPECT_EQ(qAlpha(pieces[14].pixel(24, 4)), 255);
    EXPECT_EQ(qAlpha(pieces[14].pixel(24, 48)), 0);
    EXPECT_NE(pieces[0], pieces[7]);
    // Promoted kanji are red.
    auto hasRed = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 255 && c.red() > 150 && c.green() < 60) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(hasRed(pieces[8]));
    EXPECT_FALSE(hasRed(pieces[1]));

    for (int c = 0; c < kToolButtonCount; ++c) {
        const QImage glyph = DrawToolGlyph(static_cast<Control>(c));
        EXPECT_EQ(glyph.size(), QSize(32, 32));
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) opaque += qAlpha(glyph.pixel(x, y)) > 0 ? 1 : 0;
        }
        EXPECT_GT(opaque, 60) << c;
    }
}

// Pieces appear exactly where the position has them.
TEST(Artwork, TheRenderedBoardShowsThePosition) {
    BoardRenderer renderer;
    Position position;
    setupPosition(position, kPresetEven);
    position[55] = kLowerDragon;
    position[44] = kUpperHorse;
    auto record = std::make_unique<GameRecord>();
    BoardInputs in;
    in.position = &position;
    in.record = record.get();
    const QImage empty = renderer.render(BoardScene{}).copy();
    const QImage shown = renderer.render(ComposeBoard(in)).copy();
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            const int32_t square = squareOf(file, rank);
            const PicturePoint at = SquareOrigin(square);
            const int32_t image = ImageIndexOf(position[square]);
            const QRgb expected = image < 0 ? empty.pixel(at.x + 24, at.y + 24)
                                            : renderer.pieceImage(image).pixel(24, 24);
            EXPECT_EQ(shown.pixel(at.x + 24, at.y + 24), expected) << square;
        }
    }
}

}  // namespace
}  // namespace nusari
