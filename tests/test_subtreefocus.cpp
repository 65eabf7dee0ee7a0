#include "tests/apptestkit.h"

#include "app/view/treelistlayout.h"
#include "app/window/commandtable.h"
#include "app/window/filedropimport.h"
#include "app/window/subtreefocus.h"
#include "settings/subtreeplace.h"
#include "tests/outlinetestkit.h"

#include <QAction>
#include <QToolButton>

#include <vector>

namespace {

using Id = TActionId;

struct TFocusedCase {
    const char* start;            // an outline for BuildOutline
    const char* root;             // the item the tree is narrowed to
    std::vector<Id> commands;
    const char* expected;         // the Dump afterwards; none: nothing changes
    const char* rootAfter;        // the item still on the first row; "" for the whole tree
};

// clang-format off
const TFocusedCase FocusedCases[] = {
    // New items and pasted ones land inside, also when the top item has the focus.
    {"A\n>B\n\tC\nD",          "B", {Id::actEditItemNew},                     "A B(C ) D",        "B"},
    {"A\nB\n\t>C\nD",          "B", {Id::actEditItemNew},                     "A B(C ) D",        "B"},
    {"A\n>B\n\tC\nD",          "B", {Id::actEditItemNewSub},                  "A B(C ) D",        "B"},
    {"A\n>B*\n\tC\nD",         "B", {Id::actEditItemCopy, Id::actEditItemPaste}, "A B(C B(C)) D", "B"},
    {"A\nB\n\t>C*\nD",         "B", {Id::actEditItemCopy, Id::actEditItemPaste}, "A B(C C) D",    "B"},
    // Moves stay inside; those that would leave are refused.
    {"A\nB\n\t>C*\n\tE\nD",    "B", {Id::actEditItemMoveDown},                "A B(E C) D",       "B"},
    {"A\nB\n\tC\n\t>E*\nD",    "B", {Id::actEditItemIndent},                  "A B(C(E)) D",      "B"},
    {"A\nB\n\tC\n\t\t>E*\nD",  "B", {Id::actEditItemOutdent},                 "A B(C E) D",       "B"},
    {"A\nB\n\t>C*\nD",         "B", {Id::actEditItemOutdent},                 nullptr,            "B"},
    {"A\nB\n\t>C*\nD",         "B", {Id::actEditItemMoveUp},                  nullptr,            "B"},
    // Deleting inside keeps the focus on the subtree; deleting its top item ends it.
    {"A\nB\n\t>C*\n\tE\nD",    "B", {Id::actEditItemDelete},                  "A B(E) D",         "B"},
    {"A\n>B*\n\tC\nD",         "B", {Id::actEditItemDelete},                  "A D",              ""},
    {"X\n\tA\n\t\t>B*\n\t\t\tC", "B", {Id::actEditItemDelete},                "X(A)",             ""},
    // Collapsing all leaves the focus inside, on the top item at most.
    {"X\n\tB\n\t\t>C*",        "B", {Id::actEditItemCollapseAll},             nullptr,            "B"},
    // Undoing an edit inside leaves the subtree shown.
    {"A\n>B\n\tC\nD",          "B", {Id::actEditItemNewSub, Id::actEditItemUndo}, nullptr,        "B"},
};
// clang-format on

class FocusedCommand : public WindowTest, public ::testing::WithParamInterface<TFocusedCase> {};

}  // namespace

// Each command while the tree shows one subtree: the tree afterwards, which
// item is on the first row, and every change taken back by Undo.
TEST_P(FocusedCommand, WorksInsideTheSubtree)
{
    const TFocusedCase& c = GetParam();
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildOutline(tree, c.start);
    TTreeListTextNode* focused = tree.FocusedItem();
    window->SubtreeFocus().FocusOn(Find(tree, c.root));
    ASSERT_EQ(tree.FocusedItem(), focused);
    const std::string before = Dump(tree);
    const std::string bytes = WriteItems(tree);
    RunEnabled(*window, c.commands);
    window->TreeListView()->FinishNameEdit();
    EXPECT_EQ(Dump(tree), c.expected ? c.expected : before);
    TTreeListTextNode* root = window->SubtreeFocus().Root();
    EXPECT_EQ(root ? std::string(root->GetText(TreeListColumnName)) : std::string(), c.rootAfter);
    EXPECT_EQ(window->TreeListView()->Layout().ItemAtRow(0), root ? root : tree.TopItem(0));
    EXPECT_EQ(window->SubtreeFocus().PathBar()->isVisible(), root != nullptr);
    if (!c.expected)
        return;
    while (window->Session().History().CanUndo())
        Run(*window, Id::actEditItemUndo);
    EXPECT_EQ(WriteItems(tree), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, FocusedCommand, ::testing::ValuesIn(FocusedCases));

// The path bar names the way down, each step a button; the first shows the
// whole tree. Expanded states come back as they were.
TEST_F(WindowTest, PathBarLeadsBackUp)
{
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildOutline(tree, "A\n\tB\n\t\t>C\n\t\t\tD\nE");
    Find(tree, "A")->SetExpanded(true);
    Find(tree, "B")->SetExpanded(true);
    Run(*window, Id::actViewFocusSubtree);
    ASSERT_EQ(window->SubtreeFocus().Root(), Find(tree, "C"));
    EXPECT_TRUE(Find(tree, "C")->Expanded());
    EXPECT_EQ(window->TreeListView()->RowCount(), 2);
    QStringList names;
    std::vector<QToolButton*> buttons;
    for (QToolButton* button : window->SubtreeFocus().PathBar()->findChildren<QToolButton*>()) {
        if (button->isHidden())
            continue;
        names << button->accessibleName();
        buttons.push_back(button);
    }
    ASSERT_EQ(names, (QStringList{QStringLiteral("Whole Tree"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    buttons[1]->click();
    EXPECT_EQ(window->SubtreeFocus().Root(), Find(tree, "A"));
    EXPECT_FALSE(Find(tree, "C")->Expanded());
    Run(*window, Id::actViewShowWholeTree);
    EXPECT_EQ(window->SubtreeFocus().Root(), nullptr);
    EXPECT_EQ(window->TreeListView()->RowCount(), 4);  // A B C E
    EXPECT_TRUE(Find(tree, "B")->Expanded());
    // A jump to an item outside (Go to Item, a link, Back) shows the whole tree.
    Run(*window, Id::actViewFocusSubtree);
    ASSERT_NE(window->SubtreeFocus().Root(), nullptr);
    Find(tree, "E")->SetFocused();
    EXPECT_EQ(window->SubtreeFocus().Root(), nullptr);
    EXPECT_GE(window->TreeListView()->Layout().RowOf(Find(tree, "E")), 0);
}

// Stored per file: the next open of that file shows the same subtree, and
// after Show Whole Tree the whole tree. Another file is not narrowed.
TEST_F(WindowTest, FocusedSubtreeComesBackWithItsFile)
{
    TTreeList built;
    BuildOutline(built, "A\n\tB\n\t\tC\nD");
    const QString path = Path(QStringLiteral("a.trd"));
    const QString other = Path(QStringLiteral("b.trd"));
    WriteBytes(path, WriteItems(built));
    WriteBytes(other, WriteItems(built));
    {
        auto window = MakeWindow({path});
        window->TreeList().TopItem(0)->Child(0)->SetFocused();
        Run(*window, Id::actViewFocusSubtree);
    }
    {
        auto window = MakeWindow({path});
        TTreeListTextNode* root = window->SubtreeFocus().Root();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->GetText(TreeListColumnName), "B");
        EXPECT_EQ(window->TreeListView()->Layout().ItemAtRow(0), root);
        Run(*window, Id::actViewShowWholeTree);
    }
    EXPECT_EQ(MakeWindow({path})->SubtreeFocus().Root(), nullptr);
    EXPECT_EQ(MakeWindow({other})->SubtreeFocus().Root(), nullptr);
    // A value that names no item, or is no list of positions, is ignored.
    for (const char* text : {"7.3", "0.x", "-1"}) {
        EXPECT_TRUE(TSubtreePlace::FromText(QString::fromLatin1(text)).empty() ||
                    ItemAtPositions(built, TSubtreePlace::FromText(QString::fromLatin1(text))) == nullptr)
            << text;
    }
    EXPECT_EQ(TSubtreePlace::FromText(TSubtreePlace::ToText({0, 12, 3})), (std::vector<int>{0, 12, 3}));
}

// Files dropped from another program become the last children of the
// subtree's top item, as one step.
TEST_F(WindowTest, DroppedFilesLandInTheSubtree)
{
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildOutline(tree, "A\n>B\n\tC\nD");
    Run(*window, Id::actViewFocusSubtree);
    WriteBytes(Path(QStringLiteral("note.txt")), "text");
    window->FileDropImport().AddFilesAsItems({Path(QStringLiteral("note.txt")).toStdString()});
    EXPECT_EQ(Dump(tree), "A B(C note.txt) D");
    Run(*window, Id::actEditItemUndo);
    EXPECT_EQ(Dump(tree), "A B(C) D");
    EXPECT_EQ(window->SubtreeFocus().Root(), Find(tree, "B"));
}
