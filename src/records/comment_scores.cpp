#include "records/comment_scores.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace nusari {

namespace {

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// The integer at the start of `text` after blanks, a '+' allowed and any
// decimal part ignored; held within ±kCommentMateScore.
std::optional<int32_t> leadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') return std::nullopt;
    }
    int64_t v = 0;
    const char* end = text.data() + std::min<std::size_t>(text.size(), 18);
    const auto [stop, error] = std::from_chars(text.data(), end, v);
    if (error != std::errc() || stop == text.data()) return std::nullopt;
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kCommentMateScore, kCommentMateScore));
}

// "#詰み=先手勝ち" and "#詰み=後手勝ち" (with or without the number of moves).
std::optional<int32_t> mateOf(std::string_view value) {
    if (startsWith(value, "先手勝ち")) return kCommentMateScore;
    if (startsWith(value, "後手勝ち")) return -kCommentMateScore;
    return std::nullopt;
}

void readLine(std::string_view line, CommentScores& s) {
    struct Key {
        std::string_view head;
        bool analysed;
        bool mate;
    };
    static constexpr Key kKeys[] = {
        {"#評価値=", true, false},
        {"#詰み=", true, true},
        {"*評価値=", false, false},
        {"*詰み=", false, true},
    };
    for (const Key& key : kKeys) {
        if (!startsWith(line, key.head)) continue;
        std::optional<int32_t>& into = key.analysed ? s.analysed : s.played;
        const std::string_view value = line.substr(key.head.size());
        if (!into) into = key.mate ? mateOf(value) : leadingNumber(value);
        return;
    }
    if (startsWith(line, "*解析") || startsWith(line, "*検討")) {
        constexpr std::string_view kScore = "評価値 ";
        const std::size_t at = line.find(kScore);
        if (at != std::string_view::npos && !s.analysed)
            s.analysed = leadingNumber(line.substr(at + kScore.size()));
        return;
    }
    // Floodgate: the score right after the mark, then the line read.
    if (startsWith(line, "*") && !s.played) s.played = leadingNumber(line.substr(1));
}

}  // namespace

CommentScores ScoresInComment(std::string_view comment) {
    CommentScores s;
    while (!comment.empty()) {
        const std::size_t end = comment.find('\n');
        std::string_view line = comment.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        readLine(line, s);
        if (end == std::string_view::npos) break;
        comment.remove_prefix(end + 1);
    }
    return s;
}

CommentScores ScoresOfNode(const RecordNode& node) {
    CommentScores s = ScoresInComment(node.comment);
    if (node.hasScore) s.played = node.score;
    return s;
}

}  // namespace nusari
