#include "treelistmodel.h"
#include "treelistview.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using Items = std::vector<TTreeListTextNode*>;

TTreeListTextNode* Add(TTreeList& tree, TTreeListTextNode* parent, const std::string& name)
{
    TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
    item->SetText(TreeListColumnName, name);
    return item;
}

QString Name(const QAbstractItemModel& model, const QModelIndex& index)
{
    return model.data(index, Qt::DisplayRole).toString();
}

// Walks model and tree side by side: same rows, same items, same names.
void ExpectMirrors(const TTreeListModel& model, const TTreeList& tree, const QModelIndex& parent = {})
{
    TTreeListTextNode* parentItem = model.ItemOf(parent);
    const int count = parentItem ? parentItem->Count() : tree.TopItemCount();
    ASSERT_EQ(model.rowCount(parent), count);
    for (int row = 0; row < count; ++row) {
        TTreeListTextNode* item = parentItem ? parentItem->Child(row) : tree.TopItem(row);
        const QModelIndex index = model.index(row, 0, parent);
        ASSERT_EQ(model.ItemOf(index), item);
        EXPECT_EQ(model.parent(index), parent);
        EXPECT_EQ(Name(model, index).toStdString(), item->GetText(TreeListColumnName));
        ExpectMirrors(model, tree, index);
    }
}

// The model tester reports through warnings of its own category.
class ModelTestFailures {
public:
    ModelTestFailures() { s_failures.clear(); m_previous = qInstallMessageHandler(&Handler); }
    ~ModelTestFailures() { qInstallMessageHandler(m_previous); }
    const std::vector<std::string>& List() const { return s_failures; }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg && context.category &&
            QByteArray(context.category) == "qt.modeltest")
            s_failures.push_back(message.toStdString());
    }
    static inline std::vector<std::string> s_failures;
    QtMessageHandler m_previous;
};

QIcon SolidIcon(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

void ShowView(TTreeListView& view, int width = 300, int height = 300)
{
    view.resize(width, height);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QApplication::processEvents();
}

} // namespace

// The tree's operations in the order a user session could run them, checked
// by Qt's model tester, with and without a view keeping persistent indexes.
class ModelScriptTest : public ::testing::TestWithParam<bool> {};

TEST_P(ModelScriptTest, TreeOperationsKeepTheModelConsistent)
{
    TTreeList tree;
    std::unique_ptr<TTreeListView> view;
    std::unique_ptr<TTreeListModel> ownModel;
    if (GetParam())
        view = std::make_unique<TTreeListView>(tree);
    else
        ownModel = std::make_unique<TTreeListModel>(tree);
    TTreeListModel& model = view ? *view->Model() : *ownModel;
    ModelTestFailures failures;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        ExpectMirrors(model, tree);
        EXPECT_TRUE(failures.List().empty()) << failures.List().front();
    };

    TTreeListTextNode* a = Add(tree, nullptr, "A");
    TTreeListTextNode* b = Add(tree, nullptr, "B");
    TTreeListTextNode* c = Add(tree, nullptr, "C");
    TTreeListTextNode* a1 = Add(tree, a, "A1");
    TTreeListTextNode* a2 = Add(tree, a, "A2");
    TTreeListTextNode* a1a = Add(tree, a1, "A1a");
    tree.InsertItem(b)->SetText(TreeListColumnName, "before B");
    check("inserts");

    a->SetExpanded(true);
    a2->SetFocused();
    a2->SetSelected(true);
    tree.Delete(a2);
    check("delete the focused item");
    EXPECT_EQ(tree.FocusedItem(), a1);
    if (view) {
        EXPECT_EQ(view->currentIndex(), model.IndexOf(a1));
    }

    struct Move { TTreeListTextNode *item, *target; TItemAttachMode mode; const char* what; };
    const Move moves[] = {
        {c, a, amAddFirst, "to the front of its own list"},
        {c, c, amAddFirst, "no-op: already first"},
        {c, c, amAdd, "to the end of its own list"},
        {c, c, amAdd, "no-op: already last"},
        {a, c, amInsert, "forward, before a later sibling"},
        {c, b, amInsert, "backward, before an earlier sibling"},
        {b, c, amInsert, "no-op: already right before the target"},
        {a1a, b, amAddChild, "into another parent, emptying the old one"},
        {a1, b, amAddChildFirst, "to the front of another child list"},
        {b, a, amAddChild, "a subtree into a childless item"},
        {a1a, a1, amAdd, "to the end of a sibling list"},
        {a1, a1, amAddChild, "refused: onto itself"},
        {a, a1a, amAddChild, "refused: into its own subtree"},
        {b, a, amAdd, "back to the top level"},
    };
    for (const Move& move : moves) {
        move.item->MoveTo(move.target, move.mode);
        check(move.what);
    }

    tree.ExpandAll();
    a->SetImageIndex(5);
    check("expand all and an item change");
    tree.ClearItems();
    check("clear");
    TTreeListTextNode* x = Add(tree, nullptr, "X");
    Add(tree, x, "X1");
    check("filled again after a reset");
    tree.BeginReset();
    Add(tree, Add(tree, nullptr, "Y"), "Y1");
    tree.EndReset();
    check("bulk load");
    tree.Delete(x);
    check("delete a top-level item");
}

INSTANTIATE_TEST_SUITE_P(ModelAlone, ModelScriptTest, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(ModelInView, ModelScriptTest, ::testing::Values(true));

TEST(TreeListModelTest, DataAndFlags)
{
    TTreeList tree;
    TTreeListModel model(tree);
    TTreeListTextNode* utf8 = Add(tree, nullptr, "Gr\xC3\xB6\xC3\x9F" "e");
    TTreeListTextNode* ansi = Add(tree, nullptr, "caf\xE9");
    ansi->SetImageIndex(300);
    std::vector<int> asked;
    model.SetIconProvider([&](int imageIndex) {
        asked.push_back(imageIndex);
        return imageIndex == 0 ? SolidIcon(Qt::red) : QIcon();
    });

    const QModelIndex first = model.IndexOf(utf8);
    const QModelIndex second = model.IndexOf(ansi);
    EXPECT_EQ(Name(model, first), QString::fromUtf8("Gr\xC3\xB6\xC3\x9F" "e"));
    EXPECT_EQ(Name(model, second), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(model.data(second, Qt::EditRole).toString(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_FALSE(model.data(first, Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.data(first, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(model.data(second, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(asked, (std::vector<int>{0, 300}));

    const Qt::ItemFlags wanted = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable |
                                 Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    EXPECT_EQ(model.flags(first) & wanted, wanted);
    EXPECT_TRUE(model.flags(QModelIndex()).testFlag(Qt::ItemIsDropEnabled));

    // Names are not written through the model.
    EXPECT_FALSE(model.setData(first, QStringLiteral("other")));
    EXPECT_EQ(utf8->GetText(TreeListColumnName), "Gr\xC3\xB6\xC3\x9F" "e");

    std::vector<QModelIndex> changed;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& topLeft) { changed.push_back(topLeft); });
    ansi->SetText(TreeListColumnName, "new");
    EXPECT_EQ(changed, (std::vector<QModelIndex>{second}));
}

TEST(TreeListModelTest, ObserverLeavesWithTheModel)
{
    TTreeList tree;
    { TTreeListModel model(tree); }
    Add(tree, nullptr, "A");  // would reach a destroyed model otherwise
}

// Opens up what the tests look at.
class TestView : public TTreeListView {
public:
    using TTreeListView::TTreeListView;
    using TTreeListView::startDrag;
    using TTreeListView::state;
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
    Items ViewSelection() const
    {
        Items items;
        for (const QModelIndex& index : m_view->selectionModel()->selectedIndexes())
            items.push_back(m_view->Model()->ItemOf(index));
        std::sort(items.begin(), items.end());
        return items;
    }
    Items TreeSelection() const
    {
        Items items;
        for (int i = 0; i < m_tree.SelectedCount(); ++i)
            items.push_back(m_tree.SelectedItem(i));
        std::sort(items.begin(), items.end());
        return items;
    }
    // Tree and view agree on the focus, the selection and the given rows' expanded state.
    void ExpectState(TTreeListTextNode* focused, Items selected,
                     std::initializer_list<std::pair<TTreeListTextNode*, bool>> expanded) const
    {
        EXPECT_EQ(m_tree.FocusedItem(), focused);
        EXPECT_EQ(m_view->currentIndex(), focused ? Index(focused) : QModelIndex());
        std::sort(selected.begin(), selected.end());
        EXPECT_EQ(TreeSelection(), selected);
        EXPECT_EQ(ViewSelection(), selected);
        for (const auto& [item, open] : expanded) {
            EXPECT_EQ(item->Expanded(), open) << item->GetText(TreeListColumnName);
            EXPECT_EQ(m_view->isExpanded(Index(item)), open) << item->GetText(TreeListColumnName);
        }
    }

    TTreeList m_tree;
    TTreeListTextNode *m_a = nullptr, *m_a1 = nullptr, *m_a1a = nullptr, *m_a2 = nullptr, *m_b = nullptr;
    std::unique_ptr<TestView> m_view;
};

TEST_F(TreeListViewTest, TreeFocusAndSelectionAreMirrored)
{
    ShowView(*m_view);
    m_b->SetSelected(true);
    m_a2->SetFocused();  // makes A2 visible by expanding A, leaves the selection alone
    ExpectState(m_a2, {m_b}, {{m_a, true}});
    m_a1a->SetSelected(true);
    ExpectState(m_a2, {m_b, m_a1a}, {});
    m_b->SetSelected(false);
    ExpectState(m_a2, {m_a1a}, {});
    m_tree.ClearSelection();
    ExpectState(m_a2, {}, {});
}

TEST_F(TreeListViewTest, ClicksAndKeysGoThroughTheTree)
{
    ShowView(*m_view);
    int changes = 0;
    m_tree.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, Center(m_b));
    EXPECT_EQ(m_tree.FocusedItem(), m_b);
    EXPECT_EQ(TreeSelection(), Items{m_b});
    EXPECT_EQ(changes, 1);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier, Center(m_a));
    EXPECT_EQ(m_tree.FocusedItem(), m_a);
    EXPECT_EQ(TreeSelection(), ViewSelection());
    EXPECT_EQ(m_tree.SelectedCount(), 2);
    QTest::keyClick(m_view.get(), Qt::Key_Down);  // A is collapsed: B is next
    EXPECT_EQ(m_tree.FocusedItem(), m_b);
    EXPECT_EQ(TreeSelection(), Items{m_b});
    QTest::keyClick(m_view.get(), Qt::Key_Up, Qt::ControlModifier);  // moves the focus only
    EXPECT_EQ(m_tree.FocusedItem(), m_a);
    EXPECT_EQ(TreeSelection(), Items{m_b});
}

TEST(TreeListViewClickTest, ClickOnAPartlyVisibleRowSelectsThatRow)
{
    TTreeList tree;
    for (int i = 0; i < 40; ++i)
        Add(tree, nullptr, "item " + std::to_string(i));
    TestView view(tree);
    ShowView(view, 200, 100);
    auto rectOf = [&](int i) { return view.visualRect(view.Model()->IndexOf(tree.TopItem(i))); };
    // Make the viewport end in the middle of a row.
    const int rowHeight = rectOf(0).height();
    view.resize(200, view.height() - view.viewport()->height() + 3 * rowHeight + rowHeight / 2);
    QApplication::processEvents();
    const int height = view.viewport()->height();
    int cut = 0;
    while (cut < tree.TopItemCount() && !(rectOf(cut).top() < height - 2 && rectOf(cut).bottom() >= height))
        ++cut;
    ASSERT_LT(cut, tree.TopItemCount());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(rectOf(cut).center().x(), rectOf(cut).top() + 1));
    EXPECT_EQ(tree.FocusedItem(), tree.TopItem(cut));
    ASSERT_EQ(tree.SelectedCount(), 1);
    EXPECT_EQ(tree.SelectedItem(0), tree.TopItem(cut));
}

TEST_F(TreeListViewTest, ExpandedStateBothWays)
{
    ShowView(*m_view);
    m_view->expand(Index(m_a));
    m_a1->SetExpanded(true);
    ExpectState(m_a, {}, {{m_a, true}, {m_a1, true}});
    // Collapsing the parent of the focused item hands the focus to the parent.
    m_a1a->SetFocused();
    m_view->collapse(Index(m_a1));
    ExpectState(m_a1, {}, {{m_a, true}, {m_a1, false}});
    m_a->SetExpanded(false);
    ExpectState(m_a, {}, {{m_a, false}});
    m_tree.ExpandAll();
    ExpectState(m_a, {}, {{m_a, true}, {m_a1, true}});
}

TEST_F(TreeListViewTest, ExpandedBelowACollapsedParentShowsWhenTheParentOpens)
{
    m_tree.BeginReset();
    m_a1->SetExpanded(true);  // hidden: A stays collapsed
    m_tree.EndReset();
    ShowView(*m_view);
    m_view->expand(Index(m_a));
    EXPECT_TRUE(m_view->isExpanded(Index(m_a1)));
    EXPECT_TRUE(m_view->visualRect(Index(m_a1a)).isValid());
}

TEST_F(TreeListViewTest, ResetRestoresFocusSelectionAndExpandedRows)
{
    m_tree.BeginReset();
    m_a->SetExpanded(true);
    m_a2->SetSelected(true);
    m_a2->SetFocused();
    m_tree.EndReset();
    ExpectState(m_a2, {m_a2}, {{m_a, true}, {m_a1, false}});
    m_tree.ClearItems();
    ExpectState(nullptr, {}, {});
    ExpectState(Add(m_tree, nullptr, "first"), {}, {});  // the tree focuses it silently
}

TEST_F(TreeListViewTest, DeletingTheCurrentRowFollowsTheTreesFocus)
{
    ShowView(*m_view);
    m_a->SetExpanded(true);
    m_a2->SetFocused();
    m_a2->SetSelected(true);
    m_tree.Delete(m_a2);
    ExpectState(m_a1, {}, {});
    // Deleting an unfocused row leaves the focus alone, although Qt moves its
    // own current index when that row was current.
    m_b->SetFocused();
    m_tree.Delete(m_a);
    ExpectState(m_b, {}, {});
    m_tree.Delete(m_b);
    ExpectState(nullptr, {}, {});
}

TEST_F(TreeListViewTest, DestroyingTheViewLeavesTheTreeAlone)
{
    ShowView(*m_view);
    m_b->SetSelected(true);
    m_b->SetFocused();
    m_view.reset();
    EXPECT_EQ(m_tree.Presenter(), nullptr);
    EXPECT_EQ(m_tree.FocusedItem(), m_b);
    EXPECT_EQ(m_tree.SelectedCount(), 1);
    Add(m_tree, nullptr, "C");
}

struct HitCase {
    const char* where;
    TItemHitArea expected;
};

class TreeListHitTest : public TreeListViewTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(TreeListHitTest, AreaAtPoint)
{
    m_view->Model()->SetIconProvider([](int) { return SolidIcon(Qt::red); });
    m_a->SetExpanded(true);
    ShowView(*m_view);
    ASSERT_LT(m_view->columnWidth(0) + 5, m_view->viewport()->width());
    // The point for each case, from the view's own geometry.
    const int step = m_view->indentation();
    auto left = [&](TTreeListTextNode* item) { return m_view->visualRect(Index(item)).left(); };
    const std::map<std::string, QPoint> points = {
        {"label", {m_view->visualRect(Index(m_b)).right() - 1, Center(m_b).y()}},
        {"icon", {left(m_b) + 8, Center(m_b).y()}},
        {"indent_of_a_child", {step / 2, Center(m_a1).y()}},
        {"button_of_a_parent", {left(m_a) - step / 2, Center(m_a).y()}},
        {"branch_step_of_a_childless_child", {left(m_a2) - step / 2, Center(m_a2).y()}},
        {"right_of_the_column", {m_view->columnWidth(0) + 5, Center(m_b).y()}},
        {"below_the_last_row", {10, m_view->visualRect(Index(m_b)).bottom() + 5}},
    };
    const QPoint p = points.at(GetParam().where);
    EXPECT_EQ(m_view->HitTest(p.x(), p.y()), GetParam().expected) << p.x() << "," << p.y();
    EXPECT_EQ(m_tree.HitTest(p.x(), p.y()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, TreeListHitTest,
    ::testing::Values(HitCase{"label", iaLabel}, HitCase{"icon", iaIcon}, HitCase{"indent_of_a_child", iaIndent},
                      HitCase{"button_of_a_parent", iaButton}, HitCase{"branch_step_of_a_childless_child", iaIndent},
                      HitCase{"right_of_the_column", iaRight}, HitCase{"below_the_last_row", iaNone}),
    [](const auto& info) { return std::string(info.param.where); });

TEST_F(TreeListViewTest, IconAreaIsWhereTheIconIsPaintedAndItemAtFindsTheRow)
{
    m_view->Model()->SetIconProvider([](int) { return SolidIcon(QColor(255, 0, 0)); });
    ShowView(*m_view);
    const QImage image = m_view->viewport()->grab().toImage();
    const int y = Center(m_b).y();
    int painted = 0;
    for (int x = 0; x < image.width(); ++x) {
        const bool red = image.pixelColor(x, y) == QColor(255, 0, 0);
        painted += red ? 1 : 0;
        if (red) {
            EXPECT_EQ(m_view->HitTest(x, y), iaIcon) << x;
        } else if (m_view->HitTest(x, y) == iaIcon) {
            EXPECT_LT(std::abs(x - m_view->visualRect(Index(m_b)).left() - 8), 12) << x;  // margin of the icon
        }
    }
    EXPECT_EQ(painted, 16);

    EXPECT_EQ(m_view->ItemAt(Center(m_a).x(), Center(m_a).y()), m_a);
    EXPECT_EQ(m_tree.ItemAt(Center(m_b).x(), Center(m_b).y()), m_b);
    EXPECT_EQ(m_view->ItemAt(10, m_view->visualRect(Index(m_b)).bottom() + 5), nullptr);
}

struct RenameCase {
    const char* before;  // the name's bytes
    const char* typed;   // UTF-8
    Qt::Key key;
    const char* after;   // nullptr: cancelled, no edit reported
    bool changed;
};

class TreeListRenameTest : public TreeListViewTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(TreeListRenameTest, EditorCommitsOrCancels)
{
    const RenameCase& c = GetParam();
    struct Edit { TTreeListTextNode* node; bool changed; };
    std::vector<Edit> edits;
    m_tree.OnEdited = [&](TTreeList&, TTreeListTextNode* node, bool changed) { edits.push_back({node, changed}); };
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
    if (!c.after) {
        EXPECT_TRUE(edits.empty());
        EXPECT_EQ(m_a->GetText(TreeListColumnName), c.before);
        return;
    }
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].node, m_a);
    EXPECT_EQ(edits[0].changed, c.changed);
    EXPECT_EQ(m_a->GetText(TreeListColumnName), c.after);
    EXPECT_EQ(Name(*m_view->Model(), Index(m_a)), QString::fromUtf8(c.typed));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TreeListRenameTest,
    ::testing::Values(RenameCase{"A", "Bee", Qt::Key_Return, "Bee", true},
                      RenameCase{"A", "A", Qt::Key_Enter, "A", false},  // unchanged text
                      RenameCase{"A", "gone", Qt::Key_Escape, nullptr, false},
                      RenameCase{"A", "Ay", Qt::Key_Tab, "Ay", true}));

// The name keeps its encoding: Windows-1252 while it fits, UTF-8 otherwise.
INSTANTIATE_TEST_SUITE_P(
    Encodings, TreeListRenameTest,
    ::testing::Values(RenameCase{"caf\xE9", "caf\xC3\xA9s", Qt::Key_Return, "caf\xE9s", true},
                      RenameCase{"caf\xE9", "\xE2\x82\xAC", Qt::Key_Return, "\x80", true},  // the euro sign
                      RenameCase{"caf\xE9", "\xE2\x86\x92", Qt::Key_Return, "\xE2\x86\x92", true},
                      RenameCase{"", "\xC3\xA9", Qt::Key_Return, "\xC3\xA9", true},
                      RenameCase{"Gr\xC3\xB6\xC3\x9F" "e", "\xC3\xA9", Qt::Key_Return, "\xC3\xA9", true}));

TEST_F(TreeListViewTest, ClipboardHoldsTheSelectionInDocumentOrder)
{
    ShowView(*m_view);
    for (TTreeListTextNode* item : {m_b, m_a1a, m_a})
        item->SetSelected(true);
    const QString expected = QStringLiteral("Name\r\n\r\nA\r\nA1a\r\nB\r\n");
    EXPECT_EQ(m_view->ClipboardText(), expected);
    for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(m_view.get(), key, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), expected);
    }
    m_tree.ClearSelection();
    EXPECT_EQ(m_view->ClipboardText(), QStringLiteral("Name\r\n\r\n"));
}

TEST_F(TreeListViewTest, DragsAreAcceptedFromItselfOnly)
{
    QWidget other;
    EXPECT_TRUE(m_view->AcceptsDragFrom(m_view.get()));
    EXPECT_FALSE(m_view->AcceptsDragFrom(&other));
    EXPECT_FALSE(m_view->AcceptsDragFrom(nullptr));
    QObject* asked = nullptr;
    m_view->OnDragOver = [&](QObject* source) {
        asked = source;
        return source == &other;
    };
    EXPECT_TRUE(m_view->AcceptsDragFrom(&other));
    EXPECT_EQ(asked, &other);
    EXPECT_FALSE(m_view->AcceptsDragFrom(m_view.get()));
}

TEST_F(TreeListViewTest, DropReportsThePointAndMovesNothing)
{
    ShowView(*m_view);
    m_b->SetSelected(true);
    QMimeData mime;
    mime.setData(QString::fromLatin1(TTreeListModel::ItemsMimeType), "1");
    const QPoint at = Center(m_a);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;

    // A drag from outside (no source in this process) is refused.
    QDragMoveEvent refused(at, actions, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    m_view->OnDragOver = [](QObject*) { return true; };
    std::vector<QPoint> drops;
    m_view->OnDragDrop = [&](int x, int y) { drops.emplace_back(x, y); };
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::MoveAction);
    // Over a label the mark frames the row that would take the items as children.
    const QRect row = m_view->visualRect(m_view->Model()->IndexOf(m_a));
    EXPECT_FALSE(m_view->DropMarkIsLine());
    EXPECT_EQ(m_view->DropMark().top(), row.top());
    EXPECT_EQ(m_view->DropMark().height(), row.height());
    // Below the last row it is a line under that row: the items go to the end.
    const QPoint below(at.x(), m_view->viewport()->height() - 3);
    QDragMoveEvent moveBelow(below, actions, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &moveBelow);
    EXPECT_TRUE(m_view->DropMarkIsLine());
    EXPECT_EQ(m_view->DropMark().top(),
              m_view->visualRect(m_view->Model()->IndexOf(m_tree.LastVisible())).bottom() + 1);
    QDropEvent drop(QPointF(at), actions, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(drops, (std::vector<QPoint>{at}));
    EXPECT_TRUE(m_view->DropMark().isNull());
    EXPECT_EQ(m_view->state(), TestView::Idle);
    EXPECT_EQ(m_tree.TopItem(1), m_b);
    EXPECT_EQ(m_b->Parent(), nullptr);
    ExpectMirrors(*m_view->Model(), m_tree);
}

TEST_F(TreeListViewTest, FinishedDragLeavesTheRows)
{
    m_view->SetDragCursor(QCursor(QPixmap(16, 16)));
    ShowView(*m_view);
    m_a->SetSelected(true);
    m_view->startDrag(Qt::MoveAction);
    QApplication::processEvents();
    EXPECT_EQ(m_tree.TopItemCount(), 2);
    EXPECT_EQ(m_view->Model()->rowCount(), 2);
    EXPECT_EQ(m_tree.TopItem(0), m_a);
}
