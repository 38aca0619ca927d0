#include "core/ReferenceRing.h"

#include "core/Ini.h"

#include <QDir>
#include <QFileInfo>

QString ReferenceRing::ConfiguredPath(const QString &iniPath)
{
    return ConfiguredFilePath(iniPath, QStringLiteral("reference"), QStringLiteral("ring-reference.csv"));
}

QString ReferenceRing::Load(const QString &iniPath)
{
    const QString path = ConfiguredPath(iniPath);
    mFile = ReadReferenceFile(path);
    if (mFile.state != ReferenceFile::State::Unreadable)
        return {};
    const QString where = mFile.content.badLine > 0 ? tr("Line %1: ").arg(mFile.content.badLine) : QString();
    return tr("The reference ring cannot be read:\r\n%1\r\n%2%3\r\nScans are not compared with a reference.")
        .arg(QDir::toNativeSeparators(path), where, mFile.content.problem);
}

QString ReferenceRing::ReplaceQuestion(const QString &iniPath) const
{
    const QFileInfo existing(ConfiguredPath(iniPath));
    if (!existing.exists())
        return {};
    const QString what = Loaded() ? tr("%1 modules").arg(mFile.content.ring.size()) : tr("unreadable");
    return tr("Replace the saved reference ring (%1, saved %2)?")
        .arg(what, existing.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

QString ReferenceRing::Save(const QString &iniPath, const RingSnapshot &ring)
{
    const QString refused = ReferenceRingProblem(ring);
    if (!refused.isEmpty())
        return tr("This ring cannot be the reference: %1.\r\nThe reference is left as it was.").arg(refused);
    const QString path = ConfiguredPath(iniPath);
    const QString reason = WriteReferenceFile(path, ring);
    if (!reason.isEmpty())
        return tr("The reference ring cannot be written:\r\n%1\r\n%2").arg(QDir::toNativeSeparators(path), reason);
    // What the file now holds, as the next start reads it.
    mFile = ReadReferenceFile(path);
    return {};
}

QString ReferenceRing::StateText(int present) const
{
    switch (mFile.state) {
    case ReferenceFile::State::Missing:
        return tr("No reference ring");
    case ReferenceFile::State::Unreadable:
        return mFile.content.badLine > 0 ? tr("Reference unreadable: line %1").arg(mFile.content.badLine)
                                         : tr("Reference unreadable");
    case ReferenceFile::State::Loaded:
        break;
    }
    const size_t size = mFile.content.ring.size();
    if (present < 0)
        return tr("Reference: %1 modules").arg(size);
    return tr("Reference: %1 of %2 present").arg(present).arg(size);
}
