#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "app/window/filedropimport.h"
#include "app/window/importcommands.h"
#include "document/undosteps.h"

#include <QAction>
#include <QTextCursor>
#include <random>

namespace {

using Id = TActionId;

// As the user runs a command: through its action, brought up to date first.
void RunAction(TfrmTreeViewEditorMain& window, Id id)
{
    window.Commands().UpdateActions();
    window.Commands().Action(id)->trigger();
}

// Every item in document order, whatever is collapsed.
std::vector<TTreeListTextNode*> AllItems(const TTreeList& tree)
{
    std::vector<TTreeListTextNode*> items;
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        items.push_back(item);
    return items;
}

class UndoTest : public WindowTest {
protected:
    // What a save would write now, typing included.
    static std::string Bytes(TfrmTreeViewEditorMain& window)
    {
        return WriteItems(window.TreeList());
    }
    static QString Caption(TfrmTreeViewEditorMain& window, Id id)
    {
        window.Commands().UpdateActions();
        return Action(window, id)->isEnabled() ? Action(window, id)->text() : QString();
    }
};

// One random command of every kind that changes the document, through the
// window's own handlers.
class TRandomEditor {
public:
    TRandomEditor(TfrmTreeViewEditorMain& window, TScriptedPrompter& prompter, const QString& folder, unsigned seed)
        : m_window(window), m_prompter(prompter), m_random(seed)
    {
        for (int i = 0; i < 3; ++i) {
            const QString path = folder + QStringLiteral("/drop%1.txt").arg(i);
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("dropped ") + QByteArray::number(i) + "\r\nline two");
            m_files.push_back(path.toStdString());
        }
        m_outline = (folder + QStringLiteral("/outline.txt")).toStdString();
        QFile outline(QString::fromStdString(m_outline));
        EXPECT_TRUE(outline.open(QIODevice::WriteOnly));
        outline.write("imported\n\tchild\nsecond\n");
    }

    void Step()
    {
        TTreeList& tree = m_window.TreeList();
        const std::vector<TTreeListTextNode*> items = AllItems(tree);
        if (!items.empty())
            Pick(items)->SetFocused();
        const unsigned kind = items.size() < 3 ? Below(2) : Below(20);
        switch (kind) {
        case 0:
            RunAction(m_window, Id::actEditItemNew);
            break;
        case 1:
            RunAction(m_window, Id::actEditItemNewSub);
            break;
        case 2:
            Select(items, 1 + Below(3));
            m_prompter.answers.push_back(QMessageBox::Ok);
            RunAction(m_window, Id::actEditItemDelete);
            break;
        case 3:
            RunAction(m_window, Id::actEditItemMoveUp);
            break;
        case 4: {
            Select(items, 1 + Below(3));
            const TItemAttachMode modes[] = {amAdd, amAddChild, amInsert};
            m_window.ItemCommands().MoveSelectionTo(Pick(items), modes[Below(3)]);
            break;
        }
        case 5:
            tree.EndRename(tree.FocusedItem(), Below(4) == 0 ? std::string() : "name " + std::to_string(Below(100)),
                           true);
            break;
        case 6:
            tree.FocusedItem()->SetSelected(true);
            m_window.IconComboBox()->setEditText(QString::number(Below(216)));
            break;
        case 7: {
            std::vector<std::string> files(m_files.begin(), m_files.begin() + 1 + Below(3));
            m_window.FileDropImport().AddFilesAsItems(files);
            break;
        }
        case 8:
            m_window.DescriptionPane().LoadDescriptionBytes(Below(2) ? "loaded\nfile" : "x\xE4y");
            break;
        case 9: {
            m_window.ReplaceDialog1()->SetFindText(QStringLiteral("e"));
            m_window.ReplaceDialog1()->SetReplaceText(QStringLiteral("EE"));
            m_prompter.answers.push_back(QMessageBox::Ok);  // when there is none to replace
            m_window.DescriptionPane().ReplaceDialog1Replace(true);
            break;
        }
        case 11:
        case 12:
        case 13:
        case 14:
        case 15: {
            const Id commands[] = {Id::actEditItemMoveDown, Id::actEditItemIndent, Id::actEditItemOutdent,
                                   Id::actEditItemCut, Id::actEditItemDuplicate};
            Select(items, 1 + Below(3));
            RunAction(m_window, commands[kind - 11]);
            break;
        }
        case 16:
            RunAction(m_window, Id::actEditItemPaste);
            break;
        case 17:
        case 18:
            // A parent, so that there is something to sort.
            if (TTreeListTextNode* parent = tree.FocusedItem()->Parent())
                parent->SetFocused();
            RunAction(m_window, kind == 17 ? Id::actEditItemSortChildren : Id::actEditItemSortSubtree);
            break;
        case 19:
            m_window.ImportCommands().ImportPath(m_outline);
            break;
        default: {
            QTextCursor cursor(m_window.Memo1()->document());
            cursor.setPosition(Below(m_window.Memo1()->document()->characterCount()));
            if (Below(3) == 0)
                cursor.deletePreviousChar();
            cursor.insertText(Below(2) ? QStringLiteral("typed\n") : QStringLiteral("\u00FC"));
            break;
        }
        }
        // An open name edit and typing still in the editor become their steps.
        m_window.TreeListView()->FinishNameEdit();
        m_window.Session().BeginChange();
    }

private:
    unsigned Below(size_t n) { return static_cast<unsigned>(std::uniform_int_distribution<size_t>(0, n - 1)(m_random)); }
    TTreeListTextNode* Pick(const std::vector<TTreeListTextNode*>& items) { return items[Below(items.size())]; }
    void Select(const std::vector<TTreeListTextNode*>& items, int count)
    {
        m_window.TreeList().ClearSelection();
        for (int i = 0; i < count; ++i)
            Pick(items)->SetSelected(true);
    }

    TfrmTreeViewEditorMain& m_window;
    TScriptedPrompter& m_prompter;
    std::mt19937 m_random;
    std::vector<std::string> m_files;
    std::string m_outline;
};

}  // namespace

// Each command is one step; undoing it gives back exactly the bytes before
// it, and redoing the bytes after it. A change without a step fails too.
TEST_F(UndoTest, EveryCommandUndoesAndRedoesToTheExactBytes)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        auto window = MakeWindow();
        TRandomEditor editor(*window, *m_prompter, m_dir.path(), seed);
        const TUndoHistory& history = window->Session().History();
        std::vector<std::string> states{Bytes(*window)};
        for (int i = 0; i < 250; ++i) {
            const size_t before = history.Count();
            editor.Step();
            m_prompter->answers.clear();  // Replace All asks only when it finds nothing
            const std::string bytes = Bytes(*window);
            if (history.Count() == before) {
                ASSERT_EQ(bytes, states.back()) << "seed " << seed << ", command " << i << " changed without a step";
                continue;
            }
            ASSERT_EQ(history.Count(), before + 1) << "seed " << seed << ", command " << i;
            states.push_back(bytes);
        }
        ASSERT_GT(states.size(), 100u);
        for (size_t k = states.size() - 1; k > 0; --k) {
            Run(*window, Id::actEditItemUndo);
            ASSERT_EQ(Bytes(*window), states[k - 1]) << "seed " << seed << ", undo to " << k - 1;
        }
        EXPECT_EQ(Caption(*window, Id::actEditItemUndo), QString());
        EXPECT_FALSE(window->Session().Modified());
        for (size_t k = 1; k < states.size(); ++k) {
            Run(*window, Id::actEditItemRedo);
            ASSERT_EQ(Bytes(*window), states[k]) << "seed " << seed << ", redo to " << k;
        }
        EXPECT_EQ(Caption(*window, Id::actEditItemRedo), QString());
    }
}

// The steps name themselves in the commands' captions, and the items come
// back focused and selected, where they stood, with their children.
TEST_F(UndoTest, DeleteUndoneRestoresTheSubtreeFocusedAndTheCleanState)
{
    const QString path = Path(QStringLiteral("x.trd"));
    WriteBytes(path, WorkedExampleBytes());
    auto window = MakeWindow({path});
    TTreeList& tree = window->TreeList();
    TTreeListTextNode* a = tree.TopItem(0);
    ASSERT_NE(a, nullptr);
    a->SetFocused();
    a->SetSelected(true);
    m_prompter->answers.push_back(QMessageBox::Ok);
    Run(*window, Id::actEditItemDelete);
    EXPECT_EQ(tree.TopItemCount(), 0);
    EXPECT_TRUE(window->Session().Modified());
    EXPECT_EQ(Caption(*window, Id::actEditItemUndo), QStringLiteral("&Undo Delete"));

    Run(*window, Id::actEditItemUndo);
    EXPECT_EQ(Bytes(*window), WorkedExampleBytes());
    EXPECT_EQ(tree.FocusedItem(), a);
    EXPECT_TRUE(a->Selected());
    EXPECT_EQ(a->Child(0)->GetText(0), "B");
    EXPECT_FALSE(window->Session().Modified()) << "back at the state of the file";
    EXPECT_EQ(Caption(*window, Id::actEditItemRedo), QStringLiteral("&Redo Delete"));

    // Saved after the redo, the undo leaves the file's state: modified again.
    Run(*window, Id::actEditItemRedo);
    Run(*window, Id::actFileSave);
    EXPECT_FALSE(window->Session().Modified());
    Run(*window, Id::actEditItemUndo);
    EXPECT_TRUE(window->Session().Modified());

    // Typing is the next step to undo, named after its item; it leaves
    // nothing to redo.
    a->SetFocused();
    window->Memo1()->textCursor().insertText(QStringLiteral("more"));
    EXPECT_EQ(Caption(*window, Id::actEditItemUndo), QStringLiteral("&Undo Typing in A"));
    EXPECT_EQ(Caption(*window, Id::actEditItemRedo), QString());
    Run(*window, Id::actEditItemUndo);
    EXPECT_EQ(a->GetText(1), "x");
    EXPECT_EQ(window->Memo1()->toPlainText(), QStringLiteral("x"));
}
