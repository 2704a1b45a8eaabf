#include "ui/editor_scene.h"

#include <memory>
#include <string>

#include "ui/board_hit.h"

namespace nusari {

namespace {

// One kind's part of a stand or of the box: its piece is drawn at (x, y)
// and clicks anywhere in the w x h cell from there take or put that kind.
struct KindCell {
    EditorSpot::Area area;
    Side side;
    int32_t kind;
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// The stands as the game's picture draws them: two kinds a row, the pawns
// across a whole row.
constexpr KindCell kHandCells[] = {
    {EditorSpot::Area::Hand, Side::Lower, kRook, 645, 260, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kBishop, 715, 260, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kGold, 645, 310, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kSilver, 715, 310, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kKnight, 645, 360, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kLance, 715, 360, 70, 50},
    {EditorSpot::Area::Hand, Side::Lower, kPawn, 645, 410, 140, 50},
    {EditorSpot::Area::Hand, Side::Upper, kPawn, 15, 30, 140, 50},
    {EditorSpot::Area::Hand, Side::Upper, kLance, 15, 80, 70, 50},
    {EditorSpot::Area::Hand, Side::Upper, kKnight, 85, 80, 70, 50},
    {EditorSpot::Area::Hand, Side::Upper, kSilver, 15, 130, 70, 50},
    {EditorSpot::Area::Hand, Side::Upper, kGold, 85, 130, 70, 50},
    {EditorSpot::Area::Hand, Side::Upper, kBishop, 15, 180, 70, 50},
    {EditorSpot::Area::Hand, Side::Upper, kRook, 85, 180, 70, 50},
};

// The box: its label on the left, then King..Pawn in cells of 80 pixels.
constexpr int32_t kBoxFirstX = 100;
constexpr int32_t kBoxCellWidth = 80;
constexpr int32_t kBoxPieceY = kBoxStripTop + 10;

KindCell boxCell(int32_t kind) {
    return KindCell{EditorSpot::Area::Box,
                    Side::Lower,
                    kind,
                    kBoxFirstX + kBoxCellWidth * kind + 15,
                    kBoxPieceY,
                    kBoxCellWidth,
                    kBoxStripHeight - 10};
}

bool inside(const KindCell& c, int32_t x, int32_t y, int32_t left) {
    return x >= left && x < left + c.w && y >= c.y && y < c.y + c.h;
}

// The game's picture composes the board and the hands; it reads a record
// only for names, times and the ply shown, none of which the editor has.
const GameRecord& blankRecord() {
    static const std::unique_ptr<GameRecord> record = std::make_unique<GameRecord>();
    return *record;
}

}  // namespace

BoardScene ComposeEditor(const PositionEditor& editor, const std::optional<EditorSpot>& selected) {
    BoardInputs in;
    in.position = &editor.position();
    in.record = &blankRecord();
    BoardScene scene = ComposeBoard(in);
    scene.tints.clear();
    // The information box: the two sides, the one to move marked, and
    // what the picture is.
    const bool lowerToMove = editor.sideToMove() == Side::Lower;
    scene.texts = {
        {lowerToMove ? "先手　◀ 手番" : "先手", 678, 75},
        {lowerToMove ? "後手" : "後手　◀ 手番", 678, 131},
        {"局面編集", 688, 185},
    };

    scene.notes.push_back(SceneText{"駒箱", 10, kBoxStripTop + 27, 80});
    for (int32_t kind = kKing; kind <= kPawn; ++kind) {
        const int32_t n = editor.boxCount(kind);
        if (n < 1) continue;
        const KindCell c = boxCell(kind);
        scene.sprites.push_back(Sprite{ImageIndexOf(kLowerSide + kind), c.x, c.y});
        if (n > 1) scene.notes.push_back(SceneText{std::to_string(n), c.x + 48, c.y + 30, 0});
    }
    if (selected) {
        if (const std::optional<PicturePoint> at = EditorSpotOrigin(*selected))
            scene.sprites.push_back(Sprite{kSelectionFrameImage, at->x, at->y});
    }
    return scene;
}

std::optional<EditorSpot> EditorSpotAt(int32_t x, int32_t y) {
    if (const int32_t square = SquareAt(x, y); square != 0) return EditorSpot::board(square);
    for (const KindCell& c : kHandCells) {
        if (inside(c, x, y, c.x)) return EditorSpot::hand(c.side, c.kind);
    }
    for (int32_t kind = kKing; kind <= kPawn; ++kind) {
        const KindCell c = boxCell(kind);
        if (inside(c, x, y, kBoxFirstX + kBoxCellWidth * kind)) return EditorSpot::box(kind);
    }
    return std::nullopt;
}

std::optional<PicturePoint> EditorSpotOrigin(const EditorSpot& spot) {
    switch (spot.area) {
        case EditorSpot::Area::Board:
            if (!isSquare(spot.square)) return std::nullopt;
            return SquareOrigin(spot.square);
        case EditorSpot::Area::Hand:
            for (const KindCell& c : kHandCells) {
                if (c.side == spot.side && c.kind == spot.kind) return PicturePoint{c.x, c.y};
            }
            return std::nullopt;
        case EditorSpot::Area::Box:
            if (spot.kind < kKing || spot.kind > kPawn) return std::nullopt;
            return PicturePoint{boxCell(spot.kind).x, boxCell(spot.kind).y};
    }
    return std::nullopt;
}

bool CyclePiece(PositionEditor& editor, int32_t square) {
    const int32_t code = editor.pieceAt(square);
    if (code == kEmpty) return false;
    const int32_t kind = kindOf(code);
    if (kind == kKing || kind == kGold) return editor.changeSide(square);
    // Promoted: over to the other side's unpromoted face.
    if ((code & kPromotedFlag) != 0) editor.changeSide(square);
    return editor.turnOver(square);
}

}  // namespace nusari
