#include "document/outlineedit.h"
#include "document/treefile.h"
#include "document/undohistory.h"
#include "document/undosteps.h"
#include "tests/outlinetestkit.h"

#include <gtest/gtest.h>

namespace {

std::string Names(const std::vector<TTreeListTextNode*>& items)
{
    std::string text;
    for (const TTreeListTextNode* item : items)
        text += (text.empty() ? "" : " ") + std::string(item->GetText(TreeListColumnName));
    return text;
}

}  // namespace

// The items the outline commands take: the selected ones no other selected
// item contains, in document order, or else the focused one; and what
// Indent and Outdent can do with them. Outlines as BuildOutline reads them.
TEST(OutlineEdit, ItemsAndTheRulesOfIndentAndOutdent)
{
    struct TCase {
        const char* outline;
        const char* items;         // OutlineItems(tree, true)
        const char* indentTarget;  // "": none
        bool canOutdent;
    };
    const TCase cases[] = {
        {"A\nB*\nC*", "B C", "A", false},
        {"A\n\tX\nB*\n\tY", "B", "A", false},
        {"A*\nB", "A", "", false},
        {"A\n\tB*", "B", "", true},
        {"A\n\tB*\n\tC\nD", "B", "", true},
        {"A\n\tB\n\t\tC*\nD", "C", "", true},
        {"A*\n\tB*\nC*", "A C", "", false},
        {"A\n\tB*\n\t\tC*\nD*", "B D", "", true},
        {"A*\n\tB\n\t\tC*", "A", "", false},
        {"A\nB*\n\tC\nD*", "B D", "A", false},
        {"A\n\tB*\nC\n\tD*", "B D", "", true},
        {">A\nB", "A", "", false},
        {"A\n>B", "B", "A", false},
        {"A\nB", "A", "", false},
    };
    for (const TCase& c : cases) {
        TTreeList tree;
        BuildOutline(tree, c.outline);
        const std::vector<TTreeListTextNode*> items = OutlineItems(tree, true);
        EXPECT_EQ(Names(items), c.items) << c.outline;
        if (tree.SelectedCount() == 0) {
            EXPECT_TRUE(OutlineItems(tree, false).empty()) << c.outline;
        }
        const TTreeListTextNode* target = IndentTarget(tree, items);
        EXPECT_EQ(target ? std::string(target->GetText(TreeListColumnName)) : "", c.indentTarget) << c.outline;
        EXPECT_EQ(CanOutdent(items), c.canOutdent) << c.outline;
    }
}

// Move Down: each item changes places with the sibling below it, items next
// to each other move as a block, a block at the end of its list stays. As
// one step, undone to the exact bytes and done again.
TEST(OutlineEdit, MoveDownReordersEachListAsOneStep)
{
    struct TCase {
        const char* outline;
        const char* expected;  // none: nothing can move
    };
    const TCase cases[] = {
        {"A*\nB\nC", "B A C"},
        {"A*\nB*\nC", "C A B"},
        {"A*\nB\nC*\nD", "B A D C"},
        {"A\n\tB*\n\tC\nD", "A(C B) D"},
        {">A\nB", "B A"},
        {"A\nB*\nC*", nullptr},
        {"A*\n\tB*\nC", "C A(B)"},
        {"A\n\tB*\n\tC\nD*\nE", "A(C B) E D"},
        {"A*\nB\n\tC*\n\tD", "B(D C) A"},
        {"A\nB*\nC\nD*", "A C B D"},
        {"A*\nB*\nC*", nullptr},
        {"A\n\tB*", nullptr},
    };
    for (const TCase& c : cases) {
        TTreeList tree;
        BuildOutline(tree, c.outline);
        const std::string before = WriteItems(tree);
        const std::vector<TTreeListTextNode*> items = OutlineItems(tree, true);
        std::vector<TTreeListOrder> orders = MoveDownOrders(tree, items);
        ASSERT_EQ(CanMoveDown(items), c.expected != nullptr) << c.outline;
        ASSERT_EQ(orders.empty(), c.expected == nullptr) << c.outline;
        if (!c.expected)
            continue;
        TUndoHistory history(tree);
        auto step = std::make_unique<TReorderStep>("Move Down");
        for (TTreeListOrder& order : orders)
            step->Add(tree, std::move(order));
        step->Redo(tree);
        history.Push(std::move(step));
        EXPECT_EQ(Dump(tree), c.expected) << c.outline;
        const std::string after = WriteItems(tree);
        history.Undo();
        EXPECT_EQ(WriteItems(tree), before) << c.outline;
        history.Redo();
        EXPECT_EQ(WriteItems(tree), after) << c.outline;
    }
}
