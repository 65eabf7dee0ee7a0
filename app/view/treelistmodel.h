#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <unordered_set>
#include <vector>

#include "document/treelist.h"

// Shows the item tree to Qt's item views. The tree stays the owner of every
// item: this adapter holds no rows of its own and only translates the tree's
// change notifications into the begin/end calls of QAbstractItemModel.
// Each index carries its item as internal pointer; its row is the item's
// cached position among its siblings.
class TTreeListModel : public QAbstractItemModel, public TTreeListObserver {
    Q_OBJECT

public:
    static constexpr const char* ItemsMimeType = "application/x-vektreevieweditor-items";

    explicit TTreeListModel(TTreeList& tree, QObject* parent = nullptr);
    ~TTreeListModel() override;

    TTreeList& Tree() const { return m_tree; }
    QModelIndex IndexOf(TTreeListTextNode* item) const;
    TTreeListTextNode* ItemOf(const QModelIndex& index) const;
    // The icon of an item is provider(item->ImageIndex()).
    using TIconProvider = QIcon (*)(int imageIndex);
    void SetIconProvider(TIconProvider provider);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    // Drops never change the model: the item commands move the items through the tree.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                            int destinationRow) override;
    void ItemMoved() override;
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>& parents) override;
    void ChildrenReordered() override;
    void AboutToReset() override;
    void ResetDone() override;
    void ItemChanged(TTreeListTextNode* item) override;

private:
    int ChildCount(TTreeListTextNode* parent) const;
    void EndChange(bool& begun, void (TTreeListModel::*end)());

    TTreeList& m_tree;
    TIconProvider m_iconProvider = nullptr;
    bool m_inserting = false;
    bool m_removing = false;
    bool m_moving = false;
    bool m_resetting = false;
    // The lists being reordered, and the parents Qt was told of.
    std::unordered_set<const TTreeListTextNode*> m_reordered;
    QList<QPersistentModelIndex> m_reorderedParents;
};
