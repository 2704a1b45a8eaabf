#include "aik/aik_rewrite.h"

#include <cstdlib>
#include <memory>

#include "aik/aik_loader.h"

namespace nusari {

namespace {

// Keeps nothing: the files located here were loaded before.
class SilentUi : public Ui {
public:
    void message(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
    void setPanelText(const std::string&) override {}
    std::string panelText() const override { return {}; }
    void pumpMessages() override {}
    void playSound(Sound) override {}
};

class Collector : public AikNumberSink {
public:
    explicit Collector(std::vector<AikNumber>& numbers) : numbers_(numbers) {}
    void number(const AikNumber& n) override { numbers_.push_back(n); }

private:
    std::vector<AikNumber>& numbers_;
};

// The text of `value` written the way `old` was.
std::string numberText(std::string_view old, int32_t value) {
    const bool plus = old.starts_with('+');
    const std::string_view oldDigits = old.substr(old.starts_with('+') || old.starts_with('-') ? 1 : 0);
    std::string digits = std::to_string(std::abs(static_cast<int64_t>(value)));
    if (oldDigits.size() > 1 && oldDigits[0] == '0' && digits.size() < oldDigits.size()) {
        digits.insert(0, oldDigits.size() - digits.size(), '0');
    }
    std::string text;
    if (value < 0) {
        text += '-';
    } else if (plus) {
        text += '+';
    }
    text += digits;
    return text;
}

}  // namespace

bool LocateAikNumbers(const std::string& path, const std::string& bytes,
                      std::vector<AikNumber>& numbers) {
    numbers.clear();
    auto scratch = std::make_unique<EngineState>();
    SilentUi ui;
    Collector collector(numbers);
    return LoadAikBytes(*scratch, path, bytes, ui, &collector) == 1;
}

ValueRange ValidRange(const AikNumber& number) {
    switch (number.kind) {
        case AikNumberKind::Scalar:
            if (number.key == "haba" || number.key == "zikan_wariai") return {1, 100};
            if (number.key == "edakari_hyouka") return {1, 999};
            return {0, 999};
        case AikNumberKind::ArrayElement: return {0, 999};
        case AikNumberKind::TableSlot:
        case AikNumberKind::KingPieceSlot: return {-9999, 99999};  // five characters with the sign
        case AikNumberKind::RuleValue: return {-999, 999};
    }
    return {};
}

bool SameField(const AikNumber& a, const AikNumber& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case AikNumberKind::Scalar: return a.key == b.key;
        case AikNumberKind::ArrayElement: return a.key == b.key && a.index == b.index;
        case AikNumberKind::TableSlot:
        case AikNumberKind::KingPieceSlot: return a.code == b.code && a.index == b.index;
        case AikNumberKind::RuleValue:
            return a.code == b.code && a.rule.piece == b.rule.piece && a.rule.dx == b.rule.dx &&
                   a.rule.dy == b.rule.dy && a.rule.op == b.rule.op;
    }
    return false;
}

std::string RewriteAikNumbers(const std::string& bytes, const std::vector<AikNumber>& numbers,
                              const std::vector<int32_t>& values) {
    std::string out;
    out.reserve(bytes.size() + 64);
    std::size_t copied = 0;
    for (std::size_t i = 0; i < numbers.size() && i < values.size(); ++i) {
        const AikNumber& n = numbers[i];
        if (values[i] == n.value || n.begin < copied || n.end > bytes.size()) continue;
        const std::string_view old = std::string_view(bytes).substr(n.begin, n.end - n.begin);
        const std::string text = numberText(old, values[i]);
        std::size_t begin = n.begin;
        std::string field = text;
        // Only a table number may take the blanks before it: elsewhere a
        // blank can separate the number from what comes before.
        if (n.kind == AikNumberKind::TableSlot || n.kind == AikNumberKind::KingPieceSlot) {
            std::size_t blanks = 0;
            while (begin - blanks > copied && bytes[begin - blanks - 1] == ' ') ++blanks;
            const std::size_t width = blanks + old.size();
            field.clear();
            if (text.size() <= width) {
                field.append(width - text.size(), ' ');
            } else if (blanks > 0) {
                field += ' ';
            }
            field += text;
            begin -= blanks;
        }
        out.append(bytes, copied, begin - copied);
        out += field;
        copied = n.end;
    }
    out.append(bytes, copied, std::string::npos);
    return out;
}

bool RewriteAikNumbersChecked(const std::string& path, const std::string& bytes,
                              const std::vector<AikNumber>& numbers,
                              const std::vector<int32_t>& values, std::string& out) {
    if (values.size() != numbers.size()) return false;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (values[i] != numbers[i].value && !ValidRange(numbers[i]).holds(values[i])) return false;
    }
    std::string rewritten = RewriteAikNumbers(bytes, numbers, values);
    std::vector<AikNumber> reread;
    if (!LocateAikNumbers(path, rewritten, reread) || reread.size() != numbers.size()) return false;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (!SameField(reread[i], numbers[i]) || reread[i].value != values[i]) return false;
    }
    out = std::move(rewritten);
    return true;
}

}  // namespace nusari
