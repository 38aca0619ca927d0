#include "PseudoTerminal.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zephsim {

namespace {
std::string systemError(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}
} // namespace

PseudoTerminal::~PseudoTerminal()
{
    unlink();
    if (m_watch >= 0)
        ::close(m_watch);
    if (m_ownPort >= 0)
        ::close(m_ownPort);
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::open(std::string &error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = systemError("grantpt/unlockpt");
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (!name) {
        error = systemError("ptsname");
        return false;
    }
    m_portPath = name;

    // Raw 9600 8N1 until the program sets its own line settings; above all no
    // echo, which would send the program's commands straight back to it.
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    // Without an open port side, Linux answers reads on the master with EIO and
    // drops what was written; holding one open ourselves avoids both.
    m_ownPort = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_ownPort < 0) {
        error = systemError(std::string("open ") + name);
        return false;
    }

    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && ::inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_watch);
        m_watch = -1;
    }
    return true;
}

bool PseudoTerminal::link(const std::string &linkPath, std::string &error)
{
    struct stat st{};
    if (::lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = linkPath + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    const std::string temp = linkPath + ".new." + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(m_portPath.c_str(), temp.c_str()) != 0) {
        error = systemError("symlink " + temp);
        return false;
    }
    if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
        error = systemError("rename to " + linkPath);
        ::unlink(temp.c_str());
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void PseudoTerminal::unlink()
{
    if (m_linkPath.empty())
        return;
    // Only our own link goes; another simulator may have taken the path over.
    char target[PATH_MAX];
    const ssize_t n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == m_portPath)
        ::unlink(m_linkPath.c_str());
    m_linkPath.clear();
}

bool PseudoTerminal::takeOpenEvents()
{
    if (m_watch < 0)
        return false;
    const bool wasOpen = m_openCount > 0;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = ::read(m_watch, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->mask & IN_OPEN)
                ++m_openCount;
            if ((event->mask & IN_CLOSE) && m_openCount > 0)
                --m_openCount;
            if (event->mask & IN_Q_OVERFLOW)
                m_openCount = std::max(m_openCount, 1);
            if (event->mask & IN_IGNORED) {
                ::close(m_watch);
                m_watch = -1;
                return !wasOpen;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return !wasOpen && m_openCount > 0;
}

void PseudoTerminal::discardUnread()
{
    if (m_ownPort >= 0)
        ::tcflush(m_ownPort, TCIFLUSH);
}

} // namespace zephsim
