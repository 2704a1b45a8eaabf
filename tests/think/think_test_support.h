// Engines and positions for the search-core tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>

#include "aik/engine_state.h"
#include "position/setup.h"
#include "think/candidate.h"
#include "think/hash_tables.h"
#include "support/fake_ui.h"

namespace nusari::test {

// Frees the hash arrays with the engine.
struct EngineDeleter {
    void operator()(EngineState* state) const {
        FreeHashTables(*state);
        delete state;
    }
};
using EnginePtr = std::unique_ptr<EngineState, EngineDeleter>;

// An engine whose tables are all zero: scores then come from the king terms
// alone, unless a test sets values.
inline EnginePtr blankEngine(int32_t haba = 100, int32_t hashEntries = 1009) {
    EnginePtr state(new EngineState());
    state->profile.haba = haba;
    state->profile.zyoukyou_pl_max = 100;
    state->profile.edakari_hyouka = 32;
    state->hashEntryCount = hashEntries;
    FakeUi ui;
    AllocHashTables(*state, ui);
    return state;
}

// Square values per lower code, mirrored for the upper code, and hand values
// of n pieces worth n times the piece.
inline void setPieceValues(EngineState& state,
                           std::initializer_list<std::pair<int32_t, int32_t>> codeAndValue) {
    auto& t = state.evalTables.table;
    for (const auto& [code, value] : codeAndValue) {
        for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
            t[code][s] = value;
            t[code + kUpperSide][110 - s] = value;
        }
        if (code >= kRook && code <= kPawn) {
            for (int32_t n = 0; n <= kMaxHandCount; ++n) {
                t[code + kWorkingTableOffset][kHandValueSlot + n] = n * value;
            }
        }
    }
}

inline void setStandardValues(EngineState& state) {
    setPieceValues(state, {{kLowerRook, 1000}, {kLowerBishop, 800}, {kLowerGold, 600},
                           {kLowerSilver, 500}, {kLowerKnight, 400}, {kLowerLance, 300},
                           {kLowerPawn, 100}, {kLowerDragon, 1300}, {kLowerHorse, 1100},
                           {kLowerProSilver, 600}, {kLowerProKnight, 600}, {kLowerProLance, 600},
                           {kLowerTokin, 600}});
}

inline Position board(std::initializer_list<std::pair<int32_t, int32_t>> squareAndCode) {
    Position p;
    setupPosition(p, 0);
    for (const auto& [sq, code] : squareAndCode) p[sq] = code;
    return p;
}

// A list-mode result as ExpandNode leaves it before the first move.
inline CandidateList emptyList() {
    CandidateList list;
    list[0] = Candidate{kLossScore, kListEndFrom, kListEndFrom, 0};
    return list;
}

inline bool listHas(const CandidateList& list, int32_t from, int32_t to) {
    for (int32_t i = 0; i < kCandidateCapacity && list[i].from != kListEndFrom; ++i) {
        if (list[i].from == from && list[i].to == to) return true;
    }
    return false;
}

inline int32_t indexOf(const CandidateList& list, int32_t from, int32_t to) {
    for (int32_t i = 0; i < kCandidateCapacity && list[i].from != kListEndFrom; ++i) {
        if (list[i].from == from && list[i].to == to) return i;
    }
    return -1;
}

}  // namespace nusari::test
