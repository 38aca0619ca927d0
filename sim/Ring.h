// The simulated ring: its modules in ring-file order and how they answer the
// G, P, S and W commands from the PC.
#pragma once

#include "CommandScanner.h"
#include "Module.h"

#include <cstdint>
#include <vector>

namespace zephsim {

class Ring {
public:
    Ring() = default;
    explicit Ring(std::vector<Module> modules) : m_modules(std::move(modules)) {}

    std::vector<Module> &modules() { return m_modules; }
    const std::vector<Module> &modules() const { return m_modules; }

    Module *find(std::uint16_t id);
    const Module *attached() const; // first module on side G
    bool add(const Module &module); // false on a duplicate ID
    bool remove(std::uint16_t id);

    // Bytes the ring sends back for one command; empty when nobody answers.
    std::vector<std::uint8_t> handle(const Command &command);

    // Power cycle: every module runs on the mode byte kept in its EEPROM again.
    void restart();

    // Set by W, cleared by whoever saves the EEPROM contents.
    bool eepromChanged() const { return m_eepromChanged; }
    void clearEepromChanged() { m_eepromChanged = false; }

private:
    void appendReply(std::vector<std::uint8_t> &out, const Module &module, char letter) const;

    std::vector<Module> m_modules;
    bool m_eepromChanged = false;
};

} // namespace zephsim
