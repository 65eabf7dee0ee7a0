#include "apptestkit.h"

#include <QAction>
#include <QPlainTextEdit>

namespace {
const QString Untitled = QStringLiteral("Untitled - VekTreeViewEditor");
const QString SavePrompt = QStringLiteral("Information|Do you want to save the changes?");

}  // namespace

TEST_F(WindowTest, StartsAsAnEmptyUntitledDocument)
{
    auto window = MakeWindow();
    EXPECT_EQ(window->windowTitle(), Untitled);
    EXPECT_EQ(window->StatusPanelText(1), QString());
    EXPECT_EQ(window->TreeList().TopItemCount(), 0);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmTreeViewEditorMain"));
}

TEST_F(WindowTest, OpensTheFileNamedOnTheCommandLine)
{
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("notes.trd")});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("notes.trd - VekTreeViewEditor"));
    EXPECT_EQ(window->TreeList().TopItemCount(), 1);
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("x"));
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(window->FileName(), Path("notes.trd"));
}

TEST_F(WindowTest, IgnoresAMissingCommandLineFile)
{
    auto window = MakeWindow({Path("missing.trd")});
    EXPECT_EQ(window->windowTitle(), Untitled);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

TEST_F(WindowTest, WorkedExampleRoundTripsByteForByteThroughSave)
{
    WriteBytes(Path("in.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    m_prompter->files = {Path("in.trd")};
    Run(*window, "actFileOpen");
    ASSERT_EQ(window->windowTitle(), QStringLiteral("in.trd - VekTreeViewEditor"));
    m_prompter->files = {Path("out.trd")};
    Run(*window, "actFileSaveAs");
    EXPECT_EQ(ReadBytes(Path("out.trd")), WorkedExampleBytes());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("out.trd - VekTreeViewEditor"));
    // Save As offers the current name.
    EXPECT_EQ(m_prompter->dialogs.last(), QStringLiteral("save:trd:%1").arg(Path("in.trd")));
}

TEST_F(WindowTest, OldVariantIsSavedInTheCurrentVariant)
{
    // One item, no marker, one-byte string lengths.
    std::string old("\x01\0\0\0", 4);
    old += std::string("\x18\0\0\0\x03\0\0\0\x03\0\0\0\xFF\xFF\xFF\xFF\0\0\0\0\0\0\0\0\x02\0\0\0", 28);
    old += std::string("\x01" "A" "\x01" "x", 4);
    WriteBytes(Path("old.trd"), old);
    auto window = MakeWindow({Path("old.trd")});
    window->NewOpenSaveSaveasClose(13);  // Save is a no-op only for empty untitled documents
    const std::string saved = ReadBytes(Path("old.trd"));
    EXPECT_EQ(saved.substr(0, 4), std::string("\xFF\xFF\xFF\xFF"));
    TTreeList reread;
    EXPECT_EQ(LoadItems(reread, Path("old.trd").toStdString()), TTreeFileVariant::Current);
    EXPECT_EQ(reread.TopItem(0)->GetText(1), "x");
}

TEST_F(WindowTest, SaveOfAnEmptyUntitledDocumentShowsNoDialog)
{
    auto window = MakeWindow();
    window->NewOpenSaveSaveasClose(13);
    EXPECT_TRUE(m_prompter->dialogs.isEmpty());
}

TEST_F(WindowTest, SaveOfANamedDocumentWithAllItemsDeletedWritesTheEmptyTree)
{
    WriteBytes(Path("a.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("a.trd")});
    window->TreeList().ClearItems();
    window->NewOpenSaveSaveasClose(13);
    EXPECT_EQ(ReadBytes(Path("a.trd")), std::string("\xFF\xFF\xFF\xFF\0\0\0\0", 8));
}

TEST_F(WindowTest, ModifiedStateShowsInTheStatusBarUntilSaved)
{
    auto window = MakeWindow();
    window->TreeListEdited(window->TreeList().AddItem(), true);
    window->NewOpenSaveSaveasClose(0);  // a tag outside 11..15 does nothing
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("Modified"));
    m_prompter->files = {Path("n.trd")};
    window->NewOpenSaveSaveasClose(13);
    EXPECT_EQ(window->StatusPanelText(1), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("n.trd - VekTreeViewEditor"));
}

struct TPromptCase {
    const char* name;
    bool emptyTree;
    QMessageBox::StandardButton answer;
    bool saveDialogConfirmed;
    bool expectClosed;     // document closed (untitled, empty)
    bool expectSaveDialog;
};

class NewOnModifiedDocument : public WindowTest, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(NewOnModifiedDocument, FollowsTheAnswerToTheSavePrompt)
{
    const TPromptCase& c = GetParam();
    auto window = MakeWindow();
    // A completed rename is one of the edits that mark the document modified.
    window->TreeListEdited(window->TreeList().AddItem(), true);
    if (c.emptyTree)
        window->TreeList().ClearItems();
    ASSERT_TRUE(window->Modified());

    m_prompter->answers = {c.answer};
    if (c.expectSaveDialog)
        m_prompter->files = {c.saveDialogConfirmed ? Path("saved.trd") : QString()};
    window->NewOpenSaveSaveasClose(11);
    EXPECT_EQ(m_prompter->questions, QStringList{SavePrompt});
    if (c.expectClosed) {
        EXPECT_EQ(window->TreeList().TopItemCount(), 0);
        EXPECT_FALSE(window->Modified());
        EXPECT_EQ(window->windowTitle(), Untitled);
    } else {
        EXPECT_TRUE(window->Modified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewOnModifiedDocument,
    ::testing::Values(TPromptCase{"cancel", false, QMessageBox::Cancel, false, false, false},
                      TPromptCase{"no", false, QMessageBox::No, false, true, false},
                      TPromptCase{"yesSaved", false, QMessageBox::Yes, true, true, true},
                      TPromptCase{"yesDialogCancelled", false, QMessageBox::Yes, false, false, true},
                      TPromptCase{"yesEmptyUntitledClosesLikeNo", true, QMessageBox::Yes, false, true, false},
                      TPromptCase{"noEmpty", true, QMessageBox::No, false, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ClosingWithUnsavedChangesStaysOpenWhenTheSaveDialogIsCancelled)
{
    auto window = MakeWindow();
    window->TreeListEdited(window->TreeList().AddItem(), true);
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {QString()};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Modified());

    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("kept.trd")};
    EXPECT_TRUE(window->close());
    TTreeList reread;
    LoadItems(reread, Path("kept.trd").toStdString());
    EXPECT_EQ(reread.TopItemCount(), 1);
}

TEST_F(WindowTest, ClosingStaysOpenWhenTheSaveFails)
{
    auto window = MakeWindow();
    window->TreeListEdited(window->TreeList().AddItem(), true);
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("no/such/folder/x.trd")};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(m_prompter->errors.size(), 1);
    EXPECT_TRUE(m_prompter->errors[0].startsWith(QStringLiteral("Cannot create file "))) << m_prompter->errors[0].toStdString();
    EXPECT_TRUE(window->Modified());
}

TEST_F(WindowTest, OpenStopsWhenSavingTheChangesIsCancelled)
{
    WriteBytes(Path("other.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    window->TreeListEdited(window->TreeList().AddItem(), true);
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {QString()};  // the save dialog is cancelled; no open dialog follows
    Run(*window, "actFileOpen");
    EXPECT_EQ(window->TreeList().TopItemCount(), 1);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:trd:")});
}

TEST_F(WindowTest, OpenAfterSavingTheChangesLoadsTheChosenFile)
{
    WriteBytes(Path("other.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    window->TreeListEdited(window->TreeList().AddItem(), true);
    m_prompter->answers = {QMessageBox::Yes};
    m_prompter->files = {Path("first.trd"), Path("other.trd")};
    Run(*window, "actFileOpen");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("other.trd - VekTreeViewEditor"));
    EXPECT_EQ(ReadBytes(Path("first.trd")).size(), 8u + 28u);
}

TEST_F(WindowTest, AFailedOpenLeavesAnUntitledDocumentWithTheItemsRead)
{
    std::string damaged = WorkedExampleBytes();
    damaged.resize(damaged.size() - 1);  // the last string is cut short
    WriteBytes(Path("damaged.trd"), damaged);
    const std::string before = ReadBytes(Path("damaged.trd"));
    auto window = MakeWindow();
    m_prompter->files = {Path("damaged.trd")};
    Run(*window, "actFileOpen");
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Stream read error.")});
    EXPECT_EQ(window->FileName(), QString());
    EXPECT_EQ(window->windowTitle(), Untitled);
    EXPECT_EQ(window->TreeList().TopItemCount(), 1);
    EXPECT_TRUE(window->Modified());
    // A later Save asks for a name instead of overwriting the damaged file.
    m_prompter->files = {QString()};
    window->NewOpenSaveSaveasClose(13);
    EXPECT_EQ(ReadBytes(Path("damaged.trd")), before);
}

TEST_F(WindowTest, AnOpenErrorNamesTheFile)
{
    auto window = MakeWindow();
    m_prompter->files = {Path("absent.trd")};
    Run(*window, "actFileOpen");
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Cannot open file %1.").arg(Path("absent.trd"))});
    EXPECT_FALSE(window->Modified());
}
