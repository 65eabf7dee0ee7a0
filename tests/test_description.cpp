#include "apptestkit.h"

#include "app/widgets/finddialog.h"
#include "app/widgets/replacedialog.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

namespace {
struct TTwoItems {
    TTreeListTextNode* a;
    TTreeListTextNode* b;
};

TTwoItems AddTwoItems(TfrmTreeViewEditorMain& window, const std::string& descriptionA)
{
    TTreeList& tree = window.TreeList();
    TTreeListTextNode* a = tree.AddItem();
    a->SetText(0, "A");
    a->SetText(1, descriptionA);
    TTreeListTextNode* b = tree.AddItem();
    b->SetText(0, "B");
    b->SetText(1, "other");
    b->SetFocused();
    a->SetFocused();
    return {a, b};
}

void TypeAtEnd(QPlainTextEdit* memo, const QString& text)
{
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, text);
}

void Select(QPlainTextEdit* memo, int start, int end)
{
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
}
}  // namespace

struct TRoundTrip {
    const char* name;
    std::string stored;
    QString shown;
    std::string afterTwoEdits;  // typed "1", refocused, typed "2"
};

class DescriptionRoundTrip : public WindowTest, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(DescriptionRoundTrip, FocusingAndEditingNeverAddsLineBreaks)
{
    const TRoundTrip& c = GetParam();
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, c.stored);
    EXPECT_EQ(window->Memo1()->toPlainText(), c.shown);
    // Moving the focus alone changes nothing.
    items.b->SetFocused();
    items.a->SetFocused();
    EXPECT_EQ(items.a->GetText(1), c.stored);
    EXPECT_FALSE(window->Modified());

    TypeAtEnd(window->Memo1(), QStringLiteral("1"));
    items.b->SetFocused();
    items.a->SetFocused();
    TypeAtEnd(window->Memo1(), QStringLiteral("2"));
    EXPECT_EQ(items.a->GetText(1), c.afterTwoEdits);
    EXPECT_EQ(items.b->GetText(1), "other");
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("Modified"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionRoundTrip,
    ::testing::Values(TRoundTrip{"oneLine", "x", QStringLiteral("x"), "x12"},
                      TRoundTrip{"trailingBreak", "x\r\n", QStringLiteral("x\n"), "x\r\n12"},
                      TRoundTrip{"empty", "", QString(), "12"},
                      TRoundTrip{"loneLf", "a\nb", QStringLiteral("a\nb"), "a\r\nb12"},
                      TRoundTrip{"loneCr", "a\rb", QStringLiteral("a\nb"), "a\r\nb12"},
                      TRoundTrip{"windows1252", "caf\xE9", QStringLiteral("caf\u00E9"), "caf\xE9" "12"},
                      TRoundTrip{"utf8", "caf\xC3\xA9", QStringLiteral("caf\u00E9"), "caf\xC3\xA9" "12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ThePaneFollowsTheFocusWhateverMovedIt)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "first");
    // The tree moves the focus by itself when it deletes the focused item.
    window->TreeList().Delete(items.a);
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("other"));
    TypeAtEnd(window->Memo1(), QStringLiteral("!"));
    EXPECT_EQ(items.b->GetText(1), "other!");
}

TEST_F(WindowTest, WithoutAFocusedItemTheEditorIsReadOnly)
{
    auto window = MakeWindow();
    EXPECT_TRUE(window->Memo1()->isReadOnly());
    TTwoItems items = AddTwoItems(*window, "d");
    EXPECT_FALSE(window->Memo1()->isReadOnly());
    window->TreeList().Delete(items.a);
    window->TreeList().Delete(items.b);
    EXPECT_TRUE(window->Memo1()->isReadOnly());
}

struct TFindCase {
    const char* name;
    QString text;
    QString find;
    bool matchCase;
    bool wholeWord;
    bool down;
    int caret;
    std::vector<int> found;  // successive selections; the search after the last fails
};

class FindNext : public WindowTest, public ::testing::WithParamInterface<TFindCase> {};

TEST_P(FindNext, HonoursTheDialogsOptionsAndDoesNotWrap)
{
    const TFindCase& c = GetParam();
    auto window = MakeWindow();
    AddTwoItems(*window, c.text.toStdString());
    Select(window->Memo1(), c.caret, c.caret);
    TFindDialog* dialog = window->FindDialog1();
    dialog->SetFindText(c.find);
    dialog->findChild<QCheckBox*>(QStringLiteral("MatchCaseCheck"))->setChecked(c.matchCase);
    dialog->findChild<QCheckBox*>(QStringLiteral("WholeWordCheck"))->setChecked(c.wholeWord);
    dialog->findChild<QRadioButton*>(c.down ? QStringLiteral("DownRadio") : QStringLiteral("UpRadio"))
        ->setChecked(true);
    for (int at : c.found) {
        Run(*window, "actSearchFindNext");
        EXPECT_EQ(window->Memo1()->textCursor().selectionStart(), at);
        EXPECT_EQ(window->Memo1()->textCursor().selectedText(), c.text.mid(at, c.find.size()));
    }
    m_prompter->answers = {QMessageBox::Ok};
    Run(*window, "actSearchFindNext");
    EXPECT_EQ(m_prompter->questions.last(), QStringLiteral("Information|Cannot find \"%1\"").arg(c.find));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindNext,
    ::testing::Values(
        TFindCase{"threeThenFail", QStringLiteral("ab ab ab"), QStringLiteral("ab"), true, false, true, 0, {0, 3, 6}},
        TFindCase{"ignoresCase", QStringLiteral("Word word WORD"), QStringLiteral("word"), false, false, true, 0, {0, 5, 10}},
        TFindCase{"matchesCase", QStringLiteral("Word word WORD"), QStringLiteral("WORD"), true, false, true, 0, {10}},
        TFindCase{"wholeWord", QStringLiteral("cart car scar car"), QStringLiteral("car"), true, true, true, 0, {5, 14}},
        TFindCase{"up", QStringLiteral("ab ab ab"), QStringLiteral("ab"), true, false, false, 8, {6, 3, 0}},
        TFindCase{"emptyFindText", QStringLiteral("abc"), QString(), true, false, true, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ReplaceTakesTheSelectedOccurrenceThenSelectsTheNext)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "one cat two cat three cat");
    TReplaceDialog* dialog = window->ReplaceDialog1();
    dialog->SetFindText(QStringLiteral("cat"));
    dialog->SetReplaceText(QStringLiteral("dog"));
    Select(window->Memo1(), 0, 0);
    window->ReplaceDialog1Find();
    EXPECT_EQ(window->Memo1()->textCursor().selectionStart(), 4);
    window->ReplaceDialog1Replace(false);
    EXPECT_EQ(items.a->GetText(1), "one dog two cat three cat");
    EXPECT_EQ(window->Memo1()->textCursor().selectionStart(), 12);
    EXPECT_EQ(window->Memo1()->textCursor().selectedText(), QStringLiteral("cat"));
    EXPECT_TRUE(window->Modified());
    // Find Next of the window repeats the replace dialog's find text.
    EXPECT_EQ(window->FindDialog1()->FindText(), QStringLiteral("cat"));
}

TEST_F(WindowTest, ReplaceAllReplacesEveryOccurrenceAsOneEdit)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "cat\r\ncat cat");
    TReplaceDialog* dialog = window->ReplaceDialog1();
    dialog->SetFindText(QStringLiteral("cat"));
    dialog->SetReplaceText(QStringLiteral("lion"));
    Select(window->Memo1(), 6, 6);  // all of them, wherever the caret is
    window->ReplaceDialog1Replace(true);
    EXPECT_EQ(items.a->GetText(1), "lion\r\nlion lion");
    window->Memo1()->undo();
    EXPECT_EQ(items.a->GetText(1), "cat\r\ncat cat");
}

TEST_F(WindowTest, LoadingATextFileNormalisesLineBreaks)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "old");
    WriteBytes(Path("in.txt"), std::string("l1\nl2\rl3\r\nl4\n\rend\0ignored", 26));
    m_prompter->files = {Path("in.txt")};
    Run(*window, "actFileOpenMemo");
    EXPECT_EQ(items.a->GetText(1), "l1\r\nl2\r\nl3\r\nl4\r\n\r\nend");
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("open:txt")});
}

TEST_F(WindowTest, LoadingTheSameTextLeavesTheDocumentUnmodified)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "same\r\ntext");
    WriteBytes(Path("same.txt"), "same\ntext");
    m_prompter->files = {Path("same.txt")};
    Run(*window, "actFileOpenMemo");
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(window->StatusPanelText(1), QString());
    EXPECT_EQ(items.a->GetText(1), "same\r\ntext");
}

TEST_F(WindowTest, SavingTheDescriptionWritesItsBytesUnderTheItemsName)
{
    auto window = MakeWindow();
    TTwoItems items = AddTwoItems(*window, "caf\xE9\r\nline");
    items.a->SetText(0, "a/b:c");
    items.a->SetSelected(true);
    m_prompter->files = {Path("out.txt")};
    Run(*window, "actFileSaveMemo");
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:txt:a_b_c.txt")});
    EXPECT_EQ(ReadBytes(Path("out.txt")), "caf\xE9\r\nline");
    EXPECT_FALSE(window->Modified());
}

struct TEnableCase {
    const char* name;
    bool items;
    std::string description;
    bool openMemo;
    bool saveMemo;  // and Find, Find Next, Replace
};

class DescriptionCommandsEnabled : public WindowTest, public ::testing::WithParamInterface<TEnableCase> {};

TEST_P(DescriptionCommandsEnabled, FollowTheTreeAndTheEditorsLines)
{
    const TEnableCase& c = GetParam();
    auto window = MakeWindow();
    if (c.items)
        AddTwoItems(*window, c.description);
    window->UpdateActions();
    EXPECT_EQ(window->Action(QStringLiteral("actFileOpenMemo"))->isEnabled(), c.openMemo);
    for (const char* name : {"actFileSaveMemo", "actSearchFind", "actSearchFindNext", "actSearchReplace"})
        EXPECT_EQ(window->Action(QString::fromLatin1(name))->isEnabled(), c.saveMemo) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, DescriptionCommandsEnabled,
                         ::testing::Values(TEnableCase{"emptyTree", false, "", false, false},
                                           TEnableCase{"emptyDescription", true, "", true, false},
                                           TEnableCase{"onlyALineBreak", true, "\r\n", true, true},
                                           TEnableCase{"text", true, "t", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, WordWrapTwiceRestoresTheEditorWithoutModifying)
{
    auto window = MakeWindow();
    AddTwoItems(*window, "some text");
    QAction* wrap = window->Action(QStringLiteral("actViewWordWrap"));
    Run(*window, "actViewWordWrap");
    EXPECT_TRUE(wrap->isChecked());
    EXPECT_EQ(window->Memo1()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(window->Memo1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    Run(*window, "actViewWordWrap");
    EXPECT_FALSE(wrap->isChecked());
    EXPECT_EQ(window->Memo1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(window->Modified());
}

TEST_F(WindowTest, ALargeDescriptionBeingTypedReachesTheFileAndTheNextItem)
{
    auto window = MakeWindow();
    const std::string large(TfrmTreeViewEditorMain::LazyDescriptionSize + 10, 'x');
    TTwoItems items = AddTwoItems(*window, large);
    TypeAtEnd(window->Memo1(), QStringLiteral("!"));
    m_prompter->files = {Path("big.trd")};
    window->NewOpenSaveSaveasClose(13);
    TTreeList reread;
    LoadItems(reread, Path("big.trd").toStdString());
    EXPECT_EQ(reread.TopItem(0)->GetText(1), large + "!");

    TypeAtEnd(window->Memo1(), QStringLiteral("?"));
    items.b->SetFocused();
    EXPECT_EQ(items.a->GetText(1), large + "!?");
}

TEST_F(WindowTest, ASelectionOverALineBreakIsFoundAgain)
{
    auto window = MakeWindow();
    AddTwoItems(*window, "ab\r\ncd ab\r\ncd");
    Select(window->Memo1(), 1, 4);  // "b", line break, "c"
    Run(*window, "actSearchFind");
    EXPECT_EQ(window->FindDialog1()->FindText(), QStringLiteral("b\nc"));
    Run(*window, "actSearchFindNext");
    EXPECT_EQ(window->Memo1()->textCursor().selectionStart(), 7);
    window->FindDialog1()->hide();
}
