#pragma once

#include <QStyleOptionViewItem>

#include "document/treelist.h"

class TTreeListView;

// Paints the rows on screen from the tree (names, icons, branch buttons, the
// selection and the focus), and the drop mark over them; and answers, from
// the same geometry, which part of a row lies at a point.
class TTreeListPainter {
public:
    explicit TTreeListPainter(TTreeListView& view) : m_view(view) {}

    void Paint();
    // How a row is painted: the tree's selection and focus decide its state.
    QStyleOptionViewItem RowOption(const QModelIndex& index) const;
    // The width the row's icon and name take.
    int ContentWidth(const TTreeListTextNode* item) const;
    TItemHitArea HitTest(int x, int y) const;

private:
    TTreeListView& m_view;
};
