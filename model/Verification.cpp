#include "model/Verification.h"

#include <QCoreApplication>
#include <QDateTime>

#include "model/ModuleTexts.h"

#include <algorithm>
#include <set>

namespace {
// In the order of VerifyKind.
const char *const kKindTexts[] = {QT_TRANSLATE_NOOP("Verification", "as applied"),
                                  QT_TRANSLATE_NOOP("Verification", "differs: mode %1, applied %2"),
                                  QT_TRANSLATE_NOOP("Verification", "no answer"),
                                  QT_TRANSLATE_NOOP("Verification", "nothing applied")};

QString KindText(const VerifyResult &result, bool translated)
{
    const char *text = kKindTexts[int(result.kind)];
    const QString words = translated ? QCoreApplication::translate("Verification", text) : QString::fromLatin1(text);
    return result.kind == VerifyKind::Differs ? words.arg(ModeHex(result.mode), ModeHex(result.applied)) : words;
}
} // namespace

QString VerifyResult::Text() const { return KindText(*this, false); }

std::vector<VerifyResult> VerifyRing(const RingSnapshot &ring, const AppliedModes &applied)
{
    std::vector<VerifyResult> results;
    std::set<int> seen;
    for (const ModuleSnapshot &module : ring) {
        if (!seen.insert(module.id).second)
            continue;
        VerifyResult result{module.id, VerifyKind::NothingApplied, module.mode, 0};
        if (const auto sent = applied.Applied(module.id)) {
            result.applied = sent->mode;
            result.kind = sent->mode == result.mode ? VerifyKind::AsApplied : VerifyKind::Differs;
        }
        results.push_back(result);
    }
    for (const auto &[id, sent] : applied.All()) {
        if (!seen.count(id))
            results.push_back(VerifyResult{id, VerifyKind::NoAnswer, 0, sent.mode});
    }
    return results;
}

const VerifyResult *Verification::Find(int id) const
{
    const auto found = std::find_if(results.begin(), results.end(), [id](const VerifyResult &r) { return r.id == id; });
    return found == results.end() ? nullptr : &*found;
}

bool Verification::IsStale(int id, const AppliedModes &applied) const
{
    const auto sent = applied.Applied(id);
    return sent && sent->stamp > appliedStamp;
}

void Verification::Follow(const RingScan &scan)
{
    for (const ModuleSnapshot &module : scan.modules) {
        const VerifyResult *result = Find(module.id);
        if (result && result->kind == VerifyKind::AsApplied && module.mode != result->mode)
            differsSinceMs.try_emplace(module.id, scan.sentMs);
    }
}

QString Verification::TextFor(int id, const AppliedModes &applied) const
{
    const VerifyResult *result = Find(id);
    if (!result)
        return {};
    if (IsStale(id, applied))
        return QCoreApplication::translate("Verification", "applied after the check");
    if (const auto since = differsSinceMs.find(id); since != differsSinceMs.end())
        return QCoreApplication::translate("Verification", "differs since %1")
            .arg(QDateTime::fromMSecsSinceEpoch(since->second).toString(QStringLiteral("HH:mm")));
    return KindText(*result, true);
}

QString VerifyCounts(const std::vector<VerifyResult> &results)
{
    const auto count = [&results](VerifyKind kind) {
        return int(std::count_if(results.begin(), results.end(), [kind](const VerifyResult &r) { return r.kind == kind; }));
    };
    QString text = QCoreApplication::translate("Verification", "%1 of %2 modules as applied, %3 differs, %4 no answer")
                       .arg(count(VerifyKind::AsApplied))
                       .arg(results.size())
                       .arg(count(VerifyKind::Differs))
                       .arg(count(VerifyKind::NoAnswer));
    if (const int untouched = count(VerifyKind::NothingApplied))
        text += QCoreApplication::translate("Verification", ", %1 nothing applied").arg(untouched);
    return text + QLatin1Char('.');
}

QString VerifySummary(const std::vector<VerifyResult> &results)
{
    return QCoreApplication::translate("Verification", "Verify Settings: %1").arg(VerifyCounts(results));
}
