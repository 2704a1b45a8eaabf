// The messages shown when a record cannot be read or written (UTF-8).
#pragma once

#include <cstdint>
#include <string>

namespace nusari {

inline constexpr const char* kUnknownFormatMessage = "ファイル処理\n読み込みエラー：棋譜形式不明";
// Followed by the file name.
inline constexpr const char* kReadErrorMessage = "ファイル処理\n読み込みエラー：";
inline constexpr const char* kWriteErrorMessage = "ファイル処理\n書き込みエラー：";
// A save under a name whose extension is none of the written formats.
inline constexpr const char* kWriteFormatMessage =
    "ファイル処理\n書き込みエラー：棋譜の保存名は拡張子を.csa、.kif、.kifu、.ki2、.ki2uのどれかにして下さい";
// Followed by the file name.
inline constexpr const char* kNotRegularFileMessage =
    "ファイル処理\n読み込みエラー：通常のファイルではありません：";
inline constexpr const char* kFileTooLargeMessage =
    "ファイル処理\n読み込みエラー：棋譜ファイルが大きすぎます：";

inline constexpr const char* kCsaNameMessage = "CSAファイル\nオープンエラー:対局者名の取得に失敗";
inline constexpr const char* kCsaPositionLineMessage =
    "CSAファイル\nオープンエラー:局面初期化に失敗";
inline constexpr const char* kCsaBoardMessage = "CSAファイル\nオープンエラー:開始局面の取得に失敗";
inline constexpr const char* kCsaHandMessage = "CSAファイル\nオープンエラー:持ち駒の取得に失敗";
inline constexpr const char* kCsaMoveMessage = "CSAファイル\nオープンエラー:指し手の取得に失敗";
inline constexpr const char* kCsaTooLongMessage =
    "CSAファイル\nオープンエラー:999手を超える棋譜です";

inline constexpr const char* kKifLongLineMessage =
    "KIFファイル\n読み込みエラー:長すぎる行があります";
inline constexpr const char* kKifHandicapMessage = "KIFファイル\n読み込みエラー:手合割が不明";
inline constexpr const char* kKifBoardRowMessage =
    "KIFファイル\n読み込みエラー:局面図の行が読めません";
inline constexpr const char* kKifMoveMessage = "KIFファイル\n読み込みエラー:指し手が読めません";
inline constexpr const char* kKifTooLongMessage =
    "KIFファイル\n読み込みエラー:999手を超える棋譜です";
inline constexpr const char* kKifSideMessage =
    "KIFファイル\n読み込みエラー:手番の違う指し手があります";

// A record with more moves in its variations than a tree holds.
inline constexpr const char* kKifTooManyNodesMessage =
    "KIFファイル\n読み込みエラー:変化が多すぎます";
// A variation line ("変化：N手") whose move number does not fit the line before it.
inline constexpr const char* kKifVariationMessage =
    "KIFファイル\n読み込みエラー:変化の手数が読めません";

// A pasted text that is none of the formats, or nothing at all.
inline constexpr const char* kRecordTextUnreadableMessage = "棋譜・局面として読めませんでした";
inline constexpr const char* kRecordTextEmptyMessage = "棋譜・局面の文字列が空です";
inline constexpr const char* kRecordTextTooLargeMessage = "棋譜・局面の文字列が大きすぎます";

inline constexpr const char* kCsaPrefix = "CSAファイル\nオープンエラー:";
inline constexpr const char* kKifPrefix = "KIFファイル\n読み込みエラー:";

// A move that does not fit the position it is played in: names the ply.
inline std::string movePlyMessage(const char* prefix, int32_t ply) {
    return std::string(prefix) + std::to_string(ply) + "手目の指し手が局面と合いません";
}

}  // namespace nusari
