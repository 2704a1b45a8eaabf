// What the board picture shows, as a list of images and texts in picture
// coordinates (800 x 500, origin top left). The window paints the list; the
// list itself is built without any window code, so tests can read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "position/types.h"
#include "records/game_record.h"

namespace nusari {

inline constexpr int32_t kPictureWidth = 800;
// The move list's column to the right of the picture.
inline constexpr int32_t kMoveListWidth = 220;
inline constexpr int32_t kPictureHeight = 500;
inline constexpr int32_t kPieceImageSize = 49;
// Images 0..27 are pieces; these two are frames.
inline constexpr int32_t kSelectionFrameImage = 28;  // blue
inline constexpr int32_t kLastMoveFrameImage = 29;   // red
inline constexpr int32_t kPieceImageCount = 30;

// The image of a piece code, or -1 for an empty or off-board cell (and for
// any value that is no piece).
int32_t ImageIndexOf(int32_t code);

struct PicturePoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PicturePoint&) const = default;
};

// Top left corner of a square's image: x = 615 - 48 * file, y = 48 * rank - 15.
PicturePoint SquareOrigin(int32_t square);

struct Sprite {
    int32_t image = 0;
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Sprite&) const = default;
};

// A text whose top left corner is at (x, y); UTF-8. With a width, the text
// is centred in the box of that width and one line's height.
struct SceneText {
    std::string text;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
};

// An arrow drawn over everything: a candidate move of 検討 from the centre
// of its square (or of its piece on the stand) to the centre of its
// destination, its rank (1 best) and score beside it.
struct SceneArrow {
    PicturePoint from;
    PicturePoint to;
    int32_t rank = 1;
    std::string label;
    bool operator==(const SceneArrow&) const = default;
};

// A move to draw as an arrow, in the frame of BoardInputs::position.
struct ArrowMove {
    Move move;
    int32_t rank = 1;
    std::string label;
};

struct BoardScene {
    std::vector<SceneText> texts;
    // Squares tinted under the pieces: the last move's origin and destination.
    std::vector<PicturePoint> tints;
    std::vector<Sprite> sprites;  // in drawing order; later ones lie on top
    // Drawn over everything: the file and rank labels, the counts of the
    // pieces in hand and 王手.
    std::vector<SceneText> notes;
    std::vector<SceneArrow> arrows;
};

// What DrawBoard reads.
struct BoardInputs {
    const Position* position = nullptr;
    const GameRecord* record = nullptr;
    int32_t plyCount = 0;
    int32_t lastDestination = 0;
    std::string presetText;  // the text of the start-position list, UTF-8
    // Turned by hand: drawn from the other side, the hands on the other stands.
    bool viewTurned = false;
    std::vector<ArrowMove> arrows;
    // While a game runs on clocks, what they show (先手's first), in place
    // of the time each side has used.
    std::vector<std::string> clocks;
    // Names that stand in for the record's (先手's first): a tournament's game.
    std::vector<std::string> names;
    // A line previewed on the board: the position is not the record's ply,
    // so the ply's tints are left out.
    bool preview = false;
};

// The six texts, the pieces on the board, both hands (lower side first,
// kinds pawn to rook: one piece a kind, with its count when more than one),
// the red frame on the last destination, the tints of the ply shown, the
// file and rank labels as the board is turned, and 王手 when a king is in
// check. Turned by hand, every square and hand shows what its opposite holds.
BoardScene ComposeBoard(const BoardInputs& in);

}  // namespace nusari
