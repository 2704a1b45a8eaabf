#include "game/match_record.h"

#include <cstdio>
#include <ctime>
#include <fstream>

#include "usi/joined_text.h"
#include "position/csa_notation.h"
#include "position/position.h"

namespace nusari {

namespace {

// Printable ASCII only: engine names and messages may hold any bytes.
std::string printable(const std::string& text) {
    std::string out;
    for (const char c : text) out += c >= 0x20 && c < 0x7f ? c : '?';
    return out;
}

class CsaLines {
public:
    void add(const std::string& line) {
        text_ += line;
        text_ += "\r\n";
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void addPosition(CsaLines& out, const Opening& opening) {
    if (opening.evenStart) {
        out.add("PI");
    } else {
        for (int32_t rank = 1; rank <= 9; ++rank) {
            std::string row = "P";
            row += static_cast<char>('0' + rank);
            for (int32_t file = 9; file >= 1; --file) {
                const int32_t cell = opening.start[squareOf(file, rank)];
                if (!isValidPieceCode(cell)) {
                    row += " * ";
                } else {
                    row += isUpperPiece(cell) ? "-" : "+";
                    row += csaPieceName(cell);
                }
            }
            out.add(row);
        }
        for (const int32_t base : {kLowerHandBase, kUpperHandBase}) {
            std::string hand = base == kLowerHandBase ? "P+" : "P-";
            for (int32_t kind = kRook; kind <= kPawn; ++kind) {
                for (int32_t k = 0; k < opening.start[base + kind]; ++k) {
                    hand += "00";
                    hand += csaPieceName(kind);
                }
            }
            if (hand.size() > 2) out.add(hand);
        }
    }
    out.add(opening.toMove == Side::Lower ? "+" : "-");
}

std::string resultLine(const MatchHeader& header, const GameOutcome& game) {
    std::string line = "'";
    if (game.winner < 0) {
        line += "draw";
    } else {
        const bool blackWins = (game.end == GameEnding::EnteringKingWin) == (game.endSide == Side::Lower);
        line += printable(blackWins ? header.blackName : header.whiteName);
        line += blackWins ? " (sente) wins" : " (gote) wins";
    }
    line += ": ";
    line += endingName(game.end);
    if (!game.detail.empty()) {
        line += ", ";
        line += printable(game.detail);
    }
    return line;
}

}  // namespace

std::string csaEndingWord(const GameOutcome& game) {
    const char* sign = game.endSide == Side::Lower ? "+" : "-";
    switch (game.end) {
        case GameEnding::Mate: return "%TSUMI";
        case GameEnding::Resign: return "%TORYO";
        case GameEnding::EnteringKingWin: return "%KACHI";
        case GameEnding::BadDeclaration:
        case GameEnding::FoulLoss: return "%ILLEGAL_MOVE";
        case GameEnding::TimeUp:
        case GameEnding::NoAnswer: return "%TIME_UP";
        case GameEnding::PlayerGone:
        case GameEnding::PerpetualCheck: return joined({"%", sign, "ILLEGAL_ACTION"});
        case GameEnding::Repetition: return "%SENNICHITE";
        case GameEnding::PlyLimit: return "%JISHOGI";
        default: break;
    }
    return "%CHUDAN";
}

std::string formatMatchCsa(const MatchHeader& header, const Opening& opening, const GameOutcome& game) {
    CsaLines out;
    out.add("'nusari-tool match");
    out.add("V2.2");
    out.add(joined({"N+", printable(header.blackName)}));
    out.add(joined({"N-", printable(header.whiteName)}));
    out.add(joined({"$START_TIME:", header.startTime}));
    out.add(joined({"$END_TIME:", header.endTime}));
    addPosition(out, opening);

    Position p = opening.start;
    Side side = opening.toMove;
    auto addMove = [&](const Move& m, int64_t ms) {
        out.add(csaMoveText(p, side, m));
        std::string time = "T";
        time += std::to_string(ms / 1000);
        out.add(time);
        applyMove(p, side, m);
        side = opponentOf(side);
    };
    for (const Move& m : opening.moves) addMove(m, 0);
    for (const PlayedMove& played : game.moves) {
        const Side mover = side;
        addMove(played.move, played.ms);
        if (played.hasScore) {
            std::string score = "'** ";
            score += std::to_string(mover == Side::Lower ? played.score : -played.score);
            out.add(score);
        }
    }
    out.add(csaEndingWord(game));
    out.add(resultLine(header, game));
    return out.take();
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            error = joined({"cannot write ", temporary});
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = joined({"cannot write ", path});
        return false;
    }
    return true;
}

std::string csaTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

}  // namespace nusari
