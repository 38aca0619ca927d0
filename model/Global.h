#pragma once
// The module table's bounds, and the small helpers the protocol, the ring view and the dialogs share.
#include <QString>
#include <cstdint>

inline constexpr int kMaxModuleID = 32000;
inline constexpr int kTableSize = kMaxModuleID + 1;
inline constexpr uint8_t kMinAcceptedVersion = 40;
// How long the automatic refresh waits from one scan to the next.
inline constexpr int kRefreshIntervalMs = 10000;

// The byte as eight "1"/"0" characters, most significant bit first.
QString ByteToBin(uint8_t value);

// Whether an ID has a slot in the table.
inline bool IsTableID(int id) { return id >= 0 && id <= kMaxModuleID; }
