#include "tests/viewtestkit.h"

#include "app/view/treelistview.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

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

void ShowView(TTreeListView& view)
{
    view.resize(300, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QApplication::processEvents();
}

QIcon SolidIcon(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}
