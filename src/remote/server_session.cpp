// The game-server transport: the login up to the game's start, the lines
// sent and received with their trace, and the lines read during a game.
#include "position/text_encoding.h"
#include "remote/csa_link.h"
#include "remote/remote_texts.h"
#include "ui/game_controller.h"

namespace nusari {

namespace {

// How long one wait for the server lasts before the window is served.
constexpr int32_t kWaitSliceMs = 20;

constexpr std::string_view kYourTurn = "Your_Turn:";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

int32_t CsaLink::ConnectServer() {
    game_.store.reload();
    lan_ = ReadLanSettings(game_.store);
    transport_ = Transport::Server;
    if (logIn()) return 1;
    // CloseLink during a wait means the window is closing: no message then.
    const bool closedMeanwhile = transport_ != Transport::Server;
    CloseLink();
    if (!closedMeanwhile) showError(game_.ui, kLanOpenError);
    return -1;
}

bool CsaLink::waitForServer() {
    game_.ui.pumpMessages();
    return transport_ == Transport::Server && server_.isOpen();
}

// LOGIN, the game summary, AGREE and START, in that order. The computer
// takes the side the summary gives it, and the new-game page shows it.
bool CsaLink::logIn() {
    if (!server_.begin(lan_.host, lan_.port, *trace)) return false;
    for (;;) {
        const ServerConnection::Status s = server_.connected(kWaitSliceMs);
        if (s == ServerConnection::Status::Ready) break;
        if (s == ServerConnection::Status::Failed || !waitForServer()) return false;
    }
    SendLine("LOGIN " + lan_.user + " " + lan_.password + "\n");
    loggedIn_ = true;
    const std::optional<std::string> reply = ReadLine();
    if (!reply || reply->find("LOGIN:incorrect") != std::string::npos) return false;
    std::optional<bool> computerFirst;
    summary_ = GameSummary{};
    for (;;) {
        const std::optional<std::string> line = ReadLine();
        if (!line) return false;
        ReadSummaryLine(*line, summary_);
        if (startsWith(*line, kYourTurn) && line->size() > kYourTurn.size()) {
            computerFirst = (*line)[kYourTurn.size()] == '+';
            *trace << "teban=" << (*computerFirst ? 0 : 1) << "\n";
        }
        if (line->find("END Game_Summary") != std::string::npos) break;
    }
    if (computerFirst) {
        game_.page.computerFirst = *computerFirst;
        game_.ui.pagesChanged();
    }
    SendLine(kAgreeLine);
    *trace << "今から対局開始。START:を待つ\n";
    trace->flush();
    const std::optional<std::string> start = ReadLine();
    return start && startsWith(*start, "START:");
}

int32_t CsaLink::MoveTimeCapMs(int32_t usedSeconds) {
    if (transport_ != Transport::Server) return 0;
    return nusari::MoveTimeCapMs(summary_, int64_t{usedSeconds} * 1000);
}

void CsaLink::NamePlayers(GameRecord& record) {
    if (transport_ != Transport::Server) return;
    if (!summary_.firstName.empty()) setName(record.firstName, toCp932(summary_.firstName));
    if (!summary_.secondName.empty()) setName(record.secondName, toCp932(summary_.secondName));
}

std::optional<std::string> CsaLink::ReadLine() {
    for (;;) {
        if (std::optional<std::string> line = server_.takeLine()) {
            showReceived(*line);
            return line;
        }
        const ServerConnection::Status s = server_.receive();
        if (s == ServerConnection::Status::Failed) return std::nullopt;
        if (s == ServerConnection::Status::Pending) {
            if (!waitForServer()) return std::nullopt;
            server_.waitForBytes(kWaitSliceMs);
        }
    }
}

void CsaLink::SendLine(std::string_view text) {
    std::string bytes(text);
    if (lan_.sendNul) bytes += '\0';
    server_.send(bytes);
    game_.ui.setPanelText(kSentMark + std::string(text));
}

void CsaLink::showReceived(const std::string& line) {
    if (!line.empty() && line.back() == '\n') game_.ui.setPanelText(kReceivedMark + line);
}

// One line per tick, taken without waiting.
PollResult CsaLink::pollServer() {
    std::optional<std::string> line = server_.takeLine();
    if (!line) {
        if (server_.receive() == ServerConnection::Status::Failed) return connectionLost();
        line = server_.takeLine();
        if (!line) return PollResult::Nothing;
    }
    showReceived(*line);
    return handleServerLine(*line);
}

// Only the remote's moves (the sign of the side to move) and the server's
// verdicts count; echoes of the computer's moves and "%" lines are dropped.
PollResult CsaLink::handleServerLine(const std::string& line) {
    const bool verdict = startsWith(line, "#");
    const ServerEnd end = verdict ? ServerEndOf(line) : ServerEnd{};
    if (const GameEnding reason = ServerReasonOf(line); reason != GameEnding::None) {
        serverReason_ = reason;
    }
    if (verdict && (afterServerEnd_ || end.verdict == ServerVerdict::None)) {
        return PollResult::Nothing;
    }
    if (!verdict) afterServerEnd_ = false;
    const char sign = game_.engine->plyCount % 2 == 0 ? '+' : '-';
    if (!verdict && (line.empty() || line[0] != sign)) return PollResult::Nothing;
    if (game_.gameState == GameState::ComputerThinking) {
        return refuse(kThinkingError, line, PollResult::WhileThinking);
    }
    if (verdict) return endByServer(line, end);
    const std::string body = line.substr(1);
    return playRemoteMove(body, body);
}

// The result is logged, the record closed and the server left before the
// user is told, in a box that holds nothing up.
PollResult CsaLink::endByServer(const std::string& line, const ServerEnd& end) {
    afterServerEnd_ = true;
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    const bool inMatch = game_.renzoku != 0;
    if (end.verdict == ServerVerdict::Result) {
        game_.EndGame(end.result, serverReason_);
    } else {
        game_.InterruptGame();
    }
    game_.tellAfterGame(kServerVerdict + shown, inMatch);
    return PollResult::SpecialHandled;
}

// The server is gone: no more polling, the user is told, and the game
// stops without a result, its record kept for replay and saving.
PollResult CsaLink::connectionLost() {
    game_.ui.setPanelText(kReceivedMark + std::string(kReceiveError));
    game_.ui.setPollTimer(0);
    server_.close();
    showError(game_.ui, kConnectionLost);
    if (game_.gameState != GameState::NoGame) game_.InterruptGame();
    return PollResult::ConnectionLost;
}

}  // namespace nusari
