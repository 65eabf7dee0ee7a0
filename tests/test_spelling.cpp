#include "app/spelling/spellchecker.h"
#include "app/spelling/spelldictionary.h"
#include "app/spelling/spellwords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

struct TWordsCase {
    const char* text;
    std::vector<const char*> words;  // what is checked, in order
};

class SpellWordsTest : public ::testing::TestWithParam<TWordsCase> {};

TEST_P(SpellWordsTest, FindsTheWordsWorthChecking)
{
    const QString text = QString::fromUtf8(GetParam().text);
    QStringList found;
    for (const TSpellWord& word : FindSpellWords(text))
        found << text.mid(word.start, word.length);
    QStringList expected;
    for (const char* word : GetParam().words)
        expected << QString::fromUtf8(word);
    EXPECT_EQ(found, expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpellWordsTest,
    ::testing::Values(TWordsCase{"Hello, wrold!", {"Hello", "wrold"}},
                      TWordsCase{"don't stop; it’s fine", {"don't", "stop", "it’s", "fine"}},
                      TWordsCase{"Grüße aus Köln", {"Grüße", "aus", "Köln"}},
                      TWordsCase{"I am a test", {"I", "am", "a", "test"}},
                      TWordsCase{"see http://exmaple.org/pgae?x=1 now", {"see", "now"}},
                      TWordsCase{"(at https://x.org/wiki/A_(b)) ok", {"at", "ok"}},
                      TWordsCase{"mail bbob@exmaple.org or mailto:al@x.y", {"mail", "or"}},
                      TWordsCase{"<joe.bloggs@mial.co.uk>, thanks", {"thanks"}},
                      TWordsCase{"go to www.exmaple.com today", {"go", "to", "today"}},
                      TWordsCase{"read [[Som Iteem]] and [[Top/Otehr]] too", {"read", "and", "too"}},
                      TWordsCase{"abc123 x2 42 3rd ok", {"ok"}},
                      TWordsCase{"NASA and the EU, but Nasa", {"and", "the", "but", "Nasa"}},
                      TWordsCase{"snake_case e.g. example.com end.", {"end"}},
                      TWordsCase{"McDonald's iPhone", {"McDonald's", "iPhone"}},
                      TWordsCase{"", {}}, TWordsCase{"  ... -- !!", {}}));

// The checker against the installed English dictionary, with a personal
// list in a fresh folder.
class SpellCheckerTest : public ::testing::Test {
protected:
    std::unique_ptr<TSpellChecker> MakeChecker(const QString& language = QStringLiteral("en_US"))
    {
        std::vector<TDictionaryFiles> installed = TSpellDictionary::Installed({QStringLiteral("/usr/share/hunspell")});
        auto checker = std::make_unique<TSpellChecker>(installed, PersonalPath());
        checker->SetLanguage(language);
        EXPECT_EQ(checker->Language(), language) << "the dictionary for " << language.toStdString()
                                                 << " is missing: scripts/install-packages";
        checker->Load();
        EXPECT_TRUE(QTest::qWaitFor([&checker] { return checker->Ready(); }, 30000));
        return checker;
    }
    QString PersonalPath() const { return m_dir.filePath(QStringLiteral("data/personal-dictionary.txt")); }

    QTemporaryDir m_dir;
};

TEST_F(SpellCheckerTest, SuggestsTheRightWordFirstAndNoMoreThanAsked)
{
    auto checker = MakeChecker();
    EXPECT_TRUE(checker->IsMisspelled(QStringLiteral("sentense")));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("sentence")));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("Sentence")));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("it’s")));
    const QStringList suggestions = checker->Suggestions(QStringLiteral("sentense"), 7);
    ASSERT_FALSE(suggestions.isEmpty());
    EXPECT_EQ(suggestions.front(), QStringLiteral("sentence"));
    EXPECT_LE(checker->Suggestions(QStringLiteral("teh"), 3).size(), 3);
}

TEST_F(SpellCheckerTest, GermanWordsOutsideAsciiAreKnown)
{
    auto checker = MakeChecker(QStringLiteral("de_DE"));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("Grüße")));
    EXPECT_TRUE(checker->IsMisspelled(QStringLiteral("Grüsse")));
    EXPECT_EQ(checker->Suggestions(QStringLiteral("Grüsse"), 7).value(0), QStringLiteral("Grüße"));
}

TEST_F(SpellCheckerTest, IgnoredWordsPassForThisRunOnly)
{
    auto checker = MakeChecker();
    const quint64 before = checker->Generation();
    checker->IgnoreAll(QStringLiteral("Zorblax"));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("Zorblax")));
    EXPECT_GT(checker->Generation(), before);
    EXPECT_FALSE(QFile::exists(PersonalPath()));
    checker.reset();
    EXPECT_TRUE(MakeChecker()->IsMisspelled(QStringLiteral("Zorblax")));
}

TEST_F(SpellCheckerTest, AddedWordsPassAfterARestart)
{
    auto checker = MakeChecker();
    EXPECT_TRUE(checker->IsMisspelled(QStringLiteral("vektree")));
    checker->AddToDictionary(QStringLiteral("vektree"));
    checker->AddToDictionary(QStringLiteral("Zorblax"));
    checker->AddToDictionary(QStringLiteral("vektree"));
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("vektree")));
    checker.reset();

    QFile file(PersonalPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("vektree\nZorblax\n"));
    checker = MakeChecker();
    // A word listed in lower case passes with a capital, not the other way.
    for (const char* word : {"vektree", "Vektree", "Zorblax"})
        EXPECT_FALSE(checker->IsMisspelled(QString::fromLatin1(word))) << word;
    EXPECT_TRUE(checker->IsMisspelled(QStringLiteral("zorblax")));
}

TEST_F(SpellCheckerTest, AListThatCannotBeWrittenIsReportedAndTheWordStillPasses)
{
    QFile blocker(m_dir.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder would go
    blocker.close();
    auto checker = MakeChecker();
    try {
        checker->AddToDictionary(QStringLiteral("vektree"));
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("personal-dictionary.txt"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(checker->IsMisspelled(QStringLiteral("vektree")));
}

struct TDefaultCase {
    std::vector<const char*> installed;
    const char* desktop;
    const char* chosen;
};

class DefaultLanguageTest : public ::testing::TestWithParam<TDefaultCase> {};

TEST_P(DefaultLanguageTest, DesktopLanguageElseEnglish)
{
    std::vector<TDictionaryFiles> dictionaries;
    for (const char* language : GetParam().installed)
        dictionaries.push_back({QString::fromLatin1(language), {}, {}});
    EXPECT_EQ(TSpellChecker::DefaultLanguage(dictionaries, QString::fromLatin1(GetParam().desktop)),
              QString::fromLatin1(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(Table, DefaultLanguageTest,
                         ::testing::Values(TDefaultCase{{"de_DE", "en_US"}, "de_DE", "de_DE"},
                                           TDefaultCase{{"de_DE", "en_US"}, "de_AT", "de_DE"},
                                           TDefaultCase{{"de_DE", "en_US"}, "fr_FR", "en_US"},
                                           TDefaultCase{{"de_DE", "en_GB"}, "C", "en_GB"},
                                           TDefaultCase{{"de_DE", "fr_FR"}, "pt_BR", "de_DE"},
                                           TDefaultCase{{}, "en_US", ""}));

TEST(SpellDictionaryTest, ListsDictionariesWithBothFilesByLanguageName)
{
    QTemporaryDir first, second;
    for (const char* name : {"de_DE.aff", "de_DE.dic", "en_US.dic", "fr_FR.aff"})
        QFile(first.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    for (const char* name : {"de_DE.aff", "de_DE.dic", "en_GB.aff", "en_GB.dic"})
        QFile(second.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    QStringList found;
    for (const TDictionaryFiles& files : TSpellDictionary::Installed({first.path(), second.path()}))
        found << files.language + QLatin1Char(' ') + QFileInfo(files.words).fileName() +
                     QLatin1Char(' ') + QString::number(files.words.startsWith(first.path()));
    EXPECT_EQ(found, QStringList({"de_DE de_DE.dic 1", "en_GB en_GB.dic 0"}));
    EXPECT_EQ(TSpellDictionary::LanguageName(QStringLiteral("en_US")), QStringLiteral("English (United States)"));
    EXPECT_EQ(TSpellDictionary::LanguageName(QStringLiteral("de")), QStringLiteral("German"));
}

}  // namespace
