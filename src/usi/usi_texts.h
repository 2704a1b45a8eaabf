// Texts about USI engines that the window and the USI link show (UTF-8).
#pragma once

namespace nusari {

// Followed by the engine's name and the reason.
inline constexpr const char* kUsiStartFailed = "USIエンジンを起動できません：";
// Followed by the name: the list holds a name the settings file no longer has.
inline constexpr const char* kUsiNotRegistered = "USIエンジンが登録されていません：";
// Followed by the engine's name: the game stops without a result.
inline constexpr const char* kUsiEngineGone = "USIエンジンが応答しないため対局を中断します：";
// Followed by the word the engine sent.
inline constexpr const char* kUsiIllegalMove = "USIエンジンの反則負け（指せない手）：";
inline constexpr const char* kUsiTimeUp = "USIエンジンの時間切れ負け：";
inline constexpr const char* kUsiDeclares = "USIエンジンの入玉宣言勝ち：";
inline constexpr const char* kUsiFalseDeclaration = "USIエンジンの反則負け（入玉宣言の条件不足）：";

}  // namespace nusari
