#include "EepromStore.h"

#include "TextFields.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace zephsim {

bool EepromStore::load(std::string &error)
{
    m_entries.clear();
    std::ifstream in(m_path);
    if (!in) {
        if (errno == ENOENT)
            return true;
        error = "cannot read " + m_path + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const auto words = TextFields::words(TextFields::stripComment(line));
        if (words.empty())
            continue;
        const auto id = words.size() == 2 ? TextFields::number(words[0], 0xFFFF) : std::nullopt;
        const auto mode = words.size() == 2 ? TextFields::number(words[1], 0xFF) : std::nullopt;
        if (!id || !mode) {
            error = m_path + ": line " + std::to_string(lineNumber) + ": expected ID MODE";
            return false;
        }
        m_entries[static_cast<std::uint16_t>(*id)] = static_cast<std::uint8_t>(*mode);
    }
    return true;
}

void EepromStore::applyTo(std::vector<Module> &modules) const
{
    for (Module &module : modules) {
        if (auto it = m_entries.find(module.id); it != m_entries.end())
            module.mode = module.storedMode = it->second;
    }
}

bool EepromStore::save(const std::vector<Module> &modules, std::string &error)
{
    for (const Module &module : modules)
        m_entries[module.id] = module.storedMode;

    std::ostringstream text;
    text << "# EEPROM mode bytes of the simulated modules: ID MODE\n";
    for (const auto &[id, mode] : m_entries) {
        char line[32];
        std::snprintf(line, sizeof line, "%u 0x%02X\n", id, mode);
        text << line;
    }
    const std::string temp = m_path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << text.str();
        if (!out.flush()) {
            error = "cannot write " + temp + ": " + std::strerror(errno);
            return false;
        }
    }
    if (std::rename(temp.c_str(), m_path.c_str()) != 0) {
        error = "cannot replace " + m_path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace zephsim
