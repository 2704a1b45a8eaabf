// The settings file NSProject.ini as bytes: CP932 lines, of which the
// program rewrites only the values of the keys it sets and keeps every other
// byte (comments, order, unknown keys, duplicates, line ends) as it was.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings.h"

namespace nusari {

// A settings file may hold this many bytes besides the program's own keys
// of section UsiEngines (which grow with the engines registered and are not
// counted, see IsUsiEngineKey), and at most kIniFileCeiling in all. A larger file is read up to its
// last line end within the limits and never rewritten: it is someone else's file, and writing back
// a part of it would lose the rest.
inline constexpr std::size_t kIniFileLimit = std::size_t{1} << 20;
inline constexpr std::size_t kIniFileCeiling = std::size_t{64} << 20;

// What the user is told when the settings cannot be saved: this, the path,
// a line break and one of the reasons (or the system's text of the error).
inline constexpr const char* kSettingsNotSaved = "設定を保存できません：";
inline constexpr const char* kIniNoRegularFile = "通常のファイルではありません";
inline constexpr const char* kIniForeignTooLarge =
    "ファイルが大きすぎるため上書きしません（USIエンジンの登録以外の内容が1MiBを超えています）";
inline constexpr const char* kIniOwnTooLarge = "設定の内容が64MiBを超えます";
inline constexpr const char* kIniDiskFull = "ディスクの空き容量が足りません";
inline constexpr const char* kIniFileSizeLimit = "ファイルの大きさの制限を超えています";
inline constexpr const char* kIniNoPermission = "書き込む権限がありません";
inline constexpr const char* kIniReadOnly = "読み取り専用のファイルシステムです";
inline constexpr const char* kIniNoFolder = "フォルダがありません";
inline constexpr const char* kIniWriteFailed = "書き込みに失敗しました";

// One change of an INI file: a key set to a value, or removed (no value).
// CP932 bytes; a line break in the value ends it.
struct IniChange {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

// The lines of an INI file. Names and values are CP932 bytes; section and
// key names compare case-insensitively (ASCII), and a value is the text
// after the first "=" with blanks around it trimmed, nothing else removed.
class IniFile {
  public:
    // Any bytes make a file; CR LF and LF line ends both count.
    static IniFile parse(std::string_view bytes);

    // The value of the first `key` of a section named `section` (the keys
    // before any section are in section ""), or nothing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // Replaces the value of the key `find` reads, keeping the rest of its
    // line; a missing key goes after the last key of its section, a missing
    // section to the end of the file.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Makes all the changes in one pass over the file: values set as `set`
    // does (new keys in the order given), keys removed with every line that
    // has them. A key changed twice takes its last change.
    void apply(const std::vector<IniChange>& changes);

    // The file's bytes.
    const std::string& bytes() const { return bytes_; }

    // A section and key name folded for comparison.
    using Name = std::pair<std::string, std::string>;
    static Name nameOf(std::string_view section, std::string_view key);

  private:
    // Where the value of the first such key lies in the bytes.
    struct ValueAt {
        std::size_t begin;
        std::size_t end;
    };
    void index();

    std::string bytes_;
    // The first value of every key, found in one pass when the bytes change.
    std::map<Name, ValueAt> values_;
};

// What reading a settings file found.
struct IniFileBytes {
    enum class State {
        Missing,   // no file: an empty store, written when a value is set
        Regular,   // a regular file, read whole
        TooLarge,  // a regular file over the limits: read in part
        Refused,   // not a regular file, or unreadable: neither read nor written
    };
    State state = State::Missing;
    std::string bytes;
    int error = 0;  // the errno of a file that could not be read
};

// Reads the file at `path` (through a symbolic link) without blocking on a
// FIFO or opening a device.
IniFileBytes ReadIniFileBytes(const std::string& path);

// The settings file on disk. It is read when made and on reload; the values
// set and removed are kept apart as changes. A flush reads the file again,
// makes the changes on what it holds now (so that what another window saved
// meanwhile stays, and a key both changed takes this one's value) and, only
// when a byte changed, replaces it through a temporary file and a rename
// (writeFileReplacing: a symbolic link stays a link and its target gets the
// bytes). A path that is no regular file, or a file over the limits, is
// never written.
class IniFileStore : public SettingsStore {
  public:
    explicit IniFileStore(std::string path);

    std::optional<std::string> value(std::string_view section, std::string_view key) override;
    void setValue(std::string_view section, std::string_view key, const std::string& v) override;
    void removeValue(std::string_view section, std::string_view key) override;
    bool flush() override;
    std::string saveProblem() const override { return problem_; }
    void reload() override;

    // The same as flush.
    bool write() { return flush(); }

  private:
    void change(std::string_view section, std::string_view key, std::optional<std::string> v);
    bool fail(std::string_view reason);

    std::string path_;
    IniFile file_;  // as last read or written
    // The changes since the last write, in the order first made, with the
    // values set also in UTF-8; changeAt_ finds a key's change.
    std::vector<IniChange> changes_;
    std::vector<std::optional<std::string>> utf8Values_;
    std::map<IniFile::Name, std::size_t> changeAt_;
    std::string problem_;
};

}  // namespace nusari
