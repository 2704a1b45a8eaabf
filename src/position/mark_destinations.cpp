#include "mark_destinations.h"

#include <initializer_list>

namespace nusari {

namespace {

// Marks a cell the lower side may move to: empty, upper piece or off-board.
inline void markIfEnterable(GameFields& g, int32_t cell) {
    if (cell < 0 || cell >= kBoardCells) return;  // a knight on its last ranks
    if (g.currentPosition[cell] > 30) g.destinationMarks[cell] = 1;
}

void markSteps(GameFields& g, int32_t from, std::initializer_list<int32_t> steps) {
    for (const int32_t d : steps) markIfEnterable(g, from + d);
}

// Marks outward from `from`, going on only through empty squares.
void markRays(GameFields& g, int32_t from, std::initializer_list<int32_t> directions) {
    for (const int32_t d : directions) {
        int32_t cell = from;
        for (int step = 0; step < 8; ++step) {
            cell += d;
            if (cell < 0 || cell >= kBoardCells) break;
            markIfEnterable(g, cell);
            if (g.currentPosition[cell] != kEmpty) break;
        }
    }
}

void markBoardPiece(GameFields& g, int32_t from) {
    switch (g.currentPosition[from]) {
        case kLowerPawn: markSteps(g, from, {-1}); break;
        case kLowerLance: markRays(g, from, {-1}); break;
        case kLowerKnight: markSteps(g, from, {-12, 8}); break;
        case kLowerSilver: markSteps(g, from, {-11, -9, -1, 9, 11}); break;
        case kLowerGold:
        case kLowerProSilver:
        case kLowerProKnight:
        case kLowerProLance:
        case kLowerTokin: markSteps(g, from, {-1, -11, -10, 1, 10, 9}); break;
        case kLowerKing: markSteps(g, from, {-11, -10, -9, -1, 1, 9, 10, 11}); break;
        case kLowerRook: markRays(g, from, {-1, 1, -10, 10}); break;
        case kLowerDragon:
            markSteps(g, from, {-11, 11, -9, 9});
            markRays(g, from, {-1, 1, -10, 10});
            break;
        case kLowerBishop: markRays(g, from, {-11, 9, 11, -9}); break;
        case kLowerHorse:
            markSteps(g, from, {-10, 10, -1, 1});
            markRays(g, from, {-11, 9, 11, -9});
            break;
        default: break;
    }
}

bool fileHasLowerPawn(const Position& p, int32_t file) {
    for (int32_t rank = 1; rank <= 9; ++rank) {
        if (p[squareOf(file, rank)] == kLowerPawn) return true;
    }
    return false;
}

void markHandPiece(GameFields& g, int32_t from) {
    const Position& p = g.currentPosition;
    const int32_t kind = from - kLowerHandBase;
    const int32_t firstRank = kind == kKnight ? 3 : (kind == kLance || kind == kPawn) ? 2 : 1;
    for (int32_t file = 1; file <= 9; ++file) {
        if (kind == kPawn && fileHasLowerPawn(p, file)) continue;
        for (int32_t rank = firstRank; rank <= 9; ++rank) {
            const int32_t sq = squareOf(file, rank);
            if (p[sq] == kEmpty) g.destinationMarks[sq] = 1;
        }
    }
}

}  // namespace

void MarkDestinations(GameFields& game, int32_t selected) {
    for (int32_t& mark : game.destinationMarks) mark = 0;
    if (isSquare(selected)) {
        markBoardPiece(game, selected);
    } else if (selected > kLowerHandBase && selected < kUpperHandBase) {
        markHandPiece(game, selected);
    }
}

}  // namespace nusari
