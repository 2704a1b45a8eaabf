// The thinking panel's progress and result texts.
#pragma once

#include <cstdint>
#include <string>

namespace nusari {

inline constexpr const char* kThinkingText = "現在思考中";
inline constexpr const char* kBookResultText = "思考結果\n\n 定跡参照\n\n\n選択誘導手のメッセージ\n\n";
inline constexpr const char* kLostResultText = "思考結果\n\n 形勢 = -∞ COM負け";
inline constexpr const char* kWonResultText = "思考結果\n\n 形勢 = +∞ COM勝ち";
inline constexpr const char* kForcedResultText = "思考結果\n\n 形勢 = ? 強制手順";

// What the texts show of one think call.
struct ThinkReport {
    int32_t best = 0;
    int32_t iteration = 0;
    int32_t hukasa = 0;
    int32_t inducedFrom = 0;
    int32_t inducedTo = 0;
    int32_t nodeCount = 0;
    int32_t progress = 0;
    int32_t bestFrom = 0;
    int32_t bestTo = 0;
};

// Receives the values of every progress text (engine protocols show them
// their own way).
struct ThinkObserver {
    virtual ~ThinkObserver() = default;
    virtual void onIteration(const ThinkReport& report) = 0;
};

std::string progressText(const ThinkReport& r);
// The result text up to the message of the chosen induced move (UTF-8).
std::string resultText(const ThinkReport& r, const std::string& message);
// The verdict word of a score strictly between -99999 and 99999.
const char* verdictOf(int32_t best);

}  // namespace nusari
