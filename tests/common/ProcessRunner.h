#pragma once

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/types.h>
#endif

// Runs a program to its end with the given arguments and collects its exit
// status and both output streams.
struct ProcessResult {
    int ExitStatus = -1;
    std::string Out;
    std::string Err;
};

#ifndef _WIN32
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment = {});

// The same as another user: the child takes the user and group (and no
// supplementary groups) before it starts the program; exit status 127 when
// it cannot. Needs the superuser.
ProcessResult RunProcessAsUser(const std::vector<std::string>& argv, uid_t uid, gid_t gid);
#endif
