#include "think/think_texts.h"

#include "think/candidate.h"

namespace nusari {

namespace {

std::string n(int32_t v) { return std::to_string(v); }

std::string moveText(const Move& m) { return n(m.from) + ">" + n(m.to); }

std::string searchedText(const ThinkResult& r) {
    std::string text = "思考結果\n\n";
    if (r.score >= kWinScore) {
        text += " 形勢 = +∞ COM勝ち";
    } else if (r.score <= kLossScore) {
        text += " 形勢 = -∞ COM負け";
    } else {
        text += " 形勢 = " + n(r.score) + verdictOf(r.score) + "\n 深さ = " + n(r.depth);
    }
    text += "\n 誘導手 = " + moveText(r.setting.induced) + "\n 評価局面数 = " + n(r.nodes) +
            "\n 進行度 = " + n(r.setting.progress);
    text += "\n\n\n選択誘導手のメッセージ\n\n";
    return text + r.message;
}

}  // namespace

std::string progressText(const ThinkIteration& it) {
    return "現在思考中\n\n経過報告\n\n 形勢 = " + n(it.score) + "\n 深さ = " + n(it.depth) + "/" +
           n(it.setting.maxDepth) + "\n 誘導手 = " + moveText(it.setting.induced) +
           "\n 評価局面数 = " + n(it.nodes) + "\n 進行度 = " + n(it.setting.progress) +
           "\n\n 予想最善手 = " + moveText(it.best);
}

const char* verdictOf(int32_t best) {
    if (best > 1000) return " COM勝勢";
    if (best > 500) return " COM優勢";
    if (best > 200) return " COM有利";
    if (best >= -200) return " 互角";
    if (best >= -500) return " COM不利";
    if (best >= -1000) return " COM劣勢";
    return " COM敗勢";
}

std::string resultText(const ThinkResult& r) {
    switch (r.end) {
        case ThinkEnd::Book: return kBookResultText + r.message;
        case ThinkEnd::Won: return kWonResultText;
        case ThinkEnd::Lost: return kLostResultText;
        case ThinkEnd::Forced: return kForcedResultText;
        case ThinkEnd::Searched:
        case ThinkEnd::NoThink: break;
    }
    return searchedText(r);
}

}  // namespace nusari
