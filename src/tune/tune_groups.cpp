#include "tune/tune_groups.h"

#include <algorithm>
#include <map>

#include "aik/aik_rewrite.h"
#include "position/types.h"

namespace nusari {

namespace {

const char* const kCodeNames[16] = {"king",      "rook",       "bishop",    "gold",
                                    "silver",    "knight",     "lance",     "pawn",
                                    "danger",    "dragon",     "horse",     "unused",
                                    "prosilver", "proknight",  "prolance",  "tokin"};

constexpr int32_t kKingCode = 0;
constexpr int32_t kDangerCode = 8;
constexpr int32_t kUnusedCode = 11;
constexpr int32_t kPieceCodes[] = {1, 2, 3, 4, 5, 6, 7, 9, 10, 12, 13, 14, 15};

// The numbers the loader keeps: the last place of every field.
class LastPlaces {
public:
    explicit LastPlaces(const std::vector<AikNumber>& numbers) : numbers_(numbers) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const AikNumber& n = numbers[i];
            if (n.kind == AikNumberKind::Scalar) scalars_[n.key] = i;
            if (n.kind == AikNumberKind::TableSlot) slots_[{n.code, n.index}] = i;
        }
    }
    const AikNumber* scalar(const std::string& key, std::size_t& index) const {
        const auto it = scalars_.find(key);
        if (it == scalars_.end()) return nullptr;
        index = it->second;
        return &numbers_[index];
    }
    const AikNumber* slot(int32_t code, int32_t slot, std::size_t& index) const {
        const auto it = slots_.find({code, slot});
        if (it == slots_.end()) return nullptr;
        index = it->second;
        return &numbers_[index];
    }

private:
    const std::vector<AikNumber>& numbers_;
    std::map<std::string, std::size_t> scalars_;
    std::map<std::pair<int32_t, int32_t>, std::size_t> slots_;
};

// A parameter that is one number itself, searched in [min, max] within its valid range.
void addSingle(std::vector<TuneParameter>& out, std::string name, std::size_t index,
               const AikNumber& n, int32_t min, int32_t max, int32_t step) {
    const ValueRange valid = ValidRange(n);
    if (!valid.holds(n.value)) return;  // a value the loader did not keep as written
    TuneParameter p;
    p.name = std::move(name);
    p.start = n.value;
    p.min = std::max(valid.min, std::min(min, n.value));
    p.max = std::min(valid.max, std::max(max, n.value));
    p.step = step;
    p.targets.push_back({index, 1});
    out.push_back(std::move(p));
}

// An offset (or increment) added to several numbers, in [-limit, limit].
void addOffset(std::vector<TuneParameter>& out, std::string name, std::vector<TuneTarget> targets,
               int32_t limit, int32_t step) {
    if (targets.empty()) return;
    TuneParameter p;
    p.name = std::move(name);
    p.min = -limit;
    p.max = limit;
    p.step = step;
    p.targets = std::move(targets);
    out.push_back(std::move(p));
}

std::vector<TuneTarget> squares(const LastPlaces& places, int32_t code, int32_t onlyRank) {
    std::vector<TuneTarget> targets;
    for (int32_t file = 1; file <= 9; ++file) {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            std::size_t index = 0;
            if (onlyRank != 0 && rank != onlyRank) continue;
            if (places.slot(code, squareOf(file, rank), index) != nullptr) targets.push_back({index, 1});
        }
    }
    return targets;
}

void addGroup(const std::string& group, const std::vector<AikNumber>& numbers,
              const LastPlaces& places, std::vector<TuneParameter>& out) {
    std::size_t index = 0;
    if (group == "pieces") {
        for (const int32_t code : kPieceCodes) {
            addOffset(out, std::string("pieces.") + kCodeNames[code], squares(places, code, 0), 400, 10);
        }
    } else if (group == "squares") {
        for (const int32_t code : kPieceCodes) {
            for (int32_t rank = 1; rank <= 9; ++rank) {
                std::string name = "squares.";
                name += kCodeNames[code];
                name += ".rank";
                name += std::to_string(rank);
                addOffset(out, std::move(name), squares(places, code, rank), 200, 5);
            }
        }
    } else if (group == "hand") {
        for (int32_t code = kRook; code <= kPawn; ++code) {
            std::vector<TuneTarget> targets;
            for (int32_t held = 1; held <= kMaxHandCount; ++held) {
                if (places.slot(code, kHandValueSlot + held, index) != nullptr) targets.push_back({index, held});
            }
            addOffset(out, std::string("hand.") + kCodeNames[code], std::move(targets), 200, 10);
        }
    } else if (group == "king" || group == "danger") {
        const int32_t code = group == "king" ? kKingCode : kDangerCode;
        for (int32_t rank = 1; rank <= 9; ++rank) {
            addOffset(out, group + ".rank" + std::to_string(rank), squares(places, code, rank),
                      group == "king" ? 300 : 20, group == "king" ? 10 : 1);
        }
    } else if (group == "progress") {
        for (int32_t code = 0; code < 16; ++code) {
            if (code == kUnusedCode) continue;
            if (const AikNumber* n = places.slot(code, kCoefficientSlot, index)) {
                addSingle(out, std::string("progress.") + kCodeNames[code], index, *n, -30, 30, 1);
            }
        }
    } else if (group == "bonus") {
        if (const AikNumber* n = places.scalar("oute_kati", index)) addSingle(out, "bonus.oute_kati", index, *n, 0, 300, 5);
        if (const AikNumber* n = places.scalar("zyoukyou_pl", index)) addSingle(out, "bonus.zyoukyou_pl", index, *n, 0, 40, 1);
        if (const AikNumber* n = places.scalar("zyoukyou_pl_max", index)) {
            addSingle(out, "bonus.zyoukyou_pl_max", index, *n, 0, 80, 2);
        }
    } else if (group == "rules") {
        int32_t ordinal = 0;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const AikNumber& n = numbers[i];
            if (n.kind != AikNumberKind::RuleValue) continue;
            std::string name = "rules.";
            name += std::to_string(++ordinal);
            name += ".koma";
            name += std::to_string(n.code);
            name += "_";
            name += std::to_string(n.rule.piece);
            addSingle(out, name, i, n, -999, 999, 5);
        }
    } else if (group == "width") {
        if (const AikNumber* n = places.scalar("haba", index)) addSingle(out, "width.haba", index, *n, 1, 100, 2);
    }
}

}  // namespace

const std::vector<std::string>& TuneGroupNames() {
    static const std::vector<std::string> names = {"pieces", "hand", "squares", "king", "danger",
                                                   "progress", "bonus", "rules", "width"};
    return names;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : text + ",") {
        if (c != ',') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

bool BuildTuneParameters(const std::vector<AikNumber>& numbers,
                         const std::vector<std::string>& groups,
                         std::vector<TuneParameter>& parameters, std::string& error) {
    parameters.clear();
    const auto& known = TuneGroupNames();
    for (const std::string& group : groups) {
        if (std::find(known.begin(), known.end(), group) == known.end()) {
            error = "unknown group '";
            error += group;
            error += "'";
            return false;
        }
    }
    const LastPlaces places(numbers);
    // In the documented order, each group once.
    for (const std::string& group : known) {
        if (std::find(groups.begin(), groups.end(), group) != groups.end()) {
            addGroup(group, numbers, places, parameters);
        }
    }
    return true;
}

std::vector<int32_t> NumberValues(const std::vector<AikNumber>& numbers,
                                  const std::vector<TuneParameter>& parameters,
                                  const std::vector<int32_t>& values) {
    std::vector<int32_t> out(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) out[i] = numbers[i].value;
    for (std::size_t p = 0; p < parameters.size() && p < values.size(); ++p) {
        const int32_t change = values[p] - parameters[p].start;
        for (const TuneTarget& t : parameters[p].targets) out[t.number] += t.weight * change;
    }
    return out;
}

}  // namespace nusari
