#include "remote_test_support.h"

#include <fstream>

#include "position/csa_notation.h"
#include "position/position.h"
#include "position/setup.h"
#include "position/text_encoding.h"
#include "records/kif_writer.h"

namespace nusari::test {

RemoteBoard::RemoteBoard() {
    setupPosition(board, kPresetEven);
}

bool RemoteBoard::play(std::string_view line) {
    MoveList list;
    generateLegalMoves(board, toMove(), list);
    for (const Move& m : list) {
        if (csaMoveText(board, toMove(), m) == line.substr(0, 7)) {
            applyMove(board, toMove(), m);
            ++ply;
            return true;
        }
    }
    return false;
}

std::string RemoteBoard::choose(uint32_t k) {
    MoveList list;
    generateLegalMoves(board, toMove(), list);
    if (list.count == 0) return {};
    const Move m = list.moves[k % static_cast<uint32_t>(list.count)];
    const std::string line = csaMoveText(board, toMove(), m) + "\n";
    applyMove(board, toMove(), m);
    ++ply;
    return line;
}

Position RemoteBoard::controllerView(bool remoteIsSecond) const {
    return remoteIsSecond ? flipPosition(board) : board;
}

void RemoteGameTest::SetUp() {
    addDefaultEngine(folder.path());
    store.values["Aik/Hash"] = "1009";
    controller = std::make_unique<GameController>(ui, store, folder.path());
    link = std::make_unique<CsaLink>(*controller);
    controller->link = link.get();
    link->clock = [this] { return clockMs; };
    link->trace = &traceOut;
    ui.onNotify = [this] {
        loggedAtNotify = logLines().size();
        openAtNotify = link->isOpen();
    };
    controller->think = [this](EngineState&, const ThinkRequest& request, ThinkObserver&) {
        ++thinks;
        Move reply = Move::resign();
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        } else {
            MoveList list;
            generateLegalMoves(request.position, Side::Upper, list);
            if (list.count > 0) reply = list.moves[0];
        }
        return reply;
    };
    ASSERT_EQ(controller->StartUp(), 1);
}

void RemoteGameTest::startRemoteGame(const std::string& port, bool computerFirst) {
    controller->portName = port;
    controller->page.presetRow = kPresetEven;
    controller->page.computerFirst = computerFirst;
    controller->page.linkChecked = true;
    controller->StartGame();
}

std::vector<std::string> RemoteGameTest::logLines() const {
    std::vector<std::string> lines;
    std::ifstream in(folder.path() / "output" / "record" / "matchResult.log", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void RemoteGameTest::expectEnded(const EndCase& c, std::size_t& logged) {
    EXPECT_EQ(ui.messages.back(), c.message);
    // The end was logged and the link closed before the user was told.
    EXPECT_EQ(loggedAtNotify, logged + (c.logged != nullptr ? 1 : 0));
    EXPECT_FALSE(openAtNotify);
    EXPECT_EQ(ui.sounds.front(), Sound::Message);
    EXPECT_EQ(controller->gameState, GameState::NoGame);
    EXPECT_FALSE(link->isOpen());
    EXPECT_EQ(controller->record->length, 2);
    const std::vector<std::string> log = logLines();
    if (c.logged != nullptr) ++logged;
    ASSERT_EQ(log.size(), logged);
    if (c.logged != nullptr) {
        EXPECT_NE(log.back().find(std::string("\t") + c.logged + "\t2"), std::string::npos);
        // The record names the winner the log does.
        const std::string result = toUtf8(GameResultText(*controller->record));
        const bool remoteIsFirst = controller->record->humanIsSecond == 0;
        const std::string_view logged = c.logged;
        const char* winner = logged == "-1"                         ? nullptr
                             : (logged == "1") == remoteIsFirst ? "先手の勝ち"
                                                                : "後手の勝ち";
        if (winner != nullptr) {
            EXPECT_NE(result.find(winner), std::string::npos) << result;
        } else {
            EXPECT_EQ(result.find("の勝ち"), std::string::npos) << result;
        }
    }
}

}  // namespace nusari::test
