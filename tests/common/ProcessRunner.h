#pragma once

#include <string>
#include <vector>

// Runs a program to its end with the given arguments and collects its exit
// status and both output streams.
struct ProcessResult {
    int ExitStatus = -1;
    std::string Out;
    std::string Err;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {});
