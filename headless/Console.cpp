#include "headless/Console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
void Put(FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void UseStartingConsole()
{
#ifdef Q_OS_WIN
    const auto hasStream = [](DWORD which) { return GetFileType(GetStdHandle(which)) != FILE_TYPE_UNKNOWN; };
    const bool out = hasStream(STD_OUTPUT_HANDLE);
    const bool err = hasStream(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
#endif
}

void PrintLine(const QString &line) { Put(stdout, line); }

void PrintProblem(const QString &line) { Put(stderr, line); }
