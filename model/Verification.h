#pragma once
// Verify Settings' comparison: each module's mode byte from a scan against what was applied
// to it, one result per module, and the sentence that sums them up.
#include "model/AppliedModes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

enum class VerifyKind { AsApplied, Differs, NoAnswer, NothingApplied };

struct VerifyResult
{
    int id = 0;
    VerifyKind kind = VerifyKind::NothingApplied;
    uint8_t mode = 0;     // what the module reported
    uint8_t applied = 0;  // what was last sent to it
    // "as applied", "differs: mode 0x13, applied 0x4B", "no answer", "nothing applied".
    QString Text() const;
    bool IsProblem() const { return kind == VerifyKind::Differs || kind == VerifyKind::NoAnswer; }
};

// The scanned modules in ring order, then the applied ones the scan did not find, by ID.
std::vector<VerifyResult> VerifyRing(const std::vector<int16_t> &order, const AppliedModes &applied,
                                     const std::function<uint8_t(int)> &reportedMode);

// "Verify Settings: 98 of 100 modules as applied, 1 differs, 1 no answer."
QString VerifySummary(const std::vector<VerifyResult> &results);

// The result of one module, or null.
const VerifyResult *FindResult(const std::vector<VerifyResult> &results, int id);
