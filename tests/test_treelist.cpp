#include "document/treelist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/mman.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::string Name(const TTreeListTextNode* item) { return item ? std::string(item->GetText(TreeListColumnName)) : "-"; }

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
    void Watch() { log.clear(), changes.clear(), counts = 0; }
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
    void ItemsAboutToBeInserted(TTreeListTextNode* p, int f, int l) override { Rows("insert", p, f, l); }
    void ItemsInserted() override { log.push_back("inserted"); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* p, int f, int l) override { Rows("remove", p, f, l); }
    void ItemsRemoved() override
    {
        log.push_back("removed");
        focusAtRemoval = Name(tree.FocusedItem());  // a freed item here is a sanitizer report
    }
    void ItemAboutToBeMoved(TTreeListTextNode* i, TTreeListTextNode* d, int r) override
    {
        Rows("move " + Name(i) + " to", d, r);
    }
    void ItemMoved() override { log.push_back("moved"); }
    void AboutToReset() override { log.push_back("reset"); }
    void ResetDone() override { log.push_back("reset done"); }
    void ItemChanged(TTreeListTextNode* item) override { log.push_back("changed " + Name(item)); }
    void ExpandedChanged(TTreeListTextNode* item) override { log.push_back("expanded " + Name(item)); }
    void FocusChanged(TTreeListTextNode* item) override { log.push_back("focus " + Name(item)); }
    void SelectionChanged(TTreeListTextNode* item) override { log.push_back("selection " + Name(item)); }
    void Rows(const std::string& what, TTreeListTextNode* p, int f, int l = -1)
    {
        log.push_back(what + " " + Name(p) + " " + std::to_string(f) + (l < 0 ? "" : "-" + std::to_string(l)));
    }

    TTreeList tree;
    std::string focusAtRemoval;
    std::map<std::string, TTreeListTextNode*> items;
    std::vector<std::string> log;
    std::vector<std::string> changes;  // OnChangeNode as "old>new"
    int counts = 0;                    // OnSelectedCountChange
};

class Presenter : public TTreeListPresenter {
public:
    TItemHitArea HitTest(int, int) const override { return iaLabel; }
    TTreeListTextNode* ItemAt(int, int) const override { return nullptr; }
    void ScrollIntoView(TTreeListTextNode* i) override { scrolled.push_back(Name(i)); }
    void EditName(TTreeListTextNode* i) override { edited.push_back(Name(i)); }
    std::vector<std::string> scrolled, edited;
};

TEST(TreeListItem, TextPaddingAndStoredSelectedIndex)
{
    TTreeList tree;
    TTreeListTextNode* item = tree.AddItem();
    item->SetText(1, "x");
    EXPECT_EQ(item->TextCount(), 2);
    EXPECT_EQ(std::string(item->GetText(0)) + "|" + std::string(item->GetText(1)) + "|" + std::string(item->GetText(5)) +
                  std::string(item->GetText(-1)),
              "|x|");
    EXPECT_THROW(item->SetText(-1, "y"), EListError);
    // Longer than a saved length can say: refused before a byte is copied.
    const size_t tooLong = size_t(INT32_MAX) + 1;
    void* zeros = ::mmap(nullptr, tooLong, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(zeros, MAP_FAILED);
    EXPECT_THROW(item->SetText(1, std::string_view(static_cast<const char*>(zeros), tooLong)), std::length_error);
    ::munmap(zeros, tooLong);
    EXPECT_EQ(item->GetText(1), "x");

    tree.OnGetSelectedIndex = [](TTreeList&, TTreeListTextNode* node, int32_t& index) { index = node->ImageIndex(); };
    item->SetImageIndex(7);
    item->SetSelectedIndex(7);  // equal to the effective value: not stored
    EXPECT_EQ(item->StoredSelectedIndex(), -1);
    item->SetSelectedIndex(9);
    EXPECT_EQ(item->StoredSelectedIndex(), 9);
    EXPECT_EQ(item->SelectedIndex(), 7);
}

TEST_F(Tree, DisplayOrder)
{
    BuildSample();
    EXPECT_EQ(tree.FocusedItem(), I("A"));  // first item focused silently
    EXPECT_EQ(tree.TopRow(), I("A"));
    I("B")->SetExpanded(true);  // only items with children expand
    EXPECT_FALSE(I("B")->Expanded());
    tree.ExpandAll();
    const char* order[][3] = {{"A", "-", "A1"}, {"A1", "A", "A1a"}, {"A2", "A1a", "B"}, {"B", "A2", "-"}};
    for (auto [item, prev, next] : order)
        EXPECT_EQ(Name(tree.PrevVisible(I(item))) + "<>" + Name(tree.NextVisible(I(item))),
                  prev + ("<>" + std::string(next)));
    EXPECT_EQ(tree.LastVisible(), I("B"));
    I("A1")->SetExpanded(false);
    EXPECT_EQ(tree.PrevVisible(I("A2")), I("A1"));
}

struct MoveCase {
    const char* item;
    const char* target;
    TItemAttachMode mode;
    const char* document;  // after the move
    int destinationRow;    // counted before the item is taken out; -1 when refused
};

class MoveTo : public Tree, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTo, PlacesItemAndReportsQtStyleRow)
{
    const MoveCase& c = GetParam();
    BuildSample();
    Add("C");
    Watch();
    I(c.item)->MoveTo(c.target ? I(c.target) : nullptr, c.mode);
    EXPECT_EQ(Document(), c.document);
    EXPECT_EQ(log.empty(), c.destinationRow < 0);
    if (log.empty())
        return;
    TTreeListTextNode* moved = I(c.item);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "move " + std::string(c.item) + " to " + Name(moved->Parent()) + " " +
                          std::to_string(c.destinationRow));
    EXPECT_EQ(log[1], "moved");
    EXPECT_EQ(tree.FocusedItem(), moved);
    EXPECT_THAT(changes, IsEmpty());
    for (auto* p = moved->Parent(); p; p = p->Parent())
        EXPECT_TRUE(p->Expanded());
}

const MoveCase Moves[] = {
    {"A", "A", amAdd, "B C A .A1 ..A1a .A2", 3},
    {"B", "B", amAddFirst, "B A .A1 ..A1a .A2 C", 0},
    {"A", "A", amAddChild, "A .A1 ..A1a .A2 B C", -1},
    {"A", "A1a", amAdd, "A .A1 ..A1a .A2 B C", -1},
    {"A", nullptr, amAdd, "A .A1 ..A1a .A2 B C", -1},
    {"A", "C", amInsert, "B A .A1 ..A1a .A2 C", 2},
    {"C", "A", amInsert, "C A .A1 ..A1a .A2 B", 0},
    {"A1a", "B", amAddChild, "A .A1 .A2 B .A1a C", 0},
    {"B", "A1", amAddChildFirst, "A .A1 ..B ..A1a .A2 C", 0},
    {"A1a", "A", amAdd, "A .A1 .A2 B C A1a", 3},
};
INSTANTIATE_TEST_SUITE_P(Cases, MoveTo, ::testing::ValuesIn(Moves));

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

INSTANTIATE_TEST_SUITE_P(
    Cases, Scripted,
    ::testing::Values(
        Script{"AddingFocusesFirstItemSilently", [](Tree& t) { t.tree.ClearItems(); },
               [](Tree& t) { t.Add("A"), t.Add("A1", "A"), t.tree.InsertItem(t.I("A"))->SetText(0, "Z"); },
               {"insert - 0-0", "inserted", "focus ", "changed A", "insert A 0-0", "inserted", "changed A1",
                "insert - 0-0", "inserted", "changed Z"}, {}, 0, "Z A .A1 @A #0"},
        Script{"FocusOpensAncestorsOnceAndCollapseTakesItBackSilently", [](Tree&) {},
               [](Tree& t) {
                   Presenter presenter;
                   t.tree.SetPresenter(&presenter);
                   t.I("A1a")->SetFocused(), t.I("A1a")->SetFocused();  // the second changes nothing
                   EXPECT_THAT(presenter.scrolled, ElementsAre("A1a"));
                   t.tree.SetPresenter(nullptr), t.I("A")->SetExpanded(false);
               },
               {"expanded A", "expanded A1", "focus A1a", "expanded A", "focus A"}, {"A>A1a"}, 0,
               "A .A1+ ..A1a .A2 B @A #0"},
        Script{"MovingTheLastChildOutClearsExpanded", [](Tree& t) { t.tree.ExpandAll(); },
               [](Tree& t) { t.I("A1a")->MoveTo(t.I("B"), amAddChild); },
               {"move A1a to B 0", "moved", "expanded A1", "focus A1a", "expanded B"}, {}, 0,
               "A+ .A1 .A2 B+ .A1a @A1a #0"},
        Script{"DeletePassesFocusAndDropsSelection",
               [](Tree& t) { t.I("A1a")->SetSelected(true), t.I("B")->SetSelected(true), t.I("A1")->SetFocused(); },
               [](Tree& t) { t.tree.Delete(t.I("A1")); },
               {"remove A 0-0", "removed", "selection -", "focus A"}, {}, 1, "A+ .A2 B* @A #1"},
        Script{"DeletingAllInABracketCountsOnceAtTheEnd", [](Tree& t) { t.I("B")->SetSelected(true); },
               [](Tree& t) {
                   t.tree.BeginUpdate(), t.tree.BeginUpdate(), t.tree.Delete(t.I("B")), t.tree.Delete(t.I("A"));
                   t.tree.EndUpdate();
                   EXPECT_EQ(t.counts, 0);
                   t.tree.EndUpdate();
                   EXPECT_EQ(t.tree.TopRow(), nullptr);
               },
               {"remove - 1-1", "removed", "selection -", "remove - 0-0", "removed", "focus -"}, {}, 1, "@- #0"},
        Script{"SameCountAtTheEndOfABracketIsNotReported", [](Tree& t) { t.I("B")->SetSelected(true); },
               [](Tree& t) {
                   t.tree.BeginUpdate(), t.I("B")->SetSelected(false), t.I("A2")->SetSelected(true);
                   t.tree.EndUpdate(), t.tree.ClearSelection(), t.tree.ClearSelection();
               },
               {"selection B", "selection A2", "selection -"}, {}, 1, "A .A1 ..A1a .A2 B @A #0"},
        Script{"ClearIsOneResetAndOneCountChange", [](Tree& t) { t.I("B")->SetSelected(true); },
               [](Tree& t) { t.tree.ClearItems(), t.tree.ClearItems(); },
               {"reset", "reset done", "reset", "reset done"}, {}, 1, "@- #0"},
        Script{"NestedResetSilencesEverythingInBetween", [](Tree&) {},
               [](Tree& t) {
                   t.tree.BeginReset(), t.tree.ClearItems(), t.Add("N")->SetExpanded(true), t.tree.EndReset();
                   t.tree.RemoveObserver(&t), t.Add("M");
               },
               {"reset", "reset done"}, {}, 0, "N M @N #0"},
        Script{"ItemChangeAndExpands", [](Tree&) {},
               [](Tree& t) {
                   t.I("B")->SetImageIndex(4);
                   t.I("A")->SetExpanded(true), t.I("A")->SetExpanded(true), t.tree.ExpandAll();
               },
               {"changed B", "expanded A", "expanded -"}, {}, 0, "A+ .A1+ ..A1a .A2 B @A #0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Tree, InsertItemTakesPositionFromBeforesOwnList)
{
    BuildSample();
    tree.InsertItem(I("A2"))->SetText(0, "X");  // A2 is child 1
    tree.InsertItem(nullptr)->SetText(0, "Y");
    EXPECT_EQ(Document(), "A .A1 ..A1a .A2 X B Y");
    for (int i = 0; i < 10; ++i)
        Add("d" + std::to_string(i), "A2");
    Watch();
    EXPECT_THAT([&] { tree.InsertItem(I("d9")); },  // the top level holds only 4
                ::testing::ThrowsMessage<EListError>(::testing::StrEq("List index out of bounds (9)")));
    EXPECT_EQ(tree.TopItemCount(), 4);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(Tree, DeletePassesFocusWithoutNotification)
{
    const char* cases[][3] = {{"A2", "A2", "A1"}, {"A1", "A1a", "A"}, {"A", "A2", "B"}, {"B", "B", "A"}};
    for (auto [deleted, focusedBefore, focusedAfter] : cases) {
        tree.ClearItems();
        BuildSample();
        tree.ExpandAll();
        I("A1")->SetExpanded(false);  // a collapsed previous sibling still takes the focus
        I(focusedBefore)->SetFocused();
        Watch();
        tree.Delete(I(deleted));
        EXPECT_EQ(Name(tree.FocusedItem()), focusedAfter) << deleted << " " << focusedBefore;
        EXPECT_EQ(focusAtRemoval, "-") << deleted << " " << focusedBefore;
        EXPECT_THAT(changes, IsEmpty());
    }
}

TEST_F(Tree, SelectionIsInDocumentOrderAndFollowsMoves)
{
    BuildSample();
    Add("C");
    for (const char* name : {"C", "A1a", "B", "A", "A2", "A"})  // A not twice
        I(name)->SetSelected(true);
    I("C")->MoveTo(I("A"), amAddFirst);
    I("A1a")->SetSelected(false);
    std::vector<std::string> names;
    for (int i = 0; i < tree.SelectedCount(); ++i)
        names.push_back(Name(tree.SelectedItem(i)));
    EXPECT_THAT(names, ElementsAre("C", "A", "A2", "B"));
    EXPECT_EQ(tree.SelectedItem(4), nullptr);
}

TEST_F(Tree, WithoutAViewOrAFocusedItemNothingIsAsked)
{
    EXPECT_EQ(tree.HitTest(1, 2), iaNone);
    EXPECT_EQ(tree.ItemAt(1, 2), nullptr);
    tree.StartRename();  // neither a view nor a focused item
    Presenter presenter;
    tree.SetPresenter(&presenter);
    tree.StartRename();
    EXPECT_THAT(presenter.edited, IsEmpty());
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

// A new order that is not the same items, each once, is refused before the
// views hear of it; a good one moves rows, not parents. Items built apart
// land in the middle of a list whole.
TEST(TreeListOrder, ReorderChecksTheOrderAndInsertItemsFromLandsInPlace)
{
    TTreeList tree;
    TTreeListTextNode* p = tree.AddItem();
    TTreeListTextNode* a = p->AddChild();
    TTreeListTextNode* b = p->AddChild();
    TTreeListTextNode* c = p->AddChild();
    TTreeListTextNode* other = tree.AddItem();
    const std::vector<std::vector<TTreeListTextNode*>> bad = {{a, a, c}, {a, b}, {a, b, other}, {a, b, c, c}};
    for (const auto& items : bad) {
        EXPECT_THROW(tree.Reorder({{p, items}}), EListError);
        EXPECT_TRUE(p->Child(0) == a && p->Child(1) == b && p->Child(2) == c);
    }
    tree.Reorder({{p, {c, a, b}}, {nullptr, {other, p}}});
    EXPECT_TRUE(p->Child(0) == c && c->Index() == 0 && b->Index() == 2 && tree.TopItem(0) == other);

    TTreeList built;
    TTreeListTextNode* x = built.AddItem();
    x->AddChild()->SetText(0, "deep");
    TTreeListTextNode* y = built.AddItem();
    const TTreeListTextNode* copy = built.AddCopyOf(x);
    tree.InsertItemsFrom(built, p, 1);
    EXPECT_EQ(built.TopItemCount(), 0);
    ASSERT_EQ(p->Count(), 6);
    EXPECT_TRUE(p->Child(1) == x && p->Child(2) == y && p->Child(3) == copy && p->Child(4) == a);
    EXPECT_EQ(&x->Owner(), &tree);
    EXPECT_EQ(x->Parent(), p);
    EXPECT_EQ(p->Child(3)->Child(0)->GetText(0), "deep");
}
