// Saves written while the window goes on: the file holds the document as it
// was when Save was chosen, and whatever happens meanwhile stays a change.
#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "document/protectedfile.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {
using Id = TActionId;
using TWindow = TfrmTreeViewEditorMain;

void Trigger(TWindow& window, Id id)
{
    window.Commands().UpdateActions();
    window.Commands().Action(id)->trigger();
}

void Delete(TWindow& window, TScriptedPrompter& prompter, TTreeListTextNode* item)
{
    prompter.answers.push_back(QMessageBox::Ok);
    item->SetFocused();
    item->SetSelected(true);
    Trigger(window, Id::actEditItemDelete);
}

void Rename(TWindow& window)
{
    window.TreeList().TopItem(0)->SetFocused();
    window.TreeList().StartRename();
    qobject_cast<QLineEdit*>(window.TreeListView()->NameEditor())->setText(QStringLiteral("Renamed"));
    window.Session().FinishEditing();
}

struct TEditCase {
    const char* name;
    void (*edit)(TWindow&, TScriptedPrompter&);
    Id back;  // what takes the document back to the state saved
};

const TEditCase EditCases[] = {
    {"TypeDescription", [](TWindow& w, TScriptedPrompter&) {
         w.TreeList().TopItem(0)->SetFocused();
         QTest::keyClicks(w.Memo1(), QStringLiteral("zz"));
     }, Id::actEditItemUndo},
    {"Rename", [](TWindow& w, TScriptedPrompter&) { Rename(w); }, Id::actEditItemUndo},
    {"Delete", [](TWindow& w, TScriptedPrompter& p) { Delete(w, p, w.TreeList().TopItem(0)); }, Id::actEditItemUndo},
    {"Undo", [](TWindow& w, TScriptedPrompter&) { Trigger(w, Id::actEditItemUndo); }, Id::actEditItemRedo},
};

// Whether the edit comes while the tree's bytes are being taken, or once
// they are all taken and the worker writes them.
enum class TStage { Serialising, Writing };
}  // namespace

class BackgroundSave : public WindowTest {
protected:
    // The worked example with B deleted (one step to undo), and an item whose
    // large description keeps the worker writing for a while. Every save of
    // it is written in the background.
    std::unique_ptr<TWindow> Edited()
    {
        TTreeList tree;
        const std::string example = WorkedExampleBytes();
        ReadItems(tree, example.data(), example.size());
        tree.AddItem()->SetText(TreeListColumnDesc, std::string(size_t(8) << 20, 'd'));
        SaveItems(tree, Path("doc.trd").toStdString());
        auto window = MakeWindow({Path("doc.trd")});
        window->Session().SetBackgroundSaveFrom(0);
        Delete(*window, *m_prompter, window->TreeList().TopItem(0)->Child(0));
        return window;
    }

    static void WaitForSave(TWindow& window)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Session().Saving(); }));
    }
};

class EditDuringSave : public BackgroundSave, public ::testing::WithParamInterface<std::tuple<TEditCase, TStage>> {};

TEST_P(EditDuringSave, IsNotInTheFileAndLeavesTheDocumentModified)
{
    const auto& [c, stage] = GetParam();
    auto window = Edited();
    const std::string saved = WriteItems(window->TreeList());
    Run(*window, Id::actFileSave);
    ASSERT_TRUE(window->Session().Saving());
    while (stage == TStage::Writing && !window->Session().SaveWriting())
        QCoreApplication::processEvents();
    ASSERT_TRUE(window->Session().Saving());
    c.edit(*window, *m_prompter);
    WaitForSave(*window);
    EXPECT_EQ(ReadBytes(Path("doc.trd")), saved);
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("Modified"));
    Run(*window, c.back);
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(WriteItems(window->TreeList()), saved);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditDuringSave,
                         ::testing::Combine(::testing::ValuesIn(EditCases),
                                            ::testing::Values(TStage::Serialising, TStage::Writing)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == TStage::Writing ? "WhileWriting" : "WhileSerialising");
                         });

// The close waits, with the file commands off, then asks only when
// something changed since Save.
TEST_F(BackgroundSave, CloseDuringTheSaveWaitsThenClosesAsAlways)
{
    for (const bool editAfterSave : {false, true}) {
        SCOPED_TRACE(editAfterSave);
        auto window = Edited();
        m_prompter->questions.clear();
        const std::string saved = WriteItems(window->TreeList());
        Run(*window, Id::actFileSave);
        window->Commands().UpdateActions();
        for (const Id id : {Id::actFileSave, Id::actFileSaveAs, Id::actFileOpen, Id::actFileNew, Id::actFileClose})
            EXPECT_FALSE(Action(*window, id)->isEnabled()) << static_cast<int>(id);
        if (editAfterSave)
            Rename(*window);
        m_prompter->answers = {QMessageBox::No};
        EXPECT_FALSE(window->close());
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(m_prompter->questions, editAfterSave ? QStringList{QStringLiteral("Information|Do you want to save the changes?")} : QStringList{});
        EXPECT_EQ(ReadBytes(Path("doc.trd")), saved);
        m_prompter->answers.clear();
    }
}

// A protected document: a failed write is reported once and leaves it
// modified; the next save is written, encrypted, and loads back.
TEST_F(BackgroundSave, AFailedWriteIsReportedOnceAndAProtectedFileLoadsBack)
{
    const std::string path = Path("p.trd").toStdString();
    TTreeList tree;
    tree.AddItem();
    SaveItems(tree, path, TFileKey::Create("pw", {1, 8 << 10, 64}).get());
    m_prompter->passwords = {QStringLiteral("pw")};
    auto window = MakeWindow({Path("p.trd")});
    window->Session().SetBackgroundSaveFrom(0);
    Rename(*window);
    m_prompter->files = {Path("no/such/folder/x.trd")};
    Run(*window, Id::actFileSaveAs);
    WaitForSave(*window);
    QTest::qWait(50);
    ASSERT_EQ(m_prompter->errors.size(), 1);
    EXPECT_TRUE(m_prompter->errors[0].startsWith(QStringLiteral("Cannot create file "))) << m_prompter->errors[0].toStdString();
    EXPECT_TRUE(window->Session().Modified());
    m_prompter->files = {Path("p.trd")};
    Run(*window, Id::actFileSaveAs);
    ASSERT_TRUE(window->Session().Saving());
    WaitForSave(*window);
    EXPECT_FALSE(window->Session().Modified());
    EXPECT_EQ(LoadItems(tree, path, [&](const TProtectionHeader& h) { return TFileKey::ForHeader("pw", h, path); }),
              TTreeFileVariant::Protected);
    EXPECT_EQ(tree.TopItem(0)->GetText(TreeListColumnName), "Renamed");
}
