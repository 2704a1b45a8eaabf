// Engine-definition (.aik) files: LoadAik on any bytes must stay inside every
// table and leave a state the search can use; the numbers of a file that
// loads are found inside it, and rewriting them gives the same bytes when
// nothing changes and a file that reads back (or a refusal) when all do. A
// small book beside the file lets "zyouseki=book" and "zyouseki=hyoujun"
// lines load one.
#include <algorithm>
#include <vector>

#include "aik/aik_loader.h"
#include "aik/aik_rewrite.h"
#include "aik/book_loader.h"
#include "fuzz_support.h"

namespace {

using namespace nusari;

class QuietUi : public Ui {
  public:
    void message(const std::string&) override { ++messages; }
    bool ask(const std::string&) override { return false; }
    void setPanelText(const std::string&) override {}
    std::string panelText() const override { return {}; }
    void pumpMessages() override {}
    void playSound(Sound) override {}
    int messages = 0;
};

// What the search relies on after any load, good or bad.
void checkUsable(const EngineState& s) {
    const AikProfile& p = s.profile;
    FUZZ_CHECK(p.haba >= 1 && p.haba <= 100);
    FUZZ_CHECK(p.edakari_hyouka >= 1);
    FUZZ_CHECK(p.hitu_hukasa >= 0);
    FUZZ_CHECK(p.ver.size() <= 14 && p.namae.size() <= 18 && p.zyouseki.size() <= 127);
    for (int32_t t = 0; t < kRuleTableCount; ++t) {
        int32_t i = 0;
        for (; i < kRuleTableSize && s.findRuleTables.table[t][i].piece != -1; ++i) {
            const FindRule& r = s.findRuleTables.table[t][i];
            FUZZ_CHECK(r.dx >= -90 && r.dx <= 90 && r.dx % 10 == 0);
            FUZZ_CHECK(r.dy >= -9 && r.dy <= 9);
            FUZZ_CHECK(r.op == kRuleAdd || r.op == kRuleMultiply);
            FUZZ_CHECK(r.value >= -999 && r.value <= 999);
            FUZZ_CHECK(r.piece >= 0 && r.piece < 48 && (r.piece & 15) != 11);
        }
        FUZZ_CHECK(i < kRuleTableSize);
        FUZZ_CHECK(s.findRuleTables.table[t][i].first == 1);
    }
}

void checkRewrite(const std::string& path, const std::string& bytes) {
    std::vector<AikNumber> numbers;
    FUZZ_CHECK(LocateAikNumbers(path, bytes, numbers));
    std::vector<int32_t> same;
    std::vector<int32_t> changed;
    for (const AikNumber& n : numbers) {
        FUZZ_CHECK(n.begin < n.end && n.end <= bytes.size());
        same.push_back(n.value);
        const ValueRange range = ValidRange(n);
        changed.push_back(n.value < range.max ? std::max(n.value + 1, range.min) : range.min);
    }
    FUZZ_CHECK(RewriteAikNumbers(bytes, numbers, same) == bytes);
    std::string out;
    if (RewriteAikNumbersChecked(path, bytes, numbers, changed, out)) {
        std::vector<AikNumber> reread;
        FUZZ_CHECK(LocateAikNumbers(path, out, reread) && reread.size() == numbers.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // One state for every input, reset to what a fresh one holds where the
    // loader leaves values alone; books under the names the seeds use.
    static EngineState* const state = [] {
        std::string b;
        for (int i = 0; i < 3 * kBookFileRecordBytes; ++i) b += static_cast<char>(i * 37 % 256);
        fuzz::writeScratch("book.jsk", b);
        fuzz::writeScratch("hyoujun.jsk", b);
        return new EngineState();
    }();
    state->profile = AikProfile{};
    state->evalTables = EvalTables{};
    if (!state->bookTable.isFree(0)) state->bookTable.clear();
    const std::string path = fuzz::writeScratch("fuzz.aik", fuzz::bytesOf(data, size));
    QuietUi ui;
    const int32_t result = LoadAik(*state, path, ui);
    FUZZ_CHECK(result == 1 || result == -1);
    FUZZ_CHECK(ui.messages == (result == -1 ? 1 : 0));
    checkUsable(*state);
    if (result == 1) checkRewrite(path, std::string(fuzz::bytesOf(data, size)));
    return 0;
}
