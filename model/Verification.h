#pragma once
// Verify Settings' comparison: each module's mode byte as a scan's reply said it against what
// was applied to it before that scan, one result per module, and the sentence that sums them up.
#include "model/AppliedModes.h"
#include "model/RingScan.h"

#include <QString>
#include <cstdint>
#include <map>
#include <vector>

enum class VerifyKind { AsApplied, Differs, NoAnswer, NothingApplied };

struct VerifyResult
{
    int id = 0;
    VerifyKind kind = VerifyKind::NothingApplied;
    uint8_t mode = 0;     // what the module reported
    uint8_t applied = 0;  // what was last sent to it
    // "as applied", "differs: mode 0x13, applied 0x4B", "no answer", "nothing applied": in
    // English always, as the events and the history keep it.
    QString Text() const;
    bool IsProblem() const { return kind == VerifyKind::Differs || kind == VerifyKind::NoAnswer; }
};

// The scanned modules in ring order, then the applied ones the scan did not find, by ID.
std::vector<VerifyResult> VerifyRing(const RingSnapshot &ring, const AppliedModes &applied);

// One verification: when its scan went out, what had been applied by then, and the results.
struct Verification
{
    int64_t timeMs = 0;         // when the verification's scan was asked for, ms since 1970 UTC
    uint64_t appliedStamp = 0;  // the last Apply sent before it
    std::vector<VerifyResult> results;
    // Modules found as applied that a later scan read with another mode: when that scan went out.
    std::map<int, int64_t> differsSinceMs;

    // A whole scan after the verification: a module as applied then that reads another mode
    // now no longer stands verified.
    void Follow(const RingScan &scan);
    // The module's result, or null.
    const VerifyResult *Find(int id) const;
    // Whether an Apply went to the module after the verification: its result no longer holds.
    bool IsStale(int id, const AppliedModes &applied) const;
    // The result as it stands now: "applied after the check" once stale, "differs since 14:05"
    // once a later scan read another mode; empty without a result. In the windows' language.
    QString TextFor(int id, const AppliedModes &applied) const;
};

// "98 of 100 modules as applied, 1 differs, 1 no answer.", in the windows' language.
QString VerifyCounts(const std::vector<VerifyResult> &results);
// "Verify Settings: " and the counts.
QString VerifySummary(const std::vector<VerifyResult> &results);
