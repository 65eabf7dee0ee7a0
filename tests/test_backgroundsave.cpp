// Saves written while the window goes on: the file holds the document as it
// was when Save was chosen, and whatever happens meanwhile stays a change.
#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "document/protectedfile.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>

namespace {
using Id = TActionId;
const QString SavePrompt = QStringLiteral("Information|Do you want to save the changes?");
const TProtectionParams Cheap{1, 8 << 10, 64};

// When the edit comes: before the tree's bytes are all taken, or after,
// while the worker writes them.
enum class TStage { Serialising, Writing };

struct TEditCase {
    const char* name;
    std::function<void(TfrmTreeViewEditorMain&, TScriptedPrompter&)> edit;
    // What takes the document back to the saved state.
    TActionId back;
};

void TypeDescription(TfrmTreeViewEditorMain& window, TScriptedPrompter&)
{
    window.TreeList().TopItem(0)->SetFocused();
    QTest::keyClicks(window.Memo1(), QStringLiteral("zz"));
}

void Rename(TfrmTreeViewEditorMain& window, TScriptedPrompter&)
{
    window.TreeList().TopItem(0)->SetFocused();
    window.TreeList().StartRename();
    qobject_cast<QLineEdit*>(window.TreeListView()->NameEditor())->setText(QStringLiteral("Renamed"));
    window.Session().FinishEditing();
}

void DeleteItem(TfrmTreeViewEditorMain& window, TScriptedPrompter& prompter, TTreeListTextNode* item)
{
    prompter.answers.push_back(QMessageBox::Ok);
    item->SetFocused();
    item->SetSelected(true);
    window.Commands().UpdateActions();
    window.Commands().Action(Id::actEditItemDelete)->trigger();
}

void DeleteFirst(TfrmTreeViewEditorMain& window, TScriptedPrompter& prompter)
{
    DeleteItem(window, prompter, window.TreeList().TopItem(0));
}

void Undo(TfrmTreeViewEditorMain& window, TScriptedPrompter&)
{
    window.Commands().UpdateActions();
    window.Commands().Action(Id::actEditItemUndo)->trigger();
}
}  // namespace

class BackgroundSave : public WindowTest {
protected:
    // Opened, with B deleted: one step to undo, and Save enabled. Every save
    // of it is written in the background.
    std::unique_ptr<TfrmTreeViewEditorMain> Edited(const QString& name = QStringLiteral("doc.trd"))
    {
        // The worked example and an item whose large description keeps
        // the worker writing for a while, so an edit can come meanwhile.
        TTreeList tree;
        const std::string example = WorkedExampleBytes();
        ReadItems(tree, example.data(), example.size());
        TTreeListTextNode* large = tree.AddItem();
        large->SetText(TreeListColumnName, "C");
        large->SetText(TreeListColumnDesc, std::string(size_t(8) << 20, 'd'));
        SaveItems(tree, Path(name).toStdString());
        auto window = MakeWindow({Path(name)});
        window->Session().SetBackgroundSaveFrom(0);
        DeleteItem(*window, *m_prompter, window->TreeList().TopItem(0)->Child(0));
        EXPECT_TRUE(window->Session().Modified());
        return window;
    }

    static void WaitForSave(TfrmTreeViewEditorMain& window)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Session().Saving(); }));
    }

    // Until the document's bytes are all taken and the worker writes them;
    // a large description keeps it writing for a while.
    static void WaitUntilWriting(TfrmTreeViewEditorMain& window)
    {
        while (!window.Session().SaveWriting())
            QCoreApplication::processEvents();
        ASSERT_TRUE(window.Session().Saving());
    }
};

class EditDuringSave : public BackgroundSave,
                       public ::testing::WithParamInterface<std::tuple<TEditCase, TStage>> {};

TEST_P(EditDuringSave, IsNotInTheFileAndLeavesTheDocumentModified)
{
    const auto& [c, stage] = GetParam();
    auto window = Edited();
    const std::string saved = WriteItems(window->TreeList());
    Run(*window, Id::actFileSave);
    ASSERT_TRUE(window->Session().Saving());
    if (stage == TStage::Writing)
        WaitUntilWriting(*window);
    c.edit(*window, *m_prompter);
    WaitForSave(*window);
    EXPECT_EQ(ReadBytes(Path("doc.trd")), saved);
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("Modified"));
    // Back at the state the file holds, the document is clean again.
    Run(*window, c.back);
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(WriteItems(window->TreeList()), saved);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditDuringSave,
    ::testing::Combine(::testing::Values(TEditCase{"TypeDescription", TypeDescription, Id::actEditItemUndo},
                                         TEditCase{"Rename", Rename, Id::actEditItemUndo},
                                         TEditCase{"Delete", DeleteFirst, Id::actEditItemUndo},
                                         TEditCase{"Undo", Undo, Id::actEditItemRedo}),
                       ::testing::Values(TStage::Serialising, TStage::Writing)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == TStage::Serialising ? "WhileSerialising" : "WhileWriting");
    });

// The close waits for the save, then asks only when something changed since.
TEST_F(BackgroundSave, CloseDuringTheSaveWaitsThenClosesAsAlways)
{
    for (const bool editAfterSave : {false, true}) {
        SCOPED_TRACE(editAfterSave);
        m_prompter->answers.clear();
        auto window = Edited();
        m_prompter->questions.clear();
        const std::string saved = WriteItems(window->TreeList());
        Run(*window, Id::actFileSave);
        window->Commands().UpdateActions();
        for (const Id id : {Id::actFileSave, Id::actFileSaveAs, Id::actFileOpen, Id::actFileNew, Id::actFileClose})
            EXPECT_FALSE(Action(*window, id)->isEnabled()) << static_cast<int>(id);
        if (editAfterSave)
            Rename(*window, *m_prompter);
        m_prompter->answers = {QMessageBox::No};
        EXPECT_FALSE(window->close());
        EXPECT_TRUE(window->isVisible());
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(m_prompter->questions, editAfterSave ? QStringList{SavePrompt} : QStringList{});
        EXPECT_EQ(ReadBytes(Path("doc.trd")), saved);
    }
}

TEST_F(BackgroundSave, AFailedWriteIsReportedOnceAndTheDocumentStaysModified)
{
    auto window = Edited();
    m_prompter->files = {Path("no/such/folder/x.trd")};
    Run(*window, Id::actFileSaveAs);
    WaitForSave(*window);
    QTest::qWait(50);
    ASSERT_EQ(m_prompter->errors.size(), 1);
    EXPECT_TRUE(m_prompter->errors[0].startsWith(QStringLiteral("Cannot create file "))) << m_prompter->errors[0].toStdString();
    EXPECT_TRUE(window->Session().Modified());
    // Nothing waits on the failed save: the next one is written.
    m_prompter->files = {Path("x.trd")};
    Run(*window, Id::actFileSaveAs);
    WaitForSave(*window);
    EXPECT_EQ(ReadBytes(Path("x.trd")), WriteItems(window->TreeList()));
    EXPECT_FALSE(window->Session().Modified());
}

TEST_F(BackgroundSave, AProtectedFileSavedThisWayLoadsBack)
{
    {
        TTreeList tree;
        tree.AddItem()->SetText(TreeListColumnName, "Alpha");
        SaveItems(tree, Path("p.trd").toStdString(), TFileKey::Create("pw", Cheap).get());
    }
    m_prompter->passwords = {QStringLiteral("pw")};
    auto window = MakeWindow({Path("p.trd")});
    window->Session().SetBackgroundSaveFrom(0);
    Rename(*window, *m_prompter);
    Run(*window, Id::actFileSave);
    ASSERT_TRUE(window->Session().Saving());
    WaitForSave(*window);
    EXPECT_FALSE(window->Session().Modified());
    TTreeList reread;
    const std::string path = Path("p.trd").toStdString();
    EXPECT_EQ(LoadItems(reread, path,
                        [&](const TProtectionHeader& header) { return TFileKey::ForHeader("pw", header, path); }),
              TTreeFileVariant::Protected);
    ASSERT_EQ(reread.TopItemCount(), 1);
    EXPECT_EQ(reread.TopItem(0)->GetText(TreeListColumnName), "Renamed");
}
