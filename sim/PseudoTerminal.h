// The pseudo-terminal that stands in for the serial line. The simulator keeps a
// handle on the port side itself, so the program can close and reopen the port
// without the terminal hanging up, and notices each time the program opens it.
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

    // True when the port was opened by someone since the last call.
    bool takeOpenEvents();
    // Drops what was sent while nobody had the port open, as a real line does.
    void discardUnread();

private:
    int m_master = -1;
    int m_ownPort = -1;
    int m_watch = -1;
    std::string m_portPath;
    std::string m_linkPath;
};

} // namespace zephsim
