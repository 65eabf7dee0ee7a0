#include "tests/apptestkit.h"

#include "app/window/commandtable.h"
#include "tests/outlinetestkit.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>

namespace {

using Id = TActionId;

// The window's tree built from an outline (see BuildOutline).
void Build(TfrmTreeViewEditorMain& window, const std::string& outline)
{
    BuildOutline(window.TreeList(), outline);
}

struct TCommandCase {
    Id command;
    const char* start;     // an outline for Build
    const char* expected;  // the Dump after the command; none: the command is disabled
};

// Move Down's own cases are in test_outlineedit; here the command is wired.
// clang-format off
const TCommandCase CommandCases[] = {
    {Id::actEditItemMoveDown,     "A*\nB\nC",                  "B A C"},
    {Id::actEditItemMoveDown,     "A\nB*\nC*",                 nullptr},
    {Id::actEditItemIndent,       "A\nB*\nC*",                 "A(B C)"},
    {Id::actEditItemIndent,       "A\n\tX\nB*\n\tY",           "A(X B(Y))"},
    {Id::actEditItemIndent,       "A*\nB",                     nullptr},
    {Id::actEditItemIndent,       "A\n\tB*",                   nullptr},
    {Id::actEditItemOutdent,      "A\n\tB*\n\tC\nD",           "A(C) B D"},
    {Id::actEditItemOutdent,      "A\n\tB*\n\tC*\nD",          "A B C D"},
    {Id::actEditItemOutdent,      "A\n\tB\n\t\tC*\nD",         "A(B C) D"},
    {Id::actEditItemOutdent,      "A\nB*",                     nullptr},
    {Id::actEditItemDuplicate,    "A*\n\tB\nC",                "A(B) A(B) C"},
    {Id::actEditItemDuplicate,    "A\n\tB*\nC*",               "A(B B) C C"},
    {Id::actEditItemDuplicate,    ">A\nB",                     nullptr},
    {Id::actEditItemCut,          "A\nB*\n\tX\nC",             "A C"},
    {Id::actEditItemCut,          ">A\nB",                     nullptr},
    {Id::actEditItemSortChildren, ">P\n\tb10\n\tB2\n\ta1\n\tb2", "P(a1 B2 b2 b10)"},
    {Id::actEditItemSortChildren, ">P\n\tc\n\t\tz\n\t\ty\n\ta", "P(a c(z y))"},
    {Id::actEditItemSortChildren, ">P\n\tc",                   nullptr},
    {Id::actEditItemSortSubtree,  ">P\n\tc\n\t\tz\n\t\ty\n\ta", "P(a c(y z))"},
    {Id::actEditItemSortSubtree,  "Q\n>P",                     nullptr},
};
// clang-format on

class OutlineCommand : public WindowTest, public ::testing::WithParamInterface<TCommandCase> {};

}  // namespace

// Each command on a small tree: the shape it leaves, or disabled where it
// cannot apply. Every change is one step that Undo takes back.
TEST_P(OutlineCommand, ChangesTheTreeAsOneStepOrIsDisabled)
{
    const TCommandCase& c = GetParam();
    auto window = MakeWindow();
    Build(*window, c.start);
    TTreeList& tree = window->TreeList();
    const std::string before = Dump(tree);
    const std::string bytes = WriteItems(tree);
    window->Commands().UpdateActions();
    QAction* action = Action(*window, c.command);
    ASSERT_EQ(action->isEnabled(), c.expected != nullptr) << c.start;
    action->trigger();
    EXPECT_EQ(Dump(tree), c.expected ? c.expected : before) << c.start;
    if (!c.expected)
        return;
    EXPECT_EQ(window->Session().History().Count(), 1u);
    Run(*window, Id::actEditItemUndo);
    EXPECT_EQ(WriteItems(tree), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutlineCommand, ::testing::ValuesIn(CommandCases));

// The moved items keep their selection, and the focused one stays in view.
TEST_F(WindowTest, IndentKeepsTheMovedItemsSelectedAndShown)
{
    auto window = MakeWindow();
    Build(*window, "A\n>B*\nC*");
    Run(*window, Id::actEditItemIndent);
    TTreeList& tree = window->TreeList();
    TTreeListTextNode* b = Find(tree, "B");
    EXPECT_TRUE(b->Selected() && Find(tree, "C")->Selected());
    EXPECT_EQ(tree.FocusedItem(), b);
    EXPECT_TRUE(b->Parent()->Expanded());
}

// Copied in one window, pasted in another: names, descriptions, icons and
// children arrive whole, and the tree's plain text is on the clipboard too.
TEST_F(WindowTest, ClipboardCarriesWholeSubtreesBetweenWindows)
{
    const QString path = Path(QStringLiteral("x.trd"));
    WriteBytes(path, WorkedExampleBytes());
    auto source = MakeWindow({path});
    TTreeList& from = source->TreeList();
    from.TopItem(0)->Child(0)->SetImageIndex(215);
    from.TopItem(0)->SetFocused();
    from.TopItem(0)->SetSelected(true);
    Run(*source, Id::actEditItemCopy);
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->text(), QStringLiteral("Name\r\n\r\nA\r\n"));
    EXPECT_TRUE(clip->hasFormat(QString::fromLatin1(TItemCommands::ClipboardMimeType)));

    auto target = MakeWindow();
    Build(*target, ">Z");
    Run(*target, Id::actEditItemPaste);
    TTreeList& to = target->TreeList();
    ASSERT_EQ(Dump(to), "Z A(B)");
    TTreeListTextNode* a = to.TopItem(1);
    EXPECT_EQ(to.FocusedItem(), a);
    EXPECT_EQ(a->GetText(TreeListColumnDesc), "x");
    EXPECT_EQ(a->ImageIndex(), 3);
    EXPECT_EQ(a->Child(0)->ImageIndex(), 215);
    // One step: undone, the pasted items go.
    Run(*target, Id::actEditItemUndo);
    EXPECT_EQ(Dump(to), "Z");

    // Cut takes the items out without a question, and a paste brings them back.
    const std::string whole = WriteItems(from);
    Run(*source, Id::actEditItemCut);
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    EXPECT_EQ(from.TopItemCount(), 0);
    Run(*source, Id::actEditItemPaste);
    EXPECT_EQ(WriteItems(from), whole);
}

// Plain text from another program: one item per line that is not blank,
// nested by tabs or by groups of spaces.
TEST_F(WindowTest, PastedTextBecomesAnOutline)
{
    const std::pair<const char*, const char*> cases[] = {
        {"A\n  B\n    C\n  D\nE", "A(B(C) D) E"},
        {"A\r\n\tB\r\n\t\tC\r\n\r\n   \r\nD\r\n", "A(B(C)) D"},
        {"A\n\tB\n    C\n\t    D", "A(B C(D))"},
        {"    A\n    B\n        C", "A B(C)"},
        {"A\n\t\t\tB\nC", "A(B) C"},
        {"A\rB\r\tC", "A B(C)"},
    };
    for (const auto& [text, expected] : cases) {
        auto window = MakeWindow();
        Build(*window, ">Z\nY");
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        Run(*window, Id::actEditItemPaste);
        EXPECT_EQ(Dump(window->TreeList()), "Z " + std::string(expected) + " Y") << text;
    }
}

// Expanded state is view state: no step, whole tree or the focused subtree.
TEST_F(WindowTest, ExpandAndCollapseAllTakeNoStep)
{
    auto window = MakeWindow();
    Build(*window, "A\n\tB\n\t\tC\n>D\n\tE\n\t\tF");
    TTreeList& tree = window->TreeList();
    window->ItemCommands().ExpandOrCollapse(true, true);
    EXPECT_TRUE(Find(tree, "D")->Expanded() && Find(tree, "E")->Expanded());
    EXPECT_FALSE(Find(tree, "A")->Expanded());
    Run(*window, Id::actEditItemExpandAll);
    EXPECT_TRUE(Find(tree, "A")->Expanded() && Find(tree, "B")->Expanded());
    Find(tree, "F")->SetFocused();
    Run(*window, Id::actEditItemCollapseAll);
    EXPECT_FALSE(Find(tree, "A")->Expanded() || Find(tree, "E")->Expanded());
    EXPECT_EQ(tree.FocusedItem(), Find(tree, "D")) << "the focus leaves the hidden row";
    EXPECT_EQ(window->Session().History().Count(), 0u);
}
