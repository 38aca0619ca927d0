#include "model/LocateFailures.h"

#include "model/Global.h"

#include <bitset>

namespace {
std::bitset<kTableSize> &Marks()
{
    static std::bitset<kTableSize> marks;
    return marks;
}
} // namespace

void MarkLocateFailed(int id)
{
    if (IsTableID(id))
        Marks().set(size_t(id));
}

void ClearLocateFailed(int id)
{
    if (IsTableID(id))
        Marks().reset(size_t(id));
}

bool LocateFailed(int id) { return IsTableID(id) && Marks().test(size_t(id)); }

void ClearAllLocateFailures() { Marks().reset(); }
