#include "tests/apptestkit.h"

#include "app/view/treelistmodel.h"
#include "document/strtoint.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

namespace {
// A(A1, A2), B, C with descriptions "dA" ... and A collapsed.
struct TSample {
    TTreeListTextNode *a, *a1, *a2, *b, *c;
};

TTreeListTextNode* Add(TTreeList& tree, TTreeListTextNode* parent, const char* name)
{
    TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
    item->SetText(0, name);
    item->SetText(1, std::string("d") + name);
    return item;
}

TSample BuildSample(TTreeList& tree)
{
    TSample s{};
    s.a = Add(tree, nullptr, "A");
    s.a1 = Add(tree, s.a, "A1");
    s.a2 = Add(tree, s.a, "A2");
    s.b = Add(tree, nullptr, "B");
    s.c = Add(tree, nullptr, "C");
    return s;
}

std::string Names(const TTreeList& tree)
{
    std::string out;
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        out += std::string(static_cast<size_t>(item->Level()), '.') + std::string(item->GetText(0)) + " ";
    }
    return out;
}

// A point of the item's row whose hit area is `area`, found on screen.
QPoint PointOn(TTreeListView& view, TTreeListTextNode* item, TItemHitArea area)
{
    const QRect row = view.visualRect(view.Model()->IndexOf(item));
    const int y = row.center().y();
    for (int x = 0; x < view.viewport()->width(); ++x)
        if (view.HitTest(x, y) == area && view.ItemAt(x, y) == item)
            return QPoint(x, y);
    ADD_FAILURE() << "no point of area " << area << " on " << item->GetText(0);
    return QPoint();
}
}  // namespace

class ItemsTest : public PartsTest {
protected:
    void SetUp() override
    {
        PartsTest::SetUp();
        Start();
        // Hit areas and the in-place editor need the tree on screen.
        View().resize(500, 400);
        View().show();
        QApplication::processEvents();
        m_s = BuildSample(Tree());
    }
    TTreeListView& View() { return m_parts->treeView; }
    TItemCommands& Items() { return m_parts->items; }

    TSample m_s{};
};

struct TNewCase {
    const char* name;
    int focus;  // -1 none, else index into {a, a1, b}
    bool sub;
    const char* expected;
};

class NewItem : public ItemsTest, public ::testing::WithParamInterface<TNewCase> {};

TEST_P(NewItem, LandsWhereTheFocusSaysAndOpensTheEditor)
{
    const TNewCase& c = GetParam();
    TTreeListTextNode* focus[] = {m_s.a, m_s.a1, m_s.b};
    if (c.focus >= 0)
        focus[c.focus]->SetFocused();
    m_parts->iconComboBox.setEditText(QStringLiteral("7"));
    c.sub ? Items().actEditItemNewSubExecute() : Items().actEditItemNewExecute();
    // A new sub item shows under its parent, expanded even if it was collapsed.
    if (c.sub) {
        EXPECT_TRUE(View().isExpanded(View().Model()->IndexOf(Tree().FocusedItem()->Parent())));
    }
    Tree().ExpandAll();
    EXPECT_EQ(Names(Tree()), c.expected);
    TTreeListTextNode* created = Tree().FocusedItem();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetText(0), "");
    EXPECT_EQ(created->ImageIndex(), 7);
    EXPECT_EQ(Tree().SelectedCount(), 0);
    auto* editor = View().findChild<QLineEdit*>();
    EXPECT_TRUE(editor && editor->isVisible()) << "the new item opens in rename mode";
    EXPECT_TRUE(Modified());
    EXPECT_EQ(m_parts->memo.toPlainText(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewItem,
    ::testing::Values(TNewCase{"focusedTopLevel", 0, false, "A .A1 .A2 B C  "},
                      TNewCase{"focusedChild", 1, false, "A .A1 .A2 . B C "},
                      TNewCase{"subOfCollapsed", 0, true, "A .A1 .A2 . B C "},
                      TNewCase{"subOfChild", 1, true, "A .A1 .. .A2 B C "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ItemsTest, ABadIconTextCreatesNothing)
{
    m_s.b->SetFocused();
    m_parts->iconComboBox.setEditText(QStringLiteral("abc"));
    const std::string before = Names(Tree());
    for (auto command : {&TItemCommands::actEditItemNewExecute, &TItemCommands::actEditItemNewSubExecute}) {
        try {
            (Items().*command)();
            ADD_FAILURE() << "no conversion error";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
        }
    }
    EXPECT_EQ(Names(Tree()), before);
    EXPECT_FALSE(Modified());
}

TEST_F(ItemsTest, DeleteAsksFirstThenRemovesOnlyTheSelection)
{
    m_s.c->SetFocused();
    m_s.b->SetSelected(true);
    m_prompter->answers = {QMessageBox::Cancel, QMessageBox::Ok};
    Items().actEditItemDeleteExecute();
    EXPECT_EQ(m_prompter->questions, QStringList{QStringLiteral("Warning !|Delete selected nodes?")});
    EXPECT_EQ(Tree().TopItemCount(), 3);
    EXPECT_FALSE(Modified());
    Items().actEditItemDeleteExecute();
    EXPECT_EQ(Names(Tree()), "A .A1 .A2 C ");
    // The row above the formerly focused C was B, which is gone: the focus stays on C.
    EXPECT_EQ(Tree().FocusedItem(), m_s.c);
    EXPECT_TRUE(Modified());
}

TEST_F(ItemsTest, DeletingTheFocusedItemFocusesTheCollapsedSiblingAbove)
{
    m_s.b->SetFocused();
    m_s.b->SetSelected(true);
    m_prompter->answers = {QMessageBox::Ok};
    Items().actEditItemDeleteExecute();
    EXPECT_EQ(Tree().FocusedItem(), m_s.a);
    EXPECT_TRUE(m_s.a->Selected());
    EXPECT_EQ(m_parts->memo.toPlainText(), QStringLiteral("dA"));
    m_parts->memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&m_parts->memo, QStringLiteral("!"));
    EXPECT_EQ(m_s.a->GetText(1), "dA!");
}

struct TMoveUpCase {
    const char* name;
    int focus;  // 0: A1, 1: a new child X of A1, 2: the top-level B
    const char* expected;
};

class MoveUp : public ItemsTest, public ::testing::WithParamInterface<TMoveUpCase> {};

TEST_P(MoveUp, MovesTheFocusedItemOneLevelUp)
{
    TTreeListTextNode* candidates[] = {m_s.a1, Add(Tree(), m_s.a1, "X"), m_s.b};
    TTreeListTextNode* item = candidates[GetParam().focus];
    item->SetFocused();
    Items().actEditItemMoveUpExecute();
    Tree().ExpandAll();
    EXPECT_EQ(Names(Tree()), GetParam().expected);
    EXPECT_EQ(Tree().FocusedItem(), item);
    EXPECT_EQ(Modified(), item != m_s.b) << "a top-level item stays and changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveUp,
                         ::testing::Values(TMoveUpCase{"child", 0, "A .A2 B C A1 .X "},
                                           TMoveUpCase{"grandChild", 1, "A .A1 .A2 .X B C "},
                                           TMoveUpCase{"topLevel", 2, "A .A1 ..X .A2 B C "}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TDropCase {
    const char* name;
    TItemHitArea area;
    int target;  // index into {a, a1, b, c}; -1: below the last row
    const char* expected;
};

class Drop : public ItemsTest, public ::testing::WithParamInterface<TDropCase> {};

TEST_P(Drop, MovesTheSelectionByTheHitAreaUnderThePoint)
{
    const TDropCase& c = GetParam();
    m_s.a->SetExpanded(true);
    QApplication::processEvents();
    // Selected in reverse order: they still arrive in their tree order.
    m_s.c->SetSelected(true);
    m_s.a2->SetSelected(true);
    TTreeListTextNode* targets[] = {m_s.a, m_s.a1, m_s.b, m_s.c};
    QPoint point(5, View().viewport()->height() - 2);
    if (c.target >= 0)
        point = PointOn(View(), targets[c.target], c.area);
    else
        ASSERT_EQ(View().HitTest(point.x(), point.y()), iaNone);
    Items().TreeListDragDrop(point.x(), point.y());
    Tree().ExpandAll();
    EXPECT_EQ(Names(Tree()), c.expected);
    EXPECT_EQ(Tree().SelectedCount(), 0);
    EXPECT_TRUE(Modified());
    // The pane shows the item that has the focus.
    ASSERT_NE(Tree().FocusedItem(), nullptr);
    EXPECT_EQ(m_parts->memo.toPlainText().toStdString(), Tree().FocusedItem()->GetText(1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Drop,
    ::testing::Values(TDropCase{"ontoLabel", iaLabel, 2, "A .A1 B .A2 .C "},
                      TDropCase{"ontoIcon", iaIcon, 2, "A .A1 B .A2 .C "},
                      TDropCase{"ontoIndentOfChild", iaIndent, 1, "A .A2 .C .A1 B "},
                      TDropCase{"belowTheLastRow", iaNone, -1, "A .A1 B A2 C "},
                      TDropCase{"ontoAButton", iaButton, 0, "A .A1 .A2 .C B "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ItemsTest, DroppingAnItemOntoItsOwnChildChangesNothingButMarksModified)
{
    // Only the tree's own items are taken.
    EXPECT_TRUE(Items().TreeListDragOver(&View()));
    EXPECT_FALSE(Items().TreeListDragOver(&m_parts->memo));
    m_s.a->SetExpanded(true);
    QApplication::processEvents();
    m_s.a->SetSelected(true);
    const QPoint point = PointOn(View(), m_s.a1, iaLabel);
    Items().TreeListDragDrop(point.x(), point.y());
    EXPECT_EQ(Names(Tree()), "A .A1 .A2 B C ");
    EXPECT_TRUE(Modified());
}

TEST_F(ItemsTest, RenamingInPlaceStoresTheNameAndSelectsTheItem)
{
    // A rename that changed nothing is no edit.
    Items().TreeListEdited(m_s.b, false);
    EXPECT_FALSE(m_s.b->Selected());
    EXPECT_FALSE(Modified());
    m_s.b->SetFocused();
    Tree().StartRename();
    auto* editor = View().findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Bee"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(m_s.b->GetText(0), "Bee");
    EXPECT_TRUE(m_s.b->Selected());
    EXPECT_TRUE(Modified());
}

TEST_F(ItemsTest, ThePickerSetsTheIconOfTheFocusedItemOnlyWhenSomethingIsSelected)
{
    m_s.b->SetFocused();
    m_parts->iconComboBox.setEditText(QStringLiteral("5"));
    EXPECT_EQ(m_s.b->ImageIndex(), 0);
    EXPECT_FALSE(Modified());

    m_s.c->SetSelected(true);
    m_parts->iconComboBox.setEditText(QStringLiteral("$10"));
    EXPECT_EQ(m_s.b->ImageIndex(), 16);
    EXPECT_EQ(m_s.c->ImageIndex(), 0);
    EXPECT_TRUE(Modified());
    // The file stores the image index as the selected index too.
    EXPECT_EQ(m_s.b->SelectedIndex(), 16);
}
