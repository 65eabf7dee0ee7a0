#include "tests/viewtestkit.h"

#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Walks model and tree side by side: same rows, same items, same names.
void ExpectMirrors(const TTreeListModel& model, const TTreeList& tree, const QModelIndex& parent = {})
{
    TTreeListTextNode* parentItem = model.ItemOf(parent);
    const int count = parentItem ? parentItem->Count() : tree.TopItemCount();
    ASSERT_EQ(model.rowCount(parent), count);
    for (int row = 0; row < count; ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        ASSERT_EQ(model.ItemOf(index), parentItem ? parentItem->Child(row) : tree.TopItem(row));
        EXPECT_EQ(Name(model, index).toStdString(), model.ItemOf(index)->GetText(TreeListColumnName));
        ExpectMirrors(model, tree, index);
    }
}

// The model tester reports through warnings of its own category.
std::vector<std::string> g_modelTestFailures;
void CollectModelTestFailures(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && context.category && QByteArray(context.category) == "qt.modeltest")
        g_modelTestFailures.push_back(message.toStdString());
}
}  // namespace

// The tree's operations checked by Qt's model tester, with and without a
// view keeping persistent indexes.
class ModelScriptTest : public ::testing::TestWithParam<bool> {};

TEST_P(ModelScriptTest, TreeOperationsKeepTheModelConsistent)
{
    TTreeList tree;
    auto view = GetParam() ? std::make_unique<TTreeListView>(tree) : nullptr;
    auto ownModel = view ? nullptr : std::make_unique<TTreeListModel>(tree);
    TTreeListModel& model = view ? *view->Model() : *ownModel;
    g_modelTestFailures.clear();
    const QtMessageHandler previousHandler = qInstallMessageHandler(&CollectModelTestFailures);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    TTreeListTextNode* a = Add(tree, nullptr, "A");
    TTreeListTextNode* b = Add(tree, nullptr, "B");
    TTreeListTextNode* c = Add(tree, nullptr, "C");
    TTreeListTextNode* a1 = Add(tree, a, "A1");
    TTreeListTextNode* a1a = Add(tree, a1, "A1a");
    tree.InsertItem(b)->SetText(TreeListColumnName, "before B");
    ExpectMirrors(model, tree);

    // Top level starts as A(A1(A1a)), "before B", B, C.
    struct Move { TTreeListTextNode *item, *target; TItemAttachMode mode; const char* what; };
    const Move moves[] = {
        {c, a, amAddFirst, "backward to the front of its own list"},
        {c, c, amAddFirst, "no-op: already first"},
        {c, b, amAdd, "forward to the end of its own list"},
        {b, c, amInsert, "no-op: already right before the target"},
        {a1, b, amAddChild, "a subtree into a childless item, emptying the old parent"},
        {b, a1a, amAddChild, "refused: into its own subtree"},
        {a1, a, amAdd, "back to the top level"},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.what);
        move.item->MoveTo(move.target, move.mode);
        ExpectMirrors(model, tree);
    }

    tree.ExpandAll();
    tree.ClearItems();
    tree.BeginReset();
    Add(tree, Add(tree, nullptr, "Y"), "Y1");
    tree.EndReset();
    tree.Delete(Add(tree, nullptr, "X"));
    ExpectMirrors(model, tree);
    qInstallMessageHandler(previousHandler);
    EXPECT_TRUE(g_modelTestFailures.empty()) << g_modelTestFailures.front();
}

INSTANTIATE_TEST_SUITE_P(AloneAndInView, ModelScriptTest, ::testing::Bool());

TEST(TreeListModelTest, DataAndChanges)
{
    TTreeList tree;
    TTreeListModel model(tree);
    TTreeListTextNode* plain = Add(tree, nullptr, "A");
    TTreeListTextNode* ansi = Add(tree, nullptr, "caf\xE9");
    ansi->SetImageIndex(300);
    model.SetIconProvider([](int imageIndex) { return imageIndex == 0 ? SolidIcon(Qt::red) : QIcon(); });

    const QModelIndex first = model.IndexOf(plain);
    const QModelIndex second = model.IndexOf(ansi);
    EXPECT_EQ(Name(model, second), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_FALSE(model.data(first, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(model.data(second, Qt::DecorationRole).value<QIcon>().isNull());

    EXPECT_TRUE(model.flags(QModelIndex()).testFlag(Qt::ItemIsDropEnabled));  // a drop below the last row

    std::vector<QModelIndex> changed;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& topLeft) { changed.push_back(topLeft); });
    ansi->SetText(TreeListColumnName, "new");
    EXPECT_EQ(changed, (std::vector<QModelIndex>{second}));
}

TEST(TreeListModelTest, ModelAndViewLeaveTheTreeAlone)
{
    TTreeList tree;
    Add(tree, nullptr, "A")->SetSelected(true);
    { TTreeListView view(tree); ShowView(view); }
    EXPECT_EQ(tree.Presenter(), nullptr);
    EXPECT_EQ(tree.SelectedCount(), 1);
    Add(tree, nullptr, "B");  // would reach a destroyed model or view otherwise
}

