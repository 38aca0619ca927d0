// Reads control lines without blocking, from standard input or from a FIFO that
// is created when missing and opened again each time its writer goes away.
#pragma once

#include <string>
#include <vector>

namespace zephsim {

class ControlInput {
public:
    ControlInput() = default;
    ~ControlInput();
    ControlInput(const ControlInput &) = delete;
    ControlInput &operator=(const ControlInput &) = delete;

    void useStdin();
    bool useFifo(const std::string &path, std::string &error);

    // -1 once reading has stopped.
    int fd() const { return m_fd; }
    // Complete lines read so far; sets endOfInput when the writer closed.
    std::vector<std::string> readLines(bool &endOfInput);
    // After end of input: a FIFO waits for its next writer, stdin stops.
    void restartOrStop();

private:
    bool openFifo();

    int m_fd = -1;
    std::string m_fifoPath;
    bool m_createdFifo = false;
    std::string m_partial;
};

} // namespace zephsim
