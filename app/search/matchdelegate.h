#pragma once

#include <QStyledItemDelegate>

class QTreeView;

// Draws a result's line with its match marked, as the model's match roles
// place it.
class TMatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A list of results, one whole row each, read-only, with `textColumn` drawn
// by the delegate above and a deep path keeping its end in sight.
void SetUpMatchList(QTreeView& view, int textColumn);
