// Opening, closing and polling the link, sending the computer's moves, and
// playing the remote's moves, whichever transport carries them.
#include "remote/csa_link.h"

#include <iostream>
#include <utility>

#include "game/game_host.h"
#include "remote/csa_move_line.h"
#include "remote/remote_texts.h"
#include "think/clock.h"

namespace nusari {

namespace {

// Sets a flag for the life of a scope.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

CsaLink::CsaLink(GameHost& game) : clock(nowMs), trace(&std::cout), game_(game) {}

CsaLink::~CsaLink() {
    CloseLink();
}

int32_t CsaLink::OpenLink(const std::string& portName) {
    CloseLink();
    if (IsServerPort(portName)) return ConnectServer();
    const std::string path = SerialDevicePath(portName);
    if (path.empty() || !serial_.open(path)) {
        showError(game_.Reporter(), kSerialOpenError);
        return -1;
    }
    transport_ = Transport::Serial;
    return 1;
}

void CsaLink::CloseLink() {
    // The server is told that we leave, at a game's end and when the window
    // closes alike.
    if (transport_ == Transport::Server && loggedIn_ && server_.isOpen()) SendLine(kLogoutLine);
    loggedIn_ = false;
    serial_.close();
    server_.close();
    framer_.reset();
    afterServerEnd_ = false;
    awaitingOwnVerdict_ = false;
    GameEnded(0);
    dropAnswers();
    transport_ = Transport::None;
}

void CsaLink::GameEnded(int32_t /*result*/) {
    dropAnswers();
    serverReason_ = GameEnding::None;
    serverPly_ = 0;
    sentMove_.clear();
    refusedLines_ = 0;
}

void CsaLink::SendInterruption() { sendLine(kInterruptLine, true); }

void CsaLink::SendMove(const Move& m) {
    if (m.isResign()) return sendLine(kResignLine, true);
    const GameFields& g = game_.Fields();
    const int32_t destination = destinationOf(m);
    const int32_t piece = isSquare(destination) ? g.currentPosition[destination] : kEmpty;
    const std::string line = EncodeMoveLine(m, piece, g.plyCount, game_.Record().humanIsSecond != 0);
    sentMove_ = line.substr(0, line.size() - 1);
    sendLine(line, false);
}

// A move, or a message that ends the game, whose verdict a server then sends.
void CsaLink::sendLine(const std::string& line, bool endsGame) {
    if (endsGame) awaitingOwnVerdict_ = transport_ == Transport::Server;
    if (transport_ == Transport::Serial) {
        refuseEarlyMessages();
        serial_.writeLine(line);
    }
    if (transport_ == Transport::Server) SendLine(line);
}

// What the remote sent while the computer thought came before the
// computer's move, out of turn: it is refused now (once counted, as any
// refused line) instead of waiting in the line to be played as the reply.
void CsaLink::refuseEarlyMessages() {
    constexpr int32_t kMaxEarlyMessages = 64;
    if (game_.CurrentState() != GameState::ComputerThinking) return;
    for (int32_t i = 0; i < kMaxEarlyMessages && pollSerial() != PollResult::Nothing; ++i) {
    }
}

// Messages shown during a poll are modal and let timers run: a tick that
// comes meanwhile does nothing.
PollResult CsaLink::Poll() {
    if (polling_ || game_.CurrentState() == GameState::NoGame) return PollResult::Nothing;
    const FlagScope busy(polling_);
    if (transport_ == Transport::Serial) return pollSerial();
    if (transport_ == Transport::Server) return pollServer();
    return PollResult::Nothing;
}

// The remote's move, checked against the rules before it touches the board.
PollResult CsaLink::playRemoteMove(std::string_view body, const std::string& shown) {
    const std::optional<Move> m =
        DecodeMoveBody(body, game_.Fields().currentPosition, game_.Record().humanIsSecond != 0);
    if (!m) return refuse(kProtocolError, shown, PollResult::Malformed);
    if (transport_ == Transport::Server) ++serverPly_;
    queueAnswer(PlayerAnswer::of(*m));
    return PollResult::MovePlayed;
}

// Remote play runs unattended: what went wrong is told in a box that does
// not stop the link, once a game; a flood of bad lines only counts up in
// the thinking panel. Every refusal is traced.
PollResult CsaLink::refuse(const char* prefix, const std::string& shown, PollResult result,
                           bool soundPlayed) {
    ++refusedLines_;
    std::string reason = prefix;
    for (char& c : reason) {
        if (c == '\n') c = ' ';
    }
    std::string line = shown;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    *trace << "受信拒否：" << reason << line << "\n";
    if (refusedLines_ == 1) {
        if (!soundPlayed) game_.Reporter().playSound(Sound::Message);
        game_.Reporter().notify(prefix + shown);
    }
    game_.Reporter().setPanelText(kRefusedCountOpen + std::to_string(refusedLines_) + kRefusedCountClose +
                          reason + line);
    return result;
}

// The game ends (and is logged) before the user is told `told`, in a box
// that holds nothing up, or in the panel during a match; a takeback is told
// in a box.
void CsaLink::perform(const SpecialCommand& command, std::string told) {
    switch (command.action) {
        case RemoteAction::EndGame:
            queueAnswer(PlayerAnswer::verdict(command.result, command.ending, std::move(told)));
            break;
        case RemoteAction::TakeBack:
            queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::Takeback, std::move(told)));
            break;
        case RemoteAction::Interrupt:
            queueAnswer(PlayerAnswer::with(PlayerAnswer::Kind::Interrupt, std::move(told)));
            break;
    }
}

}  // namespace nusari
