#pragma once
// Who programs the ring, as the operating system knows them: the user's login name and the
// computer's name.
#include <QString>

// USER, else USERNAME, else the system's own answer; empty when none tells.
QString OsUserName();
QString ComputerName();
