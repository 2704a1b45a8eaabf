// The clocks' texts, presets and countdown.
#include <gtest/gtest.h>

#include "game/clock_setting.h"

namespace nusari {
namespace {

constexpr int64_t kS = 1000;
constexpr int64_t kMin = 60 * kS;

TEST(ClockSetting, ReadsAndWritesClockTexts) {
    struct Case {
        const char* text;
        std::optional<int64_t> ms;
    };
    const Case cases[] = {
        {"0:10:00", 10 * kMin},
        {"1:30:05", 90 * kMin + 5 * kS},
        {"10:30", 10 * kMin + 30 * kS},
        {" 15 ", 15 * kMin},  // whole minutes
        {"0", 0},
        {"0:60:00", std::nullopt},
        {"1:2:3:4", std::nullopt},
        {"", std::nullopt},
        {"1:", std::nullopt},
        {"-5", std::nullopt},
        {"10分", std::nullopt},
        {"100:00:00", std::nullopt},
        {"99:59:59", 99 * 60 * kMin + 59 * kMin + 59 * kS},
    };
    for (const Case& c : cases) EXPECT_EQ(parseClockText(c.text), c.ms) << c.text;
    EXPECT_EQ(clockText(90 * kMin + 5 * kS + 999), "1:30:05");
    EXPECT_EQ(clockText(0), "0:00:00");
    EXPECT_EQ(parseClockText(clockText(10 * kMin)), 10 * kMin);
}

TEST(ClockSetting, PresetsNameTheirSettingAndAreFoundAgain) {
    EXPECT_EQ(clockPresetName(kClockPerMove, 10000), "COMは1手10秒");
    EXPECT_EQ(clockPresetName(kClockPerMove, 1250), "COMは1手1.2秒");
    EXPECT_EQ(clockPresetName(kClockCustom, 10000), "個別設定");
    EXPECT_FALSE(clockPresetSetting(kClockPerMove));
    EXPECT_FALSE(clockPresetSetting(kClockCustom));
    for (int32_t row = kClockSuddenDeath10; row <= kClockNoLimit; ++row) {
        const TimeControl s = *clockPresetSetting(row);
        EXPECT_EQ(clockPresetOf(s, s), row) << clockPresetName(row, 0);
    }
    EXPECT_EQ(*clockPresetSetting(kClockTenAndThirty), clockOf(10 * kMin, 30 * kS, 0));
    TimeControl slower = *clockPresetSetting(kClockTenAndThirty);
    slower.timeMs = 20 * kMin;
    EXPECT_EQ(clockPresetOf(slower, *clockPresetSetting(kClockTenAndThirty)), kClockCustom);
}

TEST(ClockSetting, RunningClocksShowTheirTimeAndCountTheLastSeconds) {
    const TimeControl tenAndThirty = clockOf(10 * kMin, 30 * kS, 0);
    const TimeControl fischer = clockOf(5 * kMin, 0, 10 * kS);
    const TimeControl sudden = clockOf(10 * kMin, 0, 0);
    const TimeControl none = clockOf(0, 0, 0);
    struct Case {
        const TimeControl* t;
        int64_t leftMs;
        int64_t usedMs;
        const char* reading;
        int32_t countdown;
    };
    const Case cases[] = {
        {&tenAndThirty, 10 * kMin, 0, "10:00 / 30秒", 0},
        // A second shows until it is spent.
        {&tenAndThirty, 10 * kMin, 1, "10:00 / 30秒", 0},
        {&tenAndThirty, 10 * kMin, 1000, "9:59 / 30秒", 0},
        {&tenAndThirty, 5 * kS, 5 * kS, "秒読み 30", 0},
        {&tenAndThirty, 0, 19 * kS + 500, "秒読み 11", 0},
        {&tenAndThirty, 0, 20 * kS + 1, "秒読み 10", 10},
        {&tenAndThirty, 0, 29 * kS + 1, "秒読み 1", 1},
        {&tenAndThirty, 0, 31 * kS, "秒読み 0", 0},
        {&fischer, 5 * kMin, 0, "5:00 +10秒", 0},
        {&sudden, 2 * 3600 * kS, 0, "2:00:00", 0},
        {&sudden, 3 * kS, 5 * kS, "0:00", 0},
        {&none, 0, 75 * kS, "1:15", 0},  // counts up
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clockReading(*c.t, c.leftMs, c.usedMs), c.reading) << c.reading;
        EXPECT_EQ(countdownSecond(*c.t, c.leftMs, c.usedMs), c.countdown) << c.reading;
    }
}

}  // namespace
}  // namespace nusari
