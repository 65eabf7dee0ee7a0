#include "tests/apptestkit.h"

#include "app/spelling/personalwords.h"
#include "app/spelling/spellchecker.h"
#include "app/window/descriptionspelling.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QTextCursor>
#include <cstdlib>

namespace {

using Id = TActionId;

// One misspelled word, and the same misspelling where it is not prose.
const char* const Description = "This sentense has a mistake, see [[Sentense]] or www.sentense.org and NASA.";

class DescriptionSpellingTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The data folder is the run's; each test starts with no added words.
        QFile::remove(TPersonalWords::DefaultPath());
        m_window = MakeWindow();
        TTreeListTextNode* item = m_window->TreeList().AddItem();
        item->SetText(TreeListColumnName, "A");
        item->SetText(TreeListColumnDesc, Description);
        item->SetFocused();
        m_window->DescriptionPane().TreeListChangeNode(item, item);
        Spelling().SetLanguage(QStringLiteral("en_US"));
        Checker().Load();
        ASSERT_TRUE(QTest::qWaitFor([this] { return Checker().Ready(); }, 30000));
        Spelling().RefreshSpelling();
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    TDescriptionSpelling& Spelling() { return m_window->DescriptionSpelling(); }
    TSpellChecker& Checker() { return m_window->SpellChecker(); }
    QPlainTextEdit* Memo() { return m_window->Memo1(); }
    QStringList Underlined()
    {
        QStringList words;
        for (const TSpellWord& word : Spelling().Underlined())
            words << Memo()->toPlainText().mid(word.start, word.length);
        return words;
    }
    // Texts of the menu's entries up to its first separator.
    static QStringList FirstEntries(const QMenu& menu)
    {
        QStringList texts;
        for (const QAction* action : menu.actions()) {
            if (action->isSeparator())
                break;
            texts << action->text();
        }
        return texts;
    }
    int WordPosition() { return static_cast<int>(Memo()->toPlainText().indexOf(QLatin1String("sentense"))) + 3; }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
};

TEST_F(DescriptionSpellingTest, OnlyTheMisspelledProseWordIsUnderlined)
{
    EXPECT_EQ(Underlined(), QStringList{"sentense"});
    const QList<QTextEdit::ExtraSelection> selections = Memo()->extraSelections();
    ASSERT_FALSE(selections.isEmpty());
    // The link layer keeps its own selections under the spelling layer's.
    EXPECT_EQ(selections.back().format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
    EXPECT_TRUE(std::any_of(selections.begin(), selections.end(), [](const QTextEdit::ExtraSelection& s) {
        return s.format.underlineStyle() != QTextCharFormat::SpellCheckUnderline;
    }));
}

TEST_F(DescriptionSpellingTest, ASuggestionReplacesTheWordAsOneUndoStep)
{
    std::unique_ptr<QMenu> menu(Spelling().CreateSpellingMenu(WordPosition()));
    ASSERT_TRUE(menu);
    const QStringList entries = FirstEntries(*menu);
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.front(), "sentence");
    EXPECT_LE(entries.size(), TDescriptionSpelling::MaxSuggestions);
    EXPECT_TRUE(menu->findChild<QAction*>("pmiMemoAddToDictionary"));
    EXPECT_TRUE(menu->findChild<QAction*>("pmiMemoIgnoreAll"));
    EXPECT_FALSE(Spelling().CreateSpellingMenu(WordPosition() + 20));  // "mistake"

    menu->actions().front()->trigger();
    EXPECT_EQ(Memo()->toPlainText().left(22), "This sentence has a mi");
    Spelling().RefreshSpelling();
    EXPECT_TRUE(Underlined().isEmpty());
    EXPECT_EQ(std::string(m_window->TreeList().FocusedItem()->GetText(TreeListColumnDesc)).substr(0, 13),
              "This sentence");
    Memo()->undo();
    EXPECT_EQ(Memo()->toPlainText(), QString::fromLatin1(Description));
}

TEST_F(DescriptionSpellingTest, IgnoreAllAndCheckSpellingOffClearTheUnderline)
{
    for (const char* step : {"ignore", "off"}) {
        if (std::string(step) == "ignore") {
            std::unique_ptr<QMenu> menu(Spelling().CreateSpellingMenu(WordPosition()));
            ASSERT_TRUE(menu);
            menu->findChild<QAction*>("pmiMemoIgnoreAll")->trigger();
        } else {
            Checker().SetLanguage(QStringLiteral("de_DE"));  // "This" is no German word
            ASSERT_TRUE(QTest::qWaitFor([this] { return Checker().Ready(); }, 30000));
            Spelling().RefreshSpelling();
            ASSERT_FALSE(Underlined().isEmpty());
            Run(*m_window, Id::actViewCheckSpelling);
            EXPECT_FALSE(Action(*m_window, Id::actViewCheckSpelling)->isChecked());
        }
        Spelling().RefreshSpelling();
        EXPECT_TRUE(Underlined().isEmpty()) << step;
    }
}

TEST_F(DescriptionSpellingTest, TheWordBeingTypedIsUnderlinedOnceTheCaretLeavesIt)
{
    Memo()->setFocus();
    Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Memo(), " wrold");
    Spelling().RefreshSpelling();
    EXPECT_EQ(Underlined(), QStringList{"sentense"});
    QTest::keyClick(Memo(), Qt::Key_Space);
    Spelling().RefreshSpelling();
    EXPECT_EQ(Underlined(), QStringList({"sentense", "wrold"}));
}

// A misspelling at each end of a description too long for the screen, in
// many lines or in one: only the end on screen is checked.
class VisiblePartTest : public DescriptionSpellingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(VisiblePartTest, OnlyWhatIsOnScreenIsChecked)
{
    QString text = QStringLiteral("Frist words");
    for (int i = 0; i < 20000; ++i)
        text += QLatin1String(GetParam()) + QStringLiteral("fine");
    text += QStringLiteral(" lasst");
    Memo()->setPlainText(text);
    Spelling().RefreshSpelling();
    EXPECT_EQ(Underlined(), QStringList{"Frist"});
    Memo()->moveCursor(QTextCursor::End);
    Spelling().RefreshSpelling();
    EXPECT_EQ(Underlined(), QStringList{"lasst"});
}

INSTANTIATE_TEST_SUITE_P(Layouts, VisiblePartTest, ::testing::Values("\n", " "));

// A word of a protected document reaches the plain list only when the user
// agrees.
TEST_F(DescriptionSpellingTest, AddingAWordOfAProtectedDocumentAsksFirst)
{
    m_prompter->passwords = {QStringLiteral("pw"), QStringLiteral("pw")};
    Run(*m_window, Id::actFileSetPassword);
    ASSERT_TRUE(m_window->Session().Protected());
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        m_prompter->answers = {answer};
        std::unique_ptr<QMenu> menu(Spelling().CreateSpellingMenu(WordPosition()));
        ASSERT_TRUE(menu);
        menu->findChild<QAction*>("pmiMemoAddToDictionary")->trigger();
        EXPECT_EQ(m_prompter->questions.size(), answer == QMessageBox::No ? 1 : 2);
        EXPECT_EQ(Checker().IsMisspelled(QStringLiteral("sentense")), answer == QMessageBox::No);
    }
}

class KeyboardMenuTest : public DescriptionSpellingTest, public ::testing::WithParamInterface<QKeyCombination> {};

TEST_P(KeyboardMenuTest, TheKeyOpensTheMenuOfTheWordAtTheCaret)
{
    Memo()->setFocus();
    QTextCursor caret(Memo()->document());
    caret.setPosition(WordPosition());
    Memo()->setTextCursor(caret);
    QTest::keyClick(Memo(), GetParam().key(), GetParam().keyboardModifiers());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    EXPECT_EQ(FirstEntries(*menu).value(0), "sentence");
    menu->close();
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyboardMenuTest,
                         ::testing::Values(QKeyCombination(Qt::Key_Menu),
                                           QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)));

TEST_F(DescriptionSpellingTest, TheChoicesComeBackAfterARestart)
{
    Run(*m_window, Id::actViewCheckSpelling);
    QAction* german = Action(*m_window, Id::actViewSpellingLanguage)->menu()->findChild<QAction*>(
        "miSpellingLanguage_de_DE");
    ASSERT_TRUE(german);
    EXPECT_EQ(german->text(), "German (Germany)");
    german->trigger();
    EXPECT_EQ(Checker().Language(), "de_DE");
    EXPECT_TRUE(m_window->close());
    m_window.reset();
    QSettings stored(m_settings.ConfPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Spelling/CheckSpelling").toString(), "False");
    EXPECT_EQ(stored.value("Spelling/Language").toString(), "de_DE");

    m_window = MakeWindow();
    EXPECT_FALSE(Spelling().Checking());
    EXPECT_FALSE(Action(*m_window, Id::actViewCheckSpelling)->isChecked());
    EXPECT_EQ(Checker().Language(), "de_DE");
    EXPECT_TRUE(Action(*m_window, Id::actViewSpellingLanguage)->menu()->findChild<QAction*>(
        "miSpellingLanguage_de_DE")->isChecked());
}

TEST_F(DescriptionSpellingTest, WithoutADictionaryTheCommandsAreOffAndSayWhy)
{
    m_window.reset();
    setenv("DICPATH", Path("none").toLocal8Bit().constData(), 1);
    m_window = MakeWindow();
    unsetenv("DICPATH");
    for (Id id : {Id::actViewCheckSpelling, Id::actViewSpellingLanguage}) {
        EXPECT_FALSE(Action(*m_window, id)->isEnabled());
        EXPECT_TRUE(Action(*m_window, id)->statusTip().contains("No spelling dictionary is installed"));
    }
    EXPECT_FALSE(Spelling().Checking());
    // The choice stays the user's: a dictionary installed later is used.
    EXPECT_TRUE(m_window->close());
    m_window.reset();
    m_window = MakeWindow();
    EXPECT_TRUE(Spelling().Checking());
}

}  // namespace
