#pragma once

#include <string>
#include <vector>

// What the command line of the window program asks for:
//
//   halvex [FILE] [--import-xrf XRF] [--describe-window] [vorlanqix]
//
// FILE is the configuration to open; without it the program starts with a
// new untitled one. --import-xrf runs the XRF unit import of the named file
// once the window is shown. The extended-mode keyword anywhere in the command line
// (also inside a file name) switches on extended mode; standing alone, or
// after "-", "--" or "/", it is that switch and not a file name.
// --describe-window prints the window title, the area byte counts, the time
// from start to the first shown window and the point list lines on standard
// output once the window is shown, and quits.
struct StartOptions {
    std::string File;
    std::string ImportXrf;
    bool DescribeWindow = false;
    // The whole command line, the program name included, for the
    // extended-mode keyword.
    std::string CommandLine;
    // Empty when the command line is valid; else what is wrong with it.
    std::string Error;
};

StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

inline constexpr const char* kStartUsage = "usage: halvex [FILE] [--import-xrf XRF] [--describe-window]";
