#include "model/ModuleData.h"

#include "model/Global.h"

void ModuleData::SetVersion(uint8_t Version)
{
    mVersion = Version;
    if (Version < gMinVersion)
        gMinVersion = Version;
}
