// The second search (tansaku=1) at fixed depths with a shipped engine's
// tables: it mates, takes what hangs, gives up a mated position, and visits
// a fixed number of nodes (its signature: a change of the search shows).
#include "think/second_search.h"

#include <gtest/gtest.h>

#include "aik/aik_loader.h"
#include "position/sfen.h"
#include "support/fake_ui.h"
#include "think/clock.h"
#include "think/hash_tables.h"

namespace nusari {
namespace {

struct Loaded {
    std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
    Loaded() {
        test::FakeUi ui;
        EXPECT_EQ(LoadAik(*state, NUSARI_DATA_DIR "/aik/攻め.aik", ui), 1);
        state->hashEntryCount = 1009;
    }
    ~Loaded() { FreeHashTables(*state); }
    SecondSearchResult search(const char* sfen, int32_t plies) {
        Position p;
        Side toMove = Side::Lower;
        std::string error;
        EXPECT_TRUE(parseSfen(sfen, p, toMove, error)) << error;
        state->profile.hukasa = plies * 10;
        state->stopRequested = 0;
        return SecondSearch(*state, p, toMove, 600000, nowMs(), silentObserver(), ThinkSetting{},
                            [](const Move& m) { return m; });
    }
};

TEST(SecondSearch, MatesTakesWhatHangsAndResignsWhenMated) {
    const struct {
        const char* name;
        const char* sfen;
        int32_t plies;
        const char* move;  // USI, or "resign"
        bool mate;
    } cases[] = {
        {"a gold drop mates", "4k4/9/4P4/9/9/9/9/9/4K4 b G 1", 3, "G*5b", true},
        {"the rook that hangs is taken", "k8/9/9/9/4r4/9/9/4R4/8K b - 1", 3, "5h5e", false},
        {"the side to move is mated", "4k4/4G4/4P4/9/9/9/9/9/4K4 w - 1", 2, "resign", false},
    };
    Loaded engine;
    for (const auto& c : cases) {
        const SecondSearchResult r = engine.search(c.sfen, c.plies);
        const Side toMove = std::string(c.sfen).find(" w ") != std::string::npos ? Side::Upper : Side::Lower;
        EXPECT_EQ(r.move.isResign() ? std::string("resign") : moveToUsi(r.move, toMove), c.move) << c.name;
        EXPECT_EQ(r.score >= kSearchMate - 10, c.mate) << c.name;
    }
}

TEST(SecondSearch, TheNodeCountOfAFixedDepthIsItsSignature) {
    const struct {
        const char* sfen;
        int32_t plies;
        int64_t nodes;
    } cases[] = {
        {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", 6, 6207},
        {"ln1g3nl/1r1sg1k2/p1pppp1pp/6p2/1p7/2P3P2/PPSPPP2P/2G1K2R1/LN3GSNL b BPbsp 1", 5, 3094},
    };
    for (const auto& c : cases) {
        Loaded engine;
        const SecondSearchResult r = engine.search(c.sfen, c.plies);
        EXPECT_EQ(r.depth, c.plies);
        EXPECT_EQ(r.nodes, c.nodes) << c.sfen;
        // The table filled as it went, and says so.
        EXPECT_GT(SearchTableUsePermille(*engine.state), 0);
        EXPECT_LE(SearchTableUsePermille(*engine.state), 1000);
    }
}

}  // namespace
}  // namespace nusari
