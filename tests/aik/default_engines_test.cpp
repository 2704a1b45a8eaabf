// The engines shipped in data/aik load and hold sensible tables.
#include <gtest/gtest.h>

#include "aik/engine_list.h"
#include "aik_test_support.h"
#include "position/types.h"

namespace nusari::test {
namespace {

// The centre square of a table seen from the lower side.
constexpr int32_t kCentre = 55;

std::vector<std::string> shippedEngines(std::vector<std::string>& names) {
    std::vector<std::string> paths;
    EXPECT_TRUE(BuildEngineList(NUSARI_DATA_DIR, names, paths));
    return paths;
}

TEST(DefaultEngines, EveryShippedEngineLoadsWithSensibleValues) {
    std::vector<std::string> names;
    const std::vector<std::string> paths = shippedEngines(names);
    ASSERT_GE(paths.size(), 2u);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        auto state = std::make_unique<EngineState>();
        FakeUi ui;
        ASSERT_EQ(LoadAik(*state, paths[i], ui), 1);
        const AikProfile& p = state->profile;
        EXPECT_EQ(p.namae, toCp932(names[i]));
        EXPECT_GT(p.hukasa, 10);
        EXPECT_GT(p.hitu_hukasa, 0);
        // Only an engine that names a book has one.
        EXPECT_EQ(state->bookTable.count() > 0, !p.zyouseki.empty());

        const auto& t = state->evalTables.table;
        EXPECT_NEAR(t[kPawn][kCentre], 100, 30);
        // A promoted silver loses its backward diagonals: tuned engines may
        // value it below a silver, so it is left out here.
        for (const int32_t kind : {kRook, kBishop, kKnight, kLance, kPawn}) {
            EXPECT_GT(t[kind + kPromotedFlag][kCentre], t[kind][kCentre]) << kind;
        }
        EXPECT_GT(t[kRook][kCentre], t[kBishop][kCentre]);
        EXPECT_GT(t[kBishop][kCentre], t[kGold][kCentre]);
        EXPECT_GT(t[kGold][kCentre], t[kKnight][kCentre]);
        EXPECT_GT(t[kPawn][13], t[kPawn][17]);  // advanced pawns are worth more
        for (int32_t kind = kRook; kind <= kPawn; ++kind) {
            for (int32_t n = 1; n <= kMaxHandCount; ++n) {
                const int32_t gain = t[kind][100 + n] - t[kind][100 + n - 1];
                EXPECT_GT(gain, 0) << kind;
                if (n > 1) {
                    EXPECT_LE(gain, t[kind][100 + n - 1] - t[kind][100 + n - 2]) << kind;
                }
            }
        }
        // Danger maps for both kings, and rules around both kings.
        EXPECT_GT(t[kDangerMapCode][12], 0);
        EXPECT_EQ(t[kDangerMapCode + kUpperSide][98], t[kDangerMapCode][12]);
        EXPECT_NE(state->findRuleTables.table[kLowerKing][0].piece, -1);
        EXPECT_NE(state->findRuleTables.table[kUpperKing][0].piece, -1);
    }
}

TEST(DefaultEngines, SwitchingEnginesLeavesNothingOfThePrevious) {
    std::vector<std::string> names;
    const std::vector<std::string> paths = shippedEngines(names);
    ASSERT_GE(paths.size(), 2u);
    auto once = std::make_unique<EngineState>();
    auto after = std::make_unique<EngineState>();
    FakeUi ui;
    ASSERT_EQ(LoadAik(*once, paths[1], ui), 1);
    ASSERT_EQ(LoadAik(*after, paths[0], ui), 1);
    ASSERT_EQ(LoadAik(*after, paths[1], ui), 1);
    for (int32_t c = 0; c < 48; ++c) {
        for (int32_t k = 0; k < kEvalTableSlots; ++k) {
            ASSERT_EQ(once->evalTables.table[c][k], after->evalTables.table[c][k]) << c << " " << k;
        }
    }
}

}  // namespace
}  // namespace nusari::test
