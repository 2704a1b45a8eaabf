// Clicks on the board picture: selecting a piece or a piece in hand, then
// its destination; the right button opens the in-game menu.
#include "position/mark_destinations.h"
#include "ui/board_hit.h"
#include "ui/game_controller.h"

namespace nusari {

void GameController::OnBoardMouseDown(MouseButton button, int32_t x, int32_t y) {
    if (gameState != GameState::LowerToMove) return;
    EngineState& e = *engine;
    const bool selected = e.pendingFrom != 0;

    if (button == MouseButton::Right) {
        if (!selected) {
            ui.showGameMenu(x, y);
        } else {
            e.pendingFrom = 0;
            DrawBoard();
        }
        return;
    }

    if (const int32_t square = SquareAt(x, y); square != 0) {
        if (!selected) {
            if (e.currentPosition[square] >= 30) return;
            e.pendingFrom = square;
            const PicturePoint at = SquareOrigin(square);
            ui.drawSelectionFrame(at.x, at.y);
            MarkDestinations(e, square);
            return;
        }
        e.pendingTo = square;
        if (e.destinationMarks[square] == 1) {
            ApplyHumanMove();
        } else {
            e.pendingFrom = 0;
            DrawBoard();
        }
        return;
    }

    if (selected) {
        e.pendingFrom = 0;
        DrawBoard();
        return;
    }
    const StandArea* area = StandAreaAt(x, y);
    if (area == nullptr || e.currentPosition[area->handCell] < 1) return;
    e.pendingFrom = area->handCell;
    ui.drawSelectionFrame(area->frame.x, area->frame.y);
    MarkDestinations(e, area->handCell);
}

}  // namespace nusari
