// Board representation, piece codes and the move encoding shared by every
// subsystem.
//
// Board index: a square is 10 * file + rank (file 1..9, rank 1..9), so 11 is
// 1一 and 99 is 9九. The 127-cell Position pads the 81 squares with off-board
// cells (value 64): 0..10, every multiple of ten from 20 to 90, and 100..110.
// Every sliding ray therefore meets an off-board cell within eight steps.
// Cells 111..126 are the two hands: 111 + kind for the lower side, 119 + kind
// for the upper side (kind 1..7); 111 and 119 themselves carry search values
// or, in the game history, the two sides' cumulative thinking seconds.
//
// Move encoding: `from` is a square 11..99, or the hand cell of the dropped
// kind (112..118 lower side, 120..126 upper side); `to` is the destination
// square, plus 100 when the move promotes. Besides real moves a Move holds
// three named values: Move::none() (no move chosen yet), Move::resign() and
// Move::declare() (a declaration win, 入玉宣言); compare with them, never
// with the fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace nusari {

// Cell values.
inline constexpr int32_t kOffBoard = 64;
inline constexpr int32_t kEmpty = 128;

// Piece code = side + promoted + kind.
inline constexpr int32_t kLowerSide = 0;
inline constexpr int32_t kUpperSide = 32;
inline constexpr int32_t kPromotedFlag = 8;

// The two sides by orientation: the lower side moves toward rank 1.
enum class Side : int32_t { Lower = kLowerSide, Upper = kUpperSide };
constexpr Side opponentOf(Side s) { return s == Side::Lower ? Side::Upper : Side::Lower; }

enum Kind : int32_t {
    kKing = 0,
    kRook = 1,
    kBishop = 2,
    kGold = 3,
    kSilver = 4,
    kKnight = 5,
    kLance = 6,
    kPawn = 7,
};

// Lower-side codes; add kUpperSide for the upper side.
enum PieceCode : int32_t {
    kLowerKing = 0,
    kLowerRook = 1,
    kLowerBishop = 2,
    kLowerGold = 3,
    kLowerSilver = 4,
    kLowerKnight = 5,
    kLowerLance = 6,
    kLowerPawn = 7,
    kLowerDragon = 9,
    kLowerHorse = 10,
    kLowerProSilver = 12,
    kLowerProKnight = 13,
    kLowerProLance = 14,
    kLowerTokin = 15,
    kUpperKing = 32,
    kUpperRook = 33,
    kUpperBishop = 34,
    kUpperGold = 35,
    kUpperSilver = 36,
    kUpperKnight = 37,
    kUpperLance = 38,
    kUpperPawn = 39,
    kUpperDragon = 41,
    kUpperHorse = 42,
    kUpperProSilver = 44,
    kUpperProKnight = 45,
    kUpperProLance = 46,
    kUpperTokin = 47,
};

// Hand cells: base + kind.
inline constexpr int32_t kLowerHandBase = 111;
inline constexpr int32_t kUpperHandBase = 119;
// Search values (pass counter, score bias) or thinking times live here.
inline constexpr int32_t kLowerTimeCell = 111;
inline constexpr int32_t kUpperTimeCell = 119;

inline constexpr int32_t kPositionCells = 127;
inline constexpr int32_t kBoardCells = 111;  // 0..110
inline constexpr int32_t kFirstSquare = 11;
inline constexpr int32_t kLastSquare = 99;
inline constexpr int32_t kPromotionOffset = 100;

// Direction steps on the mailbox.
inline constexpr int32_t kUp = -1;     // toward rank 1
inline constexpr int32_t kDown = 1;    // toward rank 9
inline constexpr int32_t kRight = -10; // toward file 1
inline constexpr int32_t kLeft = 10;   // toward file 9

// A hand cell of the lower side plus this is the upper side's cell of the
// same kind.
inline constexpr int32_t kHandSideStep = kUpperHandBase - kLowerHandBase;

constexpr int32_t lowerHandCell(int32_t kind) { return kLowerHandBase + kind; }
constexpr int32_t upperHandCell(int32_t kind) { return kUpperHandBase + kind; }

// Each side's hand cells run from the rook to the pawn; no king is held.
inline constexpr int32_t kLowerHandFirst = lowerHandCell(kRook);
inline constexpr int32_t kLowerHandLast = lowerHandCell(kPawn);
inline constexpr int32_t kUpperHandFirst = upperHandCell(kRook);
inline constexpr int32_t kUpperHandLast = upperHandCell(kPawn);

// The cell that `cell` (0..110) becomes when the board is turned round for
// the other side's view: 11 (1一) and 99 (9九) swap, and so do the walls.
inline constexpr int32_t kLastBoardCell = kBoardCells - 1;
constexpr int32_t flipSquare(int32_t cell) { return kLastBoardCell - cell; }

// `from` and `to` of Move::none(), the search's "no move yet".
inline constexpr int32_t kNoMove = 100;

struct Position {
    std::array<int32_t, kPositionCells> cell{};

    int32_t& operator[](int32_t i) { return cell[static_cast<std::size_t>(i)]; }
    int32_t operator[](int32_t i) const { return cell[static_cast<std::size_t>(i)]; }
    bool operator==(const Position&) const = default;
};

struct Move {
    int32_t from = kNoMove;
    int32_t to = kNoMove;

    // The named values: `from` below the first square marks them.
    static constexpr Move none() { return Move{kNoMove, kNoMove}; }
    static constexpr Move resign() { return Move{0, 0}; }
    static constexpr Move declare() { return Move{0, 1}; }
    constexpr bool isResign() const { return *this == resign(); }
    constexpr bool isDeclare() const { return *this == declare(); }
    constexpr bool isNone() const { return *this == none(); }
    // A move on the board or a drop, not one of the named values.
    constexpr bool isMove() const { return from >= kFirstSquare && from != kNoMove; }

    bool operator==(const Move&) const = default;
};

constexpr int32_t squareOf(int32_t file, int32_t rank) { return 10 * file + rank; }
constexpr int32_t fileOf(int32_t square) { return square / 10; }
constexpr int32_t rankOf(int32_t square) { return square % 10; }
constexpr bool isSquare(int32_t cell) {
    return cell >= kFirstSquare && cell <= kLastSquare && cell % 10 != 0;
}

// Cell tests.
constexpr bool isPiece(int32_t v) { return v < 60; }
constexpr bool isLowerPiece(int32_t v) { return v < 30; }
constexpr bool isUpperPiece(int32_t v) { return (v & 32) != 0 && v < 60; }
// Empty or a lower piece: a destination the upper side may move to.
constexpr bool upperMayEnter(int32_t v) { return (v & 96) == 0; }
// Empty or an upper piece: a square the lower king may step to.
constexpr bool lowerKingMayEnter(int32_t v) { return (v & 160) != 0; }

constexpr int32_t kindOf(int32_t code) { return code & 7; }
constexpr int32_t sideOf(int32_t code) { return code & 32; }
constexpr bool isPromoted(int32_t code) { return (code & kPromotedFlag) != 0; }

// True for the 28 codes that can stand on a board: 0..15 and 32..47
// without 8, 11, 40 and 43. One bit per code, as this runs for every piece
// of every evaluated position.
inline constexpr uint64_t kValidPieceCodes = 0xF6FF'0000'F6FFull;
constexpr bool isValidPieceCode(int32_t v) {
    return static_cast<uint32_t>(v) < 48u && ((kValidPieceCodes >> v) & 1u) != 0;
}

constexpr bool isDrop(const Move& m) { return m.from >= kPromotionOffset; }
constexpr bool isPromotion(const Move& m) { return m.to >= kPromotionOffset; }
constexpr int32_t destinationOf(const Move& m) { return m.to % kPromotionOffset; }

}  // namespace nusari
