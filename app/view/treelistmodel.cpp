#include "app/view/treelistmodel.h"

#include <QMimeData>

#include "app/view/itemtext.h"

TTreeListModel::TTreeListModel(TTreeList& tree, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree)
{
    m_tree.AddObserver(this);
}

TTreeListModel::~TTreeListModel()
{
    m_tree.RemoveObserver(this);
}

QModelIndex TTreeListModel::IndexOf(TTreeListTextNode* item) const
{
    if (!item)
        return {};
    return createIndex(item->Index(), 0, item);
}

TTreeListTextNode* TTreeListModel::ItemOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TTreeListTextNode*>(index.internalPointer());
}

void TTreeListModel::SetIconProvider(TIconProvider provider)
{
    m_iconProvider = provider;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

int TTreeListModel::ChildCount(TTreeListTextNode* parent) const
{
    return parent ? parent->Count() : m_tree.TopItemCount();
}

QModelIndex TTreeListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    TTreeListTextNode* parentItem = ItemOf(parent);
    TTreeListTextNode* item = parentItem ? parentItem->Child(row) : m_tree.TopItem(row);
    return item ? createIndex(row, column, item) : QModelIndex();
}

QModelIndex TTreeListModel::parent(const QModelIndex& child) const
{
    TTreeListTextNode* item = ItemOf(child);
    return item ? IndexOf(item->Parent()) : QModelIndex();
}

int TTreeListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return ChildCount(ItemOf(parent));
}

int TTreeListModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

bool TTreeListModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant TTreeListModel::data(const QModelIndex& index, int role) const
{
    TTreeListTextNode* item = ItemOf(index);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return ItemBytesToText(item->GetText(TreeListColumnName)).text;
    case Qt::DecorationRole:
        if (m_iconProvider)
            return m_iconProvider(item->ImageIndex());
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags TTreeListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;  // a drop below the last row
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

Qt::DropActions TTreeListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions TTreeListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList TTreeListModel::mimeTypes() const
{
    return {QString::fromLatin1(ItemsMimeType)};
}

QMimeData* TTreeListModel::mimeData(const QModelIndexList& indexes) const
{
    // The payload only marks the drag as ours; the items to move are the
    // tree's selection when the drop arrives.
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(ItemsMimeType), QByteArray::number(indexes.size()));
    return data;
}

bool TTreeListModel::canDropMimeData(const QMimeData* data, Qt::DropAction /*action*/, int /*row*/,
                                     int /*column*/, const QModelIndex& /*parent*/) const
{
    return data && data->hasFormat(QString::fromLatin1(ItemsMimeType));
}

bool TTreeListModel::dropMimeData(const QMimeData* /*data*/, Qt::DropAction /*action*/, int /*row*/,
                                  int /*column*/, const QModelIndex& /*parent*/)
{
    return false;
}

void TTreeListModel::ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last)
{
    m_inserting = first >= 0 && first <= last && first <= ChildCount(parent);
    if (m_inserting)
        beginInsertRows(IndexOf(parent), first, last);
}

void TTreeListModel::ItemsInserted()
{
    EndChange(m_inserting, &TTreeListModel::endInsertRows);
}

void TTreeListModel::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    m_removing = first >= 0 && first <= last && last < ChildCount(parent);
    if (m_removing)
        beginRemoveRows(IndexOf(parent), first, last);
}

void TTreeListModel::ItemsRemoved()
{
    EndChange(m_removing, &TTreeListModel::endRemoveRows);
}

void TTreeListModel::ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                                        int destinationRow)
{
    m_moving = false;
    if (!item || destinationRow < 0 || destinationRow > ChildCount(destinationParent))
        return;
    const QModelIndex source = IndexOf(item->Parent());
    // False for a move that leaves every row where it is: then there is
    // nothing to end either.
    m_moving = beginMoveRows(source, item->Index(), item->Index(), IndexOf(destinationParent), destinationRow);
}

void TTreeListModel::ItemMoved()
{
    EndChange(m_moving, &TTreeListModel::endMoveRows);
}

void TTreeListModel::ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>& parents)
{
    m_reordered.clear();
    m_reordered.insert(parents.begin(), parents.end());
    m_reorderedParents.clear();
    // Many lists at once (a sorted subtree): the whole layout is told to change.
    if (parents.size() <= 16)
        for (TTreeListTextNode* parent : parents)
            m_reorderedParents.append(QPersistentModelIndex(IndexOf(parent)));
    emit layoutAboutToBeChanged(m_reorderedParents, QAbstractItemModel::VerticalSortHint);
}

void TTreeListModel::ChildrenReordered()
{
    // Each index carries its item, so an index the views keep only needs the
    // item's new row.
    QModelIndexList from, to;
    for (const QModelIndex& index : persistentIndexList()) {
        TTreeListTextNode* item = ItemOf(index);
        if (item && m_reordered.count(item->Parent()) > 0 && index.row() != item->Index()) {
            from.append(index);
            to.append(createIndex(item->Index(), index.column(), item));
        }
    }
    changePersistentIndexList(from, to);
    m_reordered.clear();
    emit layoutChanged(m_reorderedParents, QAbstractItemModel::VerticalSortHint);
    m_reorderedParents.clear();
}

void TTreeListModel::AboutToReset()
{
    m_resetting = true;
    beginResetModel();
}

void TTreeListModel::ResetDone()
{
    EndChange(m_resetting, &TTreeListModel::endResetModel);
}

// Ends what the matching begin call opened, if it opened anything.
void TTreeListModel::EndChange(bool& begun, void (TTreeListModel::*end)())
{
    if (begun)
        (this->*end)();
    begun = false;
}

void TTreeListModel::ItemChanged(TTreeListTextNode* item)
{
    if (!item)
        return;
    const QModelIndex idx = IndexOf(item);
    emit dataChanged(idx, idx);
}
