#include "app/view/treelistselectionmodel.h"

#include "app/view/treelistmodel.h"
#include "app/view/treelistselector.h"

TTreeListSelectionModel::TTreeListSelectionModel(TTreeListModel& model, TTreeListSelector& selector,
                                                 QObject* parent)
    : QItemSelectionModel(&model, parent), m_model(model), m_selector(selector)
{
}

void TTreeListSelectionModel::setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    if (command != NoUpdate)
        select(index, command);
    TTreeListTextNode* item = m_model.ItemOf(index);
    if (!item)
        return;
    if (!(command & Current))
        m_selector.SetAnchor(item);
    item->SetFocused();
}

void TTreeListSelectionModel::select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    select(index.isValid() ? QItemSelection(index, index) : QItemSelection(), command);
}

void TTreeListSelectionModel::select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command)
{
    if (command == NoUpdate)
        return;
    m_selector.Commit();
    TTreeList& tree = m_model.Tree();
    const TTreeListUpdate bracket(tree);
    if (command & Clear)
        tree.ClearSelection();
    for (const QModelIndex& index : selection.indexes()) {
        TTreeListTextNode* item = m_model.ItemOf(index);
        if (!item)
            continue;
        if (command & Toggle)
            item->SetSelected(!item->Selected());
        else if (command & (Select | Deselect))
            item->SetSelected((command & Select) != 0);
    }
}
