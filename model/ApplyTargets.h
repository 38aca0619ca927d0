#pragma once
// The modules that "Global Settings" programs, in the order it programs them.
#include <cstdint>
#include <vector>

// The modules counted by the last scan (positions 0 to count - 1 of order), without the
// attached module and without ID 0, in ascending ID, each once; then the attached module.
std::vector<int> ApplyTargets(const int16_t *order, int count, int localID);
