#pragma once
// Puts the windows into a language: the program's own texts and Qt's (its dialogs' buttons),
// both compiled into the program, and the language's dates and numbers.
#include <QString>

// language: "de" or "en" (ChooseUiLanguage). False when a German translation would not load.
bool InstallTranslations(const QString &language);
