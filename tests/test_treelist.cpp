#include "treelist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

std::string Name(const TTreeListTextNode* item)
{
    return item ? item->GetText(TreeListColumnName) : "-";
}

// Builds a forest from "A(A1(A1a),A2),B" and names every item.
class TreeFixture : public ::testing::Test {
protected:
    TTreeListTextNode* Add(const std::string& name, TTreeListTextNode* parent = nullptr)
    {
        TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
        item->SetText(TreeListColumnName, name);
        items[name] = item;
        return item;
    }
    void BuildSample()
    {
        auto* a = Add("A");
        auto* a1 = Add("A1", a);
        Add("A1a", a1);
        Add("A2", a);
        Add("B");
    }
    TTreeListTextNode* operator[](const std::string& name) { return items.at(name); }

    // Every item in document order, with its level and cached index checked.
    std::vector<std::string> Document()
    {
        std::vector<std::string> names;
        for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
            TTreeListTextNode* parent = item->Parent();
            EXPECT_EQ(parent ? parent->Child(item->Index()) : tree.TopItem(item->Index()), item);
            names.push_back(std::string(static_cast<size_t>(item->Level()), '.') + Name(item));
        }
        return names;
    }
    std::vector<std::string> Visible()
    {
        std::vector<std::string> names;
        for (auto* item = tree.TopItem(0); item; item = tree.NextVisible(item))
            names.push_back(Name(item));
        return names;
    }

    TTreeList tree;
    std::map<std::string, TTreeListTextNode*> items;
};

// Records what a view would learn, as one line per notification.
class Recorder : public TTreeListObserver {
public:
    void ItemsAboutToBeInserted(TTreeListTextNode* p, int f, int l) override { Log("insert", p, f, l); }
    void ItemsInserted() override { log.push_back("inserted"); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* p, int f, int l) override { Log("remove", p, f, l); }
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

    std::vector<std::string> log;

private:
    void Log(const char* what, TTreeListTextNode* p, int f, int l)
    {
        log.push_back(std::string(what) + " " + Name(p) + " " + std::to_string(f) + "-" + std::to_string(l));
    }
};

class Presenter : public TTreeListPresenter {
public:
    TItemHitArea HitTest(int, int) const override { return iaLabel; }
    TTreeListTextNode* ItemAt(int, int) const override { return item; }
    void ScrollIntoView(TTreeListTextNode* i) override { scrolled.push_back(Name(i)); }
    void EditName(TTreeListTextNode* i) override { edited.push_back(Name(i)); }
    TTreeListTextNode* item = nullptr;
    std::vector<std::string> scrolled;
    std::vector<std::string> edited;
};

TEST(TreeListItem, NewItemDefaultsAndTextPadding)
{
    TTreeList tree;
    TTreeListTextNode* item = tree.AddItem();
    EXPECT_EQ(item->ImageIndex(), 0);
    EXPECT_EQ(item->SelectedIndex(), -1);
    EXPECT_EQ(item->StateIndex(), -1);
    EXPECT_EQ(item->Data(), 0);
    EXPECT_EQ(item->TextCount(), 0);
    EXPECT_EQ(item->GetText(0), "");
    EXPECT_EQ(item->GetText(-1), "");
    EXPECT_FALSE(item->Expanded());
    EXPECT_FALSE(item->HasChildren());

    item->SetText(1, "x");
    EXPECT_EQ(item->TextCount(), 2);
    EXPECT_EQ(item->GetText(0), "");
    EXPECT_EQ(item->GetText(1), "x");
    EXPECT_EQ(item->GetText(5), "");
    EXPECT_THROW(item->SetText(-1, "y"), EListError);
}

TEST(TreeListItem, SelectedIndexAsksTheOwner)
{
    TTreeList tree;
    TTreeListTextNode* item = tree.AddItem();
    int asked = 0;
    tree.OnGetSelectedIndex = [&](TTreeList&, TTreeListTextNode* node, int32_t& index) {
        ++asked;
        index = node->ImageIndex();
    };
    item->SetImageIndex(7);
    EXPECT_EQ(item->SelectedIndex(), 7);
    // Equal to the effective value: not stored.
    item->SetSelectedIndex(7);
    EXPECT_EQ(item->StoredSelectedIndex(), -1);
    item->SetSelectedIndex(9);
    EXPECT_EQ(item->StoredSelectedIndex(), 9);
    EXPECT_EQ(item->SelectedIndex(), 7);
    EXPECT_GE(asked, 3);
}

TEST_F(TreeFixture, DocumentAndDisplayOrder)
{
    BuildSample();
    EXPECT_EQ(tree.FocusedItem(), (*this)["A"]);  // first item focused silently
    EXPECT_EQ(tree.TopRow(), (*this)["A"]);
    EXPECT_THAT(Visible(), ElementsAre("A", "B"));
    EXPECT_EQ(tree.LastVisible(), (*this)["B"]);
    tree.ExpandAll();
    EXPECT_THAT(Visible(), ElementsAre("A", "A1", "A1a", "A2", "B"));
    EXPECT_THAT(Document(), ElementsAre("A", ".A1", "..A1a", ".A2", "B"));
    EXPECT_EQ(tree.PrevVisible((*this)["A"]), nullptr);
    EXPECT_EQ(tree.PrevVisible((*this)["A1"]), (*this)["A"]);
    EXPECT_EQ(tree.PrevVisible((*this)["A2"]), (*this)["A1a"]);
    EXPECT_EQ(tree.PrevVisible((*this)["B"]), (*this)["A2"]);
    EXPECT_EQ(tree.LastVisible(), (*this)["B"]);
    (*this)["A1"]->SetExpanded(false);
    EXPECT_EQ(tree.PrevVisible((*this)["A2"]), (*this)["A1"]);
    EXPECT_EQ(tree.TopItem(-1), nullptr);
    EXPECT_EQ(tree.TopItem(2), nullptr);
    EXPECT_EQ((*this)["A"]->Child(2), nullptr);
}

TEST_F(TreeFixture, OnlyItemsWithChildrenExpand)
{
    BuildSample();
    (*this)["B"]->SetExpanded(true);
    EXPECT_FALSE((*this)["B"]->Expanded());
    (*this)["A"]->SetExpanded(true);
    EXPECT_TRUE((*this)["A"]->Expanded());
}

TEST_F(TreeFixture, CollapsingMovesFocusOutOfTheSubtree)
{
    BuildSample();
    tree.ExpandAll();
    int changes = 0;
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    (*this)["A1a"]->SetFocused();
    EXPECT_EQ(changes, 1);
    (*this)["A"]->SetExpanded(false);
    EXPECT_EQ(tree.FocusedItem(), (*this)["A"]);
    EXPECT_EQ(changes, 1);
}

TEST_F(TreeFixture, SetFocusedMakesVisibleAndNotifies)
{
    BuildSample();
    Presenter presenter;
    tree.SetPresenter(&presenter);
    std::vector<std::string> changes;
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode* o, TTreeListTextNode* n) {
        changes.push_back(Name(o) + ">" + Name(n));
    };
    tree.BeginUpdate();
    (*this)["A1a"]->SetFocused();
    (*this)["A1a"]->SetFocused();  // already focused: nothing
    tree.EndUpdate();
    EXPECT_THAT(changes, ElementsAre("A>A1a"));
    EXPECT_TRUE((*this)["A"]->Expanded());
    EXPECT_TRUE((*this)["A1"]->Expanded());
    EXPECT_THAT(presenter.scrolled, ElementsAre("A1a"));
    EXPECT_TRUE((*this)["A1a"]->Focused());
}

struct MoveCase {
    const char* item;
    const char* target;
    TItemAttachMode mode;
    std::vector<std::string> document;  // after the move; empty when refused
    int destinationRow;
};

class MoveTo : public TreeFixture, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTo, PlacesItemAndReportsQtStyleRow)
{
    const MoveCase& c = GetParam();
    BuildSample();
    Add("C");
    const std::vector<std::string> before = Document();
    Recorder rec;
    tree.AddObserver(&rec);
    int changes = 0;
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    (*this)[c.item]->MoveTo(c.target ? (*this)[c.target] : nullptr, c.mode);
    if (c.document.empty()) {
        EXPECT_EQ(Document(), before);
        EXPECT_TRUE(rec.log.empty());
        return;
    }
    EXPECT_EQ(Document(), c.document);
    ASSERT_GE(rec.log.size(), 2u);
    TTreeListTextNode* moved = (*this)[c.item];
    EXPECT_EQ(rec.log[0], std::string("move ") + c.item + " to " + Name(moved->Parent()) + " " +
                              std::to_string(c.destinationRow));
    EXPECT_EQ(rec.log[1], "moved");
    EXPECT_EQ(tree.FocusedItem(), moved);
    EXPECT_EQ(changes, 0);
    for (auto* p = moved->Parent(); p; p = p->Parent())
        EXPECT_TRUE(p->Expanded());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveTo,
    ::testing::Values(
        MoveCase{"A", "A", amAdd, {"B", "C", "A", ".A1", "..A1a", ".A2"}, 3},
        MoveCase{"C", "C", amAdd, {"A", ".A1", "..A1a", ".A2", "B", "C"}, 3},
        MoveCase{"B", "B", amAddFirst, {"B", "A", ".A1", "..A1a", ".A2", "C"}, 0},
        MoveCase{"A", "A", amAddChild, {}, 0},
        MoveCase{"A", "A", amAddChildFirst, {}, 0},
        MoveCase{"A", "A", amInsert, {}, 0},
        MoveCase{"A", "A1a", amAdd, {}, 0},
        MoveCase{"A", "A1", amAddChild, {}, 0},
        MoveCase{"A", nullptr, amAdd, {}, 0},
        MoveCase{"A", "C", amInsert, {"B", "A", ".A1", "..A1a", ".A2", "C"}, 2},
        MoveCase{"C", "A", amInsert, {"C", "A", ".A1", "..A1a", ".A2", "B"}, 0},
        MoveCase{"A1", "A2", amAdd, {"A", ".A2", ".A1", "..A1a", "B", "C"}, 2},
        MoveCase{"A1a", "B", amAddChild, {"A", ".A1", ".A2", "B", ".A1a", "C"}, 0},
        MoveCase{"B", "A1", amAddChildFirst, {"A", ".A1", "..B", "..A1a", ".A2", "C"}, 0},
        MoveCase{"A2", "A", amAddChildFirst, {"A", ".A2", ".A1", "..A1a", "B", "C"}, 0},
        MoveCase{"A1", "A", amAddChild, {"A", ".A2", ".A1", "..A1a", "B", "C"}, 2},
        MoveCase{"A1a", "A", amAdd, {"A", ".A1", ".A2", "B", "C", "A1a"}, 3}));

TEST_F(TreeFixture, MovingTheLastChildOutClearsHasChildrenAndExpanded)
{
    BuildSample();
    tree.ExpandAll();
    Recorder rec;
    tree.AddObserver(&rec);
    (*this)["A1a"]->MoveTo((*this)["B"], amAddChild);
    EXPECT_FALSE((*this)["A1"]->HasChildren());
    EXPECT_FALSE((*this)["A1"]->Expanded());
    EXPECT_TRUE((*this)["B"]->Expanded());  // made visible: its new parent opens
    EXPECT_THAT(rec.log, ElementsAre("move A1a to B 0", "moved", "expanded A1", "focus A1a", "expanded B"));
}

TEST_F(TreeFixture, InsertItemTakesPositionFromBeforesOwnList)
{
    BuildSample();
    Add("C");
    TTreeListTextNode* x = tree.InsertItem((*this)["A2"]);  // A2 is child 1
    x->SetText(0, "X");
    TTreeListTextNode* y = tree.InsertItem(nullptr);
    y->SetText(0, "Y");
    EXPECT_THAT(Document(), ElementsAre("A", ".A1", "..A1a", ".A2", "X", "B", "C", "Y"));

    TTreeListTextNode* deep = Add("deep", (*this)["A2"]);
    for (int i = 0; i < 9; ++i)
        Add("d" + std::to_string(i), (*this)["A2"]);
    TTreeListTextNode* last = (*this)["d8"];  // index 9, top level holds 5
    ASSERT_EQ(last->Index(), 9);
    (void)deep;
    Recorder rec;
    tree.AddObserver(&rec);
    try {
        tree.InsertItem(last);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (9)");
    }
    EXPECT_EQ(tree.TopItemCount(), 5);
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(TreeFixture, AddingReportsRowsAndFocusesFirstItemSilently)
{
    Recorder rec;
    tree.AddObserver(&rec);
    int changes = 0;
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    auto* a = tree.AddItem();
    a->SetText(0, "A");
    a->AddChild()->SetText(0, "A1");
    tree.InsertItem(a)->SetText(0, "Z");
    EXPECT_THAT(rec.log, ElementsAre("insert - 0-0", "inserted", "focus ", "changed A", "insert A 0-0", "inserted",
                                     "changed A1", "insert - 0-0", "inserted", "changed Z"));
    EXPECT_EQ(tree.FocusedItem(), a);
    EXPECT_EQ(changes, 0);
}

struct DeleteCase {
    const char* deleted;
    const char* focusedBefore;
    const char* focusedAfter;  // "-" for none
};

class DeleteItem : public TreeFixture, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteItem, FocusPassesWithoutNotification)
{
    const DeleteCase& c = GetParam();
    BuildSample();
    tree.ExpandAll();
    (*this)["A1"]->SetExpanded(false);  // a collapsed previous sibling still takes the focus
    (*this)[c.focusedBefore]->SetFocused();
    int changes = 0;
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    tree.Delete((*this)[c.deleted]);
    EXPECT_EQ(Name(tree.FocusedItem()), c.focusedAfter);
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteItem,
                         ::testing::Values(DeleteCase{"A2", "A2", "A1"}, DeleteCase{"A1", "A1", "A"},
                                           DeleteCase{"A1", "A1a", "A"}, DeleteCase{"A", "A2", "B"},
                                           DeleteCase{"B", "B", "A"}, DeleteCase{"A2", "B", "B"},
                                           DeleteCase{"A1a", "A1a", "A1"}));

TEST_F(TreeFixture, DeleteNotificationsAndSelection)
{
    BuildSample();
    tree.ExpandAll();
    (*this)["A1a"]->SetSelected(true);
    (*this)["B"]->SetSelected(true);
    (*this)["A1"]->SetFocused();
    int counts = 0;
    tree.OnSelectedCountChange = [&](TTreeList&) { ++counts; };
    Recorder rec;
    tree.AddObserver(&rec);
    tree.Delete((*this)["A1"]);
    EXPECT_THAT(rec.log, ElementsAre("remove A 0-0", "removed", "selection -", "focus A"));
    EXPECT_EQ(counts, 1);
    EXPECT_EQ(tree.SelectedCount(), 1);
    EXPECT_EQ(tree.SelectedItem(0), (*this)["B"]);
    EXPECT_THAT(Document(), ElementsAre("A", ".A2", "B"));
    EXPECT_EQ((*this)["A2"]->Index(), 0);

    // Inside a bracket the count notification waits for the outermost end.
    rec.log.clear();
    tree.BeginUpdate();
    tree.Delete((*this)["B"]);
    EXPECT_EQ(counts, 1);
    tree.Delete((*this)["A"]);
    EXPECT_EQ(counts, 1);
    tree.EndUpdate();
    EXPECT_EQ(counts, 2);
    EXPECT_EQ(tree.FocusedItem(), nullptr);
    EXPECT_EQ(tree.TopRow(), nullptr);
    EXPECT_THAT(rec.log, ElementsAre("remove - 1-1", "removed", "selection -", "remove - 0-0", "removed", "focus -"));
}

TEST_F(TreeFixture, ClearItemsRaisesOneCountChangeAndNoFocusChange)
{
    BuildSample();
    (*this)["A"]->SetSelected(true);
    (*this)["B"]->SetSelected(true);
    (*this)["B"]->SetFocused();
    int counts = 0;
    int changes = 0;
    tree.OnSelectedCountChange = [&](TTreeList&) { ++counts; };
    tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    Recorder rec;
    tree.AddObserver(&rec);
    tree.ClearItems();
    EXPECT_EQ(counts, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_THAT(rec.log, ElementsAre("reset", "reset done"));
    EXPECT_EQ(tree.TopItemCount(), 0);
    EXPECT_EQ(tree.SelectedCount(), 0);
    EXPECT_EQ(tree.FocusedItem(), nullptr);
    tree.ClearItems();
    EXPECT_EQ(counts, 1);
}

TEST_F(TreeFixture, ResetsNestAndSilenceEverythingInBetween)
{
    BuildSample();
    Recorder rec;
    tree.AddObserver(&rec);
    tree.BeginReset();
    tree.ClearItems();
    Add("N")->SetExpanded(true);
    tree.EndReset();
    EXPECT_THAT(rec.log, ElementsAre("reset", "reset done"));
    tree.RemoveObserver(&rec);
    Add("M");
    EXPECT_EQ(rec.log.size(), 2u);
}

TEST_F(TreeFixture, SelectionIsInDocumentOrder)
{
    BuildSample();
    Add("C");
    for (const char* name : {"C", "A1a", "B", "A", "A2"})
        (*this)[name]->SetSelected(true);
    (*this)["A"]->SetSelected(true);  // not twice
    ASSERT_EQ(tree.SelectedCount(), 5);
    std::vector<std::string> order;
    for (int i = 0; i < tree.SelectedCount(); ++i)
        order.push_back(Name(tree.SelectedItem(i)));
    EXPECT_THAT(order, ElementsAre("A", "A1a", "A2", "B", "C"));
    EXPECT_EQ(tree.SelectedItem(5), nullptr);
    EXPECT_EQ(tree.SelectedItem(-1), nullptr);

    // Order follows moves too.
    (*this)["C"]->MoveTo((*this)["A"], amAddFirst);
    (*this)["A1a"]->SetSelected(false);
    order.clear();
    for (int i = 0; i < tree.SelectedCount(); ++i)
        order.push_back(Name(tree.SelectedItem(i)));
    EXPECT_THAT(order, ElementsAre("C", "A", "A2", "B"));
}

TEST_F(TreeFixture, UpdateBracketDefersCountChangeUntilOutermostEnd)
{
    BuildSample();
    int counts = 0;
    tree.OnSelectedCountChange = [&](TTreeList&) { ++counts; };
    (*this)["A"]->SetSelected(true);
    EXPECT_EQ(counts, 1);

    tree.BeginUpdate();
    tree.BeginUpdate();
    (*this)["B"]->SetSelected(true);
    tree.EndUpdate();
    EXPECT_EQ(counts, 1);
    tree.EndUpdate();
    EXPECT_EQ(counts, 2);

    // Same count at the end as at the start: nothing to report.
    tree.BeginUpdate();
    (*this)["B"]->SetSelected(false);
    (*this)["A2"]->SetSelected(true);
    tree.EndUpdate();
    EXPECT_EQ(counts, 2);

    tree.ClearSelection();
    EXPECT_EQ(counts, 3);
    tree.ClearSelection();
    EXPECT_EQ(counts, 3);
    EXPECT_FALSE(tree.Updating());
}

TEST_F(TreeFixture, ObserverSeesItemChangesExpandsAndFocus)
{
    BuildSample();
    Recorder rec;
    tree.AddObserver(&rec);
    (*this)["B"]->SetImageIndex(4);
    (*this)["B"]->SetStateIndex(2);
    (*this)["B"]->SetSelectedIndex(3);
    (*this)["B"]->SetSelected(true);
    (*this)["A"]->SetExpanded(true);
    (*this)["A"]->SetExpanded(true);
    tree.ExpandAll();
    (*this)["A2"]->SetFocused();
    EXPECT_THAT(rec.log, ElementsAre("changed B", "changed B", "changed B", "selection B", "expanded A", "expanded -",
                                     "focus A2"));
}

TEST_F(TreeFixture, RenameAndPresenterForwarding)
{
    BuildSample();
    EXPECT_EQ(tree.HitTest(1, 2), iaNone);
    EXPECT_EQ(tree.ItemAt(1, 2), nullptr);
    Presenter presenter;
    presenter.item = (*this)["B"];
    tree.SetPresenter(&presenter);
    EXPECT_EQ(tree.HitTest(1, 2), iaLabel);
    EXPECT_EQ(tree.ItemAt(1, 2), (*this)["B"]);

    tree.SetFocusedItem((*this)["A1a"]);
    tree.StartRename();
    EXPECT_THAT(presenter.edited, ElementsAre("A1a"));

    std::vector<std::string> edited;
    tree.OnEdited = [&](TTreeList&, TTreeListTextNode* node, bool changed) {
        edited.push_back(Name(node) + (changed ? "!" : ""));
    };
    tree.EndRename((*this)["A1a"], "Renamed", true);
    EXPECT_THAT(edited, ElementsAre("Renamed!"));

    tree.ClearItems();
    tree.StartRename();  // no focused item: nothing opens
    EXPECT_EQ(presenter.edited.size(), 1u);
}

TEST(TreeListDepth, VeryDeepTreeIsWalkedAndFreedWithoutRecursion)
{
    constexpr int Depth = 200000;
    TTreeList tree;
    TTreeListTextNode* item = tree.AddItem();
    for (int i = 1; i < Depth; ++i)
        item = item->AddChild();
    int count = 0;
    for (auto* p = tree.TopItem(0); p; p = tree.NextInDocument(p))
        ++count;
    EXPECT_EQ(count, Depth);
    EXPECT_EQ(item->Level(), Depth - 1);
    tree.AddItem();
    tree.Delete(tree.TopItem(0));
    EXPECT_EQ(tree.TopItemCount(), 1);
    TTreeListTextNode* again = tree.TopItem(0);
    for (int i = 1; i < Depth; ++i)
        again = again->AddChild();
    // The destructor frees the rest.
}

}  // namespace
