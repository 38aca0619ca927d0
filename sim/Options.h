// The simulator's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zephsim {

struct Options {
    unsigned modules = 4;
    bool modulesGiven = false;
    std::string ringFile;
    std::string stateFile;
    std::string linkPath;
    std::string controlFifo;
    bool exitOnEof = false;
    bool pacing = true;
    bool trace = false;
    unsigned baud = 9600;
    bool help = false;

    static std::optional<Options> parse(const std::vector<std::string> &args, std::string &error);
    static const char *usage();
};

} // namespace zephsim
