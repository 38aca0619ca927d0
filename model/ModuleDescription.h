#pragma once
// What the table knows of one module, in words: the text of its tooltip and of its
// accessible description.
#include <QString>

class ModuleData;

// ID, last reply letter, version, mode byte and its meaning, both channels, and the mark
// of a locate that got no answer; one line each. A record that never took a reply says so.
QString DescribeModule(const ModuleData &record, bool locateFailed);
