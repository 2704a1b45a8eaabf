#include "remote/serial_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace nusari {

namespace {

constexpr cc_t kXon = 0x11;
constexpr cc_t kXoff = 0x13;
constexpr std::size_t kMaxWrite = 256;

}  // namespace

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    if (!configure()) {
        close();
        return false;
    }
    return true;
}

// Raw bytes at 1200 baud 8N1 with XON/XOFF; no RTS/CTS output flow control.
// VMIN 0 / VTIME 3 is the 300 ms read timeout of a blocking read; the link
// never blocks (the descriptor is non-blocking) and keeps its own deadline.
bool SerialPort::configure() {
    // Nobody else may open the port while we hold it; a device without
    // exclusive mode is used as it is.
    ::ioctl(fd_, TIOCEXCL);
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return false;
    if (::cfsetispeed(&t, B1200) != 0 || ::cfsetospeed(&t, B1200) != 0) return false;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXANY);
    t.c_iflag |= INPCK | IXON | IXOFF;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN);
    t.c_cc[VSTART] = kXon;
    t.c_cc[VSTOP] = kXoff;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 3;
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;
    if (::tcflush(fd_, TCIOFLUSH) != 0) return false;
    // DTR and RTS up for the remote's handshake, where the device has them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIS, &lines);
    return true;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

std::optional<uint8_t> SerialPort::readByte() {
    while (fd_ >= 0) {
        uint8_t byte = 0;
        if (::read(fd_, &byte, 1) != 1) return std::nullopt;
        if (byte != 0) return byte;
    }
    return std::nullopt;
}

void SerialPort::writeLine(std::string_view bytes) {
    if (fd_ < 0) return;
    const std::size_t feed = bytes.find('\n');
    std::size_t n = feed == std::string_view::npos ? bytes.size() : feed + 1;
    if (n > kMaxWrite) n = kMaxWrite;
    if (::write(fd_, bytes.data(), n) < 0) return;
}

}  // namespace nusari
