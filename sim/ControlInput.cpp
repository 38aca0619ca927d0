#include "ControlInput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephsim {

ControlInput::~ControlInput()
{
    if (m_fd > 0)
        ::close(m_fd);
    if (m_createdFifo)
        ::unlink(m_fifoPath.c_str());
}

void ControlInput::useStdin()
{
    // Left blocking: it is shared with the shell, and one read per poll wake-up
    // never blocks.
    m_fd = STDIN_FILENO;
}

bool ControlInput::useFifo(const std::string &path, std::string &error)
{
    m_fifoPath = path;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISFIFO(st.st_mode)) {
            error = path + " exists and is not a FIFO";
            return false;
        }
    } else {
        if (::mkfifo(path.c_str(), 0600) != 0) {
            error = "mkfifo " + path + ": " + std::strerror(errno);
            return false;
        }
        m_createdFifo = true;
    }
    if (!openFifo()) {
        error = "open " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool ControlInput::openFifo()
{
    // A FIFO freshly opened for reading without a writer polls as not ready on
    // Linux, so the poll loop simply waits for the next writer.
    m_fd = ::open(m_fifoPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return m_fd >= 0;
}

std::vector<std::string> ControlInput::readLines(bool &endOfInput)
{
    endOfInput = false;
    std::vector<std::string> lines;
    if (m_fd < 0)
        return lines;
    char buffer[4096];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n > 0)
        m_partial.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        endOfInput = true;
    std::size_t start = 0;
    for (std::size_t nl; (nl = m_partial.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(m_partial.substr(start, nl - start));
    m_partial.erase(0, start);
    if (endOfInput && !m_partial.empty()) {
        lines.push_back(m_partial);
        m_partial.clear();
    }
    return lines;
}

void ControlInput::restartOrStop()
{
    if (m_fd > 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_fifoPath.empty())
        openFifo();
}

} // namespace zephsim
