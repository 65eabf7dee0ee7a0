#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "app/window/filewatcher.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>

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

// Each tag runs the handler named after its action. On a named, modified
// document whose "save changes?" is answered No and whose dialogs are
// cancelled, the five commands each do something different.
TEST_F(SessionTest, EachTagRunsTheHandlerNamedAfterItsAction)
{
    struct TCase {
        int tag;
        void (TDocumentSession::*handler)();
        bool asks, dialog;
    };
    const TCase cases[] = {{11, &TDocumentSession::actFileNewExecute, true, false},
                           {12, &TDocumentSession::actFileOpenExecute, true, true},
                           {13, &TDocumentSession::actFileSaveExecute, false, false},
                           {14, &TDocumentSession::actFileSaveAsExecute, false, true},
                           {15, &TDocumentSession::actFileCloseExecute, true, false}};
    for (const TCase& c : cases) {
        QStringList seen[2];
        for (int byTag = 0; byTag < 2; ++byTag) {
            WriteBytes(Path("a.trd"), WorkedExampleBytes());
            Start({Path("a.trd")});
            Edit();
            m_prompter->answers.clear();
            if (c.asks)
                m_prompter->answers.push_back(QMessageBox::No);
            m_prompter->files.clear();
            if (c.dialog)
                m_prompter->files.push_back(QString());
            m_prompter->questions.clear();
            m_prompter->dialogs.clear();
            if (byTag)
                Session().NewOpenSaveSaveasClose(c.tag);
            else
                (Session().*c.handler)();
            seen[byTag] = m_prompter->questions + m_prompter->dialogs;
            seen[byTag] << Title() << (Modified() ? QStringLiteral("modified") : QString());
        }
        EXPECT_EQ(seen[0], seen[1]) << c.tag;
        EXPECT_EQ(m_prompter->questions.size(), c.asks ? 1 : 0) << c.tag;
        EXPECT_EQ(m_prompter->dialogs.size(), c.dialog ? 1 : 0) << c.tag;
    }
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
    WriteBytes(Path("cut.trd"), WorkedExampleBytes().substr(0, 60));
    const std::pair<const char*, const char*> cases[] = {{"absent.trd", "Cannot open file %1."},
                                                         {"cut.trd", "Stream read error: %1."}};
    for (const auto& [name, message] : cases) {
        auto window = MakeWindow();
        m_prompter->errors.clear();
        m_prompter->files = {Path(name)};
        Run(*window, TActionId::actFileOpen);
        EXPECT_EQ(m_prompter->errors, QStringList{QString::fromLatin1(message).arg(Path(name))});
        EXPECT_EQ(window->Session().FileName(), QString());
    }
}

namespace {
// Another program's change: a new version written beside the file and
// renamed over it, as sync tools and editors do, or written in place in pieces.
void ReplaceOnDisk(const QString& path, const std::string& bytes)
{
    QFile file(path + QStringLiteral(".new"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    ASSERT_EQ(::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()), 0);
}

std::string EmptyTreeBytes()
{
    return WriteItems(TTreeList());
}

// Long enough for any change to have been looked at.
void Settle()
{
    QTest::qWait(TFileWatcher::SettleMs * 4);
}
}  // namespace

struct TDiskChangeCase {
    const char* name;
    bool modified;
    QMessageBox::StandardButton answer;
};

class ChangedOnDisk : public SessionTest, public ::testing::WithParamInterface<TDiskChangeCase> {};

// One question per change; the document is reloaded only on Yes, and a kept
// document is written over the changed file only after a second question.
TEST_P(ChangedOnDisk, AsksOnceAndFollowsTheAnswer)
{
    const TDiskChangeCase& c = GetParam();
    const bool reload = c.answer == QMessageBox::Yes;
    WriteBytes(Path("doc.trd"), WorkedExampleBytes());
    Start();
    m_prompter->files = {Path("doc.trd")};
    Session().NewOpenSaveSaveasClose(TagOpen);
    if (c.modified)
        Edit();
    const int items = Tree().TopItemCount();

    ReplaceOnDisk(Path("doc.trd"), EmptyTreeBytes());
    m_prompter->answers = {c.answer};
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_prompter->questions.isEmpty(); }));
    EXPECT_TRUE(m_prompter->questions[0].startsWith("File Changed|The file " + Path("doc.trd") + " was changed"));
    EXPECT_EQ(m_prompter->questions[0].contains("lose your changes"), c.modified);
    EXPECT_EQ(Tree().TopItemCount(), reload ? 0 : items);
    EXPECT_EQ(Modified(), c.modified && !reload);
    EXPECT_EQ(Session().FileName(), Path("doc.trd"));
    // More events of the same change ask nothing more.
    WriteBytes(Path("unrelated"), "x");
    Settle();
    EXPECT_EQ(m_prompter->questions.size(), 1);

    if (!reload) {
        m_prompter->answers = {QMessageBox::No};
        Session().NewOpenSaveSaveasClose(TagSave);
        EXPECT_EQ(ReadBytes(Path("doc.trd")), EmptyTreeBytes());
        ASSERT_EQ(m_prompter->questions.size(), 2);
        EXPECT_TRUE(m_prompter->questions[1].contains("Overwrite it"));
        m_prompter->answers = {QMessageBox::Yes};
    }
    Session().NewOpenSaveSaveasClose(TagSave);
    EXPECT_EQ(ReadBytes(Path("doc.trd")), WriteItems(Tree()));
    EXPECT_FALSE(Modified());
    // Our own save is no change by another program, and the file is still
    // watched after it was replaced.
    Settle();
    const int asked = m_prompter->questions.size();
    m_prompter->answers = {QMessageBox::No};
    ReplaceOnDisk(Path("doc.trd"), WorkedExampleBytes());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_prompter->questions.size() > asked; }));
    Settle();
    EXPECT_EQ(m_prompter->questions.size(), asked + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedOnDisk,
                         ::testing::Values(TDiskChangeCase{"UnmodifiedReloads", false, QMessageBox::Yes},
                                           TDiskChangeCase{"UnmodifiedKeeps", false, QMessageBox::No},
                                           TDiskChangeCase{"ModifiedReloadsLosingTheChanges", true, QMessageBox::Yes},
                                           TDiskChangeCase{"ModifiedKeeps", true, QMessageBox::No}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, AFileWrittenInPiecesIsOneChange)
{
    WriteBytes(Path("doc.trd"), EmptyTreeBytes());
    Start();
    m_prompter->files = {Path("doc.trd")};
    Session().NewOpenSaveSaveasClose(TagOpen);
    const std::string bytes = WorkedExampleBytes();
    QFile file(Path("doc.trd"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (size_t at = 0; at < bytes.size(); at += 20) {
        file.write(bytes.data() + at, static_cast<qint64>(std::min<size_t>(20, bytes.size() - at)));
        file.flush();
        QTest::qWait(10);
    }
    file.close();
    m_prompter->answers = {QMessageBox::Yes};
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_prompter->questions.isEmpty(); }));
    Settle();
    EXPECT_EQ(m_prompter->questions.size(), 1);
    EXPECT_EQ(Tree().TopItemCount(), 1);
}
