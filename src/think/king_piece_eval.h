// The second search's own static evaluation, for engine files with "set ou["
// blocks: each piece's raw square value, each hand's raw value, each
// piece's king-relative values to both kings, and the king's surroundings
// by the other side's attacks (table 0), summed for either side.
// Linear in its numbers, so that a fit can reach each one.
#pragma once

#include <cstdint>

#include "aik/engine_state.h"
#include "position/attack_map.h"
#include "position/types.h"

namespace nusari {

// The numbers the evaluation reads, in one index space: the raw slots of
// tables 0..15 (code * 128 + slot: squares 11..99, hands 101..118), then
// the king-relative tables (table * 153 + slot).
inline constexpr int32_t kKingPieceFirstIndex = 16 * kEvalTableSlots;
inline constexpr int32_t kKingPieceEvalIndices =
    kKingPieceFirstIndex + kKingPieceTables * kKingPieceSlots;
// Table 0 (the king's own code, "set ou[0]") holds the king's surroundings
// within two squares, by rank offset (-2..2) and file distance (0..2):
// rows 0..4 for a square the other side attacks more often than the king's
// side defends it, rows 5..9 for one it attacks no more often; and row 10
// by how many of the eight neighbours are attacked more often than defended.
inline constexpr int32_t kKingZoneCountRow = 10;

// Calls add(index, sign) for every number the evaluation of `p` (standard
// frame) sums: sign +1 for the lower side's terms, -1 for the upper's.
template <typename Add>
void ForEachKingPieceTerm(const Position& p, Add&& add) {
    int32_t lowerKing = 0;
    int32_t upperKing = 0;
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        if (p[s] == kLowerKing) lowerKing = s;
        if (p[s] == kUpperKing) upperKing = s;
    }
    // Seen from the owner of `king` (the lower side: as it stands; the
    // upper side: turned).
    const auto slotFrom = [](int32_t piece, int32_t king) {
        const int32_t fileDistance = fileOf(piece) > fileOf(king) ? fileOf(piece) - fileOf(king)
                                                                  : fileOf(king) - fileOf(piece);
        return kingPieceSlot(rankOf(piece) - rankOf(king), fileDistance);
    };
    const int32_t turnedUpperKing = upperKing != 0 ? flipSquare(upperKing) : 0;
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        const int32_t v = p[s];
        if (!isPiece(v) || !isSquare(s)) continue;
        const int32_t code = v & 15;
        const bool lower = isLowerPiece(v);
        const int32_t own = lower ? s : flipSquare(s);  // the square from its owner's view
        const int32_t sign = lower ? 1 : -1;
        add(code * kEvalTableSlots + own, sign);
        if (code == kLowerKing) continue;
        const int32_t ownKing = lower ? lowerKing : turnedUpperKing;
        const int32_t otherKing = lower ? turnedUpperKing : lowerKing;
        const int32_t atOther = lower ? flipSquare(s) : s;  // from the other king's owner
        if (ownKing != 0) add(kKingPieceFirstIndex + code * kKingPieceSlots + slotFrom(own, ownKing), sign);
        if (otherKing != 0) {
            add(kKingPieceFirstIndex + (kKingPieceOtherSide + code) * kKingPieceSlots + slotFrom(atOther, otherKing),
                -sign);
        }
    }
    // The squares around each king by how the other side attacks them.
    AttackMap map;
    buildAttackMap(p, map);
    const auto surroundings = [&](int32_t king, int32_t sign) {
        if (king == 0) return;
        const int32_t forward = sign > 0 ? 1 : -1;  // the owner's view: its ranks and files
        const int32_t* other = sign > 0 ? map.upperCount : map.lowerCount;
        const int32_t* own = sign > 0 ? map.lowerCount : map.upperCount;
        int32_t overrun = 0;  // neighbours attacked more often than defended
        for (int32_t rank = -2; rank <= 2; ++rank) {
            for (int32_t file = -2; file <= 2; ++file) {
                const int32_t s = king + forward * (10 * file + rank);
                if ((rank == 0 && file == 0) || !isSquare(s) || other[s] == 0) continue;
                const int32_t distance = file < 0 ? -file : file;
                const bool over = other[s] > own[s];
                if (over && rank >= -1 && rank <= 1 && distance <= 1) ++overrun;
                add(kKingPieceFirstIndex + (over ? rank + 2 : rank + 7) * kKingPieceFiles + distance, sign);
            }
        }
        add(kKingPieceFirstIndex + kKingZoneCountRow * kKingPieceFiles + overrun, sign);
    };
    surroundings(lowerKing, 1);
    surroundings(upperKing, -1);
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        const int32_t lowerHeld = p[lowerHandCell(kind)] < kMaxHandCount ? p[lowerHandCell(kind)] : kMaxHandCount;
        const int32_t upperHeld = p[upperHandCell(kind)] < kMaxHandCount ? p[upperHandCell(kind)] : kMaxHandCount;
        if (lowerHeld > 0) add(kind * kEvalTableSlots + kHandValueSlot + lowerHeld, 1);
        if (upperHeld > 0) add(kind * kEvalTableSlots + kHandValueSlot + upperHeld, -1);
    }
}

// The number at `index` of the evaluation's index space.
int32_t& KingPieceNumber(EngineState& state, int32_t index);
int32_t KingPieceNumber(const EngineState& state, int32_t index);

// The evaluation of `p` (standard frame) for the side to move.
int32_t EvaluateKingPiece(const EngineState& state, const Position& p, Side toMove);

}  // namespace nusari
