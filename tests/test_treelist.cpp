#include "treelist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string Name(const TTreeListTextNode* item) { return item ? item->GetText(TreeListColumnName) : "-"; }

// The forest "A(A1(A1a),A2),B"; logs what a view and the owner would learn, one line each.
struct Tree : public ::testing::Test, public TTreeListObserver {
    void SetUp() override
    {
        tree.AddObserver(this);
        tree.OnChangeNode = [this](TTreeList&, TTreeListTextNode* o, TTreeListTextNode* n) {
            changes.push_back(Name(o) + ">" + Name(n));
        };
        tree.OnSelectedCountChange = [this](TTreeList&) { ++counts; };
    }
    TTreeListTextNode* Add(const std::string& name, const char* parent = nullptr)
    {
        TTreeListTextNode* item = parent ? I(parent)->AddChild() : tree.AddItem();
        item->SetText(TreeListColumnName, name);
        return items[name] = item;
    }
    void BuildSample()
    {
        for (auto [name, parent] : {std::pair{"A", ""}, {"A1", "A"}, {"A1a", "A1"}, {"A2", "A"}, {"B", ""}})
            Add(name, *parent ? parent : nullptr);
        Watch();
    }
    void Watch()
    {
        log.clear();
        changes.clear();
        counts = 0;
    }
    TTreeListTextNode* I(const std::string& name) { return items.at(name); }

    // Items in document order, a "." per level; with marks also "+" expanded, "*" selected, then
    // "@" the focused item and "#" the selected count. Checks every cached index on the way.
    std::string Document(bool marks = false)
    {
        std::string out;
        for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
            TTreeListTextNode* parent = item->Parent();
            EXPECT_EQ(parent ? parent->Child(item->Index()) : tree.TopItem(item->Index()), item);
            out += std::string(static_cast<size_t>(item->Level()), '.') + Name(item);
            out += std::string(marks && item->Expanded() ? "+" : "") + (marks && item->Selected() ? "*" : "") + " ";
        }
        if (marks)
            out += "@" + Name(tree.FocusedItem()) + " #" + std::to_string(tree.SelectedCount());
        return out.empty() || marks ? out : out.substr(0, out.size() - 1);
    }
    std::vector<std::string> Visible()
    {
        std::vector<std::string> names;
        for (auto* item = tree.TopItem(0); item; item = tree.NextVisible(item))
            names.push_back(Name(item));
        return names;
    }
    std::vector<std::string> Selection()
    {
        std::vector<std::string> names;
        for (int i = 0; i < tree.SelectedCount(); ++i)
            names.push_back(Name(tree.SelectedItem(i)));
        return names;
    }

    void ItemsAboutToBeInserted(TTreeListTextNode* p, int f, int l) override { Rows("insert", p, f, l); }
    void ItemsInserted() override { log.push_back("inserted"); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* p, int f, int l) override { Rows("remove", p, f, l); }
    void ItemsRemoved() override { log.push_back("removed"); }
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* dest, int row) override
    {
        log.push_back("move " + Name(item) + " to " + Name(dest) + " " + std::to_string(row));
    }
    void ItemMoved() override { log.push_back("moved"); }
    void AboutToReset() override { log.push_back("reset"); }
    void ResetDone() override { log.push_back("reset done"); }
    void ItemChanged(TTreeListTextNode* item) override { log.push_back("changed " + Name(item)); }
    void ExpandedChanged(TTreeListTextNode* item) override { log.push_back("expanded " + Name(item)); }
    void FocusChanged(TTreeListTextNode* item) override { log.push_back("focus " + Name(item)); }
    void SelectionChanged(TTreeListTextNode* item) override { log.push_back("selection " + Name(item)); }
    void Rows(const char* what, TTreeListTextNode* p, int f, int l)
    {
        log.push_back(std::string(what) + " " + Name(p) + " " + std::to_string(f) + "-" + std::to_string(l));
    }

    TTreeList tree;
    std::map<std::string, TTreeListTextNode*> items;
    std::vector<std::string> log;
    std::vector<std::string> changes;  // OnChangeNode as "old>new"
    int counts = 0;                    // OnSelectedCountChange
};

class Presenter : public TTreeListPresenter {
public:
    TItemHitArea HitTest(int, int) const override { return iaLabel; }
    TTreeListTextNode* ItemAt(int, int) const override { return item; }
    void ScrollIntoView(TTreeListTextNode* i) override { scrolled.push_back(Name(i)); }
    void EditName(TTreeListTextNode* i) override { edited.push_back(Name(i)); }
    TTreeListTextNode* item = nullptr;
    std::vector<std::string> scrolled, edited;
};

TEST(TreeListItem, DefaultsTextPaddingAndStoredSelectedIndex)
{
    TTreeList tree;
    TTreeListTextNode* item = tree.AddItem();
    EXPECT_EQ(std::make_tuple(item->ImageIndex(), item->SelectedIndex(), item->StateIndex(), item->Data(),
                              item->TextCount(), item->Expanded(), item->HasChildren()),
              std::make_tuple(0, -1, -1, 0, 0, false, false));
    EXPECT_EQ(item->GetText(0) + item->GetText(-1), "");
    item->SetText(1, "x");
    EXPECT_EQ(item->TextCount(), 2);
    EXPECT_EQ(item->GetText(0) + "|" + item->GetText(1) + "|" + item->GetText(5), "|x|");
    EXPECT_THROW(item->SetText(-1, "y"), EListError);

    int asked = 0;
    tree.OnGetSelectedIndex = [&](TTreeList&, TTreeListTextNode* node, int32_t& index) {
        ++asked;
        index = node->ImageIndex();
    };
    item->SetImageIndex(7);
    EXPECT_EQ(item->SelectedIndex(), 7);
    item->SetSelectedIndex(7);  // equal to the effective value: not stored
    EXPECT_EQ(item->StoredSelectedIndex(), -1);
    item->SetSelectedIndex(9);
    EXPECT_EQ(item->StoredSelectedIndex(), 9);
    EXPECT_EQ(item->SelectedIndex(), 7);
    EXPECT_GE(asked, 3);
}

TEST_F(Tree, DocumentAndDisplayOrder)
{
    BuildSample();
    EXPECT_EQ(tree.FocusedItem(), I("A"));  // first item focused silently
    EXPECT_EQ(tree.TopRow(), I("A"));
    I("B")->SetExpanded(true);  // only items with children expand
    EXPECT_FALSE(I("B")->Expanded());
    EXPECT_THAT(Visible(), ElementsAre("A", "B"));
    EXPECT_EQ(tree.LastVisible(), I("B"));
    tree.ExpandAll();
    EXPECT_THAT(Visible(), ElementsAre("A", "A1", "A1a", "A2", "B"));
    EXPECT_EQ(Document(), "A .A1 ..A1a .A2 B");
    const std::pair<const char*, const char*> prev[] = {{"A", "-"}, {"A1", "A"}, {"A2", "A1a"}, {"B", "A2"}};
    for (auto [item, expected] : prev)
        EXPECT_EQ(Name(tree.PrevVisible(I(item))), expected) << item;
    EXPECT_EQ(tree.LastVisible(), I("B"));
    I("A1")->SetExpanded(false);
    EXPECT_EQ(tree.PrevVisible(I("A2")), I("A1"));
    EXPECT_EQ(tree.TopItem(-1), nullptr);
    EXPECT_EQ(tree.TopItem(2), nullptr);
    EXPECT_EQ(I("A")->Child(2), nullptr);
}


struct MoveCase {
    const char* item;
    const char* target;
    TItemAttachMode mode;
    const char* document;  // after the move; "" when refused
    int destinationRow;    // counted before the item is taken out
};

class MoveTo : public Tree, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTo, PlacesItemAndReportsQtStyleRow)
{
    const MoveCase& c = GetParam();
    BuildSample();
    Add("C");
    const std::string before = Document();
    Watch();
    I(c.item)->MoveTo(c.target ? I(c.target) : nullptr, c.mode);
    if (!*c.document) {
        EXPECT_EQ(Document(), before);
        EXPECT_THAT(log, IsEmpty());
        return;
    }
    EXPECT_EQ(Document(), c.document);
    TTreeListTextNode* moved = I(c.item);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], std::string("move ") + c.item + " to " + Name(moved->Parent()) + " " +
                          std::to_string(c.destinationRow));
    EXPECT_EQ(log[1], "moved");
    EXPECT_EQ(tree.FocusedItem(), moved);
    EXPECT_THAT(changes, IsEmpty());
    for (auto* p = moved->Parent(); p; p = p->Parent())
        EXPECT_TRUE(p->Expanded());
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveTo,
                         ::testing::Values(MoveCase{"A", "A", amAdd, "B C A .A1 ..A1a .A2", 3},
                                           MoveCase{"C", "C", amAdd, "A .A1 ..A1a .A2 B C", 3},
                                           MoveCase{"B", "B", amAddFirst, "B A .A1 ..A1a .A2 C", 0},
                                           MoveCase{"A", "A", amAddChild, "", 0},
                                           MoveCase{"A", "A", amAddChildFirst, "", 0},
                                           MoveCase{"A", "A", amInsert, "", 0}, MoveCase{"A", "A1a", amAdd, "", 0},
                                           MoveCase{"A", "A1", amAddChild, "", 0}, MoveCase{"A", nullptr, amAdd, "", 0},
                                           MoveCase{"A", "C", amInsert, "B A .A1 ..A1a .A2 C", 2},
                                           MoveCase{"C", "A", amInsert, "C A .A1 ..A1a .A2 B", 0},
                                           MoveCase{"A1", "A2", amAdd, "A .A2 .A1 ..A1a B C", 2},
                                           MoveCase{"A1a", "B", amAddChild, "A .A1 .A2 B .A1a C", 0},
                                           MoveCase{"B", "A1", amAddChildFirst, "A .A1 ..B ..A1a .A2 C", 0},
                                           MoveCase{"A2", "A", amAddChildFirst, "A .A2 .A1 ..A1a B C", 0},
                                           MoveCase{"A1", "A", amAddChild, "A .A2 .A1 ..A1a B C", 2},
                                           MoveCase{"A1a", "A", amAdd, "A .A1 .A2 B C A1a", 3}));

// What the view and the owner learn from one operation, and the tree afterwards.
struct Script {
    const char* name;
    std::function<void(Tree&)> setup, action;
    std::vector<std::string> log, changes;
    int counts;
    const char* state;  // Document(true)
};

class Scripted : public Tree, public ::testing::WithParamInterface<Script> {};

TEST_P(Scripted, NotifiesAndLeavesTree)
{
    const Script& c = GetParam();
    BuildSample();
    c.setup(*this);
    Watch();
    c.action(*this);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(counts, c.counts);
    EXPECT_EQ(Document(true), c.state);
}

void SelectAndFocus(Tree& t, std::vector<const char*> selected, const char* focused)
{
    for (const char* name : selected)
        t.I(name)->SetSelected(true);
    t.I(focused)->SetFocused();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Scripted,
    ::testing::Values(
        Script{"AddingFocusesFirstItemSilently", [](Tree& t) { t.tree.ClearItems(); },
               [](Tree& t) {
                   t.Add("A");
                   t.Add("A1", "A");
                   t.tree.InsertItem(t.I("A"))->SetText(0, "Z");
               },
               {"insert - 0-0", "inserted", "focus ", "changed A", "insert A 0-0", "inserted", "changed A1",
                "insert - 0-0", "inserted", "changed Z"}, {}, 0, "Z A .A1 @A #0"},
        Script{"FocusOpensAncestorsOnceAndCollapseTakesItBackSilently", [](Tree&) {},
               [](Tree& t) {
                   Presenter presenter;
                   t.tree.SetPresenter(&presenter);
                   t.tree.BeginUpdate();
                   t.I("A1a")->SetFocused();
                   t.I("A1a")->SetFocused();  // already focused: nothing
                   t.tree.EndUpdate();
                   EXPECT_THAT(presenter.scrolled, ElementsAre("A1a"));
                   t.tree.SetPresenter(nullptr);
                   t.I("A")->SetExpanded(false);
               },
               {"expanded A", "expanded A1", "focus A1a", "expanded A", "focus A"}, {"A>A1a"}, 0,
               "A .A1+ ..A1a .A2 B @A #0"},
        Script{"MovingTheLastChildOutClearsExpanded", [](Tree& t) { t.tree.ExpandAll(); },
               [](Tree& t) { t.I("A1a")->MoveTo(t.I("B"), amAddChild); },
               {"move A1a to B 0", "moved", "expanded A1", "focus A1a", "expanded B"}, {}, 0,
               "A+ .A1 .A2 B+ .A1a @A1a #0"},
        Script{"DeletePassesFocusAndDropsSelection",
               [](Tree& t) {
                   t.tree.ExpandAll();
                   SelectAndFocus(t, {"A1a", "B"}, "A1");
               },
               [](Tree& t) { t.tree.Delete(t.I("A1")); },
               {"remove A 0-0", "removed", "selection -", "focus A"}, {}, 1, "A+ .A2 B* @A #1"},
        Script{"DeletingAllInABracketCountsOnceAtTheEnd",
               [](Tree& t) {
                   SelectAndFocus(t, {"A1a", "B"}, "A1");
                   t.tree.Delete(t.I("A1"));
               },
               [](Tree& t) {
                   t.tree.BeginUpdate();
                   t.tree.Delete(t.I("B"));
                   t.tree.Delete(t.I("A"));
                   EXPECT_EQ(t.counts, 0);
                   t.tree.EndUpdate();
                   EXPECT_EQ(t.tree.TopRow(), nullptr);
               },
               {"remove - 1-1", "removed", "selection -", "remove - 0-0", "removed", "focus -"}, {}, 1, "@- #0"},
        Script{"ClearIsOneResetAndOneCountChange", [](Tree& t) { SelectAndFocus(t, {"A", "B"}, "B"); },
               [](Tree& t) {
                   t.tree.ClearItems();
                   EXPECT_EQ(t.counts, 1);
                   t.tree.ClearItems();
               },
               {"reset", "reset done", "reset", "reset done"}, {}, 1, "@- #0"},
        Script{"NestedResetSilencesEverythingInBetween", [](Tree&) {},
               [](Tree& t) {
                   t.tree.BeginReset();
                   t.tree.ClearItems();
                   t.Add("N")->SetExpanded(true);
                   t.tree.EndReset();
                   t.tree.RemoveObserver(&t);
                   t.Add("M");
               },
               {"reset", "reset done"}, {}, 0, "N M @N #0"},
        Script{"ItemChangesExpandsAndFocus", [](Tree&) {},
               [](Tree& t) {
                   t.I("B")->SetImageIndex(4);
                   t.I("B")->SetStateIndex(2);
                   t.I("B")->SetSelectedIndex(3);
                   t.I("B")->SetSelected(true);
                   t.I("A")->SetExpanded(true);
                   t.I("A")->SetExpanded(true);
                   t.tree.ExpandAll();
                   t.I("A2")->SetFocused();
               },
               {"changed B", "changed B", "changed B", "selection B", "expanded A", "expanded -", "focus A2"},
               {"A>A2"}, 1, "A+ .A1+ ..A1a .A2 B* @A2 #1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Tree, InsertItemTakesPositionFromBeforesOwnList)
{
    BuildSample();
    Add("C");
    tree.InsertItem(I("A2"))->SetText(0, "X");  // A2 is child 1
    tree.InsertItem(nullptr)->SetText(0, "Y");
    EXPECT_EQ(Document(), "A .A1 ..A1a .A2 X B C Y");
    for (int i = 0; i < 10; ++i)
        Add("d" + std::to_string(i), "A2");
    ASSERT_EQ(I("d9")->Index(), 9);  // the top level holds only 5
    Watch();
    try {
        tree.InsertItem(I("d9"));
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (9)");
    }
    EXPECT_EQ(tree.TopItemCount(), 5);
    EXPECT_THAT(log, IsEmpty());
}

struct DeleteCase {
    const char* deleted;
    const char* focusedBefore;
    const char* focusedAfter;  // "-" for none
};

class DeleteItem : public Tree, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteItem, FocusPassesWithoutNotification)
{
    const DeleteCase& c = GetParam();
    BuildSample();
    tree.ExpandAll();
    I("A1")->SetExpanded(false);  // a collapsed previous sibling still takes the focus
    I(c.focusedBefore)->SetFocused();
    Watch();
    tree.Delete(I(c.deleted));
    EXPECT_EQ(Name(tree.FocusedItem()), c.focusedAfter);
    EXPECT_THAT(changes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteItem,
                         ::testing::Values(DeleteCase{"A2", "A2", "A1"}, DeleteCase{"A1", "A1", "A"},
                                           DeleteCase{"A1", "A1a", "A"}, DeleteCase{"A", "A2", "B"},
                                           DeleteCase{"B", "B", "A"}, DeleteCase{"A2", "B", "B"},
                                           DeleteCase{"A1a", "A1a", "A1"}));

TEST_F(Tree, SelectionIsInDocumentOrderAndFollowsMoves)
{
    BuildSample();
    Add("C");
    for (const char* name : {"C", "A1a", "B", "A", "A2", "A"})  // A not twice
        I(name)->SetSelected(true);
    EXPECT_THAT(Selection(), ElementsAre("A", "A1a", "A2", "B", "C"));
    EXPECT_EQ(tree.SelectedItem(5), nullptr);
    EXPECT_EQ(tree.SelectedItem(-1), nullptr);
    I("C")->MoveTo(I("A"), amAddFirst);
    I("A1a")->SetSelected(false);
    EXPECT_THAT(Selection(), ElementsAre("C", "A", "A2", "B"));
}

TEST_F(Tree, UpdateBracketDefersCountChangeUntilOutermostEnd)
{
    BuildSample();
    I("A")->SetSelected(true);
    EXPECT_EQ(counts, 1);
    tree.BeginUpdate();
    tree.BeginUpdate();
    I("B")->SetSelected(true);
    tree.EndUpdate();
    EXPECT_EQ(counts, 1);
    tree.EndUpdate();
    EXPECT_EQ(counts, 2);

    // Same count at the end as at the start: nothing to report.
    tree.BeginUpdate();
    I("B")->SetSelected(false);
    I("A2")->SetSelected(true);
    tree.EndUpdate();
    EXPECT_EQ(counts, 2);
    tree.ClearSelection();
    EXPECT_EQ(counts, 3);
    tree.ClearSelection();
    EXPECT_EQ(counts, 3);
    EXPECT_FALSE(tree.Updating());
}

TEST_F(Tree, RenameAndPresenterForwarding)
{
    BuildSample();
    EXPECT_EQ(tree.HitTest(1, 2), iaNone);  // no view yet
    EXPECT_EQ(tree.ItemAt(1, 2), nullptr);
    Presenter presenter;
    presenter.item = I("B");
    tree.SetPresenter(&presenter);
    EXPECT_EQ(tree.HitTest(1, 2), iaLabel);
    EXPECT_EQ(tree.ItemAt(1, 2), I("B"));

    tree.SetFocusedItem(I("A1a"));
    tree.StartRename();
    EXPECT_THAT(presenter.edited, ElementsAre("A1a"));
    std::vector<std::string> edited;
    tree.OnEdited = [&](TTreeList&, TTreeListTextNode* node, bool changed) {
        edited.push_back(Name(node) + (changed ? "!" : ""));
    };
    tree.EndRename(I("A1a"), "Renamed", true);
    EXPECT_THAT(edited, ElementsAre("Renamed!"));
    tree.ClearItems();
    tree.StartRename();  // no focused item: nothing opens
    EXPECT_EQ(presenter.edited.size(), 1u);
}

TEST(TreeListDepth, VeryDeepTreeIsWalkedAndFreedWithoutRecursion)
{
    constexpr int Depth = 200000;
    TTreeList tree;
    TTreeListTextNode* deleted = tree.AddItem();
    TTreeListTextNode* kept = tree.AddItem();  // the destructor frees this one
    for (int i = 1; i < Depth; ++i) {
        deleted = deleted->AddChild();
        kept = kept->AddChild();
    }
    int count = 0;
    for (auto* p = tree.TopItem(0); p; p = tree.NextInDocument(p))
        ++count;
    EXPECT_EQ(count, 2 * Depth);
    EXPECT_EQ(deleted->Level(), Depth - 1);
    tree.Delete(tree.TopItem(0));
    EXPECT_EQ(tree.TopItemCount(), 1);
}

}  // namespace
