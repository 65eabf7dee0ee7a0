#pragma once

#include <QStringList>

class QProcessEnvironment;
class TRegIniFile;

// Which language the program's texts are shown in: the one the settings
// name, else the desktop's. Languages are locale names without codeset or
// modifier ("de_DE", "de"), best first; none means the texts as written.
class TLanguageChoice {
public:
    // Its own section, apart from the window's: "[Translation] Language=de".
    // An empty value follows the desktop.
    static constexpr const char Section[] = "Translation";
    static constexpr const char Ident[] = "Language";

    // The first of LANGUAGE (a colon-separated list, as gettext reads it),
    // LC_ALL, LC_MESSAGES and LANG that is set. "C" and "POSIX" ask for the
    // texts as written.
    static QStringList FromEnvironment(const QProcessEnvironment& environment);
    static QStringList Languages(const TRegIniFile& ini, const QProcessEnvironment& environment);

private:
    static QStringList Parse(const QString& value, QChar separator);
};
