// Keeps the mode bytes that the modules stored with W in a small file, so that
// they survive a restart of the simulator. One "ID MODE" pair per line.
#pragma once

#include "Module.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zephsim {

class EepromStore {
public:
    explicit EepromStore(std::string path) : m_path(std::move(path)) {}

    // A missing file is an empty store; false only for a file that cannot be read or parsed.
    bool load(std::string &error);
    // Modules found in the store start with their stored mode byte.
    void applyTo(std::vector<Module> &modules) const;
    // Takes the stored mode bytes of the modules and writes the file (atomically).
    bool save(const std::vector<Module> &modules, std::string &error);

    const std::map<std::uint16_t, std::uint8_t> &entries() const { return m_entries; }

private:
    std::string m_path;
    std::map<std::uint16_t, std::uint8_t> m_entries;
};

} // namespace zephsim
