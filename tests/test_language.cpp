#include "app/language/translators.h"
#include "app/window/application.h"
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

#include <cstring>
#include <set>

namespace {

// The desktop's variables and what the settings store ("-": nothing).
struct TLanguageCase {
    std::vector<std::pair<const char*, const char*>> variables;
    const char* setting;
    QStringList expected;
};

class LanguageChoice : public ::testing::TestWithParam<TLanguageCase> {};

TEST_P(LanguageChoice, SettingElseFirstVariableSet)
{
    TSettingsFolder folder;
    TRegIniFile ini(QStringLiteral("Vek"), QStringLiteral("VekTreeViewEditor"));
    if (std::strcmp(GetParam().setting, "-") != 0)
        ini.WriteString(QString::fromLatin1(TLanguageChoice::Section), QString::fromLatin1(TLanguageChoice::Ident),
                        QString::fromLatin1(GetParam().setting));
    QProcessEnvironment environment;
    for (const auto& [name, value] : GetParam().variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    EXPECT_EQ(TLanguageChoice::Languages(ini, environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageChoice,
    ::testing::Values(TLanguageCase{{{"LANGUAGE", "de_AT:fr"}, {"LC_ALL", "es_ES"}, {"LANG", "en_US.UTF-8"}}, "-",
                                    {"de_AT", "fr"}},
                      TLanguageCase{{{"LC_ALL", "de_DE.UTF-8@euro"}, {"LC_MESSAGES", "fr_FR"}}, "-", {"de_DE"}},
                      TLanguageCase{{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "de_DE"}}, "-", {"fr_FR"}},
                      TLanguageCase{{{"LANGUAGE", ""}, {"LANG", "de_DE.UTF-8"}}, "-", {"de_DE"}},
                      TLanguageCase{{{"LANG", "C.UTF-8"}}, "-", {}},
                      TLanguageCase{{{"LANGUAGE", "POSIX:de"}}, "-", {}},
                      TLanguageCase{{}, "-", {}},
                      TLanguageCase{{{"LANG", "de_DE.UTF-8"}}, "en", {"en"}},
                      TLanguageCase{{{"LANG", "de_DE.UTF-8"}}, " fr_FR.UTF-8 ", {"fr_FR"}},
                      TLanguageCase{{{"LANG", "de_DE.UTF-8"}}, "", {"de_DE"}}));

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
        arguments << VEK_SOURCE_DIR "/app" << VEK_SOURCE_DIR "/settings" << VEK_SOURCE_DIR "/tools" << "-ts" << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VEK_LUPDATE), arguments);
        ASSERT_TRUE(lupdate.waitForFinished(60000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        CheckCatalogue(QFileInfo(copy));
    }
}

class GermanWindow : public WindowTest {
protected:
    // As the program starts under LANGUAGE=de: through the settings (a
    // fresh folder, which chooses nothing) and the process's environment.
    static void SetUpTestSuite()
    {
        qputenv("LANGUAGE", "de");
        qputenv("LANG", "C.UTF-8");
        ASSERT_EQ(InstallUserLanguage(), QStringLiteral("de"));
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
        std::map<QKeySequence, QString> taken;
        for (const QAction* action : actions) {
            const QKeySequence letter = QKeySequence::mnemonic(action->text());
            if (action->isSeparator() || !action->isVisible() || letter.isEmpty())
                continue;
            const auto [previous, fresh] = taken.emplace(letter, action->text());
            EXPECT_TRUE(fresh) << name.toStdString() << ": " << action->text().toStdString() << " and "
                               << previous->second.toStdString();
        }
    }
}

// The lower layers' English messages reach the error box in German, the
// parts they name kept as they were.
TEST_F(GermanWindow, LowerLayerMessages)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Cannot open file /n/a.trd: it is protected by a password",
         "Die Datei /n/a.trd kann nicht geöffnet werden: sie ist durch ein Passwort geschützt."},
        {"Cannot create file /n/%2.txt", "Die Datei /n/%2.txt kann nicht erstellt werden."},
        {"Cannot import /n/x.md: line 3, column 7: the text is not valid UTF-8",
         "/n/x.md kann nicht importiert werden: Zeile 3, Spalte 7: der Text ist kein gültiges UTF-8."},
        {"Stream read error", "Lesefehler."},
        {"Disk full: /n/b.trd", "Datenträger voll: /n/b.trd."},
        {"Nothing known", "Nothing known."},
    };
    for (const auto& [english, german] : cases)
        EXPECT_EQ(ErrorBoxMessage(std::runtime_error(english)), QString::fromUtf8(german)) << english;
}

}  // namespace
