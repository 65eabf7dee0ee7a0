#pragma once

#include <QString>
#include <QStringList>

// The texts are written in English with one form for "%n matches"; the
// forms for one and for many come from a catalogue of their own, which the
// application installs first so that any other language takes precedence.
void InstallEnglishPlurals();

// Installs the program's catalogue and Qt's own (its dialogs and standard
// buttons) for the first of `languages` that the program has a catalogue
// for, and sets that locale as the default. English, the texts' own
// language, needs none. Returns the language installed, empty for English.
// Call once, after the application object is made.
QString InstallTranslators(const QStringList& languages);

// The language the settings choose, else the desktop's.
QString InstallUserLanguage();
