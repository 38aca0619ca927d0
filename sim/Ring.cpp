#include "Ring.h"

#include "ReplyFrame.h"

#include <algorithm>

namespace zephsim {

Module *Ring::find(std::uint16_t id)
{
    auto it = std::find_if(m_modules.begin(), m_modules.end(), [id](const Module &m) { return m.id == id; });
    return it == m_modules.end() ? nullptr : &*it;
}

const Module *Ring::attached() const
{
    auto it = std::find_if(m_modules.begin(), m_modules.end(), [](const Module &m) { return m.side == 'G'; });
    return it == m_modules.end() ? nullptr : &*it;
}

bool Ring::add(const Module &module)
{
    if (find(module.id))
        return false;
    m_modules.push_back(module);
    return true;
}

bool Ring::remove(std::uint16_t id)
{
    return std::erase_if(m_modules, [id](const Module &m) { return m.id == id; }) > 0;
}

void Ring::appendReply(std::vector<std::uint8_t> &out, const Module &module, char letter) const
{
    const auto frame = ReplyFrame::encode(module, letter);
    out.insert(out.end(), frame.begin(), frame.end());
}

std::vector<std::uint8_t> Ring::handle(const Command &command)
{
    std::vector<std::uint8_t> out;
    switch (command.letter) {
    case 'G': {
        const Module *local = attached();
        if (local && !local->silent)
            appendReply(out, *local, 'G');
        for (const Module &m : m_modules) {
            if (&m != local && !m.silent)
                appendReply(out, m, m.side);
        }
        break;
    }
    case 'P':
        if (const Module *m = find(command.id()); m && !m->silent)
            appendReply(out, *m, 'P');
        break;
    case 'S':
    case 'W':
        if (Module *m = find(command.id()); m && !m->ignoresWrites) {
            m->mode = command.arg3;
            if (command.letter == 'W' && m->storedMode != command.arg3) {
                m->storedMode = command.arg3;
                m_eepromChanged = true;
            }
        }
        break;
    default:
        break;
    }
    return out;
}

void Ring::restart()
{
    for (Module &m : m_modules)
        m.mode = m.storedMode;
}

} // namespace zephsim
