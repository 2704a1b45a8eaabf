#include "usi_time.h"

#include <gtest/gtest.h>

namespace nusari::usi {
namespace {

TEST(UsiTime, LimitsFromEachTimeControl) {
    GoLimits go;
    EXPECT_EQ(thinkLimitMs(go, true), 10000);  // nothing given

    go.movetime = 3000;
    EXPECT_EQ(thinkLimitMs(go, true), 2900);

    go = GoLimits{};
    go.btime = 60000;
    go.wtime = 30000;
    go.byoyomi = 1000;
    EXPECT_EQ(thinkLimitMs(go, true), 2000 + 1000 - 100);
    EXPECT_EQ(thinkLimitMs(go, false), 1000 + 1000 - 100);

    go = GoLimits{};
    go.btime = 0;
    go.wtime = 0;
    go.byoyomi = 200;
    EXPECT_EQ(thinkLimitMs(go, false), 100);

    go = GoLimits{};
    go.btime = 300000;
    go.binc = 5000;
    go.wtime = 300000;
    go.winc = 5000;
    EXPECT_EQ(thinkLimitMs(go, true), 10000 + 5000 - 100);
}

TEST(UsiTime, NeverMoreThanTheClockHoldsAndNeverBelowTheMinimum) {
    GoLimits go;
    go.btime = 90;  // less than the safety margin
    go.binc = 10000;
    EXPECT_EQ(thinkLimitMs(go, true), kMinimumMs);
    go.btime = 1000;
    go.binc = 60000;  // the increment alone would exceed the clock
    EXPECT_EQ(thinkLimitMs(go, true), 900);
    go = GoLimits{};
    go.movetime = 0;
    EXPECT_EQ(thinkLimitMs(go, true), kMinimumMs);
    go = GoLimits{};
    go.infinite = true;
    go.movetime = 10;
    EXPECT_EQ(thinkLimitMs(go, true), kNoLimitMs);
}

}  // namespace
}  // namespace nusari::usi
