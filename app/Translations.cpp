#include "app/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool InstallTranslations(const QString &language)
{
    if (language != QLatin1String("de")) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        return true;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    bool loaded = true;
    for (const char *name : {":/i18n/qtbase_de.qm", ":/i18n/zephlink9-setup_de.qm"}) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QString::fromLatin1(name)))
            QCoreApplication::installTranslator(translator);
        else
            loaded = false;
    }
    return loaded;
}
