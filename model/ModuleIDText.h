#pragma once
// A module ID typed by the user: a whole decimal number with a slot in the module table.
#include <QString>

// Why text is not a module ID (empty when it is); *id gets the ID when it is.
QString ModuleIDProblem(const QString &text, int *id);
