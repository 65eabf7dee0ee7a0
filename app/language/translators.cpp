#include "app/language/translators.h"

#include "settings/languagechoice.h"
#include "settings/reginifile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QTranslator>

namespace {
const QString OwnFolder = QStringLiteral(":/translations");
const QString OwnPrefix = QStringLiteral("vektreevieweditor_");

// A translator that lives as long as the application; false when no
// catalogue was found. QTranslator::load falls back from "de_DE" to "de".
bool Install(const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}
}  // namespace

void InstallEnglishPlurals()
{
    Install(OwnPrefix + QStringLiteral("en"), OwnFolder);
}

QString InstallTranslators(const QStringList& languages)
{
    for (const QString& language : languages) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English)
            return {};
        if (!Install(OwnPrefix + language, OwnFolder))
            continue;
        // Without Qt's own catalogue our texts would sit beside English
        // buttons; a missing one is no reason to refuse ours.
        Install(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        QLocale::setDefault(locale);
        return language;
    }
    return {};
}

QString InstallUserLanguage()
{
    const TRegIniFile ini(QCoreApplication::organizationName(), QCoreApplication::applicationName());
    return InstallTranslators(TLanguageChoice::Languages(ini, QProcessEnvironment::systemEnvironment()));
}
