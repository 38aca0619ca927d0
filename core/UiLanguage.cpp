#include "core/UiLanguage.h"

namespace {
QString KnownLanguage(const QString &name)
{
    const QString language = name.trimmed().section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    return language == QLatin1String("de") || language == QLatin1String("en") ? language : QString();
}
} // namespace

QString ChooseUiLanguage(const QString &configured, const QStringList &uiLanguages)
{
    if (const QString chosen = KnownLanguage(configured); !chosen.isEmpty())
        return chosen;
    for (const QString &name : uiLanguages) {
        if (const QString known = KnownLanguage(name); !known.isEmpty())
            return known;
    }
    return QStringLiteral("en");
}
