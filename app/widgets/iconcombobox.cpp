#include "app/widgets/iconcombobox.h"

#include "app/widgets/iconnames.h"
#include "app/widgets/imagelists.h"
#include "document/strtoint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QStyledItemDelegate>

namespace {

constexpr int PickerWidth = 79;
constexpr int IconMargin = 2;

// Draws a drop-down entry as the picture of its row, without its number.
class TIconOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        opt.icon = ImageListTV().Icon(index.row());
        opt.features |= QStyleOptionViewItem::HasDecoration;
        opt.decorationSize = QSize(16, 16);
        opt.decorationAlignment = Qt::AlignCenter;
        opt.decorationPosition = QStyleOptionViewItem::Top;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(16 + 2 * IconMargin, 16 + 2 * IconMargin);
    }
};

} // namespace

TIconComboBox::TIconComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("IconComboBox"));
    setEditable(true);
    // Typed numbers are values, not new entries; and completion would turn
    // a typed "2" into whatever entry happens to start with it.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setFixedWidth(PickerWidth);
    setMaxVisibleItems(16);
    setItemDelegate(new TIconOnlyDelegate(this));

    const int count = ImageListTV().Count();
    for (int i = 0; i < count; ++i) {
        addItem(QString::number(i));
        // The list shows pictures alone: a reader and the tooltip name them.
        const QString name = IconName(i);
        setItemData(i, name, Qt::AccessibleTextRole);
        setItemData(i, name, Qt::ToolTipRole);
    }
    setAccessibleName(tr("Icon"));
}

int32_t TIconComboBox::Value() const
{
    return StrToInt(currentText().toStdString());
}
