// The view's rows as the tree, the subtree shown and the filter change them:
// which rows there are, and where the screen stands among them.
#include "app/view/treelistview.h"

#include <QScrollBar>

#include <algorithm>

#include "app/view/treelistaccessible.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"

void TTreeListView::SetRoot(TTreeListTextNode* root)
{
    m_layout->SetRoot(root);
    verticalScrollBar()->setValue(0);
    RowsChanged();
    if (m_accessible)
        m_accessible->RowsReplaced();
    if (TTreeListTextNode* focused = m_tree.FocusedItem(); focused && m_layout->RowOf(focused) >= 0)
        scrollTo(m_model->IndexOf(focused));
    emit RootChanged();
}

void TTreeListView::SetShownSubtreeOpen(TTreeListTextNode* root, bool open)
{
    m_layout->SetSubtreeOpen(root, open);
    FiltersChanged(false);
}

void TTreeListView::ShowNextFilter()
{
    m_layout->ShowNextFilter();
    m_layout->Reveal(m_tree.FocusedItem());
    FiltersChanged();
    if (TTreeListTextNode* focused = m_tree.FocusedItem(); focused && m_layout->RowOf(focused) >= 0)
        scrollTo(m_model->IndexOf(focused));
}

void TTreeListView::ClearFilter()
{
    m_layout->ClearFilter();
    FiltersChanged();
}

void TTreeListView::FiltersChanged(bool toTop)
{
    if (toTop)
        verticalScrollBar()->setValue(0);
    RowsChanged();
    if (m_accessible)
        m_accessible->RowsReplaced();
}

void TTreeListView::ScrollToRow(int row)
{
    verticalScrollBar()->setValue(row);
}

void TTreeListView::RowsChanged()
{
    m_columnWidth = -1;
    updateGeometries();
    viewport()->update();
}

void TTreeListView::KeepFocusedRow()
{
    m_focusedOffset = -1;
    const int row = m_layout->RowOf(m_tree.FocusedItem());
    if (row >= TopRow() && row < TopRow() + PageRows())
        m_focusedOffset = row - TopRow();
}

void TTreeListView::RestoreFocusedRow()
{
    const int offset = m_focusedOffset;
    m_focusedOffset = -1;
    RowsChanged();
    if (offset < 0)
        return;
    const int row = m_layout->RowOf(m_tree.FocusedItem());
    if (row >= 0)
        verticalScrollBar()->setValue(std::max(0, row - offset));
}

// ---- The tree's notifications. The layout has heard of each change before
// the view: its rows are those before the change in an announcement, and
// those after it once the change is done.

void TTreeListView::ItemsAboutToBeInserted(TTreeListTextNode* /*parent*/, int /*first*/, int /*last*/)
{
    KeepFocusedRow();
}

void TTreeListView::ItemsInserted()
{
    RestoreFocusedRow();
}

void TTreeListView::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    KeepFocusedRow();
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    for (int row = first; focused && row <= last; ++row) {
        // The tree moves a focus that goes with the items afterwards.
        const TTreeListTextNode* item = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (item && focused->IsInside(item))
            m_focusedOffset = -1;
    }
}

void TTreeListView::ItemsRemoved()
{
    RestoreFocusedRow();
}

void TTreeListView::ItemAboutToBeMoved(TTreeListTextNode* /*item*/, TTreeListTextNode* /*destinationParent*/,
                                       int /*destinationRow*/)
{
    KeepFocusedRow();
}

void TTreeListView::ItemMoved()
{
    RestoreFocusedRow();
}

void TTreeListView::ResetDone()
{
    m_rowHeight = 0;
    RowsChanged();
}

void TTreeListView::ExpandedChanged(TTreeListTextNode* item)
{
    if (!item) {
        // Everything opened or closed at once: the focused item is what the
        // user was looking at.
        RowsChanged();
        if (TTreeListTextNode* focused = m_tree.FocusedItem())
            scrollTo(m_model->IndexOf(focused));
        return;
    }
    // An item above the screen opening or closing leaves what is on screen
    // where it is.
    const int row = m_layout->RowOf(item);
    int shift = 0;
    if (row >= 0 && row < TopRow() && !m_layout->Filtered()) {
        const int rows = m_layout->ChildRows(item);
        shift = item->Expanded() ? rows : -rows;
    }
    RowsChanged();
    if (shift != 0)
        verticalScrollBar()->setValue(std::max(row, TopRow() + shift));
}

// Focus and selection are painted straight from the tree.
void TTreeListView::FocusChanged(TTreeListTextNode* item)
{
    // A name being edited is kept when the focus moves on, as Qt's views do.
    if (NameEditor() && m_model->ItemOf(m_editing) != item)
        FinishNameEdit();
    // A jump to an item the filter hides shows it.
    if (m_layout->Reveal(item))
        RowsChanged();
    if (!isVisible())
        m_scrollOnShow = true;
    viewport()->update();
}

void TTreeListView::SelectionChanged(TTreeListTextNode* /*item*/)
{
    viewport()->update();
}
