#include "CliRunner.h"
#include "FileAccess.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    IgnoreFileSizeSignal();
    const CliEnvironment environment{std::cout, std::cerr, {}, nullptr, nullptr};
    return RunCli(std::vector<std::string>(argv + 1, argv + argc), environment);
}
