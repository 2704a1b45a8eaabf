#include "aik_loader.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

#include "aik/aik_reader.h"
#include "aik/book_loader.h"
#include "aik/table_blocks.h"

namespace nusari {

namespace {

struct ScalarKey {
    std::string_view key;
    int32_t AikProfile::*field;
};

constexpr ScalarKey kScalarKeys[] = {
    {"hukasa=", &AikProfile::hukasa},
    {"haba=", &AikProfile::haba},
    {"pasu_kati=", &AikProfile::pasu_kati},
    {"oute_kati=", &AikProfile::oute_kati},
    {"hitu_hukasa=", &AikProfile::hitu_hukasa},
    {"oute_hukasa=", &AikProfile::oute_hukasa},
    {"sute_hukasa=", &AikProfile::sute_hukasa},
    {"zyoukyou_pl=", &AikProfile::zyoukyou_pl},
    {"zyoukyou_pl_max=", &AikProfile::zyoukyou_pl_max},
    {"ransuu_ti=", &AikProfile::ransuu_ti},
    {"edakari_pasu=", &AikProfile::edakari_pasu},
    {"edakari_hyouka=", &AikProfile::edakari_hyouka},
    {"edakari_hiyuusen=", &AikProfile::edakari_hiyuusen},
    {"zikan_wariai=", &AikProfile::zikan_wariai},
    {"tume_hukasa=", &AikProfile::tume_hukasa},
    {"tansaku=", &AikProfile::tansaku},
};

struct ArrayKey {
    std::string_view key;
    int32_t count;
    int32_t* (*field)(AikProfile&);
};

constexpr ArrayKey kArrayKeys[] = {
    {"yudou_kati[]=", 4, [](AikProfile& p) { return p.yudou_kati; }},
    {"doute_kati[]=", 2, [](AikProfile& p) { return p.doute_kati; }},
    {"doute_hukasa[]=", 2, [](AikProfile& p) { return p.doute_hukasa; }},
};

struct StringKey {
    std::string_view key;
    std::size_t maxBytes;
    std::string AikProfile::*field;
};

constexpr StringKey kVer = {"ver=", 14, &AikProfile::ver};
constexpr StringKey kNamae = {"namae=", 18, &AikProfile::namae};
constexpr StringKey kZyouseki = {"zyouseki=", 127, &AikProfile::zyouseki};

constexpr int32_t kMaxHaba = 100;  // capacity of a candidate list

// The length of the number ParseNumber read at the start of `text`.
std::size_t digitsAt(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && n < 3 && text[n] >= '0' && text[n] <= '9') ++n;
    return n;
}

// Reports a number of the line read last that starts `at` bytes into it.
void reportInLine(const AikReader& reader, AikNumber n, std::size_t at, std::size_t length) {
    n.begin = reader.lineStart() + at;
    n.end = n.begin + length;
    reader.report(n);
}

// Reads the array elements after the key, which ends `keyLength` bytes into
// the line: numbers are looked for byte by byte, and each one found moves
// the place three bytes on from its first digit. Fails when the line ends
// (or the place jumps past its end) first.
bool readArray(const AikReader& reader, std::string_view key, std::size_t keyLength,
               std::string_view value, int32_t count, int32_t* out) {
    std::size_t place = 0;
    for (int32_t read = 0; read < count;) {
        if (place >= value.size()) return false;
        const int32_t n = ParseNumber(value.substr(place));
        if (n < 0) {
            ++place;
        } else {
            if (reader.reporting()) {
                AikNumber number;
                number.kind = AikNumberKind::ArrayElement;
                number.key = key;
                number.index = read;
                number.value = n;
                reportInLine(reader, number, keyLength + place, digitsAt(value.substr(place)));
            }
            out[read++] = n;
            place += 3;
        }
    }
    return true;
}

// Stores a string value of at most maxBytes; like the C strings of the file
// format it ends at a NUL byte.
bool readString(AikProfile& profile, const StringKey& key, std::string_view line) {
    const std::string_view value = line.substr(key.key.size());
    if (value.size() > key.maxBytes) return false;
    profile.*key.field = std::string(value.substr(0, value.find('\0')));
    return true;
}

// The folder part of `path`, up to and including its last '/'.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Keeps the divisors and the width in ranges the search can use.
void guardProfile(AikProfile& p) {
    p.haba = std::clamp(p.haba, 1, kMaxHaba);
    if (p.edakari_hyouka < 1) p.edakari_hyouka = kDefaultEdakariHyouka;
    if (p.hitu_hukasa < 1) p.hitu_hukasa = 0;
    if (p.zikan_wariai < 1 || p.zikan_wariai > 100) p.zikan_wariai = kDefaultZikanWariai;
    if (p.tume_hukasa < 0 || p.tume_hukasa > kMaxTumeHukasa) p.tume_hukasa = 0;
    if (p.tansaku != 1) p.tansaku = 0;
}

enum class LineOutcome { Ok, Failed, FileDone };

// What a load has to tell: why it failed, or what the user should know of a
// load that worked.
struct LoadNotes {
    std::string refusal;
    std::string warning;
};

// Loads the book the engine names; false with the reason in `notes`, and a
// book cut to the table's capacity is a warning.
bool loadNamedBook(EngineState& state, const std::string& book, LoadNotes& notes) {
    BookLoadInfo info;
    if (LoadBook(state.bookTable, book, &info) == 0) {
        if (info.cut()) notes.warning = BookCutWarning(kBookCapacity, info.fileRecords, book);
        return true;
    }
    if (info.read == FileRead::CannotOpen && info.error == ENOENT) {
        notes.refusal = kAikBookMissing + book;
    } else {
        notes.refusal =
            kAikBookUnreadable + ("（" + fileReadReason(info.read, info.error) + "）：") + book;
    }
    return false;
}

// Handles one line that is neither empty nor a comment. A refused book
// file leaves the reason and its path in `notes`.
LineOutcome handleLine(EngineState& state, AikReader& reader, const std::string& path,
                       std::string_view line, RuleOffset& lastOffset, LoadNotes& notes) {
    AikProfile& profile = state.profile;
    for (const ScalarKey& k : kScalarKeys) {
        if (line.starts_with(k.key)) {
            const std::string_view value = line.substr(k.key.size());
            profile.*k.field = ParseNumber(value);
            if (reader.reporting() && profile.*k.field >= 0) {  // -1: no number there
                AikNumber number;
                number.key = k.key.substr(0, k.key.size() - 1);
                number.value = profile.*k.field;
                reportInLine(reader, number, k.key.size(), digitsAt(value));
            }
            return LineOutcome::Ok;
        }
    }
    for (const ArrayKey& k : kArrayKeys) {
        if (line.starts_with(k.key)) {
            return readArray(reader, k.key.substr(0, k.key.size() - 3), k.key.size(),
                             line.substr(k.key.size()), k.count, k.field(profile))
                       ? LineOutcome::Ok
                       : LineOutcome::Failed;
        }
    }
    if (line.starts_with(kVer.key)) {
        if (!readString(profile, kVer, line)) return LineOutcome::Failed;
        return profile.ver == "0.0.1" || profile.ver == "0.0.2" ? LineOutcome::Ok
                                                                : LineOutcome::Failed;
    }
    if (line.starts_with(kNamae.key)) {
        return readString(profile, kNamae, line) ? LineOutcome::Ok : LineOutcome::Failed;
    }
    if (line.starts_with(kZyouseki.key)) {
        if (!readString(profile, kZyouseki, line)) return LineOutcome::Failed;
        const std::string book = EngineCompanionPath(path, profile.zyouseki, ".jsk");
        return loadNamedBook(state, book, notes) ? LineOutcome::Ok : LineOutcome::Failed;
    }
    if (line.starts_with("set koma[")) {
        return ReadSetBlock(state, reader, line) ? LineOutcome::Ok : LineOutcome::Failed;
    }
    if (line.starts_with("set ou[")) {
        return ReadKingPieceBlock(state, reader, line) ? LineOutcome::Ok : LineOutcome::Failed;
    }
    if (line.starts_with("find koma[")) {
        switch (ReadFindBlock(state, reader, line, lastOffset)) {
            case BlockResult::Ok: return LineOutcome::Ok;
            case BlockResult::EndOfFile: return LineOutcome::FileDone;
            case BlockResult::Failed: return LineOutcome::Failed;
        }
    }
    return LineOutcome::Failed;
}

// Reads every line of the file; true when the whole file was read. A line
// that fails names itself in the refusal, unless the reason is already there.
bool readFile(EngineState& state, AikReader& reader, const std::string& path, LoadNotes& notes) {
    RuleOffset lastOffset;
    std::string line;
    const auto lineFailed = [&] {
        if (notes.refusal.empty()) {
            notes.refusal =
                "\n  " + std::to_string(reader.lineNumber()) + kAikLineUnreadable + path;
        }
        return false;
    };
    for (;;) {
        const LineResult read = reader.readLine(line);
        if (read == LineResult::TooLong) return lineFailed();
        if (!line.empty() && line[0] != '\'') {
            const LineOutcome outcome = handleLine(state, reader, path, line, lastOffset, notes);
            if (outcome == LineOutcome::Failed) return lineFailed();
            if (outcome == LineOutcome::FileDone) break;
        }
        if (read == LineResult::LastLine) break;
    }
    return !reader.failed();
}

// Loads from `reader`, which has read the file at `path`.
int32_t load(EngineState& state, AikReader& reader, const std::string& path, Ui& ui) {
    ClearFindRuleTables(state.findRuleTables);
    state.kingPieceTables = KingPieceTables{};
    state.profile.edakari_pasu = kDefaultEdakariPasu;
    state.profile.edakari_hyouka = kDefaultEdakariHyouka;
    state.profile.edakari_hiyuusen = kDefaultEdakariHiyuusen;
    state.profile.zikan_wariai = kDefaultZikanWariai;
    state.profile.tume_hukasa = 0;
    state.profile.tansaku = 0;

    LoadNotes notes;
    if (!reader.isOpen()) {
        notes.refusal =
            "\n  " + fileReadReason(reader.openResult(), reader.openError()) + "：" + path;
    }
    const bool ok = reader.isOpen() && readFile(state, reader, path, notes);
    if (ok) DeriveTables(state);
    guardProfile(state.profile);
    if (!ok) {
        showError(ui, kAikLoadError + notes.refusal);
        return -1;
    }
    // The engine is usable: told without the error sound, and without
    // holding up what follows.
    if (!notes.warning.empty()) ui.notify(notes.warning);
    return 1;
}

}  // namespace

std::string BookCutWarning(int64_t read, int64_t inFile, const std::string& book) {
    return std::string(kAikBookCutWarning) + "：" + std::to_string(inFile) + "局面のうち先頭の" +
           std::to_string(read) + "局面だけを読みました：" + book;
}

std::string EngineCompanionPath(const std::string& aikPath, const std::string& zyouseki,
                                const char* extension) {
    return folderOf(aikPath) + zyouseki + extension;
}

int32_t LoadAik(EngineState& state, const std::string& path, Ui& ui) {
    AikReader reader(path);
    return load(state, reader, path, ui);
}

int32_t LoadAikBytes(EngineState& state, const std::string& path, std::string bytes, Ui& ui,
                     AikNumberSink* sink) {
    AikReader reader(AikReader::FromBytes{}, std::move(bytes));
    reader.setNumberSink(sink);
    return load(state, reader, path, ui);
}

}  // namespace nusari
