#include "app/language/translators.h"
#include "settings/languagechoice.h"
#include "settings/reginifile.h"
#include "tests/apptestkit.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <set>

namespace {

struct TEnvironmentCase {
    std::vector<std::pair<const char*, const char*>> variables;
    QStringList expected;
};

class LanguageFromEnvironment : public ::testing::TestWithParam<TEnvironmentCase> {};

TEST_P(LanguageFromEnvironment, FirstSetVariableWins)
{
    QProcessEnvironment environment;
    for (const auto& [name, value] : GetParam().variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    EXPECT_EQ(TLanguageChoice::FromEnvironment(environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageFromEnvironment,
    ::testing::Values(TEnvironmentCase{{{"LANGUAGE", "de_AT:fr"}, {"LC_ALL", "es_ES"}, {"LANG", "en_US.UTF-8"}},
                                       {"de_AT", "fr"}},
                      TEnvironmentCase{{{"LC_ALL", "de_DE.UTF-8@euro"}, {"LC_MESSAGES", "fr_FR"}}, {"de_DE"}},
                      TEnvironmentCase{{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "de_DE"}}, {"fr_FR"}},
                      TEnvironmentCase{{{"LANGUAGE", ""}, {"LANG", "de_DE.UTF-8"}}, {"de_DE"}},
                      TEnvironmentCase{{{"LANG", "C.UTF-8"}}, {}},
                      TEnvironmentCase{{{"LANGUAGE", "POSIX:de"}}, {}},
                      TEnvironmentCase{{}, {}}));

TEST(LanguageChoice, SettingOverridesTheDesktop)
{
    TSettingsFolder folder;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    const QString section = QString::fromLatin1(TLanguageChoice::Section);
    const QString ident = QString::fromLatin1(TLanguageChoice::Ident);
    for (const auto& [stored, expected] : std::vector<std::pair<QString, QStringList>>{
             {QStringLiteral("en"), {"en"}}, {QString(), {"de_DE"}}, {QStringLiteral(" fr_FR.UTF-8 "), {"fr_FR"}}}) {
        TRegIniFile writer(QStringLiteral("Vek"), QStringLiteral("VekTreeViewEditor"));
        writer.WriteString(section, ident, stored);
        writer.Commit();
        EXPECT_EQ(TLanguageChoice::Languages(TRegIniFile(QStringLiteral("Vek"), QStringLiteral("VekTreeViewEditor")),
                                             environment),
                  expected)
            << stored.toStdString();
    }
}

// "%1", "%n", ... in the order of their numbers: a translation must keep
// every one of its source's, or the message loses a name or a number.
std::multiset<QString> Placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(\\d|n)"));
    std::multiset<QString> found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

// Every entry is finished, none is obsolete, and each keeps its source's
// placeholders.
void CheckCatalogue(const QFileInfo& file)
{
    QFile ts(file.filePath());
    ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString context, source;
    bool numerus = false;
    int messages = 0;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        const QString where = file.fileName() + QLatin1Char(' ') + context + QLatin1String(": ") + source;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
            ++messages;
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            EXPECT_TRUE(type.isEmpty()) << where.toStdString() << " is " << type.toStdString();
            if (!numerus) {
                const QString text = xml.readElementText();
                EXPECT_FALSE(text.isEmpty()) << where.toStdString();
                EXPECT_EQ(Placeholders(text), Placeholders(source)) << where.toStdString();
            }
        } else if (xml.name() == QLatin1String("numerusform")) {
            const QString form = xml.readElementText();
            EXPECT_FALSE(form.isEmpty()) << where.toStdString();
            EXPECT_EQ(Placeholders(form), Placeholders(source)) << where.toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << file.fileName().toStdString() << ": " << xml.errorString().toStdString();
    EXPECT_GT(messages, 0) << file.fileName().toStdString();
}

QFileInfoList Catalogues()
{
    return QDir(QStringLiteral(VEK_SOURCE_DIR "/translations")).entryInfoList({"*.ts"}, QDir::Files);
}

TEST(Catalogues, EveryEntryFinished)
{
    ASSERT_GE(Catalogues().size(), 2);
    for (const QFileInfo& file : Catalogues())
        CheckCatalogue(file);
}

// A copy brought up to date with the sources as `make translations` does:
// a text added to the sources without its translation shows as
// unfinished, one no source has any more as obsolete.
TEST(Catalogues, CurrentWithTheSources)
{
    QTemporaryDir dir;
    for (const QFileInfo& file : Catalogues()) {
        const QString copy = dir.filePath(file.fileName());
        ASSERT_TRUE(QFile::copy(file.filePath(), copy));
        QStringList arguments{"-silent", "-I", VEK_SOURCE_DIR, "-locations", "none"};
        if (file.fileName().endsWith(QLatin1String("_en.ts")))
            arguments << QStringLiteral("-pluralonly");
        arguments << VEK_SOURCE_DIR "/app" << VEK_SOURCE_DIR "/settings" << "-ts" << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VEK_LUPDATE), arguments);
        ASSERT_TRUE(lupdate.waitForFinished(60000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        CheckCatalogue(QFileInfo(copy));
    }
}

// The letter after a single "&", lower case; none when the text has none.
QChar Accelerator(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

class GermanWindow : public WindowTest {
protected:
    static void SetUpTestSuite()
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        ASSERT_EQ(InstallTranslators(TLanguageChoice::FromEnvironment(environment)), QStringLiteral("de"));
    }
};

TEST_F(GermanWindow, MenusAreGermanWithUniqueAccelerators)
{
    auto window = MakeWindow();
    const auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(Action(*window, TActionId::actFileOpen)->text(), QStringLiteral("Ö&ffnen"));
    EXPECT_EQ(Action(*window, TActionId::actFileOpen)->statusTip(), QStringLiteral("Öffnet eine vorhandene Datendatei."));
    // Qt's own catalogue came with ours: the standard buttons are German too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    std::vector<std::pair<QString, QList<QAction*>>> menus{{QStringLiteral("MainMenu1"), window->menuBar()->actions()}};
    for (const QMenu* menu : window->findChildren<QMenu*>())
        menus.emplace_back(menu->objectName(), menu->actions());
    for (const auto& [name, actions] : menus) {
        std::map<QChar, QString> taken;
        for (const QAction* action : actions) {
            const QChar letter = Accelerator(action->text());
            if (action->isSeparator() || !action->isVisible() || letter.isNull())
                continue;
            const auto [previous, fresh] = taken.emplace(letter, action->text());
            EXPECT_TRUE(fresh) << name.toStdString() << ": " << action->text().toStdString() << " and "
                               << previous->second.toStdString();
        }
    }
}

}  // namespace
