// Reads and writes the ring description: one module per line as key=value
// fields, with # comments and blank lines.
#pragma once

#include "Module.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephsim {

class RingFile {
public:
    // A full module line; id and side are required, the rest has defaults.
    static std::optional<Module> parseModule(std::string_view line, std::string &error);
    // Changes the given fields of an existing module; id cannot be changed.
    static bool applyFields(Module &module, std::string_view fields, std::string &error);
    // A whole ring; errors name their line. Duplicate IDs are refused.
    static std::optional<std::vector<Module>> parseRing(std::string_view text, std::vector<std::string> &errors);
    static std::optional<std::vector<Module>> load(const std::string &path, std::vector<std::string> &errors);

    static std::string format(const Module &module);
    // Modules 1..count, module 1 attached, the others alternating L and R.
    static std::vector<Module> defaultRing(unsigned count);
};

} // namespace zephsim
