#pragma once

#include <QStyledItemDelegate>

// Draws a result's line with its match marked, as the model's match roles
// place it.
class TMatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
