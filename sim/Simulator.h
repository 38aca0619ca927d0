// The simulator's main loop: commands from the terminal go to the ring, its
// replies go back at wire pace, and control lines change the ring meanwhile.
#pragma once

#include "CommandScanner.h"
#include "ControlInput.h"
#include "ControlInterpreter.h"
#include "EepromStore.h"
#include "PacedWriter.h"
#include "PseudoTerminal.h"
#include "Ring.h"

#include <csignal>

namespace zephsim {

class Simulator {
public:
    Simulator(Ring &ring, PseudoTerminal &terminal, ControlInput &control, PacedWriter &writer, EepromStore *store,
              bool exitOnEof, bool trace = false);

    // Runs until quit, a stop signal or (if asked for) the end of the control input.
    // Signals are delivered only while waiting, with waitMask in force.
    int run(const sigset_t &waitMask);

    static volatile std::sig_atomic_t stopRequested;

private:
    void sendDue(PacedWriter::Clock::time_point now);
    void readTerminal();
    bool readControl(); // false when the simulator should end
    void saveEeprom();

    Ring &m_ring;
    PseudoTerminal &m_terminal;
    ControlInput &m_control;
    PacedWriter &m_writer;
    EepromStore *m_store;
    bool m_exitOnEof;
    bool m_trace;
    CommandScanner m_scanner;
    ControlInterpreter m_interpreter;
    bool m_blocked = false;
    PacedWriter::Clock::time_point m_terminalPausedUntil{};
};

} // namespace zephsim
