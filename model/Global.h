#pragma once
// The module table and the few values that the protocol, the ring view and the dialogs share.
#include "model/ModuleData.h"

#include <QString>
#include <array>
#include <cstdint>

inline constexpr int kMaxModuleID = 32000;
inline constexpr int kTableSize = kMaxModuleID + 1;
inline constexpr uint8_t kMinAcceptedVersion = 40;

extern std::array<ModuleData, kTableSize> gModules;   // indexed by module ID
extern std::array<int16_t, kTableSize> gModuleOrder;  // ring order of the last scan
extern int16_t gModuleCount;
extern uint8_t gMinVersion;
extern int16_t gLocalModuleID;

extern uint8_t gCmdArg1;
extern uint8_t gCmdArg2;
extern uint8_t gCmdArg3;

extern bool gDataReceived;
extern bool gDebugMode;
extern bool gAutoRefresh;
extern uint8_t gComPort;
extern QString gIniPath;
// Kept in 32 bits: a main window on a large screen is wider than 32767 twips.
extern int32_t gBusInfoHeight;
extern int32_t gBusInfoWidth;

// Puts every shared value back to its start-up state (a fresh table, nothing counted).
void ResetGlobals();

// Leaves position 0 in place, then the L modules in their order, then all others reversed.
void SortModulesBySide();

// The byte as eight "1"/"0" characters, most significant bit first.
QString ByteToBin(uint8_t value);

// Whether an ID has a slot in the table.
inline bool IsTableID(int id) { return id >= 0 && id <= kMaxModuleID; }
