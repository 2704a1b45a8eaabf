#include "ui/board_scene.h"

#include <algorithm>

#include "position/legal_moves.h"
#include "position/position.h"
#include "position/text_encoding.h"

namespace nusari {

namespace {

// A hand row of one kind: its piece stands `spread` pixels left of `baseX`.
struct HandRow {
    int32_t kind;
    int32_t baseX;
    int32_t spread;
    int32_t y;
};

// Kinds in drawing order: pawn, lance, knight, silver, gold, bishop, rook.
constexpr HandRow kLowerRows[] = {
    {kPawn, 745, 100, 410},  {kLance, 745, 30, 360}, {kKnight, 675, 30, 360},
    {kSilver, 745, 30, 310}, {kGold, 675, 30, 310},  {kBishop, 745, 30, 260},
    {kRook, 675, 30, 260},
};
constexpr HandRow kUpperRows[] = {
    {kPawn, 115, 100, 30}, {kLance, 45, 30, 80},   {kKnight, 115, 30, 80}, {kSilver, 45, 30, 130},
    {kGold, 115, 30, 130}, {kBishop, 45, 30, 180}, {kRook, 115, 30, 180},
};

// More pieces of one kind than a game can hold: a record that claims more
// shows this count.
constexpr int32_t kMaxShownHandCount = 99;

// One piece a kind in hand, its count beside it when more than one.
void addHand(BoardScene& scene, const Position& p, int32_t handBase, int32_t sideCode,
             const HandRow (&rows)[7]) {
    for (const HandRow& row : rows) {
        const int32_t n = std::min(p[handBase + row.kind], kMaxShownHandCount);
        if (n < 1) continue;
        const int32_t x = row.baseX - row.spread;
        scene.sprites.push_back(Sprite{ImageIndexOf(sideCode + row.kind), x, row.y});
        if (n > 1) scene.notes.push_back(SceneText{std::to_string(n), x + 48, row.y + 30, 0});
    }
}

// File numbers above the board and rank numerals to its right, as the
// squares really are: when the board is turned, file 1 is on the left and
// rank 九 at the top.
void addLabels(BoardScene& scene, bool turned) {
    static const char* const kRanks[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
    for (int32_t k = 0; k < 9; ++k) {
        const int32_t file = turned ? k + 1 : 9 - k;
        const int32_t rank = turned ? 9 - k : k + 1;
        scene.notes.push_back(SceneText{std::to_string(file), 183 + 48 * k, 16, 48});
        scene.notes.push_back(SceneText{kRanks[rank - 1], 616, 33 + 48 * k + 16, 18});
    }
}

// The centre of where the move starts: its square, or the stand's piece
// of the dropped kind.
PicturePoint arrowStart(const Move& m) {
    constexpr int32_t half = kPieceImageSize / 2;
    if (!isDrop(m)) {
        const PicturePoint at = SquareOrigin(m.from);
        return PicturePoint{at.x + half, at.y + half};
    }
    const bool lower = m.from < kUpperHandBase;
    const int32_t kind = m.from - (lower ? kLowerHandBase : kUpperHandBase);
    for (const HandRow& row : lower ? kLowerRows : kUpperRows) {
        if (row.kind == kind) return PicturePoint{row.baseX - row.spread + half, row.y + half};
    }
    return PicturePoint{};
}

}  // namespace

int32_t ImageIndexOf(int32_t code) {
    if (code >= kLowerKing && code <= kLowerPawn) return code;
    if (code == kLowerDragon || code == kLowerHorse) return code - 1;
    if (code >= kLowerProSilver && code <= kLowerTokin) return code - 2;
    if (code >= kUpperKing && code <= kUpperPawn) return code - 18;
    if (code == kUpperDragon || code == kUpperHorse) return code - 19;
    if (code >= kUpperProSilver && code <= kUpperTokin) return code - 20;
    return -1;
}

PicturePoint SquareOrigin(int32_t square) {
    return PicturePoint{615 - 48 * fileOf(square), 48 * rankOf(square) - 15};
}

BoardScene ComposeBoard(const BoardInputs& in) {
    BoardScene scene;
    const Position p = in.viewTurned ? flipPosition(*in.position) : *in.position;
    const auto shownAt = [&](int32_t square) {
        return SquareOrigin(in.viewTurned ? flipSquare(square) : square);
    };
    const GameRecord& record = *in.record;

    // The times of the ply shown; 先手 is the upper side when the board is
    // turned.
    const int32_t entry = std::clamp(in.plyCount, 0, kHistoryEntries - 1);
    const Position& times = record.history[static_cast<std::size_t>(entry)];
    const int32_t firstTimeCell = record.boardTurned == 1 ? kUpperTimeCell : kLowerTimeCell;
    const int32_t secondTimeCell = record.boardTurned == 1 ? kLowerTimeCell : kUpperTimeCell;
    const bool clocks = in.clocks.size() == 2;
    const bool names = in.names.size() == 2;
    scene.texts = {
        {names ? in.names[0] : toUtf8(nameOf(record.firstName)), 678, 75},
        {clocks ? in.clocks[0] : std::to_string(times[firstTimeCell]) + " s", 690, 100},
        {names ? in.names[1] : toUtf8(nameOf(record.secondName)), 678, 131},
        {clocks ? in.clocks[1] : std::to_string(times[secondTimeCell]) + " s", 690, 156},
        {in.presetText, 688, 185},
        {std::to_string(in.plyCount), 690, 215},
    };

    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            const int32_t square = squareOf(file, rank);
            const int32_t image = ImageIndexOf(p[square]);
            if (image < 0) continue;
            const PicturePoint at = SquareOrigin(square);
            scene.sprites.push_back(Sprite{image, at.x, at.y});
        }
    }
    addHand(scene, p, kLowerHandBase, kLowerSide, kLowerRows);
    addHand(scene, p, kUpperHandBase, kUpperSide, kUpperRows);

    if (isSquare(in.lastDestination)) {
        const PicturePoint at = shownAt(in.lastDestination);
        scene.sprites.push_back(Sprite{kLastMoveFrameImage, at.x, at.y});
    }
    // The ply shown, in play and in replay: where it came from and went.
    if (!in.preview && in.plyCount >= 1 && in.plyCount <= kMaxRecordPlies) {
        const PlySquares ply =
            plySquares(record.history[static_cast<std::size_t>(in.plyCount - 1)],
                       record.history[static_cast<std::size_t>(in.plyCount)]);
        for (const int32_t square : {ply.from, ply.to}) {
            if (isSquare(square)) scene.tints.push_back(shownAt(square));
        }
    }
    addLabels(scene, (record.boardTurned != 0) != in.viewTurned);
    if (isInCheck(p, Side::Lower) || isInCheck(p, Side::Upper)) {
        scene.notes.push_back(SceneText{"王手", 678, 240, 0});
    }
    for (const ArrowMove& arrow : in.arrows) {
        if (!arrow.move.isMove()) continue;
        const Move m = in.viewTurned ? flipMove(arrow.move) : arrow.move;
        const PicturePoint to = SquareOrigin(destinationOf(m));
        constexpr int32_t half = kPieceImageSize / 2;
        scene.arrows.push_back(
            SceneArrow{arrowStart(m), PicturePoint{to.x + half, to.y + half}, arrow.rank, arrow.label});
    }
    return scene;
}

}  // namespace nusari
