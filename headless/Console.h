#pragma once
// Standard output and error of a run without a window: one whole line at a time, UTF-8, passed
// on at once (to a pipe, a journal, or on Windows the console the program was started from).

#include <QString>

// On Windows, where the program (built for windows) was started from a console without its
// output redirected: writes to that console. Elsewhere it does nothing.
void UseStartingConsole();
void PrintLine(const QString &line);
void PrintProblem(const QString &line);
