#include "game/match_record.h"

#include <cstdio>
#include <ctime>
#include <fstream>

#include "position/text_encoding.h"
#include "records/csa_writer.h"
#include "records/record_tree.h"
#include "usi/joined_text.h"

namespace nusari {

namespace {

// Engine names and messages may hold any bytes: control bytes and
// malformed UTF-8 become '?', characters stay (探索 is named 探索).
std::string printable(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 0 : utf8SequenceAt(text, i);
        if (length > 0) {
            out.append(text, i, length);
            i += length;
        } else {
            out += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?';
            ++i;
        }
    }
    return out;
}

// Who won and how, with the detail of a foul or a crash.
std::string resultText(const MatchHeader& header, const GameOutcome& game) {
    std::string text;
    if (game.winner < 0) {
        text += "draw";
    } else {
        const bool blackWins = (game.end == GameEnding::EnteringKingWin) == (game.endSide == Side::Lower);
        text += printable(blackWins ? header.blackName : header.whiteName);
        text += blackWins ? " (sente) wins" : " (gote) wins";
    }
    text += ": ";
    text += endingName(game.end);
    if (!game.detail.empty()) {
        text += ", ";
        text += printable(game.detail);
    }
    return text;
}

// The referee's ending as a record's, which names the side to move after
// the last ply: a crash or perpetual check of the side that made that ply
// is the side to move's win by the other's foul.
GameEnding recordEnding(const GameOutcome& game, Side toMove) {
    switch (game.end) {
        case GameEnding::PlayerGone:
        case GameEnding::PerpetualCheck:
            return game.endSide == toMove ? game.end : GameEnding::FoulWin;
        case GameEnding::None:
            return GameEnding::Interrupt;
        default:
            return game.end;
    }
}

}  // namespace

std::string formatMatchCsa(const MatchHeader& header, const Opening& opening, const GameOutcome& game) {
    RecordTree tree;
    tree.reset(opening.start, opening.toMove);
    tree.firstName = printable(header.blackName);
    tree.secondName = printable(header.whiteName);
    if (!header.startTime.empty()) tree.setHeader("開始日時", printable(header.startTime));
    if (!header.endTime.empty()) tree.setHeader("終了日時", printable(header.endTime));

    // The referee checked every move, the opening's too, which took no
    // time. A tree that is full keeps the moves so far.
    NodeId at = kRootNode;
    auto add = [&](const Move& m, int64_t ms) {
        const NodeId next = tree.addCheckedMove(at, m);
        if (next == kNoNode) return false;
        at = next;
        tree.node(at).timeMs = ms;
        return true;
    };
    for (const Move& m : opening.moves) add(m, 0);
    for (const PlayedMove& played : game.moves) {
        if (add(played.move, played.ms) && played.hasScore) {
            tree.node(at).hasScore = true;
            tree.node(at).score = played.side == Side::Lower ? played.score : -played.score;
        }
    }
    tree.node(at).comment = resultText(header, game);
    tree.node(at).ending = recordEnding(game, tree.sideToMoveAt(at));
    return FormatCsa(tree, "V2.2");
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
