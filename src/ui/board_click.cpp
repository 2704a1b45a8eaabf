// Clicks on the board picture: selecting a piece or a piece in hand, then
// its destination; the right button opens the in-game menu.
#include "position/mark_destinations.h"
#include "ui/board_hit.h"
#include "ui/game_controller.h"

namespace nusari {

void GameController::OnBoardMouseDown(MouseButton button, int32_t x, int32_t y) {
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

    if (const int32_t square = SquareAt(x, y); square != 0) {
        if (!selected) {
            if (g.currentPosition[square] >= 30) return;
            g.pendingFrom = square;
            const PicturePoint at = SquareOrigin(square);
            ui.drawSelectionFrame(at.x, at.y);
            MarkDestinations(g, square);
            return;
        }
        g.pendingTo = square;
        if (g.destinationMarks[square] == 1) {
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
    const StandArea* area = StandAreaAt(x, y);
    if (area == nullptr || g.currentPosition[area->handCell] < 1) return;
    g.pendingFrom = area->handCell;
    ui.drawSelectionFrame(area->frame.x, area->frame.y);
    MarkDestinations(g, area->handCell);
}

}  // namespace nusari
