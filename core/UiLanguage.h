#pragma once
// The language the windows speak: the configuration's "language" when it is "de" or "en",
// else the first of the user's interface languages the program knows; English otherwise.
#include <QString>
#include <QStringList>

// "de" or "en". configured: the key's value as written; uiLanguages: as
// QLocale::system().uiLanguages() gives them, most wanted first ("de-DE", "en-US", ...).
QString ChooseUiLanguage(const QString &configured, const QStringList &uiLanguages);
