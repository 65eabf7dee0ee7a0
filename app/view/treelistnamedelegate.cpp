#include "app/view/treelistnamedelegate.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "app/view/itemtext.h"
#include "app/view/treelistmodel.h"

namespace {

const char* const OriginalTextProperty = "vekOriginalText";
const char* const EncodingProperty = "vekEncoding";

} // namespace

TTreeListNameDelegate::TTreeListNameDelegate(TTreeListModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model)
{
}

void TTreeListNameDelegate::InitOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    initStyleOption(option, index);
}

QWidget* TTreeListNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                             const QModelIndex& /*index*/) const
{
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("TreeListEditor"));
    editor->setFrame(false);
    return editor;
}

void TTreeListNameDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // The view calls this again whenever the row changes while editing; that
    // must not throw away what the user typed.
    if (editor->property(OriginalTextProperty).isValid())
        return;
    TTreeListTextNode* item = m_model.ItemOf(index);
    auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (!item || !lineEdit)
        return;
    const std::string_view name = item->GetText(TreeListColumnName);
    const TItemText decoded = ItemBytesToText(name);
    const QString& text = decoded.text;
    // An empty name has no encoding of its own; new names are written as UTF-8.
    const TTextEncoding encoding = name.empty() ? TTextEncoding::Utf8 : decoded.encoding;
    editor->setProperty(OriginalTextProperty, text);
    editor->setProperty(EncodingProperty, static_cast<int>(encoding));
    lineEdit->setText(text);
    lineEdit->selectAll();
}

void TTreeListNameDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                         const QModelIndex& index) const
{
    TTreeListTextNode* item = m_model.ItemOf(index);
    auto* lineEdit = qobject_cast<QLineEdit*>(editor);
    if (!item || !lineEdit || !editor->property(OriginalTextProperty).isValid())
        return;
    const QString text = lineEdit->text();
    const bool changed = text != editor->property(OriginalTextProperty).toString();
    const auto encoding = static_cast<TTextEncoding>(editor->property(EncodingProperty).toInt());
    m_model.Tree().EndRename(item, ItemTextToBytes(text, encoding), changed);
}

void TTreeListNameDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                 const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    // A new item's empty name still needs room to type in.
    QRect rect = editor->geometry();
    rect.setWidth(qMax(rect.width(), 120));
    editor->setGeometry(rect);
}

bool TTreeListNameDelegate::eventFilter(QObject* object, QEvent* event)
{
    // Tab would otherwise move on and open the editor on the next row.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
