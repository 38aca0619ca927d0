#include "history/RingOrderBlob.h"

#include "model/Global.h"

#include <bitset>
#include <memory>

QByteArray RingOrderBlob(const RingSnapshot &modules)
{
    QByteArray blob;
    blob.reserve(qsizetype(modules.size() * 2));
    for (const ModuleSnapshot &module : modules) {
        blob.append(char(module.id & 0xFF));
        blob.append(char((module.id >> 8) & 0xFF));
    }
    return blob;
}

std::vector<int> RingOrderIds(const QVariant &stored, StoredRow &row)
{
    const QByteArray blob = stored.toByteArray();
    if (stored.isNull() || stored.typeId() != QMetaType::QByteArray || blob.isEmpty()) {
        row.Fail(QStringLiteral("ids is %1, not a list of module IDs").arg(StoredValueText(stored)));
        return {};
    }
    if (blob.size() % 2 != 0 || blob.size() > 2 * kTableSize) {
        row.Fail(QStringLiteral("ids is %1 bytes long, not two bytes for each module").arg(blob.size()));
        return {};
    }
    std::vector<int> ids;
    ids.reserve(size_t(blob.size() / 2));
    auto seen = std::make_unique<std::bitset<kTableSize>>();
    const auto *bytes = reinterpret_cast<const uchar *>(blob.constData());
    for (qsizetype k = 0; k + 1 < blob.size(); k += 2) {
        const int id = bytes[k] | (bytes[k + 1] << 8);
        if (!IsTableID(id)) {
            row.Fail(QStringLiteral("ids holds module ID %1, not a whole number from 0 to %2").arg(id).arg(kMaxModuleID));
            return {};
        }
        if (seen->test(size_t(id))) {
            row.Fail(QStringLiteral("ids holds module %1 twice").arg(id));
            return {};
        }
        seen->set(size_t(id));
        ids.push_back(id);
    }
    return ids;
}
