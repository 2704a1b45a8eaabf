// The link through which a remote program plays the lower side with CSA
// move lines, over a serial port or through a CSA game server (a port name
// beginning with "LAN"). The controller opens it at a game start, sends the
// computer's moves over it and polls it every 20 ms while the remote is to
// move. Nothing here waits with the window frozen: the serial line and the
// server are read without blocking, and the server's login waits in short
// slices that let the window work.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "remote/game_summary.h"
#include "remote/link_settings.h"
#include "remote/remote_commands.h"
#include "remote/serial_framer.h"
#include "remote/serial_port.h"
#include "remote/server_connection.h"
#include "ui/remote_link.h"

namespace nusari {

class GameController;

// What one poll did.
enum class PollResult : int32_t {
    Nothing = 0,
    MovePlayed = 1,
    SpecialHandled = 2,  // a special command or the server's end of the game
    Malformed = 200,     // not a move line, or not a legal move
    WhileThinking = 201,
    UnknownSpecial = 203,
    ConnectionLost = 204,  // the server closed the connection
};

class CsaLink : public RemoteLink {
  public:
    explicit CsaLink(GameController& game);
    ~CsaLink() override;
    CsaLink(const CsaLink&) = delete;
    CsaLink& operator=(const CsaLink&) = delete;

    int32_t OpenLink(const std::string& portName) override;
    void CloseLink() override;
    void SendMove(int32_t from, int32_t to) override;
    void PollLink() override { Poll(); }
    int32_t MoveTimeCapMs(int32_t usedSeconds) override;
    void NamePlayers(GameRecord& record) override;
    // Reads and handles at most one message or line.
    PollResult Poll();
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

    PollResult pollSerial();
    PollResult handleSerialMessage(const SerialMessage& message);
    bool logIn();
    // A short wait for the server, serving the window; false when the link
    // was closed meanwhile.
    bool waitForServer();
    PollResult pollServer();
    PollResult handleServerLine(const std::string& line);
    PollResult endByServer(const std::string& line, const ServerEnd& end);
    PollResult connectionLost();
    void showReceived(const std::string& line);
    PollResult playRemoteMove(std::string_view body, const std::string& shown);
    PollResult refuse(const char* prefix, const std::string& shown, PollResult result);
    void perform(const SpecialCommand& command);

    GameController& game_;
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
    bool polling_ = false;
};

}  // namespace nusari
