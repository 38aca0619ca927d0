#include "Simulator.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace zephsim {

volatile std::sig_atomic_t Simulator::stopRequested = 0;

namespace {
using Clock = PacedWriter::Clock;
constexpr auto kHangupPause = std::chrono::milliseconds(50);
} // namespace

Simulator::Simulator(Ring &ring, PseudoTerminal &terminal, ControlInput &control, PacedWriter &writer,
                     EepromStore *store, bool exitOnEof, bool trace)
    : m_ring(ring), m_terminal(terminal), m_control(control), m_writer(writer), m_store(store),
      m_exitOnEof(exitOnEof), m_trace(trace), m_interpreter(ring)
{
}

int Simulator::run(const sigset_t &waitMask)
{
    while (!stopRequested) {
        Clock::time_point now = Clock::now();
        if (!m_blocked)
            sendDue(now);

        pollfd fds[3];
        nfds_t count = 0;
        int terminalIndex = -1;
        int watchIndex = -1;
        int controlIndex = -1;
        std::optional<Clock::time_point> wake;
        if (now >= m_terminalPausedUntil) {
            short events = POLLIN;
            if (m_blocked)
                events |= POLLOUT;
            terminalIndex = static_cast<int>(count);
            fds[count++] = {m_terminal.masterFd(), events, 0};
        } else {
            wake = m_terminalPausedUntil;
        }
        if (m_terminal.openWatchFd() >= 0) {
            watchIndex = static_cast<int>(count);
            fds[count++] = {m_terminal.openWatchFd(), POLLIN, 0};
        }
        if (m_control.fd() >= 0) {
            controlIndex = static_cast<int>(count);
            fds[count++] = {m_control.fd(), POLLIN, 0};
        }
        if (!m_blocked) {
            if (auto due = m_writer.nextDue(); due && (!wake || *due < *wake))
                wake = due;
        }

        timespec timeout{};
        timespec *timeoutPtr = nullptr;
        if (wake) {
            const auto left = std::max(std::chrono::nanoseconds(0), *wake - now);
            timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
            timeoutPtr = &timeout;
        }
        const int ready = ::ppoll(fds, count, timeoutPtr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("zephlink9-ringsim: poll");
            return 1;
        }
        if (ready == 0)
            continue;

        // Open and close events first: the program opens the port before it
        // writes to it, and closes it before it sends the next control line.
        if (watchIndex >= 0 && (fds[watchIndex].revents & POLLIN) && m_terminal.takeOpenEvents())
            m_terminal.discardUnread();
        if (terminalIndex >= 0) {
            const short revents = fds[terminalIndex].revents;
            if (revents & POLLOUT)
                m_blocked = false;
            if (revents & POLLIN)
                readTerminal();
            else if (revents & (POLLHUP | POLLERR))
                m_terminalPausedUntil = Clock::now() + kHangupPause;
        }
        if (controlIndex >= 0 && fds[controlIndex].revents && !readControl())
            return 0;
    }
    return 0;
}

void Simulator::sendDue(Clock::time_point now)
{
    // With nobody at the other end the bytes are lost, as on a real line.
    if (!m_terminal.isOpenElsewhere()) {
        m_writer.clear();
        return;
    }
    const auto bytes = m_writer.due(now);
    if (bytes.empty())
        return;
    const ssize_t written = ::write(m_terminal.masterFd(), bytes.data(), bytes.size());
    const std::size_t sent = written > 0 ? static_cast<std::size_t>(written) : 0;
    m_blocked = sent < bytes.size();
    m_writer.consumed(sent, now, m_blocked);
}

void Simulator::readTerminal()
{
    std::uint8_t buffer[1024];
    for (;;) {
        const ssize_t n = ::read(m_terminal.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            const auto now = Clock::now();
            for (const Command &command : m_scanner.feed(buffer, static_cast<std::size_t>(n))) {
                const auto reply = m_ring.handle(command);
                if (m_trace)
                    std::fprintf(stderr, "zephlink9-ringsim: command %c %02X %02X %02X, %zu reply bytes\n",
                                 command.letter >= 32 && command.letter < 127 ? command.letter : '?', command.arg1,
                                 command.arg2, command.arg3, reply.size());
                if (!reply.empty() && !m_writer.enqueue(reply.data(), reply.size(), now))
                    std::fprintf(stderr, "zephlink9-ringsim: output queue full, reply dropped\n");
            }
            saveEeprom();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EIO means no one holds the port side open; should not happen while we
        // hold it ourselves, but it must not turn into a busy loop either.
        if (n < 0 && errno == EIO)
            m_terminalPausedUntil = Clock::now() + kHangupPause;
        return;
    }
}

bool Simulator::readControl()
{
    bool endOfInput = false;
    for (const std::string &line : m_control.readLines(endOfInput)) {
        ControlResult result = m_interpreter.execute(line);
        if (!result.ok)
            std::fprintf(stderr, "zephlink9-ringsim: error: %s\n", result.error.c_str());
        if (!result.raw.empty()) {
            const auto now = Clock::now();
            if (!m_writer.enqueue(result.raw.data(), result.raw.size(), now))
                std::fprintf(stderr, "zephlink9-ringsim: output queue full, raw bytes dropped\n");
            // Whatever is due goes out before later lines are answered.
            if (!m_blocked)
                sendDue(now);
        }
        if (!result.output.empty()) {
            std::fputs(result.output.c_str(), stdout);
            std::fflush(stdout);
        }
        if (result.quit)
            return false;
    }
    if (endOfInput) {
        if (m_exitOnEof)
            return false;
        m_control.restartOrStop();
    }
    return true;
}

void Simulator::saveEeprom()
{
    if (!m_ring.eepromChanged())
        return;
    m_ring.clearEepromChanged();
    std::string error;
    if (m_store && !m_store->save(m_ring.modules(), error))
        std::fprintf(stderr, "zephlink9-ringsim: %s\n", error.c_str());
}

} // namespace zephsim
