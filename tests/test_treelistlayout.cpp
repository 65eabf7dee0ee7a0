#include "app/view/treelistlayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// An outline: names, children in parentheses, "+" before an expanded item.
// "+A(A1 A2) B" is A, open, with children A1 and A2, then B.
void Build(TTreeList& tree, const std::string& outline)
{
    std::vector<TTreeListTextNode*> parents{nullptr};
    std::vector<TTreeListTextNode*> open;
    TTreeListTextNode* last = nullptr;
    bool expand = false;
    for (size_t i = 0; i < outline.size();) {
        const char c = outline[i];
        if (c == '+' || c == ' ' || c == '(' || c == ')') {
            if (c == '+')
                expand = true;
            else if (c == '(')
                parents.push_back(last);
            else if (c == ')')
                parents.pop_back();
            ++i;
            continue;
        }
        const size_t end = outline.find_first_of("+ ()", i);
        last = parents.back() ? parents.back()->AddChild() : tree.AddItem();
        last->SetText(TreeListColumnName, outline.substr(i, end - i));
        if (expand)
            open.push_back(last);
        expand = false;
        i = end == std::string::npos ? outline.size() : end;
    }
    for (TTreeListTextNode* item : open)
        item->SetExpanded(true);
}

TTreeListTextNode* Find(const TTreeList& tree, const std::string& name)
{
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        if (item->GetText(TreeListColumnName) == name)
            return item;
    return nullptr;
}

struct TLayoutCase {
    const char* name;
    const char* outline;
    std::function<void(TTreeList&)> change;
    const char* rows;  // the names on the rows after the change
};

class LayoutTest : public ::testing::TestWithParam<TLayoutCase> {};

// As the view does, asks for rows while a change is announced and once it
// is done: counts taken from the tree before a change must not outlive it.
class TRowAsker : public TTreeListObserver {
public:
    TRowAsker(TTreeList& tree, const TTreeListLayout& layout) : m_tree(tree), m_layout(layout)
    {
        m_tree.AddObserver(this);
    }
    ~TRowAsker() override { m_tree.RemoveObserver(this); }
    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { Ask(); }
    void ItemsInserted() override { Ask(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { Ask(); }
    void ItemsRemoved() override { Ask(); }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { Ask(); }
    void ItemMoved() override { Ask(); }
    void ExpandedChanged(TTreeListTextNode*) override { Ask(); }

private:
    void Ask()
    {
        for (TTreeListTextNode* item = m_tree.TopItem(0); item; item = m_tree.NextInDocument(item))
            m_layout.RowOf(item);
        m_layout.RowCount();
    }

    TTreeList& m_tree;
    const TTreeListLayout& m_layout;
};

} // namespace

// After each change the layout's rows are the tree's visible items in order,
// row of item and item at row agree, and hidden items have no row. Every
// count is asked for before and during the change, so stale ones would show.
TEST_P(LayoutTest, RowsFollowTheTree)
{
    const TLayoutCase& c = GetParam();
    TTreeList tree;
    Build(tree, c.outline);
    TTreeListLayout layout(tree);
    const TRowAsker asker(tree, layout);
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        layout.RowOf(item);
    layout.RowCount();

    c.change(tree);

    std::string rows;
    std::vector<TTreeListTextNode*> visible;
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextVisible(item)) {
        visible.push_back(item);
        rows += (rows.empty() ? "" : " ") + std::string(item->GetText(TreeListColumnName));
    }
    EXPECT_EQ(rows, c.rows);
    ASSERT_EQ(layout.RowCount(), static_cast<int>(visible.size()));
    for (size_t row = 0; row < visible.size(); ++row) {
        EXPECT_EQ(layout.ItemAtRow(static_cast<int>(row)), visible[row]) << row;
        EXPECT_EQ(layout.RowOf(visible[row]), static_cast<int>(row)) << row;
    }
    EXPECT_EQ(layout.ItemAtRow(-1), nullptr);
    EXPECT_EQ(layout.ItemAtRow(layout.RowCount()), nullptr);
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const bool shown = std::find(visible.begin(), visible.end(), item) != visible.end();
        EXPECT_EQ(layout.RowOf(item) >= 0, shown) << item->GetText(TreeListColumnName);
        if (item->Expanded() && item->HasChildren()) {
            EXPECT_EQ(layout.RowsBelow(item), layout.ChildRows(item));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outlines, LayoutTest,
    ::testing::Values(
        TLayoutCase{"collapsedHidesChildren", "A(A1) B", [](TTreeList&) {}, "A B"},
        TLayoutCase{"expandedShowsChildren", "+A(A1 +A2(A2a)) B", [](TTreeList&) {}, "A A1 A2 A2a B"},
        TLayoutCase{"openingShowsAnOpenGrandchild", "A(+A1(A1a)) B",
                    [](TTreeList& t) { Find(t, "A")->SetExpanded(true); }, "A A1 A1a B"},
        TLayoutCase{"closingAnInnerItem", "+A(+A1(A1a) A2) B",
                    [](TTreeList& t) { Find(t, "A1")->SetExpanded(false); }, "A A1 A2 B"},
        TLayoutCase{"closingAndOpeningKeepsInnerStates", "+A(+A1(A1a)) B",
                    [](TTreeList& t) {
                        Find(t, "A")->SetExpanded(false);
                        Find(t, "A")->SetExpanded(true);
                    },
                    "A A1 A1a B"},
        TLayoutCase{"deletingAnOpenSubtree", "+A(+A1(A1a) A2) +B(B1)",
                    [](TTreeList& t) { t.Delete(Find(t, "A1")); }, "A A2 B B1"},
        TLayoutCase{"deletingTheLastChildClosesTheParent", "+A(A1) B",
                    [](TTreeList& t) { t.Delete(Find(t, "A1")); }, "A B"},
        TLayoutCase{"movingIntoAClosedItemOpensIt", "+A(A1) +B(+B1(B1a))",
                    [](TTreeList& t) { Find(t, "B")->MoveTo(Find(t, "A1"), amAddChild); }, "A A1 B B1 B1a"},
        TLayoutCase{"movingOutOfAnOpenItem", "+A(+A1(A1a) A2) B",
                    [](TTreeList& t) { t.MoveItem(Find(t, "A1"), nullptr, 2); }, "A A2 B A1 A1a"},
        TLayoutCase{"addingAChildToAnOpenItem", "+A(A1) B",
                    [](TTreeList& t) { Find(t, "A")->AddChild()->SetText(TreeListColumnName, "A2"); }, "A A1 A2 B"},
        TLayoutCase{"expandingAll", "A(A1(A1a)) B(B1)", [](TTreeList& t) { t.ExpandAll(); }, "A A1 A1a B B1"},
        TLayoutCase{"collapsingAll", "+A(+A1(A1a)) +B(B1)",
                    [](TTreeList& t) { t.SetSubtreeExpanded(nullptr, false); }, "A B"},
        TLayoutCase{"reset", "+A(A1) B",
                    [](TTreeList& t) {
                        const TTreeListReset reset(t);
                        t.ClearItems();
                        Build(t, "X +Y(Y1)");
                    },
                    "X Y Y1"},
        TLayoutCase{"appendingBuiltItems", "+A(A1)",
                    [](TTreeList& t) {
                        TTreeList other;
                        Build(other, "+N(N1 +N2(N2a))");
                        t.AppendItemsFrom(other);
                    },
                    "A A1 N N1 N2 N2a"},
        // The freed items' places may be taken by new ones: no count of theirs may remain.
        TLayoutCase{"freedSubtreeAndNewItems", "+A(+A1(+A1a(x))) B",
                    [](TTreeList& t) {
                        TTreeListTextNode* a = Find(t, "A");
                        t.DetachSubtree(a);
                        t.FreeDetached(a);
                        TTreeListTextNode* c = t.AddItem();
                        c->SetText(TreeListColumnName, "C");
                        for (int i = 0; i < 3; ++i)
                            c->AddChild()->SetText(TreeListColumnName, "C" + std::to_string(i));
                        c->Child(0)->AddChild()->SetText(TreeListColumnName, "C0a");
                        c->Child(0)->SetExpanded(true);
                        c->SetExpanded(true);
                    },
                    "B C C0 C0a C1 C2"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TRootCase {
    const char* name;
    const char* outline;
    const char* root;
    std::function<void(TTreeList&)> change;
    const char* rows;  // the names on the rows after the change; the whole tree's once the root is gone
};

class RootedLayoutTest : public ::testing::TestWithParam<TRootCase> {};

// Rows that start at a root: walking them row by row, by the next and
// previous rows, and by item and row agree, and nothing outside has a row.
TEST_P(RootedLayoutTest, RowsStartAtTheRoot)
{
    const TRootCase& c = GetParam();
    TTreeList tree;
    Build(tree, c.outline);
    TTreeListLayout layout(tree);
    const TRowAsker asker(tree, layout);
    layout.SetRoot(Find(tree, c.root));
    layout.RowCount();
    c.change(tree);

    std::string rows;
    std::vector<TTreeListTextNode*> shown;
    for (TTreeListTextNode* item = layout.ItemAtRow(0); item; item = layout.NextRow(item)) {
        shown.push_back(item);
        rows += (rows.empty() ? "" : " ") + std::string(item->GetText(TreeListColumnName));
    }
    EXPECT_EQ(rows, c.rows);
    ASSERT_EQ(layout.RowCount(), static_cast<int>(shown.size()));
    EXPECT_EQ(layout.LastRow(), shown.empty() ? nullptr : shown.back());
    for (size_t row = 0; row < shown.size(); ++row) {
        EXPECT_EQ(layout.ItemAtRow(static_cast<int>(row)), shown[row]) << row;
        EXPECT_EQ(layout.RowOf(shown[row]), static_cast<int>(row)) << row;
        EXPECT_EQ(layout.PreviousRow(shown[row]), row ? shown[row - 1] : nullptr) << row;
    }
    EXPECT_EQ(layout.ItemAtRow(layout.RowCount()), nullptr);
    if (layout.Root()) {
        EXPECT_EQ(layout.Depth(layout.Root()), 0);
    }
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const bool isShown = std::find(shown.begin(), shown.end(), item) != shown.end();
        EXPECT_EQ(layout.RowOf(item) >= 0, isShown) << item->GetText(TreeListColumnName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outlines, RootedLayoutTest,
    ::testing::Values(
        TRootCase{"innerRoot", "+A(+A1(A1a) A2) +B(B1)", "A1", [](TTreeList&) {}, "A1 A1a"},
        TRootCase{"closedRootShowsItselfAlone", "+A(A1(A1a) A2) B", "A1", [](TTreeList&) {}, "A1"},
        TRootCase{"rootUnderAClosedParent", "A(+A1(A1a)) B", "A1", [](TTreeList&) {}, "A1 A1a"},
        TRootCase{"lastTopItem", "A +B(B1 +B2(B2a))", "B", [](TTreeList&) {}, "B B1 B2 B2a"},
        TRootCase{"addingBesideTheRootShowsNothing", "+A(+A1(A1a))", "A1",
                  [](TTreeList& t) { Find(t, "A")->AddChild()->SetText(TreeListColumnName, "A2"); }, "A1 A1a"},
        TRootCase{"movingOutOfTheRoot", "+A(+A1(A1a A1b))", "A1",
                  [](TTreeList& t) { t.MoveItem(Find(t, "A1a"), Find(t, "A"), 1); }, "A1 A1b"},
        TRootCase{"deletingInsideTheRoot", "+A(+A1(+A1a(x) A1b))", "A1",
                  [](TTreeList& t) { t.Delete(Find(t, "A1a")); }, "A1 A1b"},
        TRootCase{"deletingTheRootShowsTheWholeTree", "+A(+A1(A1a)) B", "A1",
                  [](TTreeList& t) { t.Delete(Find(t, "A1")); }, "A B"},
        TRootCase{"deletingAnAncestorShowsTheWholeTree", "+A(+A1(A1a)) B", "A1",
                  [](TTreeList& t) { t.Delete(Find(t, "A")); }, "B"},
        TRootCase{"resetShowsTheWholeTree", "+A(+A1(A1a))", "A1",
                  [](TTreeList& t) {
                      const TTreeListReset reset(t);
                      t.ClearItems();
                      Build(t, "X +Y(Y1)");
                  },
                  "X Y Y1"}),
    [](const auto& info) { return std::string(info.param.name); });

// Random changes to a tree big enough that counts are kept for some items and
// counted again for others (wide lists, deep and shallow subtrees); after each,
// with rows asked for during it, the rows are the visible items.
TEST(LayoutModel, RowsFollowRandomChanges)
{
    std::mt19937 random(7);
    const auto pick = [&random](size_t count) { return static_cast<int>(random() % count); };
    TTreeList tree;
    TTreeListLayout layout(tree);
    const TRowAsker asker(tree, layout);
    std::vector<TTreeListTextNode*> all;
    for (int i = 0; i < 1500; ++i) {
        TTreeListTextNode* parent = i % 8 == 0 ? nullptr : all[all.size() - 1 - pick(std::min<size_t>(all.size(), 40))];
        all.push_back(parent ? parent->AddChild() : tree.AddItem());
    }
    for (int step = 0; step < 400; ++step) {
        all.clear();
        for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
            all.push_back(item);
        TTreeListTextNode* item = all[pick(all.size())];
        TTreeList other;
        switch (pick(6)) {
        case 0: item->SetExpanded(pick(3) > 0); break;
        case 1: tree.SetSubtreeExpanded(item, pick(2) > 0); break;
        case 2: tree.ExpandAll(); break;
        case 3: if (tree.TopItemCount() > 100 || item->Parent()) tree.Delete(item); break;
        case 4: item->MoveTo(all[pick(all.size())], pick(2) ? amAdd : amAddChild); break;
        default:
            other.AddItem()->AddChild()->AddChild();
            other.ExpandAll();
            tree.InsertItemsFrom(other, item, pick(static_cast<size_t>(item->Count()) + 1));
        }
        int row = 0;
        for (TTreeListTextNode* shown = tree.TopItem(0); shown; shown = tree.NextVisible(shown), ++row) {
            ASSERT_EQ(layout.ItemAtRow(row), shown) << step;
            ASSERT_EQ(layout.RowOf(shown), row) << step;
        }
        ASSERT_EQ(layout.RowCount(), row) << step;
    }
}

namespace {

// The rows under a filter as a reader would list them: an item is shown when
// it or something below it matches, and opens when a child is shown and the
// user did not close it under the filter.
struct TNaiveFilter {
    const std::vector<TTreeListTextNode*>& matches;
    const std::vector<TTreeListTextNode*>& closed;

    bool Matches(const TTreeListTextNode* item) const
    {
        return std::find(matches.begin(), matches.end(), item) != matches.end();
    }
    bool Shown(const TTreeListTextNode* item) const
    {
        if (Matches(item))
            return true;
        for (int i = 0; i < item->Count(); ++i)
            if (Shown(item->Child(i)))
                return true;
        return false;
    }
    bool Open(const TTreeListTextNode* item) const
    {
        if (std::find(closed.begin(), closed.end(), item) != closed.end())
            return false;
        for (int i = 0; i < item->Count(); ++i)
            if (Shown(item->Child(i)))
                return true;
        return false;
    }
    void Rows(TTreeListTextNode* item, std::vector<TTreeListTextNode*>& rows) const
    {
        rows.push_back(item);
        for (int i = 0; Open(item) && i < item->Count(); ++i)
            if (Shown(item->Child(i)))
                Rows(item->Child(i), rows);
    }
};

void BuildRandom(TTreeList& tree, std::mt19937& random, std::vector<TTreeListTextNode*>& items)
{
    const int count = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
        TTreeListTextNode* item =
            items.empty() || random() % 4 == 0 ? tree.AddItem() : items[random() % items.size()]->AddChild();
        item->SetText(TreeListColumnName, std::to_string(i));
        items.push_back(item);
    }
    for (TTreeListTextNode* item : items)
        item->SetExpanded(random() % 2 == 0);
}

std::vector<TTreeListTextNode*> RowsOf(const TTreeListLayout& layout)
{
    std::vector<TTreeListTextNode*> rows;
    for (TTreeListTextNode* item = layout.ItemAtRow(0); item; item = layout.NextRow(item))
        rows.push_back(item);
    return rows;
}

} // namespace

// Random trees, filters, roots and rows closed under the filter: the layout
// answers every question about rows as the naive listing does, and the
// tree's own expanded states come back untouched.
TEST(FilteredLayoutTest, RowsEqualTheNaiveListing)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        TTreeList tree;
        std::vector<TTreeListTextNode*> items;
        BuildRandom(tree, random, items);
        TTreeListLayout layout(tree);
        const std::vector<TTreeListTextNode*> before = RowsOf(layout);
        std::vector<bool> expanded;
        for (TTreeListTextNode* item : items)
            expanded.push_back(item->Expanded());
        TTreeListTextNode* root = random() % 3 == 0 ? items[random() % items.size()] : nullptr;
        layout.SetRoot(root);
        layout.RowCount();

        // Filters one after the other, given at once or built by a search
        // that visits the tree meanwhile.
        std::vector<TTreeListTextNode*> matches;
        for (int filter = 0; filter < 3; ++filter) {
            matches.clear();
            for (TTreeListTextNode* item : items)
                if (random() % 5 == 0)
                    matches.push_back(item);
            if (filter == 0 || random() % 2) {
                layout.SetFilter(matches);
                continue;
            }
            layout.BeginNextFilter();
            for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
                layout.VisitNext(item, std::find(matches.begin(), matches.end(), item) != matches.end());
            layout.ShowNextFilter();
        }
        std::vector<TTreeListTextNode*> closed;
        for (TTreeListTextNode* item : items)
            if (layout.CanOpen(item) && random() % 4 == 0) {
                layout.SetOpen(item, false);
                closed.push_back(item);
            }

        const TNaiveFilter naive{matches, closed};
        std::vector<TTreeListTextNode*> expected;
        if (root)
            naive.Rows(root, expected);
        for (int i = 0; !root && i < tree.TopItemCount(); ++i)
            if (naive.Shown(tree.TopItem(i)))
                naive.Rows(tree.TopItem(i), expected);

        ASSERT_EQ(RowsOf(layout), expected);
        ASSERT_EQ(layout.RowCount(), static_cast<int>(expected.size()));
        EXPECT_EQ(layout.LastRow(), expected.empty() ? nullptr : expected.back());
        for (size_t row = 0; row < expected.size(); ++row) {
            EXPECT_EQ(layout.ItemAtRow(static_cast<int>(row)), expected[row]);
            EXPECT_EQ(layout.RowOf(expected[row]), static_cast<int>(row));
            EXPECT_EQ(layout.PreviousRow(expected[row]), row ? expected[row - 1] : nullptr);
            EXPECT_EQ(layout.ShownForItself(expected[row]), naive.Matches(expected[row]));
        }
        for (TTreeListTextNode* item : items)
            EXPECT_EQ(layout.RowOf(item) >= 0, std::find(expected.begin(), expected.end(), item) != expected.end());

        layout.ClearFilter();
        layout.SetRoot(nullptr);
        EXPECT_EQ(RowsOf(layout), before);
        for (size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i]->Expanded(), expanded[i]);
    }
}

// What arrives or takes the focus under the filter shows, matching or not,
// with its ancestors.
TEST(FilteredLayoutTest, NewAndRevealedItemsShow)
{
    TTreeList tree;
    Build(tree, "A(A1(A1a) A2) B(B1)");
    TTreeListLayout layout(tree);
    layout.SetFilter({Find(tree, "A2")});
    EXPECT_EQ(layout.RowCount(), 2);
    Find(tree, "A2")->AddChild()->SetText(TreeListColumnName, "new");
    TTreeList pasted;
    Build(pasted, "C(C1)");
    tree.InsertItemsFrom(pasted, nullptr, 2);
    EXPECT_TRUE(layout.Reveal(Find(tree, "A1a")));
    std::string rows;
    for (TTreeListTextNode* item : RowsOf(layout))
        rows += std::string(item->GetText(TreeListColumnName)) + " ";
    // C arrives closed, as it was.
    EXPECT_EQ(rows, "A A1 A1a A2 new C ");
    EXPECT_FALSE(layout.ShownForItself(Find(tree, "A1")));
    tree.Delete(Find(tree, "new"));
    EXPECT_FALSE(layout.CanOpen(Find(tree, "A2")));
}
