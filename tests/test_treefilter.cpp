#include "tests/apptestkit.h"

#include "app/search/treefiltersearch.h"
#include "app/view/treelistlayout.h"
#include "app/window/commandtable.h"
#include "app/window/subtreefocus.h"
#include "app/window/treefilter.h"
#include "tests/outlinetestkit.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <random>
#include <vector>

namespace {

using Id = TActionId;

void Type(TfrmTreeViewEditorMain& window, const QString& text)
{
    window.TreeFilter().FilterText()->setText(text);
    window.TreeFilter().Search().Finish();
}

std::string Rows(const TfrmTreeViewEditorMain& window)
{
    const TTreeListLayout& layout = window.TreeListView()->Layout();
    std::string rows;
    for (TTreeListTextNode* item = layout.ItemAtRow(0); item; item = layout.NextRow(item))
        rows += (rows.empty() ? "" : " ") + std::string(item->GetText(TreeListColumnName)) +
                (layout.ShownForItself(item) ? "" : "~");
    return rows;
}

struct TFilteredCase {
    const char* start;  // an outline for BuildOutline
    const char* root;   // the item the tree is narrowed to; none for the whole tree
    const char* text;   // typed into the filter
    std::vector<Id> commands;
    const char* rows;   // the rows afterwards, "~" after a greyed ancestor
    const char* tree;   // the Dump afterwards
};

// clang-format off
const TFilteredCase FilteredCases[] = {
    {"A\n\tab\n\tx\nB\n\t>bc*\nC",  nullptr, "B",  {},                         "A~ ab B bc",     "A(ab x) B(bc) C"},
    // A new item shows though it does not match; a pasted copy too.
    {"A\n\tab\n\tx\nB\n\t>bc*\nC",  nullptr, "b",  {Id::actEditItemNew},       "A~ ab B bc ",    "A(ab x) B(bc ) C"},
    {"A\n\tab\n\tx\nB\n\t>bc*\nC",  nullptr, "b",  {Id::actEditItemNewSub},    "A~ ab B bc ",    "A(ab x) B(bc()) C"},
    {"A\n\t>x*\n\tab\nB",           nullptr, "b",  {Id::actEditItemCopy, Id::actEditItemPaste}, "A~ x x ab B", "A(x x ab) B"},
    {"A\n\tab\n\t>x*\nB",           nullptr, "b",  {Id::actEditItemCopy, Id::actEditItemPaste}, "A~ ab x x B", "A(ab x x) B"},
    // Deleting takes the row away, and the focus to the row above; undo
    // brings it back.
    {"A\n\t>ab*\n\tx\nB",           nullptr, "b",  {Id::actEditItemDelete},    "A B",            "A(x) B"},
    {"A\n\t>ab*\n\tx\nB",           nullptr, "b",  {Id::actEditItemDelete, Id::actEditItemUndo}, "A ab B", "A(ab x) B"},
    // Moves act on the tree as a whole; what moves stays in view, and what
    // leads to nothing shown any more goes.
    {"A\n\tx\n\t>ab*\nB",           nullptr, "b",  {Id::actEditItemMoveUp},    "B ab",           "A(x) B ab"},
    {"A\n\tx\n\t>ab*\nB",           nullptr, "b",  {Id::actEditItemIndent},    "A~ x~ ab B",     "A(x(ab)) B"},
    {"A\n\tx\n\t\t>ab*\nB",         nullptr, "b",  {Id::actEditItemOutdent},   "A~ ab B",        "A(x ab) B"},
    // Collapse and Expand All open and close what is shown, for the filter alone.
    {"A\n\tab\n\tx\nB\n\t>bc*\nC",  nullptr, "b",  {Id::actEditItemCollapseAll}, "A~ B",       "A(ab x) B(bc) C"},
    {"A\n\tab\n\tx\nB\n\t>bc*\nC",  nullptr, "b",  {Id::actEditItemCollapseAll, Id::actEditItemExpandAll}, "A~ ab B bc", "A(ab x) B(bc) C"},
    // Within a focused subtree the filter looks only there.
    {"A\n\tab\nB\n\t>bc*\n\tz\nC\n\tcb", "B", "b", {},                         "B bc",           "A(ab) B(bc z) C(cb)"},
    {"A\n\tab\nB\n\t>bc*\n\tz\nC",  "B",     "b",  {Id::actEditItemNew},       "B bc ",          "A(ab) B(bc z ) C"},
    {"A\n\tab\nB\n\t>bc*\n\tz\nC",  "B",     "b",  {Id::actEditItemDelete},    "B",              "A(ab) B(z) C"},
    {"A\n\tab\nB\n\tbc\n\t>z*\nC",  "B",     "z",  {Id::actEditItemMoveUp},    "B~ z",           "A(ab) B(bc z) C"},
};
// clang-format on

class FilteredCommand : public WindowTest, public ::testing::WithParamInterface<TFilteredCase> {};

}  // namespace

// Each command while the tree is filtered (and narrowed to a subtree): the
// rows and the tree afterwards.
TEST_P(FilteredCommand, WorksOnWhatIsShown)
{
    const TFilteredCase& c = GetParam();
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildOutline(tree, c.start);
    if (c.root)
        window->SubtreeFocus().FocusOn(Find(tree, c.root));
    Run(*window, Id::actViewFilterTree);
    Type(*window, QString::fromLatin1(c.text));
    RunEnabled(*window, c.commands);
    window->TreeListView()->FinishNameEdit();
    EXPECT_EQ(Rows(*window), c.rows);
    EXPECT_EQ(Dump(tree), c.tree);
    EXPECT_TRUE(window->TreeFilter().Bar()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, FilteredCommand, ::testing::ValuesIn(FilteredCases));

// Filtering, looking around under the filter and clearing it, over random
// trees: the expanded items, the focus, the selection and the first row on
// screen come back as they were, unless the focus moved; then it stays and
// is in view.
TEST_F(WindowTest, ClearingTheFilterBringsTheViewBack)
{
    auto window = MakeWindow();
    window->resize(400, 300);
    TTreeList& tree = window->TreeList();
    TTreeListView& view = *window->TreeListView();
    std::mt19937 random(31);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        Run(*window, Id::actFileNew);
        std::vector<TTreeListTextNode*> items;
        for (int i = 0; i < 200; ++i) {
            TTreeListTextNode* item =
                items.empty() || random() % 5 == 0 ? tree.AddItem() : items[random() % items.size()]->AddChild();
            item->SetText(TreeListColumnName, std::string(1, static_cast<char>('a' + random() % 6)) +
                                                  static_cast<char>('a' + random() % 6));
            items.push_back(item);
        }
        for (TTreeListTextNode* item : items)
            item->SetExpanded(random() % 3 != 0);
        items[random() % items.size()]->SetFocused();
        for (int i = 0; i < 5; ++i)
            items[random() % items.size()]->SetSelected(true);
        view.ScrollToRow(static_cast<int>(random() % 40));
        auto state = [&] {
            std::vector<int> s{view.FirstVisibleRow(), tree.FocusedItem() ? tree.FocusedItem()->Index() : -1};
            for (TTreeListTextNode* item : items)
                s.push_back(item->Expanded() + 2 * item->Selected() + 4 * (item == tree.FocusedItem()));
            return s;
        };
        const std::vector<int> before = state();

        Run(*window, Id::actViewFilterTree);
        const bool moveFocus = round % 4 == 3;
        for (int step = 0; step < 3; ++step) {
            auto letter = [&] { return QString(QChar(static_cast<char16_t>('a' + random() % 6))); };
            Type(*window, step ? letter() + letter() : letter());
            const TTreeListLayout& layout = view.Layout();
            if (layout.RowCount() > 0 && random() % 2) {
                TTreeListTextNode* item = layout.ItemAtRow(static_cast<int>(random() % layout.RowCount()));
                view.SetItemOpen(item, !layout.IsOpen(item));
            }
            window->TreeFilter().SearchDescriptions()->setChecked(random() % 2);
            window->TreeFilter().Search().Finish();
        }
        TTreeListTextNode* focusBefore = tree.FocusedItem();
        TTreeListTextNode* moved = moveFocus ? view.Layout().LastRow() : nullptr;
        if (moved == focusBefore)
            moved = nullptr;
        if (moved)
            moved->SetFocused();
        QTest::keyClick(window->TreeFilter().FilterText(), Qt::Key_Escape);
        EXPECT_FALSE(window->TreeFilter().Bar()->isVisible());
        EXPECT_FALSE(view.Layout().Filtered());
        if (moved) {
            EXPECT_EQ(tree.FocusedItem(), moved);
            EXPECT_GE(view.Layout().RowOf(moved), view.FirstVisibleRow());
            EXPECT_LT(view.Layout().RowOf(moved), view.FirstVisibleRow() + 20);
        } else {
            EXPECT_EQ(state(), before);
        }
    }
}

// The count in the status bar, and the descriptions searched on request,
// accents and case ignored.
TEST_F(WindowTest, FilterCountsTheMatches)
{
    auto window = MakeWindow();
    TTreeList& tree = window->TreeList();
    BuildOutline(tree, "Café\n\tnote\nCAFE au lait\nTea");
    Find(tree, "note")->SetText(TreeListColumnDesc, "a café nearby");
    Run(*window, Id::actViewFilterTree);
    Type(*window, QStringLiteral("cafe"));
    EXPECT_EQ(Rows(*window), "Café CAFE au lait");
    EXPECT_EQ(window->TreeFilter().CountPanel()->text(), QStringLiteral("2 items match"));
    window->TreeFilter().SearchDescriptions()->setChecked(true);
    window->TreeFilter().Search().Finish();
    EXPECT_EQ(Rows(*window), "Café note CAFE au lait");
    Type(*window, QStringLiteral("tea"));
    EXPECT_EQ(window->TreeFilter().CountPanel()->text(), QStringLiteral("1 item matches"));
    Type(*window, QString());
    EXPECT_FALSE(window->TreeFilter().CountPanel()->isVisible());
    EXPECT_EQ(Rows(*window), "Café CAFE au lait Tea");
}
