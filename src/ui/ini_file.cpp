#include "ui/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "position/text_encoding.h"
#include "records/record_files.h"

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

}  // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    file.bytes_ = bytes;
    return file;
}

std::optional<IniFile::ValueAt> IniFile::findValue(std::string_view section,
                                                   std::string_view key) const {
    bool inSection = section.empty();
    std::optional<ValueAt> found;
    forEachLine(bytes_, [&](const LineSpan& line) {
        const LineParts parts = partsOf(textOf(bytes_, line));
        if (parts.kind == LineKind::Section) {
            inSection = sameName(parts.name, section);
        } else if (inSection && parts.kind == LineKind::Key && sameName(parts.name, key)) {
            found = ValueAt{line.begin + parts.valueBegin, line.begin + parts.valueEnd};
        }
        return !found;
    });
    return found;
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const std::optional<ValueAt> at = findValue(section, key);
    if (!at) return std::nullopt;
    return bytes_.substr(at->begin, at->end - at->begin);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    if (const std::optional<ValueAt> at = findValue(section, key)) {
        if (std::string_view(bytes_).substr(at->begin, at->end - at->begin) != value)
            bytes_.replace(at->begin, at->end - at->begin, value);
        return;
    }
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    // The line the key goes after: the last key line of the section's body
    // (the lines after its first header, or before any header for section
    // ""), else the header itself.
    std::optional<LineSpan> after;
    bool inBody = section.empty();
    forEachLine(bytes_, [&](const LineSpan& line) {
        const LineParts parts = partsOf(textOf(bytes_, line));
        if (parts.kind == LineKind::Section) {
            if (inBody) return false;
            if (sameName(parts.name, section)) {
                inBody = true;
                after = line;
            }
        } else if (inBody && parts.kind == LineKind::Key) {
            after = line;
        }
        return true;
    });
    if (!after && section.empty()) {
        bytes_.insert(0, keyLine + std::string(kNewLineEnd));
        return;
    }
    if (!after) {
        if (!bytes_.empty() && bytes_.back() != '\n') bytes_ += kNewLineEnd;
        // Appended piece by piece: GCC 12 warns falsely on "[" + text.
        bytes_ += '[';
        bytes_ += section;
        bytes_ += ']';
        bytes_ += kNewLineEnd;
        bytes_ += keyLine;
        bytes_ += kNewLineEnd;
        return;
    }
    std::string inserted = after->endLength == 0 ? std::string(kNewLineEnd) : std::string();
    inserted += keyLine;
    inserted += kNewLineEnd;
    bytes_.insert(after->begin + after->length + after->endLength, inserted);
}

IniFileBytes ReadIniFileBytes(const std::string& path) {
    using State = IniFileBytes::State;
    IniFileBytes result;
    // Looked at before opening, so that no device is opened.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.state = errno == ENOENT ? State::Missing : State::Refused;
        return result;
    }
    result.state = State::Refused;
    if (!S_ISREG(st.st_mode)) return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return result;
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[65536];
    while (ok && bytes.size() <= kIniFileLimit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) return result;
    result.state = State::Regular;
    if (bytes.size() > kIniFileLimit) {
        // Only whole lines of the part read count.
        bytes.resize(kIniFileLimit);
        const std::size_t lastEnd = bytes.rfind('\n');
        bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
        result.state = State::TooLarge;
    }
    result.bytes = std::move(bytes);
    return result;
}

IniFileStore::IniFileStore(std::string path) : path_(std::move(path)) {
    reload();
}

std::optional<std::string> IniFileStore::value(std::string_view section, std::string_view key) {
    const std::optional<std::string> v = file_.find(toCp932(section), toCp932(key));
    if (!v) return std::nullopt;
    return toUtf8(*v);
}

void IniFileStore::apply(const std::string& section, const std::string& key, const std::string& v) {
    const std::string cp932Section = toCp932(section);
    const std::string cp932Key = toCp932(key);
    // A value that reads as the one set keeps its bytes.
    const std::optional<std::string> present = file_.find(cp932Section, cp932Key);
    if (present && toUtf8(*present) == v) return;
    file_.set(cp932Section, cp932Key, toCp932(v));
}

void IniFileStore::setValue(std::string_view section, std::string_view key, const std::string& v) {
    bool known = false;
    for (auto& [s, k, value] : pending_) {
        if (s == section && k == key) {
            value = v;
            known = true;
        }
    }
    if (!known) pending_.emplace_back(section, key, v);
    apply(std::string(section), std::string(key), v);
}

void IniFileStore::reload() {
    file_ = IniFile::parse(ReadIniFileBytes(path_).bytes);
    for (const auto& [s, k, v] : pending_) apply(s, k, v);
}

bool IniFileStore::write() {
    // The file as it is now, so that edits made meanwhile stay.
    const IniFileBytes disk = ReadIniFileBytes(path_);
    if (disk.state == IniFileBytes::State::Refused || disk.state == IniFileBytes::State::TooLarge)
        return false;
    file_ = IniFile::parse(disk.bytes);
    for (const auto& [s, k, v] : pending_) apply(s, k, v);
    const std::string bytes = file_.bytes();
    if (bytes != disk.bytes && !writeFileReplacing(path_, bytes)) return false;
    pending_.clear();
    return true;
}

void IniFileStore::flush() {
    write();
}

}  // namespace nusari
