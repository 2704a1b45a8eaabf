// The settings file NSProject.ini as bytes: CP932 lines, of which the
// program rewrites only the values of the keys it sets and keeps every other
// byte (comments, order, unknown keys, duplicates, line ends) as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "ui/settings.h"

namespace nusari {

// A settings file longer than this is read up to its last line end within
// the limit and never rewritten.
inline constexpr std::size_t kIniFileLimit = std::size_t{1} << 20;

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
    // section to the end of the file. A line break in `value` ends it.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes.
    const std::string& bytes() const { return bytes_; }

  private:
    // Where the value of the first such key lies in the bytes.
    struct ValueAt {
        std::size_t begin;
        std::size_t end;
    };
    std::optional<ValueAt> findValue(std::string_view section, std::string_view key) const;

    // The whole file; lines are found when needed, so that a file of many
    // short lines takes no more memory than its bytes.
    std::string bytes_;
};

// What reading a settings file found.
struct IniFileBytes {
    enum class State {
        Missing,   // no file: an empty store, written when a value is set
        Regular,   // a regular file, read whole
        TooLarge,  // a regular file over kIniFileLimit: read in part
        Refused,   // not a regular file, or unreadable: neither read nor written
    };
    State state = State::Missing;
    std::string bytes;
};

// Reads the file at `path` (through a symbolic link) without blocking on a
// FIFO or opening a device.
IniFileBytes ReadIniFileBytes(const std::string& path);

// The settings file on disk: read when made and on reload; flush reads it
// again, applies the values set and, only when a byte changed, replaces it
// through a temporary file and a rename (writeFileReplacing: a symbolic
// link stays a link and its target gets the bytes). A path that is no
// regular file, or a file over kIniFileLimit, is never written.
class IniFileStore : public SettingsStore {
  public:
    explicit IniFileStore(std::string path);

    std::optional<std::string> value(std::string_view section, std::string_view key) override;
    void setValue(std::string_view section, std::string_view key, const std::string& v) override;
    void flush() override;
    void reload() override;

    // Flush with its outcome: true when the file holds the values set.
    bool write();

  private:
    void apply(const std::string& section, const std::string& key, const std::string& v);

    std::string path_;
    IniFile file_;
    // The values set since the last write, UTF-8, in the order they were set.
    std::vector<std::tuple<std::string, std::string, std::string>> pending_;
};

}  // namespace nusari
