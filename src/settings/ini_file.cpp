#include "settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "position/text_encoding.h"
#include "records/record_files.h"
#include "settings/usi_engines.h"

namespace nusari {

namespace {

constexpr std::string_view kNewLineEnd = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char foldCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    }
    return true;
}

// A CP932 lead byte: the byte after it is the second half of one character
// and may look like "]" or "\".
bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

enum class LineKind { Other, Comment, Section, Key };

struct LineParts {
    LineKind kind = LineKind::Other;
    std::string_view name;  // the section or key name
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

// What one line is: "[name]" a section (the name ends at the first "]" or
// the line), ";" or "#" first a comment, "name=value" a key.
LineParts partsOf(std::string_view text) {
    LineParts parts;
    std::size_t p = 0;
    while (p < text.size() && isBlank(text[p])) ++p;
    if (p == text.size()) return parts;
    if (text[p] == ';' || text[p] == '#') {
        parts.kind = LineKind::Comment;
        return parts;
    }
    if (text[p] == '[') {
        std::size_t end = p + 1;
        while (end < text.size() && text[end] != ']') end += isLeadByte(text[end]) ? 2 : 1;
        if (end > text.size()) end = text.size();
        parts.kind = LineKind::Section;
        parts.name = trim(text.substr(p + 1, end - p - 1));
        return parts;
    }
    const std::size_t equals = text.find('=', p);
    if (equals == std::string_view::npos) return parts;
    parts.name = trim(text.substr(p, equals - p));
    if (parts.name.empty()) return parts;
    parts.kind = LineKind::Key;
    std::size_t begin = equals + 1;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    parts.valueBegin = begin;
    parts.valueEnd = end;
    return parts;
}

// One line of the bytes: its text, then a line end of endLength bytes
// ("\r\n", "\n", or none on a last line without one).
struct LineSpan {
    std::size_t begin = 0;
    std::size_t length = 0;
    std::size_t endLength = 0;
};

std::string_view textOf(std::string_view bytes, const LineSpan& line) {
    return bytes.substr(line.begin, line.length);
}

// Calls visit(line) for each line in order while it returns true.
template <typename Visit>
void forEachLine(std::string_view bytes, Visit visit) {
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        LineSpan line{begin, bytes.size() - begin, 0};
        const std::size_t newline = bytes.find('\n', begin);
        if (newline != std::string_view::npos) {
            line.length = newline - begin;
            line.endLength = 1;
            if (line.length > 0 && bytes[newline - 1] == '\r') {
                --line.length;
                line.endLength = 2;
            }
        }
        if (!visit(line)) return;
        begin = line.begin + line.length + line.endLength;
    }
}

std::string foldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = foldCase(c);
    return folded;
}

// The value as it goes into a line: up to its first line break.
std::string_view lineValue(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

// Ends the text with a line end when it has text and no line end last.
void endLine(std::string& text) {
    if (!text.empty() && text.back() != '\n') text += kNewLineEnd;
}

void appendKeyLine(std::string& text, const IniChange& change) {
    text += change.key;
    text += '=';
    text += lineValue(*change.value);
    text += kNewLineEnd;
}

}  // namespace

IniFile::Name IniFile::nameOf(std::string_view section, std::string_view key) {
    return {foldedName(section), foldedName(key)};
}

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    file.bytes_ = bytes;
    file.index();
    return file;
}

void IniFile::index() {
    values_.clear();
    std::string section;
    forEachLine(bytes_, [&](const LineSpan& line) {
        const LineParts parts = partsOf(textOf(bytes_, line));
        if (parts.kind == LineKind::Section) {
            section = foldedName(parts.name);
        } else if (parts.kind == LineKind::Key) {
            values_.try_emplace(
                {section, foldedName(parts.name)},
                ValueAt{line.begin + parts.valueBegin, line.begin + parts.valueEnd});
        }
        return true;
    });
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const auto at = values_.find(nameOf(section, key));
    if (at == values_.end()) return std::nullopt;
    return bytes_.substr(at->second.begin, at->second.end - at->second.begin);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    apply({IniChange{std::string(section), std::string(key), std::string(value)}});
}

void IniFile::apply(const std::vector<IniChange>& changes) {
    if (changes.empty()) return;
    std::map<Name, const IniChange*> changeOf;
    for (const IniChange& c : changes) changeOf[nameOf(c.section, c.key)] = &c;

    // Where a section's new keys go: after the last key line of its first
    // body (the lines after its first header, or before any header for
    // section ""), else after the header; section "" with no key first.
    std::map<std::string, std::size_t> insertAt{{std::string(), 0}};
    {
        std::string section;
        bool firstBody = true;
        forEachLine(bytes_, [&](const LineSpan& line) {
            const LineParts parts = partsOf(textOf(bytes_, line));
            const std::size_t end = line.begin + line.length + line.endLength;
            if (parts.kind == LineKind::Section) {
                section = foldedName(parts.name);
                firstBody = insertAt.try_emplace(section, end).second;
            } else if (parts.kind == LineKind::Key && firstBody) {
                insertAt[section] = end;
            }
            return true;
        });
    }
    // The keys to add, each section's in the order given, and the sections
    // to add at the end in the order of their first key.
    std::map<std::size_t, std::vector<const IniChange*>> addedAt;
    std::vector<std::pair<std::string, std::vector<const IniChange*>>> addedSections;
    for (const IniChange& c : changes) {
        const Name name = nameOf(c.section, c.key);
        if (changeOf[name] != &c || !c.value || values_.count(name) != 0) continue;
        if (const auto at = insertAt.find(name.first); at != insertAt.end()) {
            addedAt[at->second].push_back(&c);
            continue;
        }
        auto section = std::find_if(addedSections.begin(), addedSections.end(), [&](const auto& s) {
            return foldedName(s.first) == name.first;
        });
        if (section == addedSections.end()) {
            addedSections.emplace_back(c.section, std::vector<const IniChange*>{});
            section = addedSections.end() - 1;
        }
        section->second.push_back(&c);
    }

    std::string out;
    out.reserve(bytes_.size());
    const auto addKeysAt = [&](std::size_t offset) {
        const auto added = addedAt.find(offset);
        if (added == addedAt.end()) return;
        endLine(out);
        for (const IniChange* c : added->second) appendKeyLine(out, *c);
    };
    addKeysAt(0);
    std::string section;
    forEachLine(bytes_, [&](const LineSpan& line) {
        const std::string_view text = textOf(bytes_, line);
        const LineParts parts = partsOf(text);
        const std::size_t end = line.begin + line.length + line.endLength;
        bool written = false;  // the line is changed or removed
        if (parts.kind == LineKind::Section) {
            section = foldedName(parts.name);
        } else if (parts.kind == LineKind::Key) {
            const Name name{section, foldedName(parts.name)};
            const auto c = changeOf.find(name);
            if (c != changeOf.end() && !c->second->value) {
                written = true;
            } else if (c != changeOf.end() &&
                       values_.at(name).begin == line.begin + parts.valueBegin) {
                out += text.substr(0, parts.valueBegin);
                out += lineValue(*c->second->value);
                out += std::string_view(bytes_).substr(line.begin + parts.valueEnd,
                                                       end - line.begin - parts.valueEnd);
                written = true;
            }
        }
        if (!written) out += std::string_view(bytes_).substr(line.begin, end - line.begin);
        addKeysAt(end);
        return true;
    });
    for (const auto& [name, keys] : addedSections) {
        endLine(out);
        // Appended piece by piece: GCC 12 warns falsely on "[" + text.
        out += '[';
        out += name;
        out += ']';
        out += kNewLineEnd;
        for (const IniChange* c : keys) appendKeyLine(out, *c);
    }
    bytes_ = std::move(out);
    index();
}

namespace {

// Counts the bytes of the lines that are not the program's own (the keys
// of section UsiEngines that the entries are written to, as many as the most
// entries take) as whole lines come in, and says when they pass
// kIniFileLimit. So both the bytes and the number of keys stay bounded.
class ForeignBytes {
  public:
    // False when the line takes the count over the limit.
    bool take(std::string_view line) {
        std::string_view text = line;
        if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
        const LineParts parts = partsOf(text);
        if (parts.kind == LineKind::Section)
            inOwnSection_ = sameName(parts.name, kUsiEnginesSection);
        if (inOwnSection_ && parts.kind == LineKind::Key && ownKeys_ < kMaxUsiEngineKeys &&
            IsUsiEngineKey(parts.name)) {
            ++ownKeys_;
        } else {
            count_ += line.size();
        }
        return count_ <= kIniFileLimit;
    }

  private:
    bool inOwnSection_ = false;
    int32_t ownKeys_ = 0;
    std::size_t count_ = 0;
};

// The bytes up to the end of the last line that ends within `size`.
std::size_t wholeLinesWithin(std::string_view bytes, std::size_t size) {
    const std::size_t lastEnd = size == 0 ? std::string_view::npos : bytes.rfind('\n', size - 1);
    return lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
}

}  // namespace

IniFileBytes ReadIniFileBytes(const std::string& path) {
    using State = IniFileBytes::State;
    IniFileBytes result;
    // Looked at before opening, so that no device is opened.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.error = errno;
        result.state = errno == ENOENT ? State::Missing : State::Refused;
        return result;
    }
    result.state = State::Refused;
    if (!S_ISREG(st.st_mode)) return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ForeignBytes foreign;
    std::size_t counted = 0;         // the bytes of the whole lines counted
    std::optional<std::size_t> cut;  // where a file over the limits is cut
    char buffer[65536];
    while (ok && !cut) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = errno;
            ok = false;
        }
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; !cut && (end = bytes.find('\n', counted)) != std::string::npos;) {
            if (!foreign.take(std::string_view(bytes).substr(counted, end + 1 - counted)))
                cut = counted;
            counted = end + 1;
        }
        if (!cut && bytes.size() > kIniFileCeiling) cut = wholeLinesWithin(bytes, kIniFileCeiling);
    }
    ::close(fd);
    if (!ok) return result;
    // A last line without a line end counts too.
    if (!cut && counted < bytes.size() && !foreign.take(std::string_view(bytes).substr(counted)))
        cut = counted;
    result.state = State::Regular;
    if (cut) {
        bytes.resize(*cut);
        result.state = State::TooLarge;
    }
    result.bytes = std::move(bytes);
    return result;
}

namespace {

// The user's text for an errno.
std::string reasonOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return kIniDiskFull;
        case EFBIG:
            return kIniFileSizeLimit;
        case EACCES:
        case EPERM:
            return kIniNoPermission;
        case EROFS:
            return kIniReadOnly;
        case ENOENT:
        case ENOTDIR:
            return kIniNoFolder;
        default:
            return std::strerror(error);
    }
}

}  // namespace

IniFileStore::IniFileStore(std::string path) : path_(std::move(path)) {
    reload();
}

std::optional<std::string> IniFileStore::value(std::string_view section, std::string_view key) {
    const std::string cp932Section = toCp932(section);
    const std::string cp932Key = toCp932(key);
    if (const auto at = changeAt_.find(IniFile::nameOf(cp932Section, cp932Key));
        at != changeAt_.end())
        return utf8Values_[at->second];
    const std::optional<std::string> v = file_.find(cp932Section, cp932Key);
    if (!v) return std::nullopt;
    return toUtf8(*v);
}

void IniFileStore::change(std::string_view section, std::string_view key,
                          std::optional<std::string> v) {
    IniChange c{toCp932(section), toCp932(key), std::nullopt};
    std::optional<std::string> utf8;
    if (v) {
        c.value = toCp932(lineValue(*v));
        utf8 = std::string(lineValue(*v));
    }
    const auto [at, added] =
        changeAt_.try_emplace(IniFile::nameOf(c.section, c.key), changes_.size());
    if (added) {
        changes_.push_back(std::move(c));
        utf8Values_.push_back(std::move(utf8));
    } else {
        changes_[at->second] = std::move(c);
        utf8Values_[at->second] = std::move(utf8);
    }
}

void IniFileStore::setValue(std::string_view section, std::string_view key, const std::string& v) {
    change(section, key, v);
}

void IniFileStore::removeValue(std::string_view section, std::string_view key) {
    change(section, key, std::nullopt);
}

void IniFileStore::reload() {
    // A file that cannot be read now (a folder put in its place, its
    // permissions taken) leaves the values as last read: the file is not
    // gone, and its values are still the best known.
    const IniFileBytes read = ReadIniFileBytes(path_);
    if (read.state != IniFileBytes::State::Refused) file_ = IniFile::parse(read.bytes);
}

bool IniFileStore::fail(std::string_view reason) {
    problem_ = kSettingsNotSaved;
    problem_ += path_;
    problem_ += '\n';
    problem_ += reason;
    return false;
}

bool IniFileStore::flush() {
    if (changes_.empty()) return true;
    // The file as it is now, so that what was saved meanwhile stays.
    const IniFileBytes disk = ReadIniFileBytes(path_);
    if (disk.state == IniFileBytes::State::Refused)
        return fail(disk.error != 0 ? reasonOf(disk.error) : kIniNoRegularFile);
    if (disk.state == IniFileBytes::State::TooLarge) return fail(kIniForeignTooLarge);
    file_ = IniFile::parse(disk.bytes);
    // A value that reads as the one set keeps its bytes.
    std::vector<IniChange> changes;
    changes.reserve(changes_.size());
    for (std::size_t i = 0; i < changes_.size(); ++i) {
        const IniChange& c = changes_[i];
        const std::optional<std::string> present = file_.find(c.section, c.key);
        if (c.value ? present && toUtf8(*present) == *utf8Values_[i] : !present) continue;
        changes.push_back(c);
    }
    IniFile changed = file_;
    changed.apply(changes);
    if (changed.bytes().size() > kIniFileCeiling) return fail(kIniOwnTooLarge);
    if (changed.bytes() != disk.bytes) {
        errno = 0;
        if (!writeFileReplacing(path_, changed.bytes()))
            return fail(errno != 0 ? reasonOf(errno) : kIniWriteFailed);
    }
    file_ = std::move(changed);
    changes_.clear();
    utf8Values_.clear();
    changeAt_.clear();
    problem_.clear();
    return true;
}

}  // namespace nusari
