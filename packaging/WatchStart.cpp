// Starts the watcher with SIGTERM, SIGINT and SIGHUP held back: a service manager's stop that
// comes while the program is still loading its libraries waits until the program answers it.
#include <csignal>
#include <initializer_list>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, nullptr);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    execv(argv[1], argv + 1);
    std::perror(argv[1]);
    return 127;
}
