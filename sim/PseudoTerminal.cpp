#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::~PseudoTerminal()
{
    if (terminal_ >= 0) {
        ::close(terminal_);
    }
    if (control_ >= 0) {
        ::close(control_);
    }
}

bool PseudoTerminal::Open(std::string& error)
{
    control_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (control_ < 0 || ::grantpt(control_) != 0 || ::unlockpt(control_) != 0 ||
        ::ptsname_r(control_, name, sizeof name) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    path_ = name;
    terminal_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (terminal_ < 0 || ::tcgetattr(terminal_, &settings) != 0) {
        error = "cannot open " + path_ + ": " + std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(terminal_, TCSANOW, &settings) != 0 ||
        ::fcntl(control_, F_SETFL, ::fcntl(control_, F_GETFL) | O_NONBLOCK) != 0) {
        error = "cannot set up " + path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
