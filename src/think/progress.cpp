#include "think/progress.h"

#include <algorithm>

namespace nusari {

namespace {

bool isStrongPromoted(int32_t own) {
    return own == kLowerDragon || own == kLowerHorse || own == kLowerProKnight ||
           own == kLowerProLance || own == kLowerTokin;
}

// Calls f(rule, slot) for each rule of the piece `code` standing on `s`
// that reaches a working value: the slot of the rule's piece it changes.
template <class F>
void forEachRuleOn(const EngineState& state, int32_t code, int32_t s, F f) {
    const FindRule* rules = state.findRuleTables.table[code];
    int32_t offset = 0;
    bool valid = false;
    for (int32_t i = 0; i < kRuleTableSize && rules[i].piece != -1; ++i) {
        const FindRule& rule = rules[i];
        if (rule.first == 1) {
            const int32_t column = s + rule.dx;
            const int32_t rank = rankOf(s) + rule.dy;
            valid = column >= 0 && column <= 100 && rank >= 1 && rank <= 9;
            offset = rule.dx + rule.dy;
        }
        if (!valid) continue;
        if (rule.piece < 0 || rule.piece >= kEvalTableCount - kWorkingTableOffset) continue;
        const int32_t slot = s + offset;
        if (slot < 0 || slot >= kEvalTableSlots) continue;
        f(rule, slot);
    }
}

// Adds the rules of the piece `code` standing on `s` to the working tables.
void applyRules(EngineState& state, int32_t code, int32_t s, int32_t total,
                std::vector<FiredRule>* fired) {
    forEachRuleOn(state, code, s, [&](const FindRule& rule, int32_t slot) {
        const int32_t change =
            rule.op == kRuleAdd ? rule.value : (rule.op == kRuleMultiply ? rule.value * total : 0);
        workingTable(state, rule.piece)[slot] += change;
        if (fired != nullptr && change != 0) fired->push_back(FiredRule{code, s, rule.piece, slot, change});
    });
}

// The codes whose working tables are blended from raw values: every piece
// code of both sides but the unused 11.
template <class F>
void forEachBlendedCode(F f) {
    for (int32_t code = 0; code < 48; ++code) {
        if (code >= 16 && code < 32) continue;
        if ((code & 15) == 11) continue;
        f(code);
    }
}

}  // namespace

void ComputeProgress(const EngineState& state, const Position& p, Progress& progress) {
    int32_t lower = state.profile.zyoukyou_pl;
    int32_t upper = state.profile.zyoukyou_pl;
    for (int32_t kind = kRook; kind <= kPawn; ++kind) {
        if (p[kLowerHandBase + kind] >= 1) ++lower;
        if (p[kUpperHandBase + kind] >= 1) ++upper;
    }
    for (int32_t sq = kFirstSquare; sq <= kLastSquare; ++sq) {
        const int32_t v = p[sq];
        if (!isValidPieceCode(v)) continue;
        if (isStrongPromoted(v & 15)) (sideOf(v) == kLowerSide ? lower : upper) += 2;
    }
    progress.lower = std::min(lower, state.profile.zyoukyou_pl_max);
    progress.upper = std::min(upper, state.profile.zyoukyou_pl_max);
    progress.total = progress.lower + progress.upper;
}

namespace {

void blend(EngineState& state, const Position& p, const Progress& progress,
           std::vector<FiredRule>* fired) {
    forEachBlendedCode([&](int32_t code) {
        const int32_t* raw = rawTable(state, code);
        int32_t* work = workingTable(state, code);
        const int32_t weight = (code < 16 ? progress.upper : progress.lower) * work[kCoefficientSlot];
        for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) work[s] = raw[s] + weight;
    });
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        const int32_t v = p[s];
        if (isValidPieceCode(v)) applyRules(state, v, s, progress.total, fired);
    }
}

}  // namespace

RuleIndex::RuleIndex(const EngineState& state) {
    start_.assign(48 * kEvalTableSlots + 1, 0);
    for (int32_t code = 0; code < 48; ++code) {
        for (int32_t s = 0; s < kEvalTableSlots; ++s) {
            start_[static_cast<size_t>(code * kEvalTableSlots + s)] = static_cast<uint32_t>(effects_.size());
            if (!isValidPieceCode(code) || s < kFirstSquare || s > kLastSquare) continue;
            forEachRuleOn(state, code, s, [&](const FindRule& rule, int32_t slot) {
                const int32_t add = rule.op == kRuleAdd ? rule.value : 0;
                const int32_t multiply = rule.op == kRuleMultiply ? rule.value : 0;
                if (add == 0 && multiply == 0) return;
                multiplies_ = multiplies_ || multiply != 0;
                effects_.push_back(Effect{static_cast<int16_t>(rule.piece), static_cast<int16_t>(slot), add, multiply});
            });
        }
    }
    start_.back() = static_cast<uint32_t>(effects_.size());
}

void RuleIndex::apply(EngineState& state, int32_t code, int32_t square, int32_t total, int32_t sign,
                      bool adds) const {
    if (code < 0 || code >= 48 || square < 0 || square >= kEvalTableSlots) return;
    const size_t at = static_cast<size_t>(code * kEvalTableSlots + square);
    for (uint32_t i = start_[at]; i < start_[at + 1]; ++i) {
        const Effect& e = effects_[i];
        workingTable(state, e.table)[e.slot] += sign * ((adds ? e.add : 0) + e.multiply * total);
    }
}

void ShiftProgressWeights(EngineState& state, const Progress& from, const Progress& to) {
    forEachBlendedCode([&](int32_t code) {
        int32_t* work = workingTable(state, code);
        const int32_t before = code < 16 ? from.upper : from.lower;
        const int32_t after = code < 16 ? to.upper : to.lower;
        const int32_t change = (after - before) * work[kCoefficientSlot];
        if (change == 0) return;
        for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) work[s] += change;
    });
}

void BlendTables(EngineState& state, const Position& p, const Progress& progress) {
    blend(state, p, progress, nullptr);
}

void BlendTables(EngineState& state, const Position& p, const Progress& progress,
                 std::vector<FiredRule>& fired) {
    blend(state, p, progress, &fired);
}

}  // namespace nusari
