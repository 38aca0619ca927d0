#include "model/Global.h"

#include "model/AppliedModes.h"

#include "model/LocateFailures.h"

#include <vector>

std::array<ModuleData, kTableSize> gModules;
std::array<int16_t, kTableSize> gModuleOrder{};
int16_t gModuleCount = 0;
uint8_t gMinVersion = 255;
int16_t gLocalModuleID = 0;

uint8_t gCmdArg1 = 0;
uint8_t gCmdArg2 = 0;
uint8_t gCmdArg3 = 0;

bool gDataReceived = false;
bool gDebugMode = false;
bool gAutoRefresh = false;
uint8_t gComPort = 0;
QString gIniPath;
int32_t gBusInfoHeight = 0;
int32_t gBusInfoWidth = 0;

void ResetGlobals()
{
    gModules.fill(ModuleData{});
    gModuleOrder.fill(0);
    ClearAllLocateFailures();
    gAppliedModes.Clear();
    gModuleCount = 0;
    gMinVersion = 255;
    gLocalModuleID = 0;
    gCmdArg1 = gCmdArg2 = gCmdArg3 = 0;
    gDataReceived = false;
    gDebugMode = false;
    gAutoRefresh = false;
    gComPort = 0;
    gIniPath.clear();
    gBusInfoHeight = 0;
    gBusInfoWidth = 0;
}

void SortModulesBySide()
{
    const int count = gModuleCount;
    if (count <= 2)
        return;
    std::vector<int16_t> scratch(size_t(count), 0);
    int front = 1;
    int back = count - 1;
    for (int i = 1; i <= count - 1; ++i) {
        const int16_t id = gModuleOrder[i];
        if (IsTableID(id) && gModules[id].GetSide() == 'L')
            scratch[front++] = id;
        else
            scratch[back--] = id;
    }
    for (int i = 1; i <= count - 1; ++i)
        gModuleOrder[i] = scratch[i];
}

QString ByteToBin(uint8_t value)
{
    QString text;
    text.reserve(8);
    for (int bit = 128; bit >= 1; bit /= 2)
        text += (value & bit) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}
