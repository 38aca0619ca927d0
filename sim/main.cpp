#include "ControlInput.h"
#include "ControlInterpreter.h"
#include "EepromStore.h"
#include "Options.h"
#include "PacedWriter.h"
#include "PseudoTerminal.h"
#include "Ring.h"
#include "RingFile.h"
#include "Simulator.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace zephsim;

namespace {

constexpr int kBadArguments = 2;

void onStopSignal(int)
{
    Simulator::stopRequested = 1;
}

// A descriptor 0..2 that was closed at start would otherwise be handed out
// for the terminal and then mistaken for stdin or stdout.
void occupyStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0)
            ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

int badArguments(const std::string &message)
{
    std::fprintf(stderr, "zephlink9-ringsim: %s\n(see --help)\n", message.c_str());
    return kBadArguments;
}

} // namespace

int main(int argc, char **argv)
{
    occupyStandardDescriptors();

    std::string error;
    const auto options = Options::parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options)
        return badArguments(error);
    if (options->help) {
        std::fputs(Options::usage(), stdout);
        std::fputs(ControlInterpreter::help(), stdout);
        return 0;
    }

    std::vector<Module> modules;
    if (!options->ringFile.empty()) {
        std::vector<std::string> errors;
        auto loaded = RingFile::load(options->ringFile, errors);
        if (!loaded) {
            for (const std::string &e : errors)
                std::fprintf(stderr, "zephlink9-ringsim: %s: %s\n", options->ringFile.c_str(), e.c_str());
            return kBadArguments;
        }
        modules = std::move(*loaded);
    } else {
        modules = RingFile::defaultRing(options->modules);
    }

    std::unique_ptr<EepromStore> store;
    if (!options->stateFile.empty()) {
        store = std::make_unique<EepromStore>(options->stateFile);
        if (!store->load(error))
            return badArguments(error);
        store->applyTo(modules);
    }
    Ring ring(std::move(modules));

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PseudoTerminal terminal;
    if (!terminal.open(error)) {
        std::fprintf(stderr, "zephlink9-ringsim: %s\n", error.c_str());
        return 1;
    }
    if (!options->linkPath.empty() && !terminal.link(options->linkPath, error)) {
        std::fprintf(stderr, "zephlink9-ringsim: %s\n", error.c_str());
        return 1;
    }

    ControlInput control;
    if (options->controlFifo.empty()) {
        control.useStdin();
    } else if (!control.useFifo(options->controlFifo, error)) {
        std::fprintf(stderr, "zephlink9-ringsim: %s\n", error.c_str());
        return 1;
    }

    std::printf("%s\n", terminal.portPath().c_str());
    std::fflush(stdout);

    PacedWriter writer(options->pacing ? PacedWriter::byteTime(options->baud) : std::chrono::nanoseconds(0));
    Simulator simulator(ring, terminal, control, writer, store.get(), options->exitOnEof,
                        options->trace);
    return simulator.run(waitMask);
}
