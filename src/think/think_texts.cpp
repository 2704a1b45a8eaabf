#include "think/think_texts.h"

namespace nusari {

namespace {

std::string n(int32_t v) { return std::to_string(v); }

}  // namespace

std::string progressText(const ThinkReport& r) {
    return "現在思考中\n\n経過報告\n\n 形勢 = " + n(r.best) + "\n 深さ = " + n(r.iteration) + "/" +
           n(r.hukasa) + "\n 誘導手 = " + n(r.inducedFrom) + ">" + n(r.inducedTo) +
           "\n 評価局面数 = " + n(r.nodeCount) + "\n 進行度 = " + n(r.progress) +
           "\n\n 予想最善手 = " + n(r.bestFrom) + ">" + n(r.bestTo);
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

std::string resultText(const ThinkReport& r, const std::string& message) {
    std::string text = "思考結果\n\n";
    if (r.best >= 99999) {
        text += " 形勢 = +∞ COM勝ち";
    } else if (r.best <= -99999) {
        text += " 形勢 = -∞ COM負け";
    } else {
        text += " 形勢 = " + n(r.best) + verdictOf(r.best) + "\n 深さ = " + n(r.iteration);
    }
    text += "\n 誘導手 = " + n(r.inducedFrom) + ">" + n(r.inducedTo) + "\n 評価局面数 = " +
            n(r.nodeCount) + "\n 進行度 = " + n(r.progress);
    text += "\n\n\n選択誘導手のメッセージ\n\n";
    return text + message;
}

}  // namespace nusari
