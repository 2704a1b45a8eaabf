// The thinking panel's progress and result texts.
#pragma once

#include <cstdint>
#include <string>

#include "think/think_observer.h"

namespace nusari {

inline constexpr const char* kThinkingText = "現在思考中";
inline constexpr const char* kBookResultText = "思考結果\n\n 定跡参照\n\n\n選択誘導手のメッセージ\n\n";
inline constexpr const char* kLostResultText = "思考結果\n\n 形勢 = -∞ COM負け";
inline constexpr const char* kWonResultText = "思考結果\n\n 形勢 = +∞ COM勝ち";
inline constexpr const char* kForcedResultText = "思考結果\n\n 形勢 = ? 強制手順";

// The texts show moves as the computer, the upper side, sees the board:
// the iteration's and result's moves must be in that frame.
std::string progressText(const ThinkIteration& it);
// The result text of any ending but NoThink (which shows none), with the
// book message of the move chosen.
std::string resultText(const ThinkResult& r);
// The verdict word of a score strictly between kLossScore and kWinScore.
const char* verdictOf(int32_t best);

}  // namespace nusari
