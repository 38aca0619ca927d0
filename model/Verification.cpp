#include "model/Verification.h"

#include <algorithm>
#include <set>

namespace {
QString Hex(uint8_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}
} // namespace

QString VerifyResult::Text() const
{
    switch (kind) {
    case VerifyKind::AsApplied:
        return QStringLiteral("as applied");
    case VerifyKind::Differs:
        return QStringLiteral("differs: mode %1, applied %2").arg(Hex(mode), Hex(applied));
    case VerifyKind::NoAnswer:
        return QStringLiteral("no answer");
    case VerifyKind::NothingApplied:
        break;
    }
    return QStringLiteral("nothing applied");
}

std::vector<VerifyResult> VerifyRing(const std::vector<int16_t> &order, const AppliedModes &applied,
                                     const std::function<uint8_t(int)> &reportedMode)
{
    std::vector<VerifyResult> results;
    std::set<int> seen;
    for (const int16_t id : order) {
        if (!seen.insert(id).second)
            continue;
        VerifyResult result{id, VerifyKind::NothingApplied, reportedMode(id), 0};
        if (const std::optional<uint8_t> sent = applied.Applied(id)) {
            result.applied = *sent;
            result.kind = *sent == result.mode ? VerifyKind::AsApplied : VerifyKind::Differs;
        }
        results.push_back(result);
    }
    for (const auto &[id, mode] : applied.All()) {
        if (!seen.count(id))
            results.push_back(VerifyResult{id, VerifyKind::NoAnswer, 0, mode});
    }
    return results;
}

QString VerifySummary(const std::vector<VerifyResult> &results)
{
    const auto count = [&results](VerifyKind kind) {
        return int(std::count_if(results.begin(), results.end(), [kind](const VerifyResult &r) { return r.kind == kind; }));
    };
    QString text = QStringLiteral("Verify Settings: %1 of %2 modules as applied, %3 differs, %4 no answer")
                       .arg(count(VerifyKind::AsApplied))
                       .arg(results.size())
                       .arg(count(VerifyKind::Differs))
                       .arg(count(VerifyKind::NoAnswer));
    if (const int untouched = count(VerifyKind::NothingApplied))
        text += QStringLiteral(", %1 nothing applied").arg(untouched);
    return text + QLatin1Char('.');
}

const VerifyResult *FindResult(const std::vector<VerifyResult> &results, int id)
{
    const auto found = std::find_if(results.begin(), results.end(), [id](const VerifyResult &r) { return r.id == id; });
    return found == results.end() ? nullptr : &*found;
}
