#include "ui/position_editor.h"

#include "position/position_check.h"
#include "position/setup.h"

namespace nusari {

namespace {

int32_t handCell(Side side, int32_t kind) {
    return (side == Side::Lower ? kLowerHandBase : kUpperHandBase) + kind;
}

bool isHandKind(int32_t kind) {
    return kind >= kRook && kind <= kPawn;
}
bool isKind(int32_t kind) {
    return kind >= kKing && kind <= kPawn;
}

Position emptyPosition() {
    Position p;
    setupPosition(p, kPresetContinue);
    return p;
}

}  // namespace

PositionEditor::PositionEditor() {
    setupPosition(position_, kPresetEven);
}

PositionEditor PositionEditor::even() {
    return PositionEditor();
}

PositionEditor PositionEditor::emptyBoard() {
    return PositionEditor(emptyPosition(), Side::Lower);
}

PositionEditor PositionEditor::allInHands() {
    Position p = emptyPosition();
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        p[lowerHandCell(kind)] = kPiecesPerSet[kind] / 2;
        p[upperHandCell(kind)] = kPiecesPerSet[kind] / 2;
    }
    return PositionEditor(p, Side::Lower);
}

PositionEditor PositionEditor::tsume() {
    Position p = emptyPosition();
    p[squareOf(5, 1)] = kUpperKing;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) p[upperHandCell(kind)] = kPiecesPerSet[kind];
    return PositionEditor(p, Side::Lower);
}

std::optional<PositionEditor> PositionEditor::fromPosition(const Position& p, Side toMove) {
    PositionEditor editor(emptyPosition(), toMove);
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (!isSquare(sq)) continue;
        if (p[sq] != kEmpty && !isValidPieceCode(p[sq])) return std::nullopt;
        editor.position_[sq] = p[sq];
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        for (const Side side : {Side::Lower, Side::Upper}) {
            const int32_t count = p[handCell(side, kind)];
            if (count < 0 || count > kPiecesPerSet[kind]) return std::nullopt;
            editor.position_[handCell(side, kind)] = count;
        }
    }
    for (int32_t kind = kKing; kind <= kPawn; ++kind) {
        if (editor.boxCount(kind) < 0) return std::nullopt;
    }
    return editor;
}

int32_t PositionEditor::pieceAt(int32_t square) const {
    return isSquare(square) ? position_[square] : kEmpty;
}

int32_t PositionEditor::handCount(Side side, int32_t kind) const {
    return isHandKind(kind) ? position_[handCell(side, kind)] : 0;
}

int32_t PositionEditor::boxCount(int32_t kind) const {
    if (!isKind(kind)) return 0;
    int32_t count = kPiecesPerSet[kind];
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq) && position_[sq] != kEmpty && kindOf(position_[sq]) == kind) --count;
    }
    return count - handCount(Side::Lower, kind) - handCount(Side::Upper, kind);
}

int32_t PositionEditor::pieceOf(const EditorSpot& from) const {
    switch (from.area) {
        case EditorSpot::Area::Board:
            return pieceAt(from.square);
        case EditorSpot::Area::Hand:
            return handCount(from.side, from.kind) > 0 ? static_cast<int32_t>(from.side) + from.kind
                                                       : kEmpty;
        case EditorSpot::Area::Box:
            return boxCount(from.kind) > 0 ? kLowerSide + from.kind : kEmpty;
    }
    return kEmpty;
}

void PositionEditor::take(const EditorSpot& from) {
    if (from.area == EditorSpot::Area::Board) position_[from.square] = kEmpty;
    if (from.area == EditorSpot::Area::Hand) --position_[handCell(from.side, from.kind)];
    // A piece leaves the box by appearing elsewhere.
}

bool PositionEditor::movePiece(const EditorSpot& from, const EditorSpot& to) {
    const int32_t code = pieceOf(from);
    if (code == kEmpty) return false;
    switch (to.area) {
        case EditorSpot::Area::Board:
            if (pieceAt(to.square) != kEmpty || !isSquare(to.square)) return false;
            take(from);
            position_[to.square] = code;
            return true;
        case EditorSpot::Area::Hand:
            if (kindOf(code) == kKing) return false;
            if (from.area == EditorSpot::Area::Hand && from.side == to.side) return false;
            take(from);
            ++position_[handCell(to.side, kindOf(code))];
            return true;
        case EditorSpot::Area::Box:
            if (from.area == EditorSpot::Area::Box) return false;
            take(from);
            return true;
    }
    return false;
}

bool PositionEditor::putFromBox(int32_t square, int32_t code) {
    if (!isSquare(square) || pieceAt(square) != kEmpty || !isValidPieceCode(code) ||
        boxCount(kindOf(code)) == 0) {
        return false;
    }
    position_[square] = code;
    return true;
}

bool PositionEditor::turnOver(int32_t square) {
    const int32_t code = pieceAt(square);
    if (code == kEmpty || kindOf(code) == kKing || kindOf(code) == kGold) return false;
    position_[square] = code ^ kPromotedFlag;
    return true;
}

bool PositionEditor::changeSide(int32_t square) {
    const int32_t code = pieceAt(square);
    if (code == kEmpty) return false;
    position_[square] = code ^ kUpperSide;
    return true;
}

void PositionEditor::clear() {
    position_ = emptyPosition();
}

SetUpResult PositionEditor::finish() const {
    SetUpResult result;
    if (const auto error = CheckSetUpPosition(position_, toMove_)) {
        result.error = *error;
        return result;
    }
    result.position = position_;
    result.toMove = toMove_;
    return result;
}

}  // namespace nusari
