#include "SerialPort.h"

#include "DeviceNode.h"
#include "OpenRefusal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kWriteStallMilliseconds = 1000;

speed_t BaudConstant(int baudRate)
{
    switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

// Raw 8N1: no line editing, echo, signals or character translation, which
// would change the binary frames. Software flow control goes too, because it
// would swallow the data bytes 0x11 and 0x13; the modem lines are ignored
// (CLOCAL). Hardware flow control and the rest stay as the driver had them.
void MakeRaw8N1(termios& settings)
{
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                                IXOFF | IXANY | INPCK);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
}

// A refused open; a refusal for want of permission names the device's group.
OpenResult OpenRefusal(int error, const std::string& devicePath)
{
    if (error == EACCES || error == EPERM) {
        const DeviceNodeAccess node = ReadDeviceNodeAccess(devicePath);
        return DescribeOpenRefusal(error, devicePath, node.Group, node.GroupMayUse);
    }
    return DescribeOpenRefusal(error, devicePath);
}

// Takes the device for this process alone and sets the line; 0, or the
// system's error number. A serial port whose UART is missing opens but
// cannot report its modem lines (EIO), and would only ever time out.
int SetUpLine(int fd, speed_t speed)
{
    if (::isatty(fd) != 1) {
        return errno;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? EBUSY : errno;
    }
    int modemLines = 0;
    if (::ioctl(fd, TIOCMGET, &modemLines) != 0 && errno == EIO) {
        return EIO;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        return errno;
    }
    MakeRaw8N1(settings);
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &settings) != 0) {
        return errno;
    }
    return 0;
}

}  // namespace

struct SerialPort::State {
    int Fd = -1;
};

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { Close(); }

OpenResult SerialPort::Open(const std::string& devicePath, int baudRate)
{
    if (IsOpen()) {
        return {};
    }
    const speed_t speed = BaudConstant(baudRate);
    if (speed == B0) {
        return DescribeOpenRefusal(EINVAL, devicePath);
    }
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return OpenRefusal(errno, devicePath);
    }
    if (const int error = SetUpLine(fd, speed); error != 0) {
        ::close(fd);
        return DescribeOpenRefusal(error, devicePath);
    }
    state_ = std::make_unique<State>();
    state_->Fd = fd;
    DiscardInput();
    return {};
}

void SerialPort::Close()
{
    if (IsOpen()) {
        ::close(state_->Fd);
        state_.reset();
    }
}

void SerialPort::Write(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t written = 0;
    while (IsOpen() && written < count) {
        const ssize_t done = ::write(state_->Fd, bytes + written, count - written);
        if (done > 0) {
            written += static_cast<std::size_t>(done);
            continue;
        }
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done < 0 && errno != EAGAIN) {
            return;
        }
        pollfd wait{state_->Fd, POLLOUT, 0};
        if (::poll(&wait, 1, kWriteStallMilliseconds) <= 0 || (wait.revents & POLLOUT) == 0) {
            return;
        }
    }
}

std::size_t SerialPort::BufferedCount() const
{
    int waiting = 0;
    if (!IsOpen() || ::ioctl(state_->Fd, FIONREAD, &waiting) != 0 || waiting < 0) {
        return 0;
    }
    return static_cast<std::size_t>(waiting);
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t maxCount)
{
    const std::size_t wanted = std::min(maxCount, BufferedCount());
    if (wanted == 0) {
        return 0;
    }
    ssize_t got = -1;
    do {
        got = ::read(state_->Fd, buffer, wanted);
    } while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

void SerialPort::DiscardInput()
{
    if (IsOpen()) {
        ::tcflush(state_->Fd, TCIFLUSH);
    }
}

bool SerialPort::WaitForInput(int milliseconds)
{
    if (milliseconds <= 0) {
        return BufferedCount() > 0;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (IsOpen()) {
        pollfd wait{state_->Fd, POLLIN, 0};
        int ready = -1;
        do {
            ready = ::poll(&wait, 1, milliseconds);
        } while (ready < 0 && errno == EINTR);
        if (ready > 0 && BufferedCount() > 0) {
            return true;
        }
    }
    // Closed port, hang-up or error: nothing will arrive; wait out the time.
    std::this_thread::sleep_until(deadline);
    return false;
}
