// Opening books (.jsk): LoadBook on any bytes, then probes of the start
// position and of the first record's own position, as the computer's think
// does before a search.
#include <memory>

#include "aik/book_loader.h"
#include "fuzz_support.h"
#include "position/setup.h"
#include "think/book.h"

namespace {

using namespace nusari;

// The position a record holds, with cells that are no piece made empty and
// hands kept to 0..18, so that it is one a game can reach in form.
Position positionOf(const BookRecord& r) {
    Position p;
    for (int32_t& c : p.cell) c = kOffBoard;
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        if (isSquare(sq)) p[sq] = isValidPieceCode(r.byte[sq]) ? r.byte[sq] : kEmpty;
    }
    p[kLowerTimeCell] = 0;
    p[kUpperTimeCell] = 0;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        p[kLowerHandBase + kind] = r.byte[kLowerHandBase + kind] % 19;
        p[kUpperHandBase + kind] = r.byte[kUpperHandBase + kind] % 19;
    }
    return p;
}

void checkProbe(EngineState& state, const Position& p) {
    const InducedMoves moves = ProbeBook(state, p);
    for (int32_t k = 0; k + 1 < kInducedMoveCount; ++k) {
        FUZZ_CHECK(moves.move[k].weight >= moves.move[k + 1].weight);
    }
    FUZZ_CHECK(moves.move[0].weight < kBookMoveWeight + 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static EngineState* const state = [] {
        auto* s = new EngineState();
        s->enginePath = (fuzz::scratchFolder() / "engine.aik").string();
        s->profile.zyouseki = "absent";  // no message file
        s->profile.ransuu_ti = 7;
        return s;
    }();
    const std::string path = fuzz::writeScratch("fuzz.jsk", fuzz::bytesOf(data, size));
    FUZZ_CHECK(LoadBook(state->bookTable, path) == 0);
    const int32_t count = state->bookTable.count();
    FUZZ_CHECK(count <= kBookCapacity);
    FUZZ_CHECK(static_cast<std::size_t>(count) * kBookFileRecordBytes < size + kBookFileRecordBytes);
    for (int32_t i = 0; i < count; ++i) {
        FUZZ_CHECK(state->bookTable.record[i].byte[kBookFromByte] ==
                   data[static_cast<std::size_t>(i) * kBookFileRecordBytes]);
    }
    state->randomState = 12345;
    Position start;
    setupPosition(start, kPresetEven);
    checkProbe(*state, start);
    if (count > 0) checkProbe(*state, positionOf(state->bookTable.record[0]));
    return 0;
}
