#include "cli/CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runCli(args, std::cout, std::cerr, nullptr);
}
