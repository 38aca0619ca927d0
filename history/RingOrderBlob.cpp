#include "history/RingOrderBlob.h"

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

std::vector<int> RingOrderIds(const QByteArray &blob)
{
    std::vector<int> ids;
    ids.reserve(size_t(blob.size() / 2));
    const auto *bytes = reinterpret_cast<const uchar *>(blob.constData());
    for (qsizetype k = 0; k + 1 < blob.size(); k += 2)
        ids.push_back(bytes[k] | (bytes[k + 1] << 8));
    return ids;
}
