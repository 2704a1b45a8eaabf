#include "records/kif_notation.h"

#include <map>
#include <mutex>

#include "position/setup.h"
#include "position/text_encoding.h"

namespace nusari {

namespace {

// Index of the two bytes at `i` among the two-byte entries of `table`, or -1.
int32_t entryAt(std::string_view line, std::size_t i, std::string_view table) {
    if (i + 1 >= line.size()) return -1;
    for (std::size_t e = 0; e + 1 < table.size(); e += 2) {
        if (line[i] == table[e] && line[i + 1] == table[e + 1]) return static_cast<int32_t>(e / 2);
    }
    return -1;
}

constexpr const char* kPieceNames[16] = {"玉", "飛", "角", "金", "銀", "桂", "香", "歩",
                                         "",   "龍", "馬", "",   "成銀", "成桂", "成香", "と"};
constexpr const char* kDiagramPieces[16] = {"玉", "飛", "角", "金", "銀", "桂", "香", "歩",
                                            "",   "龍", "馬", "",   "全", "圭", "杏", "と"};
constexpr const char* kNumerals[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr const char* kFileDigits[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

constexpr Handicap kHandicaps[] = {
    {"香落ち", {11}},
    {"右香落ち", {91}},
    {"角落ち", {22}},
    {"飛車落ち", {82}},
    {"飛落ち", {82}},
    {"飛香落ち", {82, 11}},
    {"二枚落ち", {82, 22}},
    {"三枚落ち", {82, 22, 11}},
    {"四枚落ち", {82, 22, 11, 91}},
    {"五枚落ち", {82, 22, 11, 91, 21}},
    {"左五枚落ち", {82, 22, 11, 91, 81}},
    {"六枚落ち", {82, 22, 11, 91, 21, 81}},
    {"左七枚落ち", {82, 22, 11, 91, 21, 81, 71}},
    {"右七枚落ち", {82, 22, 11, 91, 21, 81, 31}},
    {"八枚落ち", {82, 22, 11, 91, 21, 81, 31, 71}},
    {"十枚落ち", {82, 22, 11, 91, 21, 81, 31, 71, 41, 61}},
};

struct EndingName {
    const char* word;
    GameEnding ending;
};

// The first of each ending is the one written.
constexpr EndingName kEndings[] = {
    {"投了", GameEnding::Resign},          {"中断", GameEnding::Interrupt},
    {"千日手", GameEnding::Repetition},     {"持将棋", GameEnding::Impasse},
    {"詰み", GameEnding::Mate},            {"切れ負け", GameEnding::TimeUp},
    {"時間切れ", GameEnding::TimeUp},       {"反則勝ち", GameEnding::FoulWin},
    {"反則負け", GameEnding::FoulLoss},     {"入玉勝ち", GameEnding::EnteringKingWin},
    {"引き分け", GameEnding::Draw},
};

}  // namespace

const std::string& cp(const char* utf8) {
    static std::mutex lock;
    static std::map<const char*, std::string> converted;
    const std::lock_guard<std::mutex> guard(lock);
    auto it = converted.find(utf8);
    if (it == converted.end()) it = converted.emplace(utf8, toCp932(utf8)).first;
    return it->second;
}

bool hasAt(std::string_view line, std::string_view text, std::size_t at) {
    return at <= line.size() && line.substr(at, text.size()) == text;
}

int32_t kifPieceAt(std::string_view line, std::size_t i) {
    const int32_t e = entryAt(line, i, cp("玉飛角金銀桂香歩成龍馬打全圭杏と"));
    if (e >= 0) return e;
    if (hasAt(line, cp("王"), i)) return kLowerKing;
    if (hasAt(line, cp("竜"), i)) return kLowerDragon;
    return kKifNoPiece;
}

int32_t kifNumeralAt(std::string_view line, std::size_t i) {
    const int32_t e = entryAt(line, i, cp("　一二三四五六七八九十"));
    return e > 0 ? e : 0;
}

int32_t kifRankAt(std::string_view line, std::size_t i) {
    const int32_t n = kifNumeralAt(line, i);
    return n <= 9 ? n : 0;
}

int32_t kifCountAt(std::string_view line, std::size_t i) {
    const int32_t n = kifNumeralAt(line, i);
    if (n == 0) return 1;
    if (n < 10) return n;
    const int32_t units = kifNumeralAt(line, i + 2);
    return units >= 1 && units <= 9 ? 10 + units : 10;
}

int32_t kifFileAt(std::string_view line, std::size_t i) {
    return entryAt(line, i, cp("同１２３４５６７８９"));
}

int32_t kifDigitAt(std::string_view line, std::size_t i, std::size_t& width) {
    width = 0;
    if (i < line.size() && line[i] >= '1' && line[i] <= '9') {
        width = 1;
        return line[i] - '0';
    }
    const int32_t e = entryAt(line, i, cp("１２３４５６７８９"));
    if (e < 0) return 0;
    width = 2;
    return e + 1;
}

std::string kifPieceName(int32_t code) {
    return isValidPieceCode(code) ? cp(kPieceNames[code & 15]) : std::string();
}

std::string kifDiagramPiece(int32_t code) {
    return isValidPieceCode(code) ? cp(kDiagramPieces[code & 15]) : std::string();
}

std::string kifSquareName(int32_t square) {
    if (!isSquare(square)) return {};
    return cp(kFileDigits[fileOf(square)]) + cp(kNumerals[rankOf(square)]);
}

std::string kifCountText(int32_t count) {
    if (count <= 0) return {};
    if (count < 10) return cp(kNumerals[count]);
    return cp("十") + (count % 10 == 0 ? std::string() : cp(kNumerals[count % 10]));
}

const Handicap* handicapNamed(std::string_view cp932Name) {
    for (const Handicap& h : kHandicaps) {
        if (hasAt(cp932Name, cp(h.name))) return &h;
    }
    return nullptr;
}

void setupHandicap(Position& p, const Handicap& handicap) {
    setupPosition(p, kPresetEven);
    for (const int32_t square : handicap.removed) {
        if (square != 0) p[square] = kEmpty;
    }
}

const Handicap* handicapOfPosition(const Position& start) {
    for (const Handicap& h : kHandicaps) {
        Position p;
        setupHandicap(p, h);
        bool same = true;
        for (int32_t i = 0; i < kPositionCells && same; ++i) {
            if (i != kLowerTimeCell && i != kUpperTimeCell) same = p[i] == start[i];
        }
        if (same) return &h;
    }
    return nullptr;
}

const char* kifEndingWord(GameEnding ending) {
    for (const EndingName& e : kEndings) {
        if (e.ending == ending) return e.word;
    }
    return "";
}

GameEnding kifEndingAt(std::string_view text) {
    for (const EndingName& e : kEndings) {
        if (hasAt(text, cp(e.word))) return e.ending;
    }
    return GameEnding::None;
}

}  // namespace nusari
