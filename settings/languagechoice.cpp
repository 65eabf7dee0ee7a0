#include "settings/languagechoice.h"

#include "settings/reginifile.h"

#include <QProcessEnvironment>
#include <QRegularExpression>

QStringList TLanguageChoice::Parse(const QString& value, QChar separator)
{
    QStringList languages;
    for (QString name : value.split(separator, Qt::SkipEmptyParts)) {
        // "de_DE.UTF-8@euro": the catalogues go by language and country only.
        const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[.@]")));
        if (end >= 0)
            name.truncate(end);
        name = name.trimmed();
        if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
            break;
        if (!name.isEmpty())
            languages << name;
    }
    return languages;
}

QStringList TLanguageChoice::FromEnvironment(const QProcessEnvironment& environment)
{
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QString::fromLatin1(variable));
        if (!value.isEmpty())
            return Parse(value, QLatin1Char(':'));
    }
    return {};
}

QStringList TLanguageChoice::Languages(const TRegIniFile& ini, const QProcessEnvironment& environment)
{
    const QString chosen =
        ini.ReadString(QString::fromLatin1(Section), QString::fromLatin1(Ident), QString()).trimmed();
    return chosen.isEmpty() ? FromEnvironment(environment) : Parse(chosen, QLatin1Char(':'));
}
