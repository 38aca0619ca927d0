// The pseudo-terminal that stands in for the serial line. The simulator keeps a
// handle on the port side itself, so the program can close and reopen the port
// without the terminal hanging up, and follows whether anyone has it open.
#pragma once

#include <string>

namespace zephsim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open(std::string &error);
    // Makes linkPath a symbolic link to the port; an existing link is replaced.
    bool link(const std::string &linkPath, std::string &error);
    void unlink();

    int masterFd() const { return m_master; }
    int openWatchFd() const { return m_watch; }
    const std::string &portPath() const { return m_portPath; }

    // Reads the open and close events of the port; true when it went from
    // closed to open.
    bool takeOpenEvents();
    // Whether someone besides the simulator has the port open. Without the
    // means to tell, always true.
    bool isOpenElsewhere() const { return m_watch < 0 || m_openCount > 0; }
    // Drops what is waiting unread on the port side.
    void discardUnread();

private:
    int m_master = -1;
    int m_ownPort = -1;
    int m_watch = -1;
    int m_openCount = 0;
    std::string m_portPath;
    std::string m_linkPath;
};

} // namespace zephsim
