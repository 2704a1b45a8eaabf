#include "table_blocks.h"

#include <string>

#include "position/types.h"

namespace nusari {

namespace {

constexpr std::string_view kSetKoma = "set koma[";
constexpr std::string_view kFindKoma = "find koma[";
constexpr std::string_view kSetOu = "set ou[";
constexpr int32_t kLowerCodes = 16;
constexpr int32_t kUnusedCode = 11;  // a code that stands nowhere and has no table

// Codes a rule may change: every lower and upper code except 11 and 43.
constexpr bool isRuleTarget(int32_t p) {
    const bool lower = p >= 0 && p < kLowerCodes;
    const bool upper = p >= kUpperSide && p < kUpperSide + kLowerCodes;
    return (lower || upper) && (p & 15) != kUnusedCode;
}

// The block's piece code N at `place`, or -1 unless it is below 16.
int32_t blockCode(std::string_view line, std::size_t place) {
    if (place > line.size()) return -1;
    const int32_t n = ParseNumber(line.substr(place));
    return n < kLowerCodes ? n : -1;
}

// Reads one number into slot `slot` of the table of `code`, reporting it as
// a number of that kind.
bool readSlot(AikReader& reader, int32_t* table, int32_t code, int32_t slot,
              AikNumberKind kind = AikNumberKind::TableSlot) {
    reader.skipWhiteSpace();
    const std::size_t begin = reader.position();
    if (!reader.scanNumber(table[slot])) return false;
    if (reader.reporting()) {
        AikNumber number;
        number.kind = kind;
        number.code = code;
        number.index = slot;
        number.begin = begin;
        number.end = reader.position();
        number.value = table[slot];
        reader.report(number);
    }
    return true;
}

// Reads one row of nine numbers into slots first..first + 8.
bool readRow(AikReader& reader, int32_t* table, int32_t code, int32_t first,
             AikNumberKind kind = AikNumberKind::TableSlot) {
    for (int32_t i = 0; i < 9; ++i) {
        if (!readSlot(reader, table, code, first + i, kind)) return false;
        if (i < 8 && !reader.accept(',')) return false;
    }
    reader.skipWhiteSpace();
    return true;
}

// Reads an optionally signed coordinate of at most 9 in size at `place`.
bool readCoordinate(std::string_view line, std::size_t place, int32_t& value) {
    bool ok = false;
    value = ParseSignedNumber(line.substr(place), ok);
    return ok && value >= -9 && value <= 9;
}

int32_t ruleKey(const FindRule& r) { return r.dx + r.dy; }

// Reports the value of a rule line read last; `text` is the line from the
// value's sign or first digit on, `at` bytes into the line.
void reportRule(const AikReader& reader, int32_t code, const FindRule& rule, std::string_view text,
                std::size_t at) {
    std::size_t length = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
    for (int32_t digits = 0; digits < 3 && length < text.size() && text[length] >= '0' &&
                             text[length] <= '9';
         ++digits) {
        ++length;
    }
    const std::size_t begin = reader.lineStart() + at;
    AikNumber number;
    number.kind = AikNumberKind::RuleValue;
    number.code = code;
    number.rule = rule;
    number.begin = begin;
    number.end = begin + length;
    number.value = rule.value;
    reader.report(number);
}

}  // namespace

void ClearFindRuleTables(FindRuleTables& rules) {
    for (auto& table : rules.table) {
        for (FindRule& r : table) r = FindRule{};
    }
}

bool ReadSetBlock(EngineState& state, AikReader& reader, std::string_view line) {
    const int32_t code = blockCode(line, kSetKoma.size());
    if (code < 0) return false;
    int32_t* t = state.evalTables.table[code];
    if (code >= kRook && code <= kPawn) {
        t[kHandValueSlot] = 0;
        if (!readRow(reader, t, code, kHandValueSlot + 1)) return false;
        if (!readRow(reader, t, code, kHandValueSlot + 10)) return false;
    }
    for (int32_t file = 1; file <= 9; ++file) {
        if (!readRow(reader, t, code, squareOf(file, 1))) return false;
    }
    if (!readSlot(reader, t, code, kCoefficientSlot)) return false;
    // The closing "}" may be missing; reading then goes on where it stands.
    reader.skipWhiteSpace();
    if (reader.accept('}')) reader.skipWhiteSpace();
    return true;
}

bool ReadKingPieceBlock(EngineState& state, AikReader& reader, std::string_view line) {
    if (line.size() < kSetOu.size()) return false;
    const int32_t code = ParseNumber(line.substr(kSetOu.size()));
    const int32_t table = kingPieceTableOf(code);
    if (table < 0) return false;
    int32_t* values = state.kingPieceTables.value[table];
    for (int32_t row = 0; row < kKingPieceRows; ++row) {
        if (!readRow(reader, values, code, row * kKingPieceFiles, AikNumberKind::KingPieceSlot)) return false;
    }
    state.kingPieceTables.present = true;
    reader.skipWhiteSpace();
    if (reader.accept('}')) reader.skipWhiteSpace();
    return true;
}

bool ParseRuleLine(std::string_view line, RuleOffset& lastOffset, FindRule& rule,
                   std::size_t* valueAt) {
    rule = FindRule{};
    rule.op = line.starts_with("add") ? kRuleAdd : kRuleMultiply;
    rule.first = 1;
    const std::size_t open1 = line.find('[');
    if (open1 == std::string_view::npos) return false;
    rule.piece = ParseNumber(line.substr(open1 + 1));
    if (!isRuleTarget(rule.piece)) return false;

    const std::size_t open2 = line.find('[', open1 + 1);
    if (open2 == std::string_view::npos) return false;
    std::size_t place = open2 + 1;
    if (line.substr(place).starts_with("point(")) {
        place += 6;
        int32_t x = 0;
        int32_t y = 0;
        if (!readCoordinate(line, place, x)) return false;
        const std::size_t comma = line.find(',', place);
        if (comma == std::string_view::npos) return false;
        if (!readCoordinate(line, comma + 1, y)) return false;
        const std::size_t close = line.find(')', comma + 1);
        if (close == std::string_view::npos) return false;
        place = close + 1;
        lastOffset.dx = static_cast<int16_t>(10 * x);
        lastOffset.dy = static_cast<int16_t>(y);
    }
    rule.dx = lastOffset.dx;
    rule.dy = lastOffset.dy;

    const std::size_t bracket = line.find(']', place);
    if (bracket == std::string_view::npos) return false;
    const std::size_t space = line.find(' ', bracket + 1);
    if (space == std::string_view::npos) return false;
    bool ok = false;
    rule.value = ParseSignedNumber(line.substr(space + 1), ok);
    if (valueAt != nullptr) *valueAt = space + 1;
    return ok;
}

bool InsertRule(FindRule* table, const FindRule& rule) {
    int32_t end = 0;
    while (end < kMaxRulesPerTable && table[end].piece != -1) ++end;
    if (end >= kMaxRulesPerTable) return false;
    int32_t at = 0;
    while (at < end && ruleKey(table[at]) >= ruleKey(rule)) ++at;
    for (int32_t i = end + 1; i > at; --i) table[i] = table[i - 1];
    table[at] = rule;
    return true;
}

BlockResult ReadFindBlock(EngineState& state, AikReader& reader, std::string_view line,
                          RuleOffset& lastOffset) {
    const int32_t code = blockCode(line, kFindKoma.size());
    if (code < 0) return BlockResult::Failed;
    FindRule* table = state.findRuleTables.table[code];
    int32_t counted = 0;
    std::string text;
    for (;;) {
        const LineResult read = reader.readLine(text);
        if (read == LineResult::TooLong) return BlockResult::Failed;
        const bool last = read == LineResult::LastLine;
        if (text.empty() || text[0] == '\'') {
            if (last) return BlockResult::EndOfFile;
            continue;
        }
        if (text[0] == '}') return last ? BlockResult::EndOfFile : BlockResult::Ok;
        const std::string_view t = text;
        if (t.starts_with("add koma[") || t.starts_with("multiply koma[")) {
            if (counted >= kMaxRulesPerTable) return BlockResult::Failed;
            FindRule rule;
            std::size_t valueAt = 0;
            if (!ParseRuleLine(t, lastOffset, rule, &valueAt)) return BlockResult::Failed;
            if (!InsertRule(table, rule)) return BlockResult::Failed;
            if (reader.reporting()) reportRule(reader, code, rule, t.substr(valueAt), valueAt);
        }
        ++counted;
        if (last) return BlockResult::EndOfFile;
    }
}

void DeriveTables(EngineState& state) {
    for (auto& table : state.findRuleTables.table) {
        for (int32_t i = 1; i < kRuleTableSize && table[i].piece != -1; ++i) {
            table[i].first = table[i].dx == table[i - 1].dx && table[i].dy == table[i - 1].dy ? 0 : 1;
        }
    }
    for (int32_t n = 0; n < kLowerCodes; ++n) {
        const FindRule* from = state.findRuleTables.table[n];
        FindRule* to = state.findRuleTables.table[n + kUpperTableOffset];
        int32_t i = 0;
        for (; i < kMaxRulesPerTable && from[i].piece != -1; ++i) {
            to[i] = from[i];
            to[i].piece = from[i].piece ^ kUpperSide;
            to[i].dx = static_cast<int16_t>(-from[i].dx);
            to[i].dy = static_cast<int16_t>(-from[i].dy);
        }
        to[i] = FindRule{};
    }
    auto& t = state.evalTables.table;
    for (int32_t p = 0; p < kLowerCodes; ++p) {
        for (int32_t k = kHandValueSlot; k <= kHandValueSlot + kMaxHandCount; ++k) {
            t[p + kWorkingTableOffset][k] = t[p][k];
        }
        t[p + kWorkingTableOffset][kCoefficientSlot] = t[p][kCoefficientSlot];
        t[p + kWorkingTableOffset + kUpperTableOffset][kCoefficientSlot] = t[p][kCoefficientSlot];
    }
    for (int32_t s = kFirstSquare; s <= kLastSquare; ++s) {
        for (int32_t p = 0; p < kLowerCodes; ++p) {
            if (p != kUnusedCode) t[p + kUpperTableOffset][s] = t[p][flipSquare(s)];
        }
    }
}

}  // namespace nusari
