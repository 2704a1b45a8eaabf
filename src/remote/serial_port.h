// The serial port on POSIX termios: 1200 baud, 8 data bits, no parity, one
// stop bit, XON/XOFF both ways, the modem lines raised where the device has
// them. Reads never wait: the link polls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nusari {

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device for exclusive use and sets the line up; false, with
    // the port closed, when any step fails.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // The next byte received, zero bytes skipped; nothing when none waits.
    std::optional<uint8_t> readByte();
    // Writes the bytes up to and including the first line feed, at most
    // 256, in one write; how many went out is not looked at.
    void writeLine(std::string_view bytes);

  private:
    bool configure();

    int fd_ = -1;
};

}  // namespace nusari
