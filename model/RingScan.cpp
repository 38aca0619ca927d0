#include "model/RingScan.h"

#include <algorithm>

int RingScan::PositionOf(int id) const
{
    const auto found = std::find_if(modules.begin(), modules.end(), [id](const ModuleSnapshot &m) { return m.id == id; });
    return found == modules.end() ? -1 : int(found - modules.begin());
}

const ModuleSnapshot *RingScan::Find(int id) const
{
    const int position = PositionOf(id);
    return position < 0 ? nullptr : &modules[size_t(position)];
}
