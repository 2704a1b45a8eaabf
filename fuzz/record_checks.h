// What every record the readers accept must satisfy: sound cells, plies that
// are moves of their mover, and a game that the CSA and KIF writers write
// back to the same game.
#pragma once

#include <memory>
#include <string>

#include "fuzz_support.h"
#include "position/position.h"
#include "position/setup.h"
#include "records/csa_writer.h"
#include "records/kif_writer.h"
#include "records/record_builder.h"
#include "records/record_readers.h"
#include "records/record_source.h"

namespace nusari::fuzz {

// A record as LoadRecord hands it to a grammar.
inline std::unique_ptr<GameRecord> freshRecord() {
    auto record = std::make_unique<GameRecord>();
    setupPosition(record->history[0], kPresetEven);
    record->history[0][kLowerTimeCell] = 0;
    record->history[0][kUpperTimeCell] = 0;
    return record;
}

// Squares hold a piece or nothing, the walls stay walls, no hand is negative.
inline void checkCells(const GameRecord& record, int32_t plies) {
    for (int32_t n = 0; n <= plies; ++n) {
        const Position& p = record.history[static_cast<std::size_t>(n)];
        for (int32_t i = 0; i < kBoardCells; ++i) {
            if (isSquare(i)) {
                FUZZ_CHECK(p[i] == kEmpty || isValidPieceCode(p[i]));
            } else {
                FUZZ_CHECK(p[i] == kOffBoard);
            }
        }
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            FUZZ_CHECK(p[kLowerHandBase + kind] >= 0);
            FUZZ_CHECK(p[kUpperHandBase + kind] >= 0);
        }
    }
}

// Each ply is a move its mover may record, and it makes the next entry.
inline void checkPlies(const GameRecord& record, int32_t plies) {
    for (int32_t n = 1; n <= plies; ++n) {
        const Position& before = record.history[static_cast<std::size_t>(n - 1)];
        const Position& after = record.history[static_cast<std::size_t>(n)];
        const Side mover = moverOfPly(record, n);
        const Move m = moveOfPly(before, after, mover);
        FUZZ_CHECK(isRecordableMove(before, mover, m));
        Position played = before;
        applyMove(played, mover, m);
        played[kLowerTimeCell] = after[kLowerTimeCell];
        played[kUpperTimeCell] = after[kUpperTimeCell];
        FUZZ_CHECK(played == after);
    }
}

// No more pieces of a kind than one set has, kings included: only such a
// position has a KIF diagram and hands.
inline bool withinOneSet(const Position& p) {
    constexpr int32_t kSet[8] = {2, 2, 2, 4, 4, 4, 4, 18};
    int64_t count[8] = {};
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq) && isValidPieceCode(p[sq])) ++count[kindOf(p[sq])];
    }
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        count[kind] += p[kLowerHandBase + kind] + p[kUpperHandBase + kind];
    }
    for (int32_t kind = kKing; kind <= kPawn; ++kind) {
        if (count[kind] > kSet[kind]) return false;
    }
    return true;
}

inline void checkSameGame(const GameRecord& a, const GameRecord& b) {
    FUZZ_CHECK(a.length == b.length);
    FUZZ_CHECK(senteMovesFirst(a) == senteMovesFirst(b));
    for (int32_t n = 0; n <= a.length; ++n) FUZZ_CHECK(standardEntry(a, n) == standardEntry(b, n));
    FUZZ_CHECK(a.ending == b.ending);
    FUZZ_CHECK(nameOf(a.firstName) == nameOf(b.firstName));
    FUZZ_CHECK(nameOf(a.secondName) == nameOf(b.secondName));
}

// Reads `bytes` as LoadRecord does, checks what was read and, on success,
// that both writers' texts read back to the same game.
inline void checkRecordBytes(std::string_view bytes, bool csa) {
    const std::string text = recordTextAsCp932(bytes);
    auto record = freshRecord();
    TextInput in{std::string_view(text)};
    const ReadOutcome outcome = csa ? ReadCsa(in, *record) : ReadKif(in, *record);
    FUZZ_CHECK(outcome.plies >= 0 && outcome.plies <= kMaxRecordPlies);
    checkCells(*record, outcome.plies);
    if (!outcome.error.empty()) return;
    record->length = outcome.plies;
    checkPlies(*record, outcome.plies);
    if (!withinOneSet(record->history[0])) return;
    for (const bool asCsa : {true, false}) {
        const std::string written = asCsa ? FormatCsa(*record) : FormatKif(*record);
        auto back = freshRecord();
        TextInput again{std::string_view(written)};
        const ReadOutcome reread = asCsa ? ReadCsa(again, *back) : ReadKif(again, *back);
        FUZZ_CHECK(reread.error.empty());
        back->length = reread.plies;
        checkSameGame(*record, *back);
    }
}

}  // namespace nusari::fuzz
