// The game-server transport: the login up to the game's start, the lines
// sent and received with their trace, and the lines read during a game.
#include "game/game_host.h"
#include "position/text_encoding.h"
#include "remote/csa_link.h"
#include "remote/remote_texts.h"

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
    game_.SettingsFile().reload();
    lan_ = ReadLanSettings(game_.SettingsFile());
    transport_ = Transport::Server;
    if (logIn()) return 1;
    // CloseLink during a wait means the window is closing: no message then.
    const bool closedMeanwhile = transport_ != Transport::Server;
    const char* error = loginError_ != nullptr ? loginError_ : kLanOpenError;
    CloseLink();
    if (!closedMeanwhile) showError(game_.Reporter(), error);
    return -1;
}

bool CsaLink::waitForServer() {
    game_.Reporter().pumpMessages();
    return transport_ == Transport::Server && server_.isOpen();
}

// LOGIN, the game summary, AGREE and START, in that order. The computer
// takes the side the summary gives it, and the new-game page shows it.
bool CsaLink::logIn() {
    loginError_ = nullptr;
    loginLinesSincePump_ = 0;
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
        // A game begun before its conditions are known is not played.
        if (startsWith(*line, "START:")) {
            loginError_ = kStartBeforeSummary;
            return false;
        }
        ReadSummaryLine(*line, summary_);
        if (startsWith(*line, kYourTurn) && line->size() > kYourTurn.size()) {
            computerFirst = (*line)[kYourTurn.size()] == '+';
            *trace << "teban=" << (*computerFirst ? 0 : 1) << "\n";
        }
        if (line->find("END Game_Summary") != std::string::npos) break;
    }
    if (computerFirst) {
        game_.ShowComputerFirst(*computerFirst);
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

// A server that sends without pause still lets the window work: it is
// served every few lines, and closing it ends the wait.
std::optional<std::string> CsaLink::ReadLine() {
    for (;;) {
        if (loginLinesSincePump_ >= kLoginLinesPerPump) {
            loginLinesSincePump_ = 0;
            if (!waitForServer()) return std::nullopt;
        }
        if (std::optional<std::string> line = server_.takeLine()) {
            ++loginLinesSincePump_;
            showReceived(*line);
            return line;
        }
        const ServerConnection::Status s = server_.receive(kMaxServerBytesPerTick);
        if (s == ServerConnection::Status::Failed) return std::nullopt;
        if (s == ServerConnection::Status::Pending) {
            loginLinesSincePump_ = 0;
            if (!waitForServer()) return std::nullopt;
            server_.waitForBytes(kWaitSliceMs);
        }
    }
}

void CsaLink::SendLine(std::string_view text) {
    std::string bytes(text);
    if (lan_.sendNul) bytes += '\0';
    server_.send(bytes);
    game_.Reporter().setPanelText(kSentMark + std::string(text));
}

// After refused lines their count stays under the line received, so that
// the one notice of a flood is not the only trace of it in the window.
void CsaLink::showReceived(const std::string& line) {
    if (line.empty() || line.back() != '\n') return;
    std::string text = kReceivedMark + line;
    if (refusedLines_ > 1) {
        text += kRefusedCountOpen + std::to_string(refusedLines_) + kRefusedCountTotal;
    }
    game_.Reporter().setPanelText(text);
}

// What has arrived, taken without waiting and at most a tick's bound: the
// lines up to the remote's move (the computer thinks then) or the end.
PollResult CsaLink::pollServer() {
    if (server_.waitingLines() < static_cast<std::size_t>(kMaxServerLinesPerTick) &&
        server_.receive(kMaxServerBytesPerTick) == ServerConnection::Status::Failed &&
        server_.waitingLines() == 0) {
        return connectionLost();
    }
    PollResult outcome = PollResult::Nothing;
    for (int32_t n = 0; n < kMaxServerLinesPerTick; ++n) {
        std::optional<std::string> line = server_.takeLine();
        if (!line) break;
        showReceived(*line);
        const PollResult r = handleServerLine(*line);
        if (r != PollResult::Nothing) outcome = r;
        if (r == PollResult::MovePlayed || r == PollResult::SpecialHandled) break;
        if (transport_ != Transport::Server || game_.CurrentState() != GameState::LowerToMove) break;
    }
    return outcome;
}

bool CsaLink::remoteToMove(int32_t plies) const {
    const bool remoteIsFirst = game_.Record().humanIsSecond == 0;
    return (plies % 2 == 0) == remoteIsFirst;
}

// Only the server's verdicts and the moves in the order of its game count;
// "%" lines and other talk are dropped. Echoes of the computer's moves
// confirm them.
PollResult CsaLink::handleServerLine(const std::string& line) {
    if (line == kLineOverflow) {
        return refuse(kProtocolError, kLineTooLong + std::to_string(kMaxServerLine) + "）",
                      PollResult::Malformed);
    }
    if (!startsWith(line, "#")) {
        // Any other line than the confirmation of the computer's move ends
        // the verdict of a game that ended.
        const bool move = !line.empty() && (line[0] == '+' || line[0] == '-');
        const PollResult r = move ? handleServerMove(line) : PollResult::Nothing;
        if (!move || r != PollResult::Nothing) afterServerEnd_ = false;
        return r;
    }
    const ServerEnd end = ServerEndOf(line);
    if (awaitingOwnVerdict_) {
        // The end of the game the computer left, arriving in the next one.
        if (end.verdict != ServerVerdict::None) awaitingOwnVerdict_ = false;
        return PollResult::Nothing;
    }
    if (const GameEnding reason = ServerReasonOf(line); reason != GameEnding::None) {
        serverReason_ = reason;
    }
    if (afterServerEnd_ || end.verdict == ServerVerdict::None) return PollResult::Nothing;
    if (game_.CurrentState() == GameState::ComputerThinking) {
        return refuse(kThinkingError, line, PollResult::WhileThinking);
    }
    return endByServer(line, end);
}

// A move line is the server's next ply or it is refused: the remote's move
// only when the server has passed on the computer's last one, so a line
// sent twice, or sent while the computer thought, is never played later.
PollResult CsaLink::handleServerMove(const std::string& line) {
    const char serversSign = serverPly_ % 2 == 0 ? '+' : '-';
    if (line[0] != serversSign) return refuse(kOutOfTurnError, line, PollResult::OutOfTurn);
    if (!remoteToMove(serverPly_)) return confirmComputersMove(line);
    if (serverPly_ != game_.Fields().plyCount) {
        return refuse(kOutOfTurnError, line, PollResult::OutOfTurn);
    }
    if (game_.CurrentState() == GameState::ComputerThinking) {
        return refuse(kThinkingError, line, PollResult::WhileThinking);
    }
    const std::string body = line.substr(1);
    return playRemoteMove(body, body);
}

// The server sends the computer's move back with its time: the same move,
// or the server's game is not ours.
PollResult CsaLink::confirmComputersMove(const std::string& line) {
    if (serverPly_ >= game_.Fields().plyCount) {
        return refuse(kOutOfTurnError, line, PollResult::OutOfTurn);
    }
    if (line.compare(0, sentMove_.size(), sentMove_) != 0 || sentMove_.empty()) {
        return refuse(kProtocolError, line, PollResult::Malformed);
    }
    ++serverPly_;
    return PollResult::Nothing;
}

void CsaLink::dropUnconfirmedPlies() {
    GameFields& g = game_.Fields();
    if (serverPly_ < 0 || serverPly_ >= g.plyCount) return;
    g.plyCount = serverPly_;
    g.currentPosition = game_.Record().history[static_cast<std::size_t>(serverPly_)];
    g.currentPosition[kLowerTimeCell] = 0;
    g.currentPosition[kUpperTimeCell] = 0;
}

// The result is logged, the record closed and the server left before the
// user is told, in a box that holds nothing up.
PollResult CsaLink::endByServer(const std::string& line, const ServerEnd& end) {
    afterServerEnd_ = true;
    std::string shown = line;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    std::string told = kServerVerdict + shown;
    if (end.verdict == ServerVerdict::Result) {
        // The record ends where the server's game ended, with the winner
        // the server named.
        dropUnconfirmedPlies();
        const bool remoteMoves = remoteToMove(game_.Fields().plyCount);
        queueAnswer(PlayerAnswer::verdict(end.result, RecordedServerEnding(serverReason_, end.result, remoteMoves),
                                     std::move(told)));
    } else {
        queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::Interrupt, std::move(told)));
    }
    return PollResult::SpecialHandled;
}

// The server is gone: no more polling, the user is told, and the game
// stops without a result, its record kept for replay and saving.
PollResult CsaLink::connectionLost() {
    game_.Reporter().setPanelText(kReceivedMark + std::string(kReceiveError));
    game_.StopPolling();
    server_.close();
    showError(game_.Reporter(), kConnectionLost);
    if (game_.CurrentState() != GameState::NoGame) queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::Interrupt));
    return PollResult::ConnectionLost;
}

}  // namespace nusari
