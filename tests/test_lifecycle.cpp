#include "tests/apptestkit.h"

#include "app/window/commandtable.h"

#include <QAction>
#include <QPlainTextEdit>

namespace {
const QString Untitled = QStringLiteral("Untitled - VekTreeViewEditor");
const QString SavePrompt = QStringLiteral("Information|Do you want to save the changes?");

// The file commands' tags.
constexpr int TagNew = 11, TagOpen = 12, TagSave = 13, TagSaveAs = 14;
}  // namespace

class SessionTest : public PartsTest {
protected:
    TDocumentSession& Session() { return m_parts->session; }
    QString Title() const { return m_parts->window.windowTitle(); }
    // An edit: an item added and the document marked modified.
    void Edit()
    {
        Tree().AddItem();
        Session().MarkModified();
    }
};

TEST_F(SessionTest, AMissingCommandLineFileStartsAnEmptyUntitledDocumentThatSaveLeavesAlone)
{
    Start({Path("missing.trd")});
    EXPECT_EQ(Title(), Untitled);
    EXPECT_EQ(m_parts->modifiedPanel.text(), QString());
    EXPECT_EQ(Tree().TopItemCount(), 0);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
    Session().NewOpenSaveSaveasClose(TagSave);
    EXPECT_TRUE(m_prompter->dialogs.isEmpty());
}

TEST_F(WindowTest, TheWindowOpensTheCommandLineFileWhenFirstShown)
{
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("notes.trd")});
    EXPECT_EQ(window->objectName(), QStringLiteral("frmTreeViewEditorMain"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("notes.trd - VekTreeViewEditor"));
    EXPECT_EQ(window->StatusPanelText(1), QString());
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("x"));
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(window->Session().FileName(), Path("notes.trd"));
}

// The file loads on another thread; until it is in, the commands that
// change or replace the document are disabled, and pressing them does nothing.
struct TLoadCase {
    const char* name;
    std::string bytes;
    bool loads;
};

class CommandLineLoad : public WindowTest, public ::testing::WithParamInterface<TLoadCase> {};

TEST_P(CommandLineLoad, CommandsWaitForTheDocument)
{
    const TLoadCase& c = GetParam();
    WriteBytes(Path("notes.trd"), c.bytes);
    auto window = std::make_unique<TfrmTreeViewEditorMain>(QStringList{Path("notes.trd")});
    window->show();
    ASSERT_TRUE(window->Session().Loading());
    const TActionId pressed[] = {TActionId::actFileNew, TActionId::actFileOpen, TActionId::actEditItemNew,
                                 TActionId::actEditItemNewSub, TActionId::actFileSaveAs};
    window->Commands().UpdateActions();
    for (TActionId id : pressed) {
        EXPECT_FALSE(Action(*window, id)->isEnabled()) << static_cast<int>(id);
        Action(*window, id)->trigger();
    }
    EXPECT_TRUE(m_prompter->dialogs.isEmpty());
    WaitForLoad(*window);
    window->Commands().UpdateActions();
    for (TActionId id : pressed)
        EXPECT_TRUE(Action(*window, id)->isEnabled()) << static_cast<int>(id);
    EXPECT_EQ(window->TreeList().TopItemCount(), 1);
    EXPECT_EQ(window->Session().FileName(), c.loads ? Path("notes.trd") : QString());
    EXPECT_EQ(window->Session().Modified(), !c.loads);
    EXPECT_EQ(window->windowTitle(), c.loads ? QStringLiteral("notes.trd - VekTreeViewEditor") : Untitled);
    EXPECT_EQ(m_prompter->errors.size(), c.loads ? 0 : 1);
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("x"));
    EXPECT_EQ(window->TreeList().FocusedItem(), window->TreeList().TopItem(0));
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineLoad,
                         ::testing::Values(TLoadCase{"whole", WorkedExampleBytes(), true},
                                           TLoadCase{"cutShort", WorkedExampleBytes().substr(0, 78), false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, WorkedExampleRoundTripsByteForByteThroughSave)
{
    WriteBytes(Path("in.trd"), WorkedExampleBytes());
    Start();
    m_prompter->files = {Path("in.trd")};
    Session().NewOpenSaveSaveasClose(TagOpen);
    ASSERT_EQ(Title(), QStringLiteral("in.trd - VekTreeViewEditor"));
    m_prompter->files = {Path("out.trd")};
    Session().NewOpenSaveSaveasClose(TagSaveAs);
    EXPECT_EQ(ReadBytes(Path("out.trd")), WorkedExampleBytes());
    EXPECT_EQ(Title(), QStringLiteral("out.trd - VekTreeViewEditor"));
    // Save As offers the current name.
    EXPECT_EQ(m_prompter->dialogs.last(), QStringLiteral("save:trd:%1").arg(Path("in.trd")));
}

TEST_F(SessionTest, SaveOfANamedDocumentWithAllItemsDeletedWritesTheEmptyTree)
{
    WriteBytes(Path("a.trd"), WorkedExampleBytes());
    Start({Path("a.trd")});
    Tree().ClearItems();
    Session().NewOpenSaveSaveasClose(TagSave);
    EXPECT_EQ(ReadBytes(Path("a.trd")), std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8));
}

TEST_F(SessionTest, ModifiedStateShowsInTheStatusBarUntilSaved)
{
    Start();
    Edit();
    Session().NewOpenSaveSaveasClose(0);  // a tag outside 11..15 does nothing
    EXPECT_EQ(m_parts->modifiedPanel.text(), QStringLiteral("Modified"));
    m_prompter->files = {Path("n.trd")};
    Session().NewOpenSaveSaveasClose(TagSave);
    EXPECT_EQ(m_parts->modifiedPanel.text(), QString());
    EXPECT_EQ(Title(), QStringLiteral("n.trd - VekTreeViewEditor"));
}

struct TPromptCase {
    const char* name;
    bool emptyTree;
    QMessageBox::StandardButton answer;
    bool saveDialogConfirmed;
    bool expectClosed;     // document closed (untitled, empty)
    bool expectSaveDialog;
};

class NewOnModifiedDocument : public SessionTest, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(NewOnModifiedDocument, FollowsTheAnswerToTheSavePrompt)
{
    const TPromptCase& c = GetParam();
    Start();
    Edit();
    if (c.emptyTree)
        Tree().ClearItems();
    ASSERT_TRUE(Modified());

    m_prompter->answers = {c.answer};
    if (c.expectSaveDialog)
        m_prompter->files = {c.saveDialogConfirmed ? Path("saved.trd") : QString()};
    Session().NewOpenSaveSaveasClose(TagNew);
    EXPECT_EQ(m_prompter->questions, QStringList{SavePrompt});
    if (c.expectClosed) {
        EXPECT_EQ(Tree().TopItemCount(), 0);
        EXPECT_FALSE(Modified());
        EXPECT_EQ(Title(), Untitled);
    } else {
        EXPECT_TRUE(Modified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewOnModifiedDocument,
    ::testing::Values(TPromptCase{"cancel", false, QMessageBox::Cancel, false, false, false},
                      TPromptCase{"no", false, QMessageBox::No, false, true, false},
                      TPromptCase{"yesSaved", false, QMessageBox::Yes, true, true, true},
                      TPromptCase{"yesDialogCancelled", false, QMessageBox::Yes, false, false, true},
                      TPromptCase{"yesEmptyUntitledClosesLikeNo", true, QMessageBox::Yes, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, TheCloseQueryKeepsTheChangesWhenTheSaveDialogIsCancelled)
{
    Start();
    Edit();
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {QString()};
    EXPECT_FALSE(Session().FormCloseQuery());
    EXPECT_TRUE(Modified());

    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("kept.trd")};
    EXPECT_TRUE(Session().FormCloseQuery());
    TTreeList reread;
    LoadItems(reread, Path("kept.trd").toStdString());
    EXPECT_EQ(reread.TopItemCount(), 1);
}

TEST_F(WindowTest, ClosingStaysOpenWhenTheSaveFails)
{
    auto window = MakeWindow();
    window->TreeList().AddItem();
    window->Session().MarkModified();
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("no/such/folder/x.trd")};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(m_prompter->errors.size(), 1);
    EXPECT_TRUE(m_prompter->errors[0].startsWith(QStringLiteral("Cannot create file "))) << m_prompter->errors[0].toStdString();
    EXPECT_TRUE(window->Session().Modified());
}

TEST_F(WindowTest, ANameStillBeingTypedIsAChangeForTheFileCommandsAndTheClose)
{
    WriteBytes(Path("a.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("a.trd")});
    StartTypingName(*window, QStringLiteral("Renamed"));
    m_prompter->answers = {QMessageBox::Cancel};
    Run(*window, TActionId::actFileClose);
    EXPECT_EQ(m_prompter->questions, QStringList{SavePrompt});
    EXPECT_EQ(window->TreeList().TopItem(0)->GetText(TreeListColumnName), "Renamed");

    StartTypingName(*window, QStringLiteral("Important"));
    m_prompter->answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->close());
    TTreeList reread;
    LoadItems(reread, Path("a.trd").toStdString());
    EXPECT_EQ(reread.TopItem(0)->GetText(TreeListColumnName), "Important");
}

TEST_F(SessionTest, OpenSavesTheChangesFirstAndStopsIfThatIsCancelled)
{
    WriteBytes(Path("other.trd"), WorkedExampleBytes());
    Start();
    Edit();
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {QString()};  // the save dialog is cancelled; no open dialog follows
    Session().NewOpenSaveSaveasClose(TagOpen);
    EXPECT_EQ(Tree().TopItemCount(), 1);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:trd:")});

    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("first.trd"), Path("other.trd")};
    Session().NewOpenSaveSaveasClose(TagOpen);
    EXPECT_EQ(Title(), QStringLiteral("other.trd - VekTreeViewEditor"));
    EXPECT_EQ(ReadBytes(Path("first.trd")).size(), 8u + 28u);
}

TEST_F(SessionTest, AFailedOpenLeavesAnUntitledDocumentWithTheItemsRead)
{
    std::string damaged = WorkedExampleBytes();
    damaged.resize(damaged.size() - 1);  // the last string is cut short
    WriteBytes(Path("damaged.trd"), damaged);
    const std::string before = ReadBytes(Path("damaged.trd"));
    Start();
    m_prompter->files = {Path("damaged.trd")};
    EXPECT_THROW(Session().NewOpenSaveSaveasClose(TagOpen), EReadError);
    EXPECT_EQ(Session().FileName(), QString());
    EXPECT_EQ(Title(), Untitled);
    EXPECT_EQ(Tree().TopItemCount(), 1);
    EXPECT_TRUE(Modified());
    // A later Save asks for a name instead of overwriting the damaged file.
    m_prompter->files = {QString()};
    Session().NewOpenSaveSaveasClose(TagSave);
    EXPECT_EQ(ReadBytes(Path("damaged.trd")), before);
}

TEST_F(WindowTest, AnOpenErrorNamesTheFile)
{
    auto window = MakeWindow();
    m_prompter->files = {Path("absent.trd")};
    Run(*window, TActionId::actFileOpen);
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Cannot open file %1.").arg(Path("absent.trd"))});
    EXPECT_FALSE(window->Session().Modified());
}
