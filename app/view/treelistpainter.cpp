#include "app/view/treelistpainter.h"

#include <QPainter>

#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistnamedelegate.h"
#include "app/view/treelistview.h"

QStyleOptionViewItem TTreeListPainter::RowOption(const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    m_view.initViewItemOption(&option);
    option.showDecorationSelected =
        m_view.style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, &m_view);
    const TTreeListTextNode* item = m_view.Model()->ItemOf(index);
    if (item && item->Selected())
        option.state |= QStyle::State_Selected;
    if (item && item == m_view.Tree().FocusedItem() && m_view.hasFocus())
        option.state |= QStyle::State_HasFocus;
    if (!m_view.isEnabled())
        option.state &= ~QStyle::State_Enabled;
    if (m_view.isActiveWindow())
        option.state |= QStyle::State_Active;
    else
        option.state &= ~QStyle::State_Active;
    // What the filter shows only for what lies below is greyed.
    if (item && !m_view.Layout().ShownForItself(item))
        option.palette.setColor(QPalette::Text, option.palette.color(QPalette::Disabled, QPalette::Text));
    option.rect = m_view.visualRect(index);
    return option;
}

int TTreeListPainter::ContentWidth(const TTreeListTextNode* item) const
{
    const QModelIndex index = m_view.Model()->IndexOf(const_cast<TTreeListTextNode*>(item));
    QStyleOptionViewItem option;
    m_view.initViewItemOption(&option);
    return m_view.itemDelegateForIndex(index)->sizeHint(option, index).width();
}

void TTreeListPainter::Paint()
{
    QWidget* viewport = m_view.viewport();
    QPainter painter(viewport);
    const TTreeListModel& model = *m_view.Model();
    const int height = m_view.RowHeight();
    const int step = m_view.indentation();
    TTreeListTextNode* item = m_view.Layout().ItemAtRow(m_view.TopRow());
    for (int y = 0; item && y < viewport->height(); y += height, item = m_view.Layout().NextRow(item)) {
        const QModelIndex index = model.IndexOf(item);
        const QStyleOptionViewItem option = m_view.RowOption(index);
        if (m_view.Layout().CanOpen(item)) {
            QStyleOptionViewItem branch = option;
            branch.rect = QRect(option.rect.left() - step, y, step, height);
            branch.state = QStyle::State_Item | QStyle::State_Children |
                           (m_view.Layout().IsOpen(item) ? QStyle::State_Open : QStyle::State_None) |
                           (option.state & (QStyle::State_Enabled | QStyle::State_Active));
            m_view.style()->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, &painter, &m_view);
        }
        m_view.itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    const QRect mark = m_view.DropMark();
    if (mark.isNull())
        return;
    const QColor color = m_view.palette().color(QPalette::Highlight);
    if (m_view.DropMarkIsLine()) {
        painter.fillRect(mark, color);
    } else {
        painter.setPen(QPen(color, 2));
        painter.drawRect(mark.adjusted(1, 1, -1, -1));
    }
}

TItemHitArea TTreeListPainter::HitTest(int x, int y) const
{
    if (!m_view.viewport()->rect().contains(x, y))
        return iaOutside;
    const QModelIndex index = m_view.RowIndexAt(y);
    if (!index.isValid())
        return iaNone;
    if (x >= m_view.columnViewportPosition(0) + m_view.columnWidth(0))
        return iaRight;

    // visualRect starts where the indentation ends; the branch indicator is
    // painted in the last indentation step.
    const QRect cell = m_view.visualRect(index);
    if (x < cell.left()) {
        const bool onBranch =
            x >= cell.left() - m_view.indentation() && (m_view.rootIsDecorated() || index.parent().isValid());
        return onBranch && m_view.Model()->hasChildren(index) ? iaButton : iaIndent;
    }

    QStyleOptionViewItem option;
    m_view.initViewItemOption(&option);
    option.rect = cell;
    if (auto* delegate = dynamic_cast<TTreeListNameDelegate*>(m_view.itemDelegateForIndex(index))) {
        delegate->InitOption(&option, index);
        if (option.features & QStyleOptionViewItem::HasDecoration) {
            const QRect icon = m_view.style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, &m_view);
            if (x <= icon.right())
                return iaIcon;
        }
    }
    return iaLabel;
}
