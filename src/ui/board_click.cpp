// Clicks on the board picture: selecting a piece or a piece in hand, then
// its destination. In a game the human moves and the right button opens the
// in-game menu; while no game runs a move at the shown ply follows the
// record's branch of that move or adds one.
#include "position/legal_moves.h"
#include "position/mark_destinations.h"
#include "position/position.h"
#include "ui/board_hit.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

namespace {

bool isHandCell(int32_t cell) {
    return cell >= kLowerHandFirst && cell <= kUpperHandLast && cell != kUpperTimeCell;
}

bool belongsTo(const Position& p, int32_t cell, Side side) {
    if (isHandCell(cell)) return (cell > kUpperTimeCell) == (side == Side::Upper) && p[cell] >= 1;
    const int32_t code = p[cell];
    return isPiece(code) && (code & kUpperSide) == static_cast<int32_t>(side);
}

}  // namespace

PictureCell GameController::clickedCell(int32_t x, int32_t y) const {
    PictureCell hit = PictureCellAt(x, y);
    if (hit.cell != 0 && viewTurned) hit.cell = flipFrom(hit.cell);
    return hit;
}

void GameController::TurnBoard() {
    viewTurned = !viewTurned;
    fields.pendingFrom = 0;
    DrawBoard();
}

void GameController::OnBoardMouseDown(MouseButton button, int32_t x, int32_t y) {
    // The board shows a tournament's game: only its menu (連続対局 stops it).
    if (showsTournament()) {
        if (button == MouseButton::Right) ui.showBoardMenu(x, y);
        return;
    }
    if (gameState == GameState::NoGame) {
        // A click on a previewed line goes back to the record.
        if (preview_) return EndPreview();
        replayClick(button, x, y);
        return;
    }
    if (gameState == GameState::ComputerThinking && humanOpponent_) return upperHumanClick(button, x, y);
    if (gameState != GameState::LowerToMove) return;
    GameFields& g = fields;
    const bool selected = g.pendingFrom != 0;

    if (button == MouseButton::Right) {
        if (!selected) {
            ui.showGameMenu(x, y);
        } else {
            g.pendingFrom = 0;
            DrawBoard();
        }
        return;
    }

    const PictureCell hit = clickedCell(x, y);
    if (isSquare(hit.cell)) {
        if (!selected) {
            if (g.currentPosition[hit.cell] >= 30) return;
            g.pendingFrom = hit.cell;
            ui.drawSelectionFrame(hit.frame.x, hit.frame.y);
            MarkDestinations(g, hit.cell);
            return;
        }
        g.pendingTo = hit.cell;
        if (g.destinationMarks[hit.cell] == 1) {
            ApplyHumanMove();
        } else {
            g.pendingFrom = 0;
            DrawBoard();
        }
        return;
    }

    if (selected) {
        g.pendingFrom = 0;
        DrawBoard();
        return;
    }
    if (!belongsTo(g.currentPosition, hit.cell, Side::Lower)) return;
    g.pendingFrom = hit.cell;
    ui.drawSelectionFrame(hit.frame.x, hit.frame.y);
    MarkDestinations(g, hit.cell);
}

void GameController::rightClick(void (GameView::*menu)(int32_t, int32_t), int32_t x, int32_t y) {
    if (fields.pendingFrom == 0) {
        (ui.*menu)(x, y);
    } else {
        fields.pendingFrom = 0;
        DrawBoard();
    }
}

std::optional<Move> GameController::pickMove(const Position& p, Side mover, int32_t x, int32_t y) {
    GameFields& g = fields;
    const PictureCell hit = clickedCell(x, y);
    const int32_t from = g.pendingFrom;
    // A piece of the mover's is picked, or another instead of the one picked.
    if (belongsTo(p, hit.cell, mover) && hit.cell != from) {
        if (from != 0) DrawBoard();
        g.pendingFrom = hit.cell;
        ui.drawSelectionFrame(hit.frame.x, hit.frame.y);
        return std::nullopt;
    }
    if (from == 0) return std::nullopt;
    g.pendingFrom = 0;
    MoveList legal;
    if (isSquare(hit.cell)) generateLegalMoves(p, mover, legal);
    const Move plain{from, hit.cell};
    const Move promoting{from, hit.cell + kPromotionOffset};
    const bool mayStay = legal.contains(plain);
    const bool mayPromote = legal.contains(promoting);
    if (!mayStay && !mayPromote) {
        DrawBoard();
        return std::nullopt;
    }
    return mayPromote && (!mayStay || ui.ask(kPromoteQuestion)) ? promoting : plain;
}

// The second person's moves; the referee takes them as any player's.
void GameController::upperHumanClick(MouseButton button, int32_t x, int32_t y) {
    if (button == MouseButton::Right) return rightClick(&GameView::showGameMenu, x, y);
    if (button != MouseButton::Left) return;
    if (const std::optional<Move> m = pickMove(fields.currentPosition, Side::Upper, x, y)) {
        takeEngineAnswer(Side::Upper, PlayerAnswer::of(*m), kSecondPerson);
    }
}

// Moves are made in the board's frame, where the side to move may be
// either; the tree takes them in the standard frame.
void GameController::replayClick(MouseButton button, int32_t x, int32_t y) {
    if (button == MouseButton::Right) return rightClick(&GameView::showBoardMenu, x, y);
    const NodeId node = shownNode();
    if (button != MouseButton::Left || node == kNoNode || analysis_ ||
        tree.node(node).ply >= kMaxRecordPlies) {
        return;
    }
    const bool turned = record->boardTurned != 0;
    const Position standard = tree.positionAt(node);
    const Position before = turned ? flipPosition(standard) : standard;
    // A board that shows something else (a preset chosen for the next game)
    // takes no moves into the record.
    Position shown = fields.currentPosition;
    shown[kLowerTimeCell] = before[kLowerTimeCell];
    shown[kUpperTimeCell] = before[kUpperTimeCell];
    if (shown != before) return;
    const Side mover =
        turned ? opponentOf(tree.sideToMoveAt(node)) : tree.sideToMoveAt(node);
    if (const std::optional<Move> m = pickMove(before, mover, x, y)) playAtShownPly(node, turned ? flipMove(*m) : *m);
}

void GameController::playAtShownPly(NodeId node, const Move& m) {
    NodeId next = kNoNode;
    for (const NodeId child : tree.node(node).children) {
        if (tree.node(child).move == m) next = child;
    }
    if (next == kNoNode) {
        next = tree.addCheckedMove(node, m);
        if (next == kNoNode) {
            DrawBoard();
            return;
        }
        recordChanged_ = true;
    }
    // A record begun on the board at start-up is replayed and saved as any.
    ui.setControls(ControlSet::NoGame);
    PlaySound(Sound::Piece);
    fields.plyCount = tree.node(next).ply;
    showLine(tree.lineEndFrom(next));
}

}  // namespace nusari
