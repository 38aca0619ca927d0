#include "model/ModuleData.h"

void ModuleData::SetVersion(uint8_t Version) { mVersion = Version; }
