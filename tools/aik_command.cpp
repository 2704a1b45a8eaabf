// nusari-tool aik FILE: loads an engine-definition file and prints what it set.
#include <cstdio>
#include <memory>
#include <string>

#include "aik/aik_loader.h"
#include "commands.h"
#include "console_ui.h"
#include "position/text_encoding.h"
#include "position/types.h"

namespace nusari::tool {

namespace {

void printNumber(const char* key, int32_t value) { std::printf("%s=%d\n", key, value); }

void printArray(const char* key, const int32_t* values, int count) {
    std::printf("%s=", key);
    for (int i = 0; i < count; ++i) std::printf(i == 0 ? "%d" : ",%d", values[i]);
    std::printf("\n");
}

// FNV-1a over the raw slots a "set koma[" block writes (0, the squares, the
// hand values), so two loads can be compared at a glance.
uint32_t rawChecksum(const int32_t* table) {
    uint32_t hash = 2166136261u;
    auto add = [&](int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((u >> shift) & 255u)) * 16777619u;
        }
    };
    add(table[kCoefficientSlot]);
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        if (isSquare(s)) add(table[s]);
    }
    for (int32_t k = kHandValueSlot; k <= kHandValueSlot + kMaxHandCount; ++k) add(table[k]);
    return hash;
}

bool isSet(const int32_t* table) {
    for (int32_t k = 0; k < kEvalTableSlots; ++k) {
        if (table[k] != 0) return true;
    }
    return false;
}

int32_t ruleCount(const FindRule* table) {
    int32_t n = 0;
    while (n < kRuleTableSize && table[n].piece != -1) ++n;
    return n;
}

void printState(const EngineState& state) {
    const AikProfile& p = state.profile;
    std::printf("ver=%s\n", toUtf8(p.ver).c_str());
    std::printf("namae=%s\n", toUtf8(p.namae).c_str());
    std::printf("zyouseki=%s\n", toUtf8(p.zyouseki).c_str());
    printNumber("hukasa", p.hukasa);
    printNumber("haba", p.haba);
    printArray("yudou_kati", p.yudou_kati, 4);
    printNumber("pasu_kati", p.pasu_kati);
    printNumber("oute_kati", p.oute_kati);
    printArray("doute_kati", p.doute_kati, 2);
    printNumber("hitu_hukasa", p.hitu_hukasa);
    printNumber("oute_hukasa", p.oute_hukasa);
    printArray("doute_hukasa", p.doute_hukasa, 2);
    printNumber("sute_hukasa", p.sute_hukasa);
    printNumber("zyoukyou_pl", p.zyoukyou_pl);
    printNumber("zyoukyou_pl_max", p.zyoukyou_pl_max);
    printNumber("ransuu_ti", p.ransuu_ti);
    printNumber("edakari_pasu", p.edakari_pasu);
    printNumber("edakari_hyouka", p.edakari_hyouka);
    printNumber("edakari_hiyuusen", p.edakari_hiyuusen);
    printNumber("zikan_wariai", p.zikan_wariai);
    printNumber("tume_hukasa", p.tume_hukasa);
    printNumber("book_records", state.bookTable.count());
    // A fresh state is all zero, so a table that is not is one the file set.
    for (int32_t code = 0; code < 16; ++code) {
        const int32_t* table = state.evalTables.table[code];
        const int32_t rules = ruleCount(state.findRuleTables.table[code]);
        if (!isSet(table) && rules == 0) continue;
        std::printf("koma[%d] checksum=%08x rules=%d\n", code, rawChecksum(table), rules);
    }
}

}  // namespace

int runAik(const Arguments& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: nusari-tool aik FILE\n");
        return 2;
    }
    auto state = std::make_unique<EngineState>();
    ConsoleUi ui;
    if (LoadAik(*state, args[0], ui) != 1) return 1;
    printState(*state);
    return 0;
}

}  // namespace nusari::tool
