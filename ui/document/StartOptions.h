#pragma once

#include <string>
#include <vector>

// What the command line of the window program asks for:
//
//   halvex [FILE] [--import-xrf XRF] [--describe-window] [vorlanqix]
//   halvex --help | --version
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
    bool Help = false;     // --help, -h: print the usage and the options
    bool Version = false;  // --version
    // The whole command line, the program name included, for the
    // extended-mode keyword.
    std::string CommandLine;
    // Empty when the command line is valid; else what is wrong with it.
    std::string Error;
};

StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

inline constexpr const char* kStartUsage = "usage: halvex [FILE] [--import-xrf XRF] [--describe-window]";
inline constexpr const char* kStartOptionsHelp =
    "  FILE               the configuration file to open; without it a new one\n"
    "  --import-xrf XRF   once the window is shown, build a new configuration\n"
    "                     from the SPA unit description file XRF\n"
    "  --describe-window  print the window title, the area byte counts, the time\n"
    "                     to the first shown window and the point list, then quit\n"
    "  --help, -h         print this help and quit\n"
    "  --version          print the version and quit\n";
