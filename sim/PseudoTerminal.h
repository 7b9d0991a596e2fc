#pragma once

#include <string>

// A pseudo-terminal whose terminal side plays the gateway's serial port. The
// simulator keeps the terminal side open itself, so that the line stays up
// between the tool's connections, and sets it to raw 8-bit mode.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False with a reason when no pseudo-terminal can be had.
    bool Open(std::string& error);

    // The controlling side, non-blocking: what the tool writes comes out here.
    int ControlFd() const { return control_; }
    // The device path of the terminal side, for the tool to open.
    const std::string& TerminalPath() const { return path_; }

private:
    int control_ = -1;
    int terminal_ = -1;
    std::string path_;
};
