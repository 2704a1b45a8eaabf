// Loading an engine-definition (.aik) file into the EngineState: profile
// keys, evaluation-table blocks and the book the file names.
#pragma once

#include <cstdint>
#include <string>

#include "aik/aik_number.h"
#include "aik/engine_state.h"
#include "aik/ui.h"

namespace nusari {

// Shown (after the message sound) for every failure of LoadAik.
inline constexpr const char* kAikLoadError = "error\n  aik file is not opened.";

// Added to kAikLoadError, with the path, to say why the load failed: the
// .aik file cannot be read ("\n  REASON：PATH", the reason of
// fileReadReason, for example kAikFileMissing), its book is missing
// (kAikBookMissing) or cannot be read ("\n  定跡ファイルを読めません（REASON）：
// PATH"), or a line of the .aik file does not read ("\n  12行目を読めません：
// PATH"; for a table block, the line the block begins on).
inline constexpr const char* kAikNotRegularFile = "\n  通常のファイルではありません：";
inline constexpr const char* kAikFileTooLarge = "\n  ファイルが大きすぎます：";
inline constexpr const char* kAikFileMissing = "\n  ファイルがありません：";
inline constexpr const char* kAikBookMissing = "\n  定跡ファイルがありません：";
inline constexpr const char* kAikBookUnreadable = "\n  定跡ファイルを読めません";
inline constexpr const char* kAikLineUnreadable = "行目を読めません：";

// A book with more records than the table holds is read up to the table's
// capacity and the engine loads; the user is told so with Ui::notify (no
// error sound): BookCutWarning's text.
inline constexpr const char* kAikBookCutWarning = "定跡ファイルの局面が多すぎます";
// "定跡ファイルの局面が多すぎます：12000局面のうち先頭の10000局面だけを読みました：PATH"
std::string BookCutWarning(int64_t read, int64_t inFile, const std::string& book);

// Loads the .aik file at `path`. Returns 1 when the whole file was read
// (after notifying a book cut short, see kAikBookCutWarning), or -1 after
// showing kAikLoadError followed by the reason and the file it concerns. A
// failed load keeps what was read up to the failing line.
// Either way the profile is left usable by the search: haba in 1..100,
// edakari_hyouka at least 1 (else 32), hitu_hukasa 0 (off) or above.
int32_t LoadAik(EngineState& state, const std::string& path, Ui& ui);

// LoadAik on the bytes of a file already read; `path` names it in messages,
// and its folder holds the book. Every number stored is reported to `sink`
// (when given) as it is read.
int32_t LoadAikBytes(EngineState& state, const std::string& path, std::string bytes, Ui& ui,
                     AikNumberSink* sink = nullptr);

// The path of the book (.jsk) or message (.txk) file of stem `zyouseki`
// for the engine file at `aikPath`: beside it.
std::string EngineCompanionPath(const std::string& aikPath, const std::string& zyouseki,
                                const char* extension);

}  // namespace nusari
