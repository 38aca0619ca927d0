#include "model/ProgrammingRecord.h"

#include "model/ModeByte.h"

#include <algorithm>
#include <map>
#include <utility>

bool ProgrammingRecord::Concerns(int id) const
{
    return std::any_of(modules.begin(), modules.end(), [id](const ProgrammedModule &module) { return module.id == id; });
}

void FollowVerifications(std::vector<ProgrammingRecord> &records)
{
    std::map<std::pair<int, int>, ProgrammedModule *> judged;
    for (ProgrammingRecord &record : records) {
        for (ProgrammedModule &module : record.modules) {
            const std::pair<int, int> key{record.port, module.id};
            if (record.kind != ProgrammingKind::Verify) {
                if (module.frame == FrameOutcome::Taken)
                    judged[key] = &module;
                continue;
            }
            // A verification compares only with what its own run applied.
            const auto last = judged.find(key);
            if (last == judged.end() || !module.verified || module.verified->kind == VerifyKind::NothingApplied)
                continue;
            last->second->verified = module.verified;
            judged.erase(last);
        }
    }
}

QString ProgrammingTexts::Kind(ProgrammingKind kind)
{
    switch (kind) {
    case ProgrammingKind::ModuleApply:
        return tr("Module State Apply");
    case ProgrammingKind::RingApply:
        return tr("Global Settings Apply");
    case ProgrammingKind::Verify:
        break;
    }
    return tr("Verify Settings");
}

QString ProgrammingTexts::Asked(const ProgrammingRecord &record)
{
    const uint8_t mode = record.mode;
    QString asked;
    switch (record.kind) {
    case ProgrammingKind::Verify:
        return {};
    case ProgrammingKind::ModuleApply:
        asked = tr("rule %1").arg(ModeByte::RuleText(mode));
        break;
    case ProgrammingKind::RingApply:
        asked = (ModeByte::HasTwoStopBits(mode) ? tr("%1 baud, parity %2, 2 stop bits, rule %3")
                                                : tr("%1 baud, parity %2, 1 stop bit, rule %3"))
                    .arg(ModeByte::BaudText(mode), ModeByte::ParityText(mode), ModeByte::RuleText(mode));
        break;
    }
    return record.keep ? tr("%1, kept in E²PROM").arg(asked) : tr("%1, not kept in E²PROM").arg(asked);
}

QString ProgrammingTexts::Port(const ProgrammingRecord &record)
{
    return record.device.isEmpty() ? tr("COM%1").arg(record.port) : tr("COM%1 (%2)").arg(record.port).arg(record.device);
}

QString ProgrammingTexts::Frame(FrameOutcome frame)
{
    switch (frame) {
    case FrameOutcome::Taken:
        return tr("taken by the port");
    case FrameOutcome::Refused:
        return tr("refused by the port");
    case FrameOutcome::NotSent:
        break;
    }
    return tr("not sent");
}

QString ProgrammingTexts::Outcome(const ProgrammingRecord &record)
{
    if (record.kind == ProgrammingKind::Verify) {
        std::vector<VerifyResult> results;
        for (const ProgrammedModule &module : record.modules)
            if (module.verified)
                results.push_back(*module.verified);
        return VerifySummary(results);
    }
    const auto taken = std::count_if(record.modules.begin(), record.modules.end(),
                                     [](const ProgrammedModule &module) { return module.frame == FrameOutcome::Taken; });
    return tr("%1 of %2 frames taken").arg(taken).arg(record.modules.size());
}

QString ProgrammingTexts::Mode(uint8_t mode)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(mode, 2, 16, QLatin1Char('0')).toUpper();
}

QString ProgrammingTexts::Keep(bool keep) { return keep ? tr("kept in E²PROM") : tr("not kept"); }

QString ProgrammingTexts::Verified(const ProgrammedModule &module)
{
    return module.verified ? module.verified->Text() : QString();
}
