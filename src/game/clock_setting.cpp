#include "game/clock_setting.h"

#include <algorithm>
#include <charconv>

namespace nusari {

namespace {

constexpr int64_t kSecond = 1000;
constexpr int64_t kMinute = 60 * kSecond;
constexpr int64_t kHour = 60 * kMinute;

struct Preset {
    const char* name;
    int64_t mainMs;
    int64_t byoyomiMs;
    int64_t incMs;
};

// Indexed by ClockPresetRow from kClockSuddenDeath10 to kClockNoLimit.
constexpr Preset kPresets[] = {
    {"10分切れ負け", 10 * kMinute, 0, 0},
    {"10分+30秒", 10 * kMinute, 30 * kSecond, 0},
    {"30秒将棋", 0, 30 * kSecond, 0},
    {"5分+10秒加算", 5 * kMinute, 0, 10 * kSecond},
    {"持ち時間なし", 0, 0, 0},
};

const Preset* presetAt(int32_t row) {
    if (row < kClockSuddenDeath10 || row > kClockNoLimit) return nullptr;
    return &kPresets[row - kClockSuddenDeath10];
}

std::optional<int64_t> number(std::string_view digits) {
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    for (const char ch : digits) {
        if (ch < '0' || ch > '9') return std::nullopt;
    }
    int64_t n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return n;
}

std::string twoDigits(int64_t n) {
    const char text[] = {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
    return std::string(text, 2);
}

// "m:ss", or "h:mm:ss" from an hour.
std::string shortClock(int64_t ms) {
    const int64_t s = std::max<int64_t>(0, ms) / kSecond;
    if (s >= 3600) return std::to_string(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
    return std::to_string(s / 60) + ":" + twoDigits(s % 60);
}

}  // namespace

TimeControl clockOf(int64_t mainMs, int64_t byoyomiMs, int64_t incMs) {
    TimeControl t;
    t.timeMs = mainMs;
    t.byoyomiMs = byoyomiMs;
    t.incMs = incMs;
    return t;
}

std::string clockPresetName(int32_t row, int32_t moveLimitMs) {
    if (row == kClockPerMove) {
        // Whole seconds, or tenths below them (a limit of 200 ms is "0.2秒").
        const int32_t tenths = std::max(moveLimitMs, 0) / 100;
        std::string text = "COMは1手";
        text += std::to_string(tenths / 10);
        if (tenths % 10 != 0) {
            text += '.';
            text += static_cast<char>('0' + tenths % 10);
        }
        text += "秒";
        return text;
    }
    if (const Preset* p = presetAt(row)) return p->name;
    return "個別設定";
}

std::optional<TimeControl> clockPresetSetting(int32_t row) {
    if (const Preset* p = presetAt(row)) return clockOf(p->mainMs, p->byoyomiMs, p->incMs);
    return std::nullopt;
}

int32_t clockPresetOf(const TimeControl& sente, const TimeControl& gote) {
    for (int32_t row = kClockSuddenDeath10; row <= kClockNoLimit; ++row) {
        if (*clockPresetSetting(row) == sente && sente == gote) return row;
    }
    return kClockCustom;
}

std::optional<int64_t> parseClockText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int64_t parts[3] = {0, 0, 0};
    int32_t count = 0;
    while (true) {
        const size_t colon = text.find(':');
        const std::optional<int64_t> n = number(text.substr(0, colon));
        if (!n || count == 3) return std::nullopt;
        parts[count++] = *n;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    int64_t ms = 0;
    if (count == 1) {
        ms = parts[0] * kMinute;  // whole minutes
    } else {
        // The fields after the first are minutes and seconds below 60.
        for (int32_t i = 1; i < count; ++i) {
            if (parts[i] >= 60) return std::nullopt;
        }
        ms = count == 2 ? parts[0] * kMinute + parts[1] * kSecond
                        : parts[0] * kHour + parts[1] * kMinute + parts[2] * kSecond;
    }
    if (ms >= 100 * kHour) return std::nullopt;
    return ms;
}

std::string clockText(int64_t ms) {
    const int64_t s = std::max<int64_t>(0, ms) / kSecond;
    return std::to_string(s / 3600) + ":" + twoDigits(s / 60 % 60) + ":" + twoDigits(s % 60);
}

std::string clockReading(const TimeControl& t, int64_t clockLeftMs, int64_t usedMs) {
    if (!t.limited()) return shortClock(usedMs);  // no limit: the move's time counts up
    const int64_t left = clockLeftMs - std::max<int64_t>(0, usedMs);
    if (left > 0 || t.byoyomiMs == 0) {
        // A clock that is running shows a second until the second is spent.
        const int64_t shown = left > 0 ? left + kSecond - 1 : 0;
        std::string text = shortClock(shown);
        if (t.incMs > 0) text += " +" + std::to_string(t.incMs / kSecond) + "秒";
        if (t.byoyomiMs > 0) text += " / " + std::to_string(t.byoyomiMs / kSecond) + "秒";
        return text;
    }
    const int64_t byoyomiLeft = std::max<int64_t>(0, t.byoyomiMs + left);
    return "秒読み " + std::to_string((byoyomiLeft + kSecond - 1) / kSecond);
}

int32_t countdownSecond(const TimeControl& t, int64_t clockLeftMs, int64_t usedMs) {
    if (t.byoyomiMs <= 0) return 0;
    const int64_t left = clockLeftMs - std::max<int64_t>(0, usedMs);
    if (left > 0) return 0;
    const int64_t byoyomiLeft = t.byoyomiMs + left;
    if (byoyomiLeft <= 0 || byoyomiLeft > 10 * kSecond) return 0;
    return static_cast<int32_t>((byoyomiLeft + kSecond - 1) / kSecond);
}

}  // namespace nusari
