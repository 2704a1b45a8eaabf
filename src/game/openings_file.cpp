#include "game/openings_file.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "usi/joined_text.h"
#include "position/legal_moves.h"
#include "position/position.h"
#include "position/regular_file.h"
#include "position/setup.h"
#include "position/sfen.h"
#include "usi/words_of.h"

namespace nusari {

namespace {

constexpr size_t kMaxOpeningMoves = 256;
constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

int kingsOf(const Position& p, int32_t king) {
    int count = 0;
    for (int32_t square = kFirstSquare; square <= kLastSquare; ++square) {
        count += isSquare(square) && p[square] == king;
    }
    return count;
}

// One line's position and moves; the message of what is wrong, or "".
std::string parseLine(const std::vector<std::string_view>& words, Opening& opening) {
    size_t w = 0;
    if (words[w] == "position") ++w;
    size_t movesAt = w;
    while (movesAt < words.size() && words[movesAt] != "moves") ++movesAt;
    if (w < movesAt && words[w] == "startpos") {
        if (movesAt != w + 1) return "words after startpos";
        setupPosition(opening.start, kPresetEven);
        opening.toMove = Side::Lower;
    } else {
        if (w < movesAt && words[w] == "sfen") ++w;
        if (w == movesAt) return "no position";
        std::string sfen;
        for (size_t k = w; k < movesAt; ++k) {
            if (!sfen.empty()) sfen += ' ';
            sfen += words[k];
        }
        std::string error;
        if (!parseSfen(sfen, opening.start, opening.toMove, error)) return joined({"bad SFEN: ", error});
        opening.evenStart = false;
    }
    Position p = opening.start;
    Side side = opening.toMove;
    if (kingsOf(p, kLowerKing) != 1 || kingsOf(p, kUpperKing) != 1) return "each side needs one king";
    if (isInCheck(p, opponentOf(side))) return "the side not to move is in check";
    if (movesAt + 1 == words.size()) return "no moves after \"moves\"";
    for (size_t k = movesAt + 1; k < words.size(); ++k) {
        Move m;
        const std::string number = std::to_string(k - movesAt);
        if (opening.moves.size() >= kMaxOpeningMoves) return "more than 256 moves";
        if (!parseUsiMove(words[k], side, m)) return joined({"move ", number, " is no USI move"});
        if (!isLegalMove(p, side, m)) return joined({"move ", number, " is not legal"});
        applyMove(p, side, m);
        side = opponentOf(side);
        opening.moves.push_back(m);
    }
    auto legal = std::make_unique<MoveList>();
    generateLegalMoves(p, side, *legal);
    if (legal->count == 0) return "the side to move has no legal move";
    return {};
}

}  // namespace

std::vector<Opening> parseOpenings(std::string_view text, std::vector<std::string>& errors) {
    std::vector<Opening> openings;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::vector<std::string_view> words = wordsOf(line);
        if (words.empty() || words[0][0] == '#') continue;
        Opening opening;
        opening.line = lineNumber;
        const std::string error = parseLine(words, opening);
        if (error.empty()) {
            openings.push_back(std::move(opening));
        } else {
            errors.push_back(joined({"line ", std::to_string(lineNumber), ": ", error}));
        }
    }
    return openings;
}

std::vector<Opening> loadOpenings(const std::string& path, std::vector<std::string>& errors) {
    std::string bytes;
    FileReadInfo info;
    switch (readRegularFile(path, kMaxFileBytes, bytes, &info)) {
        case FileRead::Ok:
            return parseOpenings(bytes, errors);
        case FileRead::NotRegular:
            errors.push_back(path + " is not a regular file");
            break;
        case FileRead::TooLarge:
            errors.push_back(path + " is larger than 16 MB");
            break;
        case FileRead::CannotOpen:
        case FileRead::ReadFailed:
            errors.push_back(path + " cannot be read: " + std::strerror(info.error));
            break;
    }
    return {};
}

Opening evenOpening() {
    Opening opening;
    setupPosition(opening.start, kPresetEven);
    return opening;
}

}  // namespace nusari
