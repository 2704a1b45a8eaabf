#include "think/hash_tables.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace nusari {

namespace {

// The 89 consecutive primes from 37 to 541, one per cell 11..99.
constexpr int32_t kCellPrimes[89] = {
    37,  41,  43,  47,  53,  59,  61,  67,  71,  73,  79,  83,  89,  97,  101, 103, 107, 109,
    113, 127, 131, 137, 139, 149, 151, 157, 163, 167, 173, 179, 181, 191, 193, 197, 199, 211,
    223, 227, 229, 233, 239, 241, 251, 257, 263, 269, 271, 277, 281, 283, 293, 307, 311, 313,
    317, 331, 337, 347, 349, 353, 359, 367, 373, 379, 383, 389, 397, 401, 409, 419, 421, 431,
    433, 439, 443, 449, 457, 461, 463, 467, 479, 487, 491, 499, 503, 509, 521, 523, 541};

constexpr int32_t kMarkByte = kPathMarkFrom;

uint8_t lowByte(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }

int32_t slotIndex(const EngineState& state, const Position& p) {
    return HashKey(p) % state.hashEntryCount;
}

bool hashReady(const EngineState& state) {
    return state.hashEntryCount >= 1 && state.positionMemory != nullptr &&
           state.transpositionTable != nullptr;
}

// Half of the machine's physical memory in bytes (0 when unknown).
uint64_t halfPhysicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) / 2;
}

bool sameBoard(const PositionMemorySlot& slot, const Position& p) {
    for (int32_t i = kFirstSquare; i <= kLastSquare; ++i) {
        if (slot.cells[i] != p[i]) return false;
    }
    return true;
}

}  // namespace

int32_t HashKey(const Position& p) {
    // Unsigned arithmetic so that any cell value wraps instead of overflowing;
    // cells of a real position (0..128) give the plain sum 0..3068544.
    uint32_t sum = 0;
    for (int32_t i = 0; i < 89; ++i) {
        sum += static_cast<uint32_t>(p[kFirstSquare + i]) * static_cast<uint32_t>(kCellPrimes[i]);
    }
    return static_cast<int32_t>(sum & 0x7FFFFFFFu);
}

int32_t AllocHashTables(EngineState& state, Ui& ui) {
    FreeHashTables(state);
    const int32_t n = state.hashEntryCount;
    const uint64_t bytes =
        static_cast<uint64_t>(n > 0 ? n : 0) * (sizeof(PositionMemorySlot) + sizeof(TranspositionSlot));
    const uint64_t limit = halfPhysicalMemory();
    if (n >= 1 && (limit == 0 || bytes <= limit)) {
        // calloc: zero-filled (a zero slot never matches a position, whose
        // wall cells hold 64) and committed only when a page is first used.
        const auto count = static_cast<size_t>(n);
        state.positionMemory =
            static_cast<PositionMemorySlot*>(std::calloc(count, sizeof(PositionMemorySlot)));
        state.transpositionTable =
            static_cast<TranspositionSlot*>(std::calloc(count, sizeof(TranspositionSlot)));
        if (state.positionMemory != nullptr && state.transpositionTable != nullptr) return 1;
    }
    FreeHashTables(state);
    showError(ui, "ハッシュ表の確保に失敗");
    return -1;
}

void FreeHashTables(EngineState& state) {
    std::free(state.positionMemory);
    std::free(state.transpositionTable);
    std::free(state.searchTable);
    state.positionMemory = nullptr;
    state.transpositionTable = nullptr;
    state.searchTable = nullptr;
    state.searchTableSlots = 0;
}

void StorePosition(EngineState& state, const Position& p, const CandidateList& list) {
    if (!hashReady(state)) return;
    PositionMemorySlot& slot = state.positionMemory[slotIndex(state, p)];
    for (int32_t i = kFirstSquare; i <= kLowerHandLast; ++i) slot.cells[i] = lowByte(p[i]);
    if (list[0].from == kPathMarkFrom) {
        slot.candidate[0].from = kMarkByte;
        return;
    }
    for (int32_t k = 0; k < kCandidateCapacity; ++k) {
        slot.candidate[k].score = list[k].score;
        slot.candidate[k].from = lowByte(list[k].from);
        slot.candidate[k].to = lowByte(list[k].to);
        slot.candidate[k].depthAdjustment = static_cast<int8_t>(lowByte(list[k].depthAdjustment));
    }
}

int32_t LookupPosition(EngineState& state, const Position& p, CandidateList& list) {
    if (!hashReady(state)) return kLookupMiss;
    const PositionMemorySlot& slot = state.positionMemory[slotIndex(state, p)];
    if (!sameBoard(slot, p)) return kLookupMiss;

    if (slot.candidate[0].from == kMarkByte) {
        bool allEqual = true;
        bool anyStoredBelow = false;
        bool anyStoredAbove = false;
        // The pass counter and the hand of the side not to move.
        for (int32_t i = kLowerTimeCell; i <= kLowerHandLast; ++i) {
            allEqual = allEqual && slot.cells[i] == p[i];
            anyStoredBelow = anyStoredBelow || slot.cells[i] < p[i];
            anyStoredAbove = anyStoredAbove || slot.cells[i] > p[i];
        }
        if (allEqual) {
            list[0].score = 0;
        } else if (!anyStoredBelow) {
            list[0].score = kRootWindowTop;  // the side to move is better off
        } else if (!anyStoredAbove) {
            list[0].score = -kRootWindowTop;  // the side to move is worse off
        } else {
            return kLookupMiss;
        }
        return kLookupPathMark;
    }

    const int32_t storedScore = slot.candidate[0].score;
    if (storedScore == kLossScore) {
        for (int32_t i = kLowerHandFirst; i <= kLowerHandLast; ++i) {
            if (slot.cells[i] > p[i]) return kLookupMiss;
        }
        list[0].score = kLossScore;
        return kLookupVerdict;
    }
    if (storedScore == kWinScore) {
        for (int32_t i = kLowerHandFirst; i <= kLowerHandLast; ++i) {
            if (slot.cells[i] < p[i]) return kLookupMiss;
        }
        list[0].score = kWinScore;
        list[0].from = slot.candidate[0].from;
        list[0].to = slot.candidate[0].to;
        return kLookupVerdict;
    }
    for (int32_t i = kLowerTimeCell; i <= kLowerHandLast; ++i) {
        if (slot.cells[i] != p[i]) return kLookupMiss;
    }
    for (int32_t k = 0; k < kCandidateCapacity; ++k) {
        list[k].score = slot.candidate[k].score;
        list[k].from = slot.candidate[k].from;
        list[k].to = slot.candidate[k].to;
        list[k].depthAdjustment = slot.candidate[k].depthAdjustment;
    }
    return kLookupList;
}

void StoreHash(EngineState& state, const Position& p, const CandidateList& result) {
    if (!hashReady(state)) return;
    TranspositionSlot& slot = state.transpositionTable[slotIndex(state, p)];
    for (int32_t i = kTranspositionFirstCell; i <= kTranspositionLastCell; ++i) {
        slot.cells[i - kTranspositionFirstCell] = lowByte(p[i]);
    }
    slot.score = result[0].score;
}

bool ProbeHash(EngineState& state, const Position& p, CandidateList& result) {
    if (!hashReady(state)) return false;
    const TranspositionSlot& slot = state.transpositionTable[slotIndex(state, p)];
    for (int32_t i = kTranspositionFirstCell; i <= kTranspositionLastCell; ++i) {
        if (slot.cells[i - kTranspositionFirstCell] != p[i]) return false;
    }
    result[0].score = slot.score;
    return true;
}

int32_t HashUsePermille(const EngineState& state) {
    if (state.positionMemory == nullptr || state.hashEntryCount < 1) return 0;
    const int32_t sampled = std::min(state.hashEntryCount, 1000);
    int32_t used = 0;
    for (int32_t i = 0; i < sampled; ++i) {
        // A cleared slot holds zeros; a stored position's squares of file 1
        // hold at most one zero (the lower king) among their pieces and blanks.
        const PositionMemorySlot& slot = state.positionMemory[i];
        int32_t filled = 0;
        for (int32_t cell = 11; cell <= 19; ++cell) filled += slot.cells[cell] != 0 ? 1 : 0;
        used += filled > 1 ? 1 : 0;
    }
    return used * 1000 / sampled;
}

}  // namespace nusari
