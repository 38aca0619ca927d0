// Carries out the line commands of the control input that change the ring while
// the simulator runs (faults, counters, silent modules, raw bytes, ...).
#pragma once

#include "Ring.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zephsim {

struct ControlResult {
    bool ok = true;
    bool quit = false;
    std::string output;             // for stdout, one line each, newline-terminated
    std::string error;              // for stderr
    std::vector<std::uint8_t> raw;  // bytes to send to the PC
};

class ControlInterpreter {
public:
    explicit ControlInterpreter(Ring &ring) : m_ring(ring) {}

    ControlResult execute(std::string_view line);

    static const char *help();

private:
    Ring &m_ring;
};

} // namespace zephsim
