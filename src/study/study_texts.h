// The texts of 検討 (UTF-8).
#pragma once

namespace nusari {

inline constexpr const char* kStudyEngineFailed = "検討エンジンを起動できません: ";
inline constexpr const char* kStudyEngineEnded = "検討エンジンが終了しました";
inline constexpr const char* kStudyEngineSilent = "検討エンジンが stop に答えません";

}  // namespace nusari
