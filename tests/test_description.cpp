#include "tests/apptestkit.h"

#include "exchange/exportwriters.h"

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

class PaneTest : public PartsTest {
protected:
    void SetUp() override
    {
        PartsTest::SetUp();
        Start();
    }
    TDescriptionPane& Pane() { return m_parts->pane; }
    QPlainTextEdit* Memo() { return &m_parts->memo; }
    // A, with the given description, and B, each focused once; A ends focused.
    TTwoItems AddTwoItems(const std::string& descriptionA)
    {
        TTreeListTextNode* a = Tree().AddItem();
        a->SetText(0, "A");
        a->SetText(1, descriptionA);
        TTreeListTextNode* b = Tree().AddItem();
        b->SetText(0, "B");
        b->SetText(1, "other");
        b->SetFocused();
        a->SetFocused();
        return {a, b};
    }
};

struct TRoundTrip {
    const char* name;
    std::string stored;
    QString shown;
    std::string afterTwoEdits;  // typed "1", refocused, typed "2"
};

class DescriptionRoundTrip : public PaneTest, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(DescriptionRoundTrip, FocusingAndEditingNeverAddsLineBreaks)
{
    const TRoundTrip& c = GetParam();
    TTwoItems items = AddTwoItems(c.stored);
    EXPECT_EQ(Memo()->toPlainText(), c.shown);
    // Moving the focus alone changes nothing.
    items.b->SetFocused();
    items.a->SetFocused();
    EXPECT_EQ(items.a->GetText(1), c.stored);
    EXPECT_FALSE(Modified());

    TypeAtEnd(Memo(), QStringLiteral("1"));
    items.b->SetFocused();
    items.a->SetFocused();
    TypeAtEnd(Memo(), QStringLiteral("2"));
    EXPECT_EQ(items.a->GetText(1), c.afterTwoEdits);
    EXPECT_EQ(items.b->GetText(1), "other");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(m_parts->modifiedPanel.text(), QStringLiteral("Modified"));
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

TEST_F(PaneTest, ThePaneFollowsTheFocusWhateverMovedIt)
{
    EXPECT_TRUE(Memo()->isReadOnly()) << "no item to edit";
    TTwoItems items = AddTwoItems("first");
    EXPECT_FALSE(Memo()->isReadOnly());
    // The tree moves the focus by itself when it deletes the focused item.
    Tree().Delete(items.a);
    EXPECT_EQ(Memo()->toPlainText(), QStringLiteral("other"));
    TypeAtEnd(Memo(), QStringLiteral("!"));
    EXPECT_EQ(items.b->GetText(1), "other!");
    Tree().Delete(items.b);
    EXPECT_TRUE(Memo()->isReadOnly());
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

class FindNext : public PaneTest, public ::testing::WithParamInterface<TFindCase> {};

TEST_P(FindNext, HonoursTheDialogsOptionsAndDoesNotWrap)
{
    const TFindCase& c = GetParam();
    AddTwoItems(c.text.toStdString());
    Select(Memo(), c.caret, c.caret);
    TFindDialog* dialog = &m_parts->findDialog;
    dialog->SetFindText(c.find);
    dialog->findChild<QCheckBox*>(QStringLiteral("MatchCaseCheck"))->setChecked(c.matchCase);
    dialog->findChild<QCheckBox*>(QStringLiteral("WholeWordCheck"))->setChecked(c.wholeWord);
    dialog->findChild<QRadioButton*>(c.down ? QStringLiteral("DownRadio") : QStringLiteral("UpRadio"))
        ->setChecked(true);
    for (int at : c.found) {
        Pane().actSearchFindNextExecute();
        EXPECT_EQ(Memo()->textCursor().selectionStart(), at);
        EXPECT_EQ(Memo()->textCursor().selectedText(), c.text.mid(at, c.find.size()));
    }
    m_prompter->answers = {QMessageBox::Ok};
    Pane().actSearchFindNextExecute();
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

TEST_F(PaneTest, ReplaceTakesTheSelectedOccurrenceThenSelectsTheNextAndReplaceAllIsOneEdit)
{
    TTwoItems items = AddTwoItems("one cat two cat three cat");
    TReplaceDialog* dialog = &m_parts->replaceDialog;
    dialog->SetFindText(QStringLiteral("cat"));
    dialog->SetReplaceText(QStringLiteral("dog"));
    Select(Memo(), 0, 0);
    Pane().ReplaceDialog1Find();
    EXPECT_EQ(Memo()->textCursor().selectionStart(), 4);
    Pane().ReplaceDialog1Replace(false);
    EXPECT_EQ(items.a->GetText(1), "one dog two cat three cat");
    EXPECT_EQ(Memo()->textCursor().selectionStart(), 12);
    EXPECT_EQ(Memo()->textCursor().selectedText(), QStringLiteral("cat"));
    EXPECT_TRUE(Modified());
    // Find Next of the window repeats the replace dialog's find text.
    EXPECT_EQ(m_parts->findDialog.FindText(), QStringLiteral("cat"));

    items.b->SetFocused();
    items.a->SetText(1, "cat\r\ncat cat");
    items.a->SetFocused();
    dialog->SetReplaceText(QStringLiteral("lion"));
    Select(Memo(), 6, 6);  // all of them, wherever the caret is
    Pane().ReplaceDialog1Replace(true);
    EXPECT_EQ(items.a->GetText(1), "lion\r\nlion lion");
    Memo()->undo();
    EXPECT_EQ(items.a->GetText(1), "cat\r\ncat cat");
}

TEST_F(PaneTest, LoadingATextFileNormalisesLineBreaksAndTheSameTextIsNoChange)
{
    TTwoItems items = AddTwoItems("l1\r\nl2\r\nl3\r\nl4\r\n\r\nend");
    WriteBytes(Path("in.txt"), std::string("l1\nl2\rl3\r\nl4\n\rend\0ignored", 26));
    WriteBytes(Path("new.txt"), "new\n");
    m_prompter->files = {Path("in.txt"), Path("new.txt")};
    Pane().actFileOpenMemoExecute();
    EXPECT_EQ(items.a->GetText(1), "l1\r\nl2\r\nl3\r\nl4\r\n\r\nend");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(m_parts->modifiedPanel.text(), QString());
    Pane().actFileOpenMemoExecute();
    EXPECT_EQ(items.a->GetText(1), "new\r\n");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(m_prompter->dialogs, (QStringList{QStringLiteral("open:txt"), QStringLiteral("open:txt")}));
}

TEST_F(PaneTest, SavingTheDescriptionWritesItsBytesUnderTheItemsName)
{
    TTwoItems items = AddTwoItems("caf\xE9\r\nline");
    items.a->SetText(0, "a/b:c");
    items.a->SetSelected(true);
    m_prompter->files = {Path("out.txt")};
    Pane().actFileSaveMemoExecute();
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:txt:a_b_c.txt")});
    EXPECT_EQ(ReadBytes(Path("out.txt")), "caf\xE9\r\nline");
    EXPECT_FALSE(Modified());

    m_prompter->files = {Path("missing/out.txt")};
    try {
        Pane().actFileSaveMemoExecute();
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.what(), "Cannot create file " + Path("missing/out.txt").toStdString());
    }
}

TEST_F(PaneTest, WordWrapTwiceRestoresTheEditorWithoutModifying)
{
    AddTwoItems("some text");
    // The command's action is checkable: triggering it inverts its check mark.
    QAction wrap;
    wrap.setCheckable(true);
    wrap.setChecked(true);
    Pane().actViewWordWrapExecute(&wrap);
    EXPECT_EQ(Memo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(Memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    wrap.setChecked(false);
    Pane().actViewWordWrapExecute(&wrap);
    EXPECT_EQ(Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(Memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(Modified());
}

TEST_F(PaneTest, ALargeDescriptionBeingTypedReachesTheFileAndTheNextItem)
{
    const std::string large(TDescriptionPane::LazyDescriptionSize + 10, 'x');
    TTwoItems items = AddTwoItems(large);
    TypeAtEnd(Memo(), QStringLiteral("!"));
    m_prompter->files = {Path("big.trd")};
    m_parts->session.NewOpenSaveSaveasClose(13);
    TTreeList reread;
    LoadItems(reread, Path("big.trd").toStdString());
    EXPECT_EQ(reread.TopItem(0)->GetText(1), large + "!");

    TypeAtEnd(Memo(), QStringLiteral("?"));
    items.b->SetFocused();
    EXPECT_EQ(items.a->GetText(1), large + "!?");
}

TEST_F(PaneTest, ASelectionOverALineBreakIsFoundAgain)
{
    AddTwoItems("ab\r\ncd ab\r\ncd");
    Select(Memo(), 1, 4);  // "b", line break, "c"
    Pane().actSearchFindExecute();
    EXPECT_EQ(m_parts->findDialog.FindText(), QStringLiteral("b\nc"));
    Pane().actSearchFindNextExecute();
    EXPECT_EQ(Memo()->textCursor().selectionStart(), 7);
    m_parts->findDialog.hide();
}

// A large description holds an edit only in the editor until something
// reads the tree; then just the edited stretch is encoded, or the whole text
// where only that gives the same bytes.
struct TPendingEdit {
    const char* name;
    std::string before;  // then the filler
    int position;        // of the edit, from the end when negative
    int removed;
    QString typed;
    std::string after;  // with the filler in place of "~"
};

class PendingLargeEdit : public PaneTest, public ::testing::WithParamInterface<TPendingEdit> {
protected:
    static std::string WithFiller(const std::string& text)
    {
        std::string result = text;
        result.replace(result.find('~'), 1, std::string(TDescriptionPane::LazyDescriptionSize, 'x'));
        return result;
    }
};

TEST_P(PendingLargeEdit, ReachesWhatReadsTheTreeAsTheWholeTextWould)
{
    const TPendingEdit& c = GetParam();
    const std::string stored = WithFiller(c.before);
    TTwoItems items = AddTwoItems(stored);
    QTextCursor cursor = Memo()->textCursor();
    const int length = Memo()->document()->characterCount() - 1;
    cursor.setPosition(c.position < 0 ? length + c.position + 1 : c.position);
    cursor.setPosition(cursor.position() + c.removed, QTextCursor::KeepAnchor);
    cursor.insertText(c.typed);
    ASSERT_EQ(items.a->GetText(1), stored) << "the edit is not pending";

    // Export reads it first, as save, find and recovery copies do.
    ExportTxt(Tree(), Path("out.txt").toStdString());
    const std::string expected = WithFiller(c.after);
    QFile exported(Path("out.txt"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_NE(exported.readAll().toStdString().find(expected), std::string::npos);
    EXPECT_EQ(items.a->GetText(1), expected);
    // A second edit goes on from the stored bytes.
    TypeAtEnd(Memo(), QStringLiteral("."));
    items.b->SetFocused();
    EXPECT_EQ(items.a->GetText(1), expected + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PendingLargeEdit,
    ::testing::Values(
        TPendingEdit{"typedAtEnd", "a\r\nb~", -1, 0, QStringLiteral("!"), "a\r\nb~!"},
        TPendingEdit{"typedAtStart", "a\r\nb~", 0, 0, QStringLiteral("!"), "!a\r\nb~"},
        TPendingEdit{"lineBreakDeleted", "a\r\nb~", 1, 1, QString(), "ab~"},
        TPendingEdit{"lineBreakTyped", "ab~\r\nc", 1, 0, QStringLiteral("\n"), "a\r\nb~\r\nc"},
        TPendingEdit{"replacedAcrossBreaks", "a\r\nb\r\nc~", 1, 3, QStringLiteral("-"), "a-c~"},
        TPendingEdit{"windows1252Kept", "caf\xE9\r\n~", -1, 0, QStringLiteral("\u00E9"), "caf\xE9\r\n~\xE9"},
        TPendingEdit{"windows1252BecomesUtf8", "caf\xE9~", -1, 0, QStringLiteral("\u0101"),
                     "caf\xC3\xA9~\xC4\x81"},
        TPendingEdit{"loneLineBreaksMadeCrLf", "a\nb\rc~", -1, 0, QStringLiteral("!"), "a\r\nb\r\nc~!"},
        TPendingEdit{"afterASurrogatePair", "\xF0\x9F\x98\x80~", 2, 0, QStringLiteral("!"), "\xF0\x9F\x98\x80!~"},
        TPendingEdit{"noBreakSpaceKept", "a\xC2\xA0" "b~", -1, 0, QStringLiteral("!"), "a\xC2\xA0" "b~!"}),
    [](const auto& info) { return std::string(info.param.name); });
