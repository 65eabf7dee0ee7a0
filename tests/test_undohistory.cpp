#include "document/treefile.h"
#include "document/undohistory.h"
#include "document/undosteps.h"
#include "tests/outlinetestkit.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>

namespace {

// A step that changes nothing and logs what the history does with it.
class TLoggedStep : public TUndoStep {
public:
    TLoggedStep(std::string name, size_t cost, std::vector<std::string>& log)
        : TUndoStep(std::move(name)), m_cost(cost), m_log(log)
    {
    }
    void Undo(TTreeList&) override { m_log.push_back("undo " + Name()); }
    void Redo(TTreeList&) override { m_log.push_back("redo " + Name()); }
    std::vector<TTreeListTextNode*> Touched() const override { return {}; }
    size_t Cost() const override { return m_cost; }
    void Discard(TTreeList&, bool done) override { m_log.push_back((done ? "drop done " : "drop undone ") + Name()); }

private:
    size_t m_cost;
    std::vector<std::string>& m_log;
};

// The history's rules as plain lists: the steps, how many are done, which
// count of done steps matches the file (-1: none can).
struct TModel {
    std::vector<std::string> steps;
    size_t done = 0;
    long clean = 0;
    std::vector<std::string> log;

    void DropUndone(const char* how)
    {
        if (clean > static_cast<long>(done))
            clean = -1;
        while (steps.size() > done) {
            log.push_back(how + steps.back());
            steps.pop_back();
        }
    }
};

}  // namespace

// Random pushes, undos, redos, saves and clears against the model: the names
// Undo and Redo offer, the saved state, every step dropped (a new step drops
// what could be redone, newest first) and every change reported.
TEST(UndoHistory, FollowsItsRulesThroughRandomCommands)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        // Before the history, which logs into them until it is gone.
        std::vector<std::string> log;
        int changes = 0;
        TTreeList tree;
        TUndoHistory history(tree);
        history.OnChanged = [&changes] { ++changes; };
        TModel model;
        int expectedChanges = 0;
        for (int n = 0; n < 400; ++n) {
            switch (random() % 6) {
            case 0:
            case 1: {
                const std::string name = "step " + std::to_string(n);
                history.Push(std::make_unique<TLoggedStep>(name, 10, log));
                model.DropUndone("drop undone ");
                model.steps.push_back(name);
                ++model.done;
                ++expectedChanges;
                break;
            }
            case 2:
                history.Undo();
                if (model.done > 0) {
                    model.log.push_back("undo " + model.steps[--model.done]);
                    ++expectedChanges;
                }
                break;
            case 3:
                history.Redo();
                if (model.done < model.steps.size()) {
                    model.log.push_back("redo " + model.steps[model.done++]);
                    ++expectedChanges;
                }
                break;
            case 4:
                history.SetClean();
                model.clean = static_cast<long>(model.done);
                ++expectedChanges;
                break;
            default:
                if (random() % 8 != 0)
                    break;
                history.Clear();
                if (!model.steps.empty() || model.clean != 0)
                    ++expectedChanges;
                model.DropUndone("drop undone ");
                while (!model.steps.empty()) {
                    model.log.push_back("drop done " + model.steps.back());
                    model.steps.pop_back();
                }
                model.done = 0;
                model.clean = 0;
                break;
            }
            const std::string at = "seed " + std::to_string(seed) + ", command " + std::to_string(n);
            ASSERT_EQ(history.Count(), model.steps.size()) << at;
            ASSERT_EQ(history.CanUndo(), model.done > 0) << at;
            ASSERT_EQ(history.CanRedo(), model.done < model.steps.size()) << at;
            ASSERT_EQ(history.UndoName(), model.done > 0 ? model.steps[model.done - 1] : "") << at;
            ASSERT_EQ(history.RedoName(), model.done < model.steps.size() ? model.steps[model.done] : "") << at;
            ASSERT_EQ(history.IsClean(), model.clean == static_cast<long>(model.done)) << at;
            ASSERT_EQ(history.HeldBytes(), 10 * model.steps.size()) << at;
            ASSERT_EQ(log, model.log) << at;
            ASSERT_EQ(changes, expectedChanges) << at;
        }
    }
}

// Old steps go once the history holds too much; the newest stay undoable.
TEST(UndoHistory, DropsTheOldestStepsPastItsLimitAndFreesWhatTheyHeld)
{
    TTreeList tree;
    TUndoHistory history(tree);
    history.ByteLimit = 1000;
    size_t itemBytes = 0;
    for (int i = 0; i < 150; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        item->SetText(0, std::string(50, 'x'));
        itemBytes = tree.SubtreeBytes(item);
        auto step = std::make_unique<TRemoveStep>("Delete");
        step->Remove(tree, item);
        history.Push(std::move(step));
    }
    EXPECT_EQ(history.Count(), TUndoHistory::MinSteps);
    // Counted once out of the tree, the items cost what they did in it.
    EXPECT_EQ(history.HeldBytes(), TUndoHistory::MinSteps * itemBytes);
    EXPECT_FALSE(history.IsClean()) << "the saved state was dropped with its step";
    for (size_t i = 0; i < TUndoHistory::MinSteps; ++i)
        history.Undo();
    EXPECT_EQ(tree.TopItemCount(), static_cast<int>(TUndoHistory::MinSteps));
    const size_t held = tree.MemoryBytes();
    history.Clear();
    EXPECT_EQ(history.HeldBytes(), 0u);
    EXPECT_EQ(tree.MemoryBytes(), held) << "put back, the items belong to the tree";
}

// Past ByteLimit the oldest steps go, oldest first, but never below
// MinSteps; the saved state goes with its step.
TEST(UndoHistory, TrimsTheOldestStepsPastTheByteLimitKeepingAtLeastTheMinimum)
{
    constexpr size_t MB = size_t{1} << 20;
    struct TCase {
        size_t steps;
        size_t cost;
        size_t cleanAfter;  // SetClean after this many steps; 0: the empty history is the saved state
        size_t kept;
    };
    const TCase cases[] = {
        {120, 3 * MB, 0, 100},    // over 256 MB: the last 100 stay all the same
        {90, 3 * MB, 0, 90},      // over 256 MB, but fewer than 100 steps
        {200, 2 * MB, 0, 128},    // down to 256 MB, not below
        {200, 2 * MB, 50, 128},   // the saved state went with its step
        {200, 2 * MB, 150, 128},  // the saved state is still there
        {300, 1, 0, 300},         // a small history keeps everything
    };
    for (const TCase& c : cases) {
        std::vector<std::string> log;
        TTreeList tree;
        TUndoHistory history(tree);
        ASSERT_EQ(history.ByteLimit, 256 * MB);
        ASSERT_EQ(TUndoHistory::MinSteps, 100u);
        for (size_t i = 1; i <= c.steps; ++i) {
            history.Push(std::make_unique<TLoggedStep>(std::to_string(i), c.cost, log));
            if (i == c.cleanAfter)
                history.SetClean();
        }
        const std::string at = std::to_string(c.steps) + " steps of " + std::to_string(c.cost) + " bytes";
        ASSERT_EQ(history.Count(), c.kept) << at;
        EXPECT_EQ(history.HeldBytes(), c.kept * c.cost) << at;
        EXPECT_EQ(history.UndoName(), std::to_string(c.steps)) << at;
        const size_t dropped = c.steps - c.kept;
        ASSERT_EQ(log.size(), dropped) << at;
        for (size_t i = 0; i < dropped; ++i)
            EXPECT_EQ(log[i], "drop done " + std::to_string(i + 1)) << at;
        while (history.CanUndo() && history.UndoName() != std::to_string(c.cleanAfter))
            history.Undo();
        EXPECT_EQ(history.IsClean(), c.cleanAfter > dropped || (c.cleanAfter == 0 && dropped == 0)) << at;
    }
}

namespace {

// "D|C D": the focused item's name, then the selected items' names.
std::string Shown(const TTreeList& tree)
{
    std::string text = tree.FocusedItem() ? std::string(tree.FocusedItem()->GetText(TreeListColumnName)) : "";
    text += '|';
    for (int i = 0; i < tree.SelectedCount(); ++i)
        text += (i > 0 ? " " : "") + std::string(tree.SelectedItem(i)->GetText(TreeListColumnName));
    return text;
}

struct TStepCase {
    const char* step;
    const char* after;  // the tree after the change
    const char* shownUndone;
    const char* shownRedone;
    // Makes the change in the tree "A(B) C D" focused on A and answers its step.
    std::function<std::unique_ptr<TUndoStep>(TTreeList&)> change;
};

const TStepCase StepCases[] = {
    {"New Item", "A(B) C D N", "A|A", "N|N",
     [](TTreeList& tree) {
         auto step = std::make_unique<TInsertStep>("New Item");
         TTreeListTextNode* item = tree.AddItem();
         item->SetText(TreeListColumnName, "N");
         step->FocusBefore = tree.FocusedItem();
         step->FocusAfter = item;
         step->Add(tree, item);
         return step;
     }},
    {"Delete", "A(B) D", "C|C", "D|D",
     [](TTreeList& tree) {
         auto step = std::make_unique<TRemoveStep>("Delete");
         step->FocusAfter = Find(tree, "D");
         step->Remove(tree, Find(tree, "C"));
         return step;
     }},
    {"Indent", "A(B C) D", "C|C", "C|C",
     [](TTreeList& tree) {
         auto step = std::make_unique<TMoveStep>("Indent");
         TTreeListTextNode* a = Find(tree, "A");
         step->Move(tree, Find(tree, "C"), a, a->Count());
         return step;
     }},
    {"Move", "A(D B) C", "D|D", "D|D",
     [](TTreeList& tree) {
         auto step = std::make_unique<TMoveStep>("Move");
         step->MoveTo(tree, Find(tree, "D"), Find(tree, "A"), amAddChildFirst);
         return step;
     }},
    {"Rename", "A(Bee) C D", "B|B", "Bee|Bee",
     [](TTreeList& tree) {
         TTreeListTextNode* b = Find(tree, "B");
         const int count = b->TextCount();
         b->SetText(TreeListColumnName, "Bee");
         return std::make_unique<TTextStep>("Rename", b, TreeListColumnName, "B", count);
     }},
    {"Typing in D", "A(B) C D", "D|D", "D|D",
     [](TTreeList& tree) {
         // The description is a string the item did not have: undone, it goes.
         TTreeListTextNode* d = Find(tree, "D");
         const int count = d->TextCount();
         d->SetText(TreeListColumnDesc, "typed");
         return std::make_unique<TTextStep>("Typing in D", d, TreeListColumnDesc, "", count);
     }},
    {"Change Icon", "A(B) C D", "C|C", "C|C",
     [](TTreeList& tree) {
         TTreeListTextNode* c = Find(tree, "C");
         c->SetImageIndex(7);
         return std::make_unique<TIconStep>("Change Icon", c, 0, 7);
     }},
    {"Move Down", "C A(B) D", "A|A", "A|A",
     [](TTreeList& tree) {
         auto step = std::make_unique<TReorderStep>("Move Down");
         step->Add(tree, {nullptr, {Find(tree, "C"), Find(tree, "A"), Find(tree, "D")}});
         step->Show({Find(tree, "A")});
         step->Redo(tree);
         return step;
     }},
};

void PrintTo(const TStepCase& c, std::ostream* out)
{
    *out << c.step;
}

class UndoStep : public ::testing::TestWithParam<TStepCase> {};

}  // namespace

// Each kind of step undoes to the exact bytes before the change and redoes to
// those after it, and shows the items it touched, or the item focused before
// or after it when they are out of the tree.
TEST_P(UndoStep, UndoesAndRedoesToTheExactBytesAndShowsWhatItTouched)
{
    const TStepCase& c = GetParam();
    TTreeList tree;
    BuildOutline(tree, ">A\n\tB\nC\nD");
    TUndoHistory history(tree);
    const std::string before = WriteItems(tree);
    history.Push(c.change(tree));
    const std::string after = WriteItems(tree);
    ASSERT_EQ(Dump(tree), c.after);
    ASSERT_NE(after, before);
    ASSERT_EQ(history.UndoName(), c.step);
    for (int round = 0; round < 2; ++round) {
        history.Undo();
        EXPECT_EQ(WriteItems(tree), before) << "round " << round;
        EXPECT_EQ(Shown(tree), c.shownUndone) << "round " << round;
        history.Redo();
        EXPECT_EQ(WriteItems(tree), after) << "round " << round;
        EXPECT_EQ(Shown(tree), c.shownRedone) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, UndoStep, ::testing::ValuesIn(StepCases));
