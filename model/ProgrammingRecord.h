#pragma once
// One programming of the ring as its record keeps it: an Apply of Module State or of Global
// Settings, or a Verify Settings; when, by whom, on which computer and port, what was asked,
// and for each module the frame and the verification's result.
#include "model/Verification.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

enum class ProgrammingKind { ModuleApply, RingApply, Verify };
enum class FrameOutcome { Taken, Refused, NotSent };

struct ProgrammedModule
{
    int id = 0;
    uint8_t mode = 0;   // sent; in a verification, what the module reported
    bool keep = false;  // sent with W
    FrameOutcome frame = FrameOutcome::NotSent;
    // The verification's result; for an Apply, that of the verification which judged this frame.
    std::optional<VerifyResult> verified;
};

struct ProgrammingRecord
{
    int64_t timeMs = 0;  // ms since 1970 UTC
    ProgrammingKind kind = ProgrammingKind::ModuleApply;
    QString user;
    QString computer;
    int port = 0;
    QString device;
    uint8_t mode = 0;   // asked: the rule (Module State) or the whole settings byte
    bool keep = false;  // asked to keep it in E²PROM
    std::vector<ProgrammedModule> modules;

    bool Concerns(int id) const;
};

// Records oldest first: each verification's results are attached to the Apply frames it judged,
// per port and module the last frame the port took before it.
void FollowVerifications(std::vector<ProgrammingRecord> &records);

// The record's texts as the window and the report show them.
class ProgrammingTexts
{
    Q_DECLARE_TR_FUNCTIONS(ProgrammingTexts)

public:
    // "Module State Apply", "Global Settings Apply", "Verify Settings".
    static QString Kind(ProgrammingKind kind);
    // "rule CH1_Error OR CH2_Error, kept in E²PROM", "19200 baud, parity even, 1 stop bit, rule ..."
    static QString Asked(const ProgrammingRecord &record);
    // "COM1 (/dev/ttyUSB0)".
    static QString Port(const ProgrammingRecord &record);
    // "taken by the port", "refused by the port", "not sent".
    static QString Frame(FrameOutcome frame);
    // "4 of 5 frames taken"; for a verification, its summary.
    static QString Outcome(const ProgrammingRecord &record);
    // "0x63".
    static QString Mode(uint8_t mode);
    static QString Keep(bool keep);
    // The verification's result, or empty.
    static QString Verified(const ProgrammedModule &module);
};
