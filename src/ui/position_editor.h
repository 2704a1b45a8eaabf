// The position editor (局面編集) without its screen: a position being set up
// by hand, piece by piece, and the side to move, checked when the user is
// done so that a record can start from it.
//
// Every piece of the one set of 40 is always somewhere: on the board, in a
// hand, or in the piece box (駒箱), which holds what is in neither. The box
// is not stored: it is what the board and the hands leave of the set, so no
// operation can lose or duplicate a piece. Pieces in the box and in a hand
// are unpromoted; a box piece has no side and the box alone holds kings
// that are off the board. Squares and sides are in the standard frame
// (先手 is the lower side).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "position/types.h"

namespace nusari {

// A place a piece is taken from or put to.
struct EditorSpot {
    enum class Area { Board, Hand, Box };
    Area area = Area::Box;
    int32_t square = 0;       // Board: 11..99
    Side side = Side::Lower;  // Hand: whose hand
    // Hand or Box: the kind taken (kKing..kPawn). A destination takes the
    // piece's own kind and does not look at it.
    int32_t kind = kPawn;

    static EditorSpot board(int32_t square) { return {Area::Board, square, Side::Lower, kPawn}; }
    static EditorSpot hand(Side side, int32_t kind = kPawn) { return {Area::Hand, 0, side, kind}; }
    static EditorSpot box(int32_t kind = kPawn) { return {Area::Box, 0, Side::Lower, kind}; }
};

// What finish() gives: the position and the side to move, or why play
// cannot start from it (a UTF-8 message, empty when it can).
struct SetUpResult {
    Position position{};
    Side toMove = Side::Lower;
    std::string error;
    bool ok() const { return error.empty(); }
};

class PositionEditor {
  public:
    // The even game (平手), 先手 to move, the box empty.
    PositionEditor();

    static PositionEditor even();
    // Nothing on the board or in the hands: all 40 pieces in the box.
    static PositionEditor emptyBoard();
    // Nothing on the board, the kings in the box and every other piece on
    // the stands, each kind split evenly between the two hands.
    static PositionEditor allInHands();
    // 詰将棋: the defending 後手 king on 5一 and every other piece but the
    // 先手 king (which goes to the box) in 後手's hand, 先手 to move. In a
    // problem the attacker holds only what it is given and the defender
    // the rest, so the user moves the attacker's pieces out of that hand.
    static PositionEditor tsume();
    // `p` with `toMove` to move (the time cells 111 and 119 are dropped);
    // nullopt when a cell holds no piece or count, or a kind has more pieces
    // than the set. The box holds what is missing.
    static std::optional<PositionEditor> fromPosition(const Position& p, Side toMove);

    const Position& position() const { return position_; }
    Side sideToMove() const { return toMove_; }
    // The code on `square` or kEmpty.
    int32_t pieceAt(int32_t square) const;
    int32_t handCount(Side side, int32_t kind) const;
    // Pieces of `kind` (kKing..kPawn) in the box.
    int32_t boxCount(int32_t kind) const;

    // Takes a piece from `from` and puts it at `to`. A piece put in a hand
    // is unpromoted and the hand's side's; one put from a hand on the board
    // is that hand's side's, one from the box 先手's, both unpromoted; a
    // piece moved on the board keeps its face. False, changing nothing,
    // when `from` holds no such piece, the square `to` is taken, a king
    // would go to a hand, or `to` is where the piece already is.
    bool movePiece(const EditorSpot& from, const EditorSpot& to);
    // Puts a piece of `code` (any side, promoted or not) from the box on the
    // empty `square`; false when the square is taken or not a square, the
    // code is no piece or the box has no piece of its kind.
    bool putFromBox(int32_t square, int32_t code);
    // Turns the piece on `square` over (promotes or unpromotes it); false
    // when there is none or it is a king or gold.
    bool turnOver(int32_t square);
    // Gives the piece on `square` to the other side; false when there is none.
    bool changeSide(int32_t square);
    void setSideToMove(Side side) { toMove_ = side; }
    // Everything on the board and in the hands goes to the box.
    void clear();

    // The position if play can start from it (CheckSetUpPosition), else the
    // message why not.
    SetUpResult finish() const;

    bool operator==(const PositionEditor&) const = default;

  private:
    PositionEditor(const Position& p, Side toMove) : position_(p), toMove_(toMove) {}
    // The code of the piece `from` holds, or kEmpty when it holds none.
    int32_t pieceOf(const EditorSpot& from) const;
    void take(const EditorSpot& from);

    Position position_{};
    Side toMove_ = Side::Lower;
};

}  // namespace nusari
