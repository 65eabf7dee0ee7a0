#include "app/search/matchdelegate.h"

#include "app/search/findallmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTreeView>
#include <algorithm>

void TMatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus as any row has them; the text follows.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(margin, 0, -margin, 0);
    const int start = std::clamp(index.data(TFindAllModel::MatchStartRole).toInt(), 0, static_cast<int>(text.size()));
    const int length = std::clamp(index.data(TFindAllModel::MatchLengthRole).toInt(), 0,
                                  static_cast<int>(text.size()) - start);
    const QString parts[3] = {text.left(start), text.mid(start, length), text.mid(start + length)};
    const bool selected = item.state & QStyle::State_Selected;
    const QColor normal = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    // The match wears the selection's pair of colours, turned round inside a
    // selected row, so it stands out on any palette with the contrast the
    // palette gives its selection.
    const QColor matchFill = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight);
    const QColor matchText = item.palette.color(selected ? QPalette::Highlight : QPalette::HighlightedText);

    painter->save();
    painter->setClipRect(area);
    painter->setFont(item.font);
    const QFontMetrics metrics(item.font);
    int x = area.left();
    for (int i = 0; i < 3; ++i) {
        const int width = metrics.horizontalAdvance(parts[i]);
        const QRect box(x, area.top(), width, area.height());
        if (i == 1) {
            painter->fillRect(box.adjusted(0, 1, 0, -1), matchFill);
            painter->setPen(matchText);
        } else {
            painter->setPen(normal);
        }
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts[i]);
        x += width;
        if (x > area.right())
            break;
    }
    painter->restore();
}

void SetUpMatchList(QTreeView& view, int textColumn)
{
    view.setItemDelegateForColumn(textColumn, new TMatchDelegate(&view));
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);  // ten thousand rows need no measuring
    view.setAllColumnsShowFocus(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setTextElideMode(Qt::ElideLeft);
    view.header()->setStretchLastSection(true);
}
