// The link through which a remote program plays the lower side with CSA
// move lines, over a serial port or through a CSA game server (a port name
// beginning with "LAN"). The controller opens it at a game start, sends the
// computer's moves over it and polls it every 20 ms while the remote is to
// move. Nothing here waits with the window frozen: the serial line and the
// server are read without blocking and a bounded amount per tick, and the
// server's login serves the window every short slice and every few lines,
// however fast the server sends. Refused lines are counted: the first is
// told in a box, the rest only in the thinking panel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "game/remote_link.h"
#include "remote/game_summary.h"
#include "remote/link_settings.h"
#include "remote/remote_commands.h"
#include "remote/serial_framer.h"
#include "remote/serial_port.h"
#include "remote/server_connection.h"

namespace nusari {

class GameHost;

// What one poll did.
enum class PollResult : int32_t {
    Nothing = 0,
    MovePlayed = 1,
    SpecialHandled = 2,  // a special command or the server's end of the game
    Malformed = 200,     // not a move line, or not a legal move
    WhileThinking = 201,
    UnknownSpecial = 203,
    ConnectionLost = 204,  // the server closed the connection
    OutOfTurn = 205,       // a move line of the side not to move in the server's game
};

// The most a tick of the poll timer takes from the server: lines handled
// and bytes received. A flood of lines is worked off in a few ticks while
// the window goes on.
inline constexpr int32_t kMaxServerLinesPerTick = 512;
inline constexpr std::size_t kMaxServerBytesPerTick = 256 * 1024;
// During the login the window is served at least once per so many lines.
inline constexpr int32_t kLoginLinesPerPump = 64;

class CsaLink : public RemoteLink {
  public:
    explicit CsaLink(GameHost& game);
    ~CsaLink() override;
    CsaLink(const CsaLink&) = delete;
    CsaLink& operator=(const CsaLink&) = delete;

    int32_t OpenLink(const std::string& portName) override;
    void CloseLink() override;
    void SendMove(const Move& m) override;
    void SendInterruption() override;
    void PollLink() override { Poll(); }
    int32_t MoveTimeCapMs(int32_t usedSeconds) override;
    void NamePlayers(GameRecord& record) override;
    // A new game may follow on the same link (a match): its count of
    // refused lines and of the server's moves starts afresh.
    void GameEnded(int32_t result) override;
    bool JudgesRepetition() const override { return transport_ == Transport::Server; }
    // Reads and handles what has arrived: one serial message, or the
    // server's lines up to the remote's move, the game's end or the bound
    // of a tick. What it did (a move played or the end above a refusal).
    PollResult Poll();
    // Lines refused in this game.
    int32_t refusedLines() const { return refusedLines_; }
    bool isOpen() const { return transport_ != Transport::None; }

    // The game server: connects, logs in, reads the game summary (the
    // computer's side comes from its Your_Turn), agrees and waits for the
    // start; 1, or -1 after its message.
    int32_t ConnectServer();
    // One whole line from the server, shown in the thinking panel; nothing
    // when the connection ended or the link was closed during the wait.
    std::optional<std::string> ReadLine();
    // Sends a line ending in a line feed and shows it in the thinking panel.
    void SendLine(std::string_view text);

    // Milliseconds of the serial read timeout: a steady clock, or a script.
    std::function<int64_t()> clock;
    // Where the server's name lookup and protocol steps are written.
    std::ostream* trace;

  private:
    enum class Transport : int32_t { None, Serial, Server };

    void sendLine(const std::string& line, bool endsGame);
    PollResult pollSerial();
    void refuseEarlyMessages();
    PollResult handleSerialMessage(const SerialMessage& message);
    bool logIn();
    // A short wait for the server, serving the window; false when the link
    // was closed meanwhile.
    bool waitForServer();
    PollResult pollServer();
    PollResult handleServerLine(const std::string& line);
    PollResult handleServerMove(const std::string& line);
    PollResult confirmComputersMove(const std::string& line);
    // The computer's moves the server has not passed on are taken back
    // from the game before its end is recorded.
    void dropUnconfirmedPlies();
    bool remoteToMove(int32_t plies) const;
    PollResult endByServer(const std::string& line, const ServerEnd& end);
    PollResult connectionLost();
    void showReceived(const std::string& line);
    PollResult playRemoteMove(std::string_view body, const std::string& shown);
    // Counts a refused line, tells the first in a box (with the message
    // sound unless it has come already) and shows the count in the panel.
    PollResult refuse(const char* prefix, const std::string& shown, PollResult result,
                      bool soundPlayed = false);
    void perform(const SpecialCommand& command, std::string told);

    GameHost& game_;
    Transport transport_ = Transport::None;
    SerialPort serial_;
    SerialFramer framer_;
    ServerConnection server_;
    LanSettings lan_;
    // The server has ended the game; the rest of its verdict is dropped.
    bool afterServerEnd_ = false;
    // True from the LOGIN line on, until the connection closes.
    bool loggedIn_ = false;
    // The summary of the server's game in progress.
    GameSummary summary_;
    // The reason line before a server's result, for the record.
    GameEnding serverReason_ = GameEnding::None;
    // The computer resigned or interrupted: the server's verdict that
    // follows belongs to that game, not to a match's next one.
    bool awaitingOwnVerdict_ = false;
    // The plies of the game as the server has passed them on: the remote's
    // moves and the computer's, which the server sends back. A move line
    // counts only as the server's next ply.
    int32_t serverPly_ = 0;
    // The computer's last move line, without its line feed.
    std::string sentMove_;
    int32_t refusedLines_ = 0;
    int32_t loginLinesSincePump_ = 0;
    // Why the login failed, when the server broke the protocol.
    const char* loginError_ = nullptr;
    bool polling_ = false;
};

}  // namespace nusari
