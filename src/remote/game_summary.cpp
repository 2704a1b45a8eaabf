#include "remote/game_summary.h"

#include <algorithm>

namespace nusari {

namespace {

// The moves the rest of the time is spread over, and what the network may
// cost between the server's clock and ours.
constexpr int64_t kMovesToCome = 40;
constexpr int64_t kNetworkMarginMs = 500;
// More than any real clock, so that sums stay far from overflow.
constexpr int64_t kLargestValue = 1000000000;

std::string_view valueAfter(std::string_view line, std::string_view key) {
    if (line.substr(0, key.size()) != key) return {};
    line.remove_prefix(key.size());
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
        line.remove_suffix(1);
    }
    return line;
}

// Leading decimal digits, capped; -1 when there are none.
int64_t leadingNumber(std::string_view text, std::size_t& digits) {
    int64_t n = 0;
    digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        n = std::min(n * 10 + (text[digits] - '0'), kLargestValue);
        ++digits;
    }
    return digits == 0 ? -1 : n;
}

bool readCount(std::string_view text, int64_t& out) {
    std::size_t digits = 0;
    const int64_t n = leadingNumber(text, digits);
    if (n < 0 || digits != text.size()) return false;
    out = n;
    return true;
}

// "1sec", "1min", "10msec"; a number alone counts seconds.
bool readUnit(std::string_view text, int64_t& unitMs) {
    std::size_t digits = 0;
    int64_t n = leadingNumber(text, digits);
    if (digits == 0) n = 1;
    if (n <= 0) return false;
    const std::string_view unit = text.substr(digits);
    int64_t scale = 0;
    if (unit == "msec") scale = 1;
    if (unit == "sec" || unit.empty()) scale = 1000;
    if (unit == "min") scale = 60000;
    if (scale == 0) return false;
    unitMs = std::min(n * scale, kLargestValue);
    return true;
}

}  // namespace

void ReadSummaryLine(std::string_view line, GameSummary& summary) {
    if (const std::string_view v = valueAfter(line, "Name+:"); !v.empty()) summary.firstName = v;
    if (const std::string_view v = valueAfter(line, "Name-:"); !v.empty()) summary.secondName = v;
    readCount(valueAfter(line, "Total_Time:"), summary.totalTime);
    readCount(valueAfter(line, "Byoyomi:"), summary.byoyomi);
    readCount(valueAfter(line, "Increment:"), summary.increment);
    readUnit(valueAfter(line, "Time_Unit:"), summary.unitMs);
}

int32_t MoveTimeCapMs(const GameSummary& s, int64_t usedMs) {
    if (!s.hasClock()) return 0;
    const int64_t left = std::max<int64_t>(s.totalTime * s.unitMs - std::max<int64_t>(usedMs, 0), 0);
    const int64_t cap =
        left / kMovesToCome + (s.increment + s.byoyomi) * s.unitMs - kNetworkMarginMs;
    return static_cast<int32_t>(std::clamp<int64_t>(cap, 1, kLargestValue));
}

}  // namespace nusari
