// Registering USI engines from the settings page: adding an engine after it
// has answered "usi" and "isready", removing and renaming entries, choosing
// option values. Each change is made on the entries as the settings file
// holds them then (another window may have changed them), checked first (an
// error box refuses it), then written to the settings file at once and shown
// in the 対戦COM list; a write that fails is told in an error box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/usi_engines.h"
#include "usi/usi_texts.h"

namespace nusari {

class GameController;

// The refusals (UTF-8); most are followed by the name or the command line.
inline constexpr const char* kUsiListFull = "これ以上USIエンジンを登録できません（最大50）";
inline constexpr const char* kUsiBadCommandLine =
    "コマンドラインを読めません（空か、引用符が閉じていません）";
inline constexpr const char* kUsiBadText = "Shift-JISで表せない文字か制御文字が含まれています：";
inline constexpr const char* kUsiNameTaken = "この名前のエンジンは登録済みです：";
inline constexpr const char* kUsiNoName = "エンジンの名前がありません";
inline constexpr const char* kUsiCannotStart = "エンジンを起動できません：";
inline constexpr const char* kUsiExited = "エンジンが応答せずに終了しました：";
inline constexpr const char* kUsiNoUsiOk = "エンジンが時間内に usiok を返しません：";
inline constexpr const char* kUsiNoReadyOk = "エンジンが時間内に readyok を返しません：";
inline constexpr const char* kUsiBadValue = "オプションの値が使えません：";

// Starts the engine of `commandLine` (waiting up to handshakeMs for each
// answer, with the window's events served meanwhile), takes its options
// with their defaults as values and stops it; adds it as `name`, or under
// its id name when `name` is empty. False after an error box (the entry
// then stays listed when only its save failed).
bool RegisterUsiEngine(GameController& c, const std::string& name, const std::string& commandLine,
                       int64_t handshakeMs = kUsiHandshakeMs);
// False when there is no such entry, or after an error box when the file
// was not saved.
bool RemoveUsiEngine(GameController& c, const std::string& name);
// False after an error box (a name taken or not storable).
bool RenameUsiEngine(GameController& c, const std::string& name, const std::string& newName);
// Gives the entry's options these values, one per option in order (a
// button's is ignored). Nothing changes when one is not accepted: false
// after an error box that names the option.
bool SetUsiOptionValues(GameController& c, const std::string& name,
                        const std::vector<std::string>& values);
// Starts the entry's engine again and takes the options it announces now;
// a value chosen before stays when the option still accepts it.
bool RereadUsiOptions(GameController& c, const std::string& name,
                      int64_t handshakeMs = kUsiHandshakeMs);
// Writes the entries to the settings file and the file out, and rebuilds
// the 対戦COM list; false after an error box when the file was not saved.
bool SaveUsiEngines(GameController& c);

}  // namespace nusari
