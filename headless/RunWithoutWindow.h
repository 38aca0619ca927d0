#pragma once
// The program run without a window, on a QCoreApplication that needs no display: the watcher
// (--headless) or the check (--check). Returns the process's exit code.
int RunWithoutWindow(int argc, char *argv[]);
