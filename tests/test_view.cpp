#include "tests/viewtestkit.h"

#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"

#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using Items = std::vector<TTreeListTextNode*>;

// Opens up what the tests look at.
class TestView : public TTreeListView {
public:
    using TTreeListView::TTreeListView;
    using TTreeListView::state;
    using TTreeListView::RowOption;
    static constexpr State Editing = EditingState;
    static constexpr State Idle = NoState;
};

// A tree A(A1(A1a), A2), B shown in a view.
class TreeListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_a = Add(m_tree, nullptr, "A");
        m_a1 = Add(m_tree, m_a, "A1");
        m_a1a = Add(m_tree, m_a1, "A1a");
        m_a2 = Add(m_tree, m_a, "A2");
        m_b = Add(m_tree, nullptr, "B");
        m_view = std::make_unique<TestView>(m_tree);
    }

    QModelIndex Index(TTreeListTextNode* item) const { return m_view->Model()->IndexOf(item); }
    QPoint Center(TTreeListTextNode* item) const { return m_view->visualRect(Index(item)).center(); }
    // The tree holds the focus, the selection and the given rows' expanded
    // state, and the view paints them so; Qt's selection model holds nothing.
    void ExpectState(TTreeListTextNode* focused, Items selected,
                     std::initializer_list<std::pair<TTreeListTextNode*, bool>> expanded = {}) const
    {
        EXPECT_EQ(m_tree.FocusedItem(), focused);
        EXPECT_EQ(m_view->FocusedIndex(), focused ? Index(focused) : QModelIndex());
        EXPECT_FALSE(m_view->selectionModel()->currentIndex().isValid());
        EXPECT_FALSE(m_view->selectionModel()->hasSelection());
        Items inTree, painted;
        for (int i = 0; i < m_tree.SelectedCount(); ++i)
            inTree.push_back(m_tree.SelectedItem(i));
        for (TTreeListTextNode* item = m_tree.TopItem(0); item; item = m_tree.NextInDocument(item))
            if (m_view->RowOption(Index(item)).state.testFlag(QStyle::State_Selected))
                painted.push_back(item);
        for (Items* items : {&selected, &inTree, &painted})
            std::sort(items->begin(), items->end());
        EXPECT_EQ(inTree, selected);
        EXPECT_EQ(painted, selected);
        for (const auto& [item, open] : expanded) {
            EXPECT_EQ(item->Expanded(), open) << item->GetText(TreeListColumnName);
            EXPECT_EQ(m_view->isExpanded(Index(item)), open) << item->GetText(TreeListColumnName);
        }
    }

    TTreeList m_tree;
    TTreeListTextNode *m_a = nullptr, *m_a1 = nullptr, *m_a1a = nullptr, *m_a2 = nullptr, *m_b = nullptr;
    std::unique_ptr<TestView> m_view;
};

TEST_F(TreeListViewTest, ClicksAndKeysGoThroughTheTree)
{
    m_a->SetExpanded(true);
    ShowView(*m_view);
    int changes = 0;
    m_tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    const QRect rowB = m_view->visualRect(Index(m_b));
    // The viewport ends in the middle of B's row: a click there still selects B.
    m_view->resize(300, m_view->height() - m_view->viewport()->height() + rowB.top() + rowB.height() / 2);
    QApplication::processEvents();
    ASSERT_GT(m_view->visualRect(Index(m_b)).bottom(), m_view->viewport()->height());
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, QPoint(rowB.center().x(), rowB.top() + 1));
    ExpectState(m_b, {m_b});
    EXPECT_EQ(changes, 1);
    QTest::keyClick(m_view.get(), Qt::Key_Up, Qt::ControlModifier);  // moves the focus only
    ExpectState(m_a2, {m_b});
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier, Center(m_a));
    ExpectState(m_a, {m_a, m_b});
}

// One click or key: on a row by name, beside the rows ("-"), or a key.
struct TInput {
    const char* row;
    int key;
    Qt::KeyboardModifiers modifiers = {};
    Qt::MouseButton button = Qt::LeftButton;
    const char* dragTo = nullptr;  // a press on `row`, a move to here and the release
};
TInput Click(const char* row, Qt::KeyboardModifiers modifiers = {}) { return {row, 0, modifiers}; }
TInput RightClick(const char* row) { return {row, 0, {}, Qt::RightButton}; }
TInput Key(int key, Qt::KeyboardModifiers modifiers = {}) { return {nullptr, key, modifiers}; }
TInput Drag(const char* from, const char* to) { return {from, 0, {}, Qt::LeftButton, to}; }

// After the inputs: the focused item, the selection, and how often the tree
// told its owner of a new focus and of a new selection count.
struct TSelectCase {
    const char* name;
    std::vector<TInput> inputs;
    const char* focused;
    const char* selected;  // names in document order, space-separated
    int focusChanges;
    int countChanges;
};

class TreeListSelectTest : public TreeListViewTest, public ::testing::WithParamInterface<TSelectCase> {};

// The rows are A, A1, A2, B (A open, A1 closed); A has been clicked.
TEST_P(TreeListSelectTest, ClicksAndKeysSelectThroughTheTree)
{
    const TSelectCase& c = GetParam();
    m_a->SetExpanded(true);
    ShowView(*m_view);
    m_view->setFocus();
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, Center(m_a));
    int focusChanges = 0, countChanges = 0;
    m_tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++focusChanges; };
    m_tree.OnSelectedCountChange = [&](TTreeList&) { ++countChanges; };
    const std::pair<std::string, TTreeListTextNode*> rows[] = {{"A", m_a}, {"A1", m_a1}, {"A2", m_a2}, {"B", m_b}};
    for (const TInput& input : c.inputs) {
        if (input.key) {
            QTest::keyClick(m_view.get(), static_cast<Qt::Key>(input.key), input.modifiers);
            continue;
        }
        auto pointOn = [&](const char* row) {
            for (const auto& [name, item] : rows)
                if (name == row)
                    return Center(item);
            return QPoint(10, m_view->visualRect(Index(m_b)).bottom() + 10);
        };
        const QPoint at = pointOn(input.row);
        if (input.dragTo) {
            QTest::mousePress(m_view->viewport(), input.button, input.modifiers, at);
            QTest::mouseMove(m_view->viewport(), pointOn(input.dragTo));
            QTest::mouseRelease(m_view->viewport(), input.button, input.modifiers, pointOn(input.dragTo));
        } else {
            QTest::mouseClick(m_view->viewport(), input.button, input.modifiers, at);
        }
        QTest::qWait(QApplication::doubleClickInterval() / 4);
    }
    std::string selected;
    for (int i = 0; i < m_tree.SelectedCount(); ++i)
        selected += (i ? " " : "") + std::string(m_tree.SelectedItem(i)->GetText(TreeListColumnName));
    ASSERT_NE(m_tree.FocusedItem(), nullptr);
    EXPECT_EQ(m_tree.FocusedItem()->GetText(TreeListColumnName), c.focused);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(focusChanges, c.focusChanges);
    EXPECT_EQ(countChanges, c.countChanges);
    Items painted;
    for (int i = 0; i < m_tree.SelectedCount(); ++i)
        painted.push_back(m_tree.SelectedItem(i));
    ExpectState(m_tree.FocusedItem(), painted);
}

INSTANTIATE_TEST_SUITE_P(
    ExtendedSelection, TreeListSelectTest,
    ::testing::Values(
        TSelectCase{"click", {Click("B")}, "B", "B", 1, 0},
        TSelectCase{"ctrlClickAdds", {Click("A2", Qt::ControlModifier)}, "A2", "A A2", 1, 1},
        TSelectCase{"ctrlClickTakesOut", {Click("A2", Qt::ControlModifier), Click("A", Qt::ControlModifier)},
                    "A", "A2", 2, 2},
        TSelectCase{"shiftClickSelectsTheRows", {Click("A2", Qt::ShiftModifier)}, "A2", "A A1 A2", 1, 1},
        TSelectCase{"shiftClickShrinks", {Click("B", Qt::ShiftModifier), Click("A1", Qt::ShiftModifier)},
                    "A1", "A A1", 2, 2},
        TSelectCase{"ctrlClickStartsTheNextRange", {Click("B", Qt::ControlModifier), Click("A1", Qt::ShiftModifier)},
                    "A1", "A A1 A2 B", 2, 2},
        TSelectCase{"clickOnASelectedRowSelectsItAlone", {Click("B", Qt::ControlModifier), Click("A")},
                    "A", "A", 2, 2},
        TSelectCase{"rightClickSelects", {RightClick("A2")}, "A2", "A2", 1, 0},
        TSelectCase{"rightClickOnASelectedRowKeepsTheSelection", {Click("B", Qt::ControlModifier), RightClick("A")},
                    "A", "A B", 2, 1},
        TSelectCase{"shiftClickAfterAKeyStartsAtTheKeysRow", {Key(Qt::Key_Down), Click("B", Qt::ShiftModifier)},
                    "B", "A1 A2 B", 2, 1},
        TSelectCase{"pageDown", {Key(Qt::Key_PageDown)}, "B", "B", 1, 0},
        TSelectCase{"clickBesideTheRowsClears", {Click("-")}, "A", "", 0, 1},
        TSelectCase{"draggingFromBesideTheRowsSelectsThem", {Drag("-", "A1")}, "A1", "A1 A2 B", 1, 1},
        TSelectCase{"draggingAnUnselectedItemSelectsItOnly", {Drag("A2", "B")}, "A2", "A2", 1, 0},
        TSelectCase{"down", {Key(Qt::Key_Down)}, "A1", "A1", 1, 0},
        TSelectCase{"shiftDownTwice", {Key(Qt::Key_Down, Qt::ShiftModifier), Key(Qt::Key_Down, Qt::ShiftModifier)},
                    "A2", "A A1 A2", 2, 2},
        TSelectCase{"shiftEnd", {Key(Qt::Key_End, Qt::ShiftModifier)}, "B", "A A1 A2 B", 1, 1},
        TSelectCase{"ctrlDownThenCtrlSpace",
                    {Key(Qt::Key_Down, Qt::ControlModifier), Key(Qt::Key_Space, Qt::ControlModifier)}, "A1", "A A1", 1,
                    1},
        TSelectCase{"rightOpensThenEnters", {Key(Qt::Key_Down), Key(Qt::Key_Right), Key(Qt::Key_Right)},
                    "A1a", "A1a", 2, 0},
        TSelectCase{"leftGoesToTheParent", {Key(Qt::Key_Down), Key(Qt::Key_Left)}, "A", "A", 2, 0},
        TSelectCase{"selectAllTakesEveryRowShown", {Key(Qt::Key_A, Qt::ControlModifier)}, "A", "A A1 A2 B", 0, 1},
        TSelectCase{"typingGoesToTheName", {Key(Qt::Key_B)}, "B", "B", 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TreeListViewTest, TreeStateIsMirroredAndRowsOpenBothWays)
{
    ShowView(*m_view);
    m_b->SetSelected(true);
    m_a2->SetFocused();  // makes A2 visible by expanding A, leaves the selection alone
    m_a1a->SetSelected(true);  // hidden below the collapsed A1
    ExpectState(m_a2, {m_b, m_a1a}, {{m_a, true}, {m_a1, false}});
    m_tree.ClearSelection();
    m_view->expand(Index(m_a1));
    ExpectState(m_a2, {}, {{m_a1, true}});
    // Collapsing the parent of the focused item hands the focus to the parent.
    m_a1a->SetFocused();
    m_view->collapse(Index(m_a1));
    ExpectState(m_a1, {}, {{m_a1, false}});
    m_a->SetExpanded(false);
    ExpectState(m_a, {}, {{m_a, false}});
    m_tree.ExpandAll();
    ExpectState(m_a, {}, {{m_a, true}, {m_a1, true}});
}

TEST_F(TreeListViewTest, ResetRestoresFocusSelectionAndExpandedRows)
{
    m_tree.BeginReset();
    m_a1->SetExpanded(true);  // hidden: A stays collapsed
    m_b->SetSelected(true);
    m_b->SetFocused();
    m_tree.EndReset();
    ExpectState(m_b, {m_b}, {{m_a, false}});
    ShowView(*m_view);
    m_view->expand(Index(m_a));
    EXPECT_TRUE(m_view->isExpanded(Index(m_a1)));
    m_tree.ClearItems();
    ExpectState(nullptr, {});
    ExpectState(Add(m_tree, nullptr, "first"), {});  // the tree focuses it silently
}

TEST_F(TreeListViewTest, DeletingTheCurrentRowFollowsTheTreesFocus)
{
    ShowView(*m_view);
    m_a2->SetFocused();  // opens A
    m_a2->SetSelected(true);
    m_tree.Delete(m_a2);
    ExpectState(m_a1, {});
    // Deleting an unfocused row leaves the focus alone, although Qt moves its
    // own current index when that row was current.
    m_b->SetFocused();
    m_tree.Delete(m_a);
    ExpectState(m_b, {});
}

TEST_F(TreeListViewTest, HitAreasAndItemsFollowTheViewsGeometry)
{
    m_view->Model()->SetIconProvider([](int) { return SolidIcon(Qt::red); });
    m_a->SetExpanded(true);
    ShowView(*m_view);
    ASSERT_LT(m_view->columnWidth(0) + 5, m_view->viewport()->width());
    const int step = m_view->indentation();
    const QRect rowB = m_view->visualRect(Index(m_b));
    auto left = [&](TTreeListTextNode* item) { return m_view->visualRect(Index(item)).left(); };
    const std::pair<QPoint, TItemHitArea> cases[] = {
        {{rowB.right() - 1, rowB.center().y()}, iaLabel},
        {{rowB.left() + 8, rowB.center().y()}, iaIcon},
        {{step / 2, Center(m_a1).y()}, iaIndent},
        {{left(m_a) - step / 2, Center(m_a).y()}, iaButton},
        {{left(m_a2) - step / 2, Center(m_a2).y()}, iaIndent},  // branch step of a childless child
        {{m_view->columnWidth(0) + 5, rowB.center().y()}, iaRight},
        {{10, rowB.bottom() + 5}, iaNone},
    };
    for (const auto& [p, area] : cases)
        EXPECT_EQ(m_view->HitTest(p.x(), p.y()), area) << p.x() << "," << p.y();
    EXPECT_EQ(m_view->ItemAt(Center(m_a1).x(), Center(m_a1).y()), m_a1);

    // The icon area is where the icon is painted, give or take its margin.
    const QImage image = m_view->viewport()->grab().toImage();
    int painted = 0;
    for (int x = 0; x < image.width(); ++x) {
        const bool red = image.pixelColor(x, rowB.center().y()) == QColor(Qt::red);
        painted += red ? 1 : 0;
        if (red) {
            EXPECT_EQ(m_view->HitTest(x, rowB.center().y()), iaIcon) << x;
        } else if (m_view->HitTest(x, rowB.center().y()) == iaIcon) {
            EXPECT_LT(std::abs(x - rowB.left() - 8), 12) << x;
        }
    }
    EXPECT_EQ(painted, 16);
}

// Letters typed in quick succession search together among the focused
// item's siblings; after a pause a new search starts.
TEST(TreeListViewKeys, TypingSearchesTheNames)
{
    TTreeList tree;
    for (const char* name : {"Apple", "Banana", "Berry", "Cherry"})
        Add(tree, nullptr, name);
    TTreeListView view(tree);
    ShowView(view);
    view.setFocus();
    std::string seen;
    for (Qt::Key key : {Qt::Key_B, Qt::Key_E, Qt::Key_B, Qt::Key_B}) {
        QTest::keyClick(&view, key);
        seen += std::string(tree.FocusedItem()->GetText(TreeListColumnName)) + " ";
    }
    QTest::qWait(QApplication::keyboardInputInterval() + 100);
    QTest::keyClick(&view, Qt::Key_C);
    seen += std::string(tree.FocusedItem()->GetText(TreeListColumnName));
    EXPECT_EQ(seen, "Banana Berry Berry Berry Cherry");
    EXPECT_EQ(tree.SelectedCount(), 1);
}

// The name's bytes before, the typed UTF-8 text, and the bytes after (nullptr: cancelled).
struct RenameCase { const char *before, *typed; Qt::Key key; const char* after; bool changed; };

class TreeListRenameTest : public TreeListViewTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(TreeListRenameTest, EditorCommitsOrCancels)
{
    const RenameCase& c = GetParam();
    using Edits = std::vector<std::pair<TTreeListTextNode*, bool>>;
    Edits edits;
    m_tree.OnEdited = [&](TTreeList&, TTreeListTextNode* node, bool changed) { edits.emplace_back(node, changed); };
    m_a->SetText(TreeListColumnName, c.before);
    ShowView(*m_view);
    m_a->SetFocused();
    m_tree.StartRename();
    auto* editor = m_view->findChild<QLineEdit*>(QStringLiteral("TreeListEditor"));
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(editor->text(), Name(*m_view->Model(), Index(m_a)));
    editor->setText(QString::fromUtf8(c.typed) + QStringLiteral("x"));
    editor->setText(QString::fromUtf8(c.typed));
    QTest::keyClick(editor, c.key);
    QApplication::processEvents();  // the commit is queued
    EXPECT_NE(m_view->state(), TestView::Editing);  // Tab must not open the next row's editor
    EXPECT_EQ(m_a->GetText(TreeListColumnName), c.after ? c.after : c.before);
    EXPECT_EQ(edits, (c.after ? Edits{{m_a, c.changed}} : Edits{}));
}

// Names keep their encoding (Windows-1252 while it fits, UTF-8 otherwise);
// an empty name has none and becomes UTF-8.
INSTANTIATE_TEST_SUITE_P(
    KeysAndEncodings, TreeListRenameTest,
    ::testing::Values(RenameCase{"A", "A", Qt::Key_Enter, "A", false},
                      RenameCase{"A", "gone", Qt::Key_Escape, nullptr, false},
                      RenameCase{"A", "Ay", Qt::Key_Tab, "Ay", true},
                      RenameCase{"caf\xE9", "caf\xC3\xA9s", Qt::Key_Return, "caf\xE9s", true},
                      RenameCase{"", "\xC3\xA9", Qt::Key_Return, "\xC3\xA9", true}));

// F2 opens the editor on the focused item; the focus moving on ends the
// edit and keeps what was typed.
TEST_F(TreeListViewTest, F2RenamesAndTheFocusMovingOnKeepsTheName)
{
    ShowView(*m_view);
    m_view->setFocus();
    QTest::keyClick(m_view.get(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(m_view->NameEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("A"));
    editor->setText(QStringLiteral("renamed"));
    m_b->SetFocused();
    EXPECT_EQ(m_a->GetText(TreeListColumnName), "renamed");
    EXPECT_EQ(m_view->NameEditor(), nullptr);
}

TEST_F(TreeListViewTest, ClipboardHoldsTheSelectionInDocumentOrder)
{
    ShowView(*m_view);
    QObject::connect(m_view.get(), &TTreeListView::CopyRequested, m_view.get(), &TTreeListView::CopyToClipboard);
    for (TTreeListTextNode* item : {m_b, m_a1a, m_a})
        item->SetSelected(true);
    for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(m_view.get(), key, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Name\r\n\r\nA\r\nA1a\r\nB\r\n"));
    }
}

TEST_F(TreeListViewTest, DropReportsThePointAndMovesNothing)
{
    ShowView(*m_view);
    m_b->SetSelected(true);
    QMimeData mime;
    mime.setData(QString::fromLatin1(TTreeListModel::ItemsMimeType), "1");
    const QPoint at = Center(m_a);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    auto send = [&](auto&& event) {
        QApplication::sendEvent(m_view->viewport(), &event);
        return event.isAccepted();
    };

    // A drag from outside (no source in this process) is refused.
    EXPECT_FALSE(send(QDragMoveEvent(at, actions, &mime, Qt::LeftButton, {})));
    m_view->SetDragSources({nullptr});
    std::vector<QPoint> drops;
    QObject::connect(m_view.get(), &TTreeListView::DragDropped, [&](int x, int y) { drops.emplace_back(x, y); });
    EXPECT_TRUE(send(QDragEnterEvent(at, actions, &mime, Qt::LeftButton, {})));
    EXPECT_TRUE(send(QDragMoveEvent(at, actions, &mime, Qt::LeftButton, {})));
    // Over a label the mark frames the row that would take the items as children.
    const QRect row = m_view->visualRect(Index(m_a));
    EXPECT_FALSE(m_view->DropMarkIsLine());
    EXPECT_EQ(m_view->DropMark().top(), row.top());
    EXPECT_EQ(m_view->DropMark().height(), row.height());
    // Below the last row it is a line under that row: the items go to the end.
    send(QDragMoveEvent(QPoint(at.x(), m_view->viewport()->height() - 3), actions, &mime, Qt::LeftButton, {}));
    EXPECT_TRUE(m_view->DropMarkIsLine());
    EXPECT_EQ(m_view->DropMark().top(), m_view->visualRect(Index(m_tree.LastVisible())).bottom() + 1);
    QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, {});
    EXPECT_TRUE(send(drop));
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(drops, (std::vector<QPoint>{at}));
    EXPECT_TRUE(m_view->DropMark().isNull());
    EXPECT_EQ(m_view->state(), TestView::Idle);
    EXPECT_EQ(m_tree.TopItem(1), m_b);
}

// The view lays its rows out from the tree's expanded state and keeps a count
// of rows below each open item. After each change the rows on screen must be
// the visible items in order, every point must find its row, and the focused
// item stays on screen.
struct TLayoutStep {
    const char* what;
    std::function<void(TTreeList&)> change;
};

class ViewLayout : public ::testing::TestWithParam<TLayoutStep> {};

TEST_P(ViewLayout, RowsFollowTheTree)
{
    TTreeList tree;
    for (int i = 0; i < 4; ++i) {
        TTreeListTextNode* top = Add(tree, nullptr, "T" + std::to_string(i));
        for (int j = 0; j < 4; ++j) {
            TTreeListTextNode* child = Add(tree, top, "T" + std::to_string(i) + std::to_string(j));
            for (int k = 0; k < 3; ++k)
                Add(tree, child, "T" + std::to_string(i) + std::to_string(j) + std::to_string(k));
        }
    }
    tree.ExpandAll();
    TTreeListView view(tree);
    view.resize(200, 150);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // The focus deep down, on screen but not at its top.
    TTreeListTextNode* focused = tree.TopItem(2)->Child(1)->Child(0);
    focused->SetFocused();
    QApplication::processEvents();

    GetParam().change(tree);
    QApplication::processEvents();

    std::vector<TTreeListTextNode*> visible;
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextVisible(item))
        visible.push_back(item);
    ASSERT_EQ(view.RowCount(), static_cast<int>(visible.size()));
    const int firstTop = view.visualRect(view.Model()->IndexOf(visible.front())).top();
    const int height = view.visualRect(view.Model()->IndexOf(visible.front())).height();
    for (size_t row = 0; row < visible.size(); ++row) {
        const QRect rect = view.visualRect(view.Model()->IndexOf(visible[row]));
        ASSERT_EQ(rect.top() - firstTop, static_cast<int>(row) * height) << row;
        if (rect.bottom() >= 0 && rect.top() < view.viewport()->height()) {
            EXPECT_EQ(view.ItemAt(rect.center().x(), rect.center().y()), visible[row]) << row;
        }
    }
    const QRect focusRect = view.visualRect(view.Model()->IndexOf(tree.FocusedItem()));
    EXPECT_TRUE(view.viewport()->rect().intersects(focusRect)) << focusRect.top();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ViewLayout,
    ::testing::Values(
        TLayoutStep{"nothing", [](TTreeList&) {}},
        TLayoutStep{"subtreeAboveDeleted", [](TTreeList& t) { t.Delete(t.TopItem(0)); }},
        TLayoutStep{"focusedItemDeleted", [](TTreeList& t) { t.Delete(t.FocusedItem()); }},
        TLayoutStep{"subtreeMovedToTheEnd", [](TTreeList& t) { t.TopItem(0)->MoveTo(t.TopItem(3), amAdd); }},
        TLayoutStep{"subtreeMovedIntoAnother",
                    [](TTreeList& t) { t.TopItem(1)->Child(2)->MoveTo(t.TopItem(3)->Child(0), amAddChild); }},
        TLayoutStep{"itemsInsertedAbove",
                    [](TTreeList& t) {
                        TTreeListTextNode* inserted = t.InsertItem(t.TopItem(1));
                        for (int i = 0; i < 5; ++i)
                            t.InsertItem(t.TopItem(1)->Child(0))->AddChild();
                        inserted->AddChild();
                    }},
        TLayoutStep{"parentAboveOpened",
                    [](TTreeList& t) {
                        t.TopItem(0)->SetExpanded(false);
                        t.TopItem(1)->SetExpanded(false);
                        t.TopItem(0)->SetExpanded(true);
                    }},
        TLayoutStep{"subtreeAppended",
                    [](TTreeList& t) {
                        TTreeList other;
                        TTreeListTextNode* top = other.AddItem();
                        top->AddChild()->AddChild();
                        other.ExpandAll();
                        t.AppendItemsFrom(other);
                    }},
        TLayoutStep{"parentAboveCollapsed", [](TTreeList& t) { t.TopItem(1)->SetExpanded(false); }},
        TLayoutStep{"lastChildOfAnOpenItemDeleted",
                    [](TTreeList& t) {
                        TTreeListTextNode* parent = t.TopItem(0)->Child(0);
                        while (parent->Count() > 0)
                            t.Delete(parent->Child(0));
                    }}),
    [](const auto& info) { return std::string(info.param.what); });

// A focused item is brought on screen sideways too: deep items in a narrow
// pane start right of its edge, and the pane scrolls back for a shallow one.
class ViewSideways : public ::testing::TestWithParam<int> {};

TEST_P(ViewSideways, FocusedItemsIconIsOnScreen)
{
    TTreeList tree;
    TTreeListTextNode* deep = Add(tree, nullptr, "top");
    for (int level = 1; level < GetParam(); ++level)
        deep = Add(tree, deep, "level " + std::to_string(level));
    TTreeListView view(tree);
    view.resize(130, 150);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (TTreeListTextNode* focused : {deep, tree.TopItem(0), deep}) {
        focused->SetFocused();
        const QRect rect = view.visualRect(view.Model()->IndexOf(focused));
        EXPECT_TRUE(rect.left() >= 0 && rect.left() + view.indentation() <= view.viewport()->width()) << rect.left();
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, ViewSideways, ::testing::Values(1, 5, 7, 12, 40));
