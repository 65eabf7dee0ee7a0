#include "app/view/treelistview.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

#include <vector>

#include "app/view/treelistmodel.h"
#include "app/view/treelistnamedelegate.h"

// Marks changes the view makes on the tree's behalf, so they are not passed
// back to the tree as if the user had made them.
class TTreeListView::TApplyingTree {
public:
    explicit TApplyingTree(TTreeListView& view) : m_view(view) { ++m_view.m_applying; }
    ~TApplyingTree() { --m_view.m_applying; }
    TApplyingTree(const TApplyingTree&) = delete;
    TApplyingTree& operator=(const TApplyingTree&) = delete;

private:
    TTreeListView& m_view;
};

TTreeListView::TTreeListView(TTreeList& tree, QWidget* parent)
    : QTreeView(parent), m_tree(tree), m_model(std::make_unique<TTreeListModel>(tree))
{
    TApplyingTree applying(*this);
    setModel(m_model.get());
    setItemDelegate(new TTreeListNameDelegate(*m_model, this));

    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));

    setDragEnabled(true);
    setAcceptDrops(true);
    // Qt's own indicator (above, on, below a row) says something else than
    // what a drop here does; UpdateDropMark draws ours.
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(true);
    setAutoExpandDelay(700);

    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { ViewExpanded(index, true); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { ViewExpanded(index, false); });

    m_tree.AddObserver(this);
    m_tree.SetPresenter(this);
    ResetDone();  // a tree that already holds items
}

TTreeListView::~TTreeListView()
{
    ++m_applying;  // from here on nothing the view does is the user's doing
    m_tree.RemoveObserver(this);
    if (m_tree.Presenter() == this)
        m_tree.SetPresenter(nullptr);
    if (QAbstractItemDelegate* delegate = itemDelegate())
        QObject::disconnect(delegate, nullptr, this, nullptr);
    setModel(nullptr);
}

bool TTreeListView::IgnoreViewSignals() const
{
    return m_applying > 0 || m_model->Changing();
}

void TTreeListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    // A current index lost with its row is not the user dropping the focus;
    // the tree says where the focus went.
    if (IgnoreViewSignals() || !current.isValid())
        return;
    if (TTreeListTextNode* item = m_model->ItemOf(current))
        item->SetFocused();
}

void TTreeListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    if (IgnoreViewSignals())
        return;
    // One bracket, so the window hears of the new selection once.
    const TTreeListUpdate bracket(m_tree);
    for (const QModelIndex& index : deselected.indexes())
        if (TTreeListTextNode* item = m_model->ItemOf(index))
            item->SetSelected(false);
    for (const QModelIndex& index : selected.indexes())
        if (TTreeListTextNode* item = m_model->ItemOf(index))
            item->SetSelected(true);
}

void TTreeListView::ViewExpanded(const QModelIndex& index, bool expanded)
{
    if (IgnoreViewSignals())
        return;
    if (TTreeListTextNode* item = m_model->ItemOf(index))
        item->SetExpanded(expanded);
}

void TTreeListView::ResetDone()
{
    TApplyingTree applying(*this);
    // After a load everything is collapsed: then only the top level is looked at.
    bool anyExpanded = false;
    for (int i = 0; i < m_tree.TopItemCount() && !anyExpanded; ++i)
        anyExpanded = m_tree.TopItem(i)->Expanded();
    if (anyExpanded)
        ExpandedChanged(nullptr);
    SyncCurrent();
    SyncSelection();
}

void TTreeListView::ExpandedChanged(TTreeListTextNode* item)
{
    TApplyingTree applying(*this);
    if (item) {
        ApplyExpanded(item);
    } else if (AllExpanded()) {
        expandAll();
    } else {
        SyncExpandedBelow(nullptr);
    }
}

void TTreeListView::ApplyExpanded(TTreeListTextNode* item)
{
    const QModelIndex index = m_model->IndexOf(item);
    if (item->Expanded() && item->HasChildren()) {
        setExpanded(index, true);
        // Children that the tree expanded while they were hidden, or before a reset.
        SyncExpandedBelow(item);
    } else {
        setExpanded(index, false);
    }
}

// Brings the expanded state of every row that is shown below `root` (the
// whole visible tree for none) in line with the tree. Hidden rows are synced
// when their parent opens, so a freshly loaded tree costs nothing here.
void TTreeListView::SyncExpandedBelow(TTreeListTextNode* root)
{
    std::vector<TTreeListTextNode*> open{root};
    while (!open.empty()) {
        TTreeListTextNode* parent = open.back();
        open.pop_back();
        const int count = parent ? parent->Count() : m_tree.TopItemCount();
        for (int i = 0; i < count; ++i) {
            TTreeListTextNode* child = parent ? parent->Child(i) : m_tree.TopItem(i);
            if (!child->HasChildren())
                continue;
            const QModelIndex index = m_model->IndexOf(child);
            if (isExpanded(index) != child->Expanded())
                setExpanded(index, child->Expanded());
            if (child->Expanded())
                open.push_back(child);
        }
    }
}

bool TTreeListView::AllExpanded() const
{
    for (TTreeListTextNode* item = m_tree.TopItem(0); item; item = m_tree.NextInDocument(item))
        if (item->HasChildren() && !item->Expanded())
            return false;
    return true;
}

void TTreeListView::FocusChanged(TTreeListTextNode* /*item*/)
{
    TApplyingTree applying(*this);
    SyncCurrent();
}

void TTreeListView::SelectionChanged(TTreeListTextNode* item)
{
    TApplyingTree applying(*this);
    if (!item) {
        SyncSelection();
        return;
    }
    const QModelIndex index = m_model->IndexOf(item);
    if (selectionModel()->isSelected(index) != item->Selected())
        selectionModel()->select(index, (item->Selected() ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                            QItemSelectionModel::Rows);
}

void TTreeListView::SyncCurrent()
{
    const QModelIndex index = m_model->IndexOf(m_tree.FocusedItem());
    if (selectionModel()->currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void TTreeListView::SyncSelection()
{
    QItemSelection selection;
    for (int i = 0; i < m_tree.SelectedCount(); ++i) {
        const QModelIndex index = m_model->IndexOf(m_tree.SelectedItem(i));
        selection.select(index, index);
    }
    if (selection.isEmpty())
        selectionModel()->clearSelection();
    else
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QModelIndex TTreeListView::RowIndexAt(int y) const
{
    // The row alone decides, wherever the point lies across it.
    return indexAt(QPoint(columnViewportPosition(0), y));
}

TItemHitArea TTreeListView::HitTest(int x, int y) const
{
    if (!viewport()->rect().contains(x, y))
        return iaOutside;
    const QModelIndex index = RowIndexAt(y);
    if (!index.isValid())
        return iaNone;
    if (x >= columnViewportPosition(0) + columnWidth(0))
        return iaRight;

    // visualRect starts where the indentation ends; the branch indicator is
    // painted in the last indentation step.
    const QRect cell = visualRect(index);
    if (x < cell.left()) {
        const bool onBranch = x >= cell.left() - indentation() && (rootIsDecorated() || index.parent().isValid());
        return onBranch && m_model->hasChildren(index) ? iaButton : iaIndent;
    }

    QStyleOptionViewItem option;
    const_cast<TTreeListView*>(this)->initViewItemOption(&option);
    option.rect = cell;
    if (auto* delegate = dynamic_cast<TTreeListNameDelegate*>(itemDelegateForIndex(index))) {
        delegate->InitOption(&option, index);
        if (option.features & QStyleOptionViewItem::HasDecoration) {
            const QRect icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
            if (x <= icon.right())
                return iaIcon;
        }
    }
    return iaLabel;
}

TTreeListTextNode* TTreeListView::ItemAt(int /*x*/, int y) const
{
    return m_model->ItemOf(RowIndexAt(y));
}

void TTreeListView::ScrollIntoView(TTreeListTextNode* item)
{
    // A clicked row is on screen; scrolling now would make the press select
    // the row that moved under the mouse instead.
    if (m_pressing)
        return;
    const QModelIndex index = m_model->IndexOf(item);
    if (index.isValid())
        scrollTo(index);
}

void TTreeListView::EditName(TTreeListTextNode* item)
{
    const QModelIndex index = m_model->IndexOf(item);
    if (!index.isValid())
        return;
    scrollTo(index);
    edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void TTreeListView::FinishNameEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TTreeListView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Copy) ||
        (event->key() == Qt::Key_C && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Insert && modifiers == Qt::ControlModifier)) {
        if (OnCopy)
            OnCopy();
        else
            CopyToClipboard();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TTreeListView::mousePressEvent(QMouseEvent* event)
{
    m_pressing = true;
    try {
        QTreeView::mousePressEvent(event);
    } catch (...) {
        m_pressing = false;
        throw;
    }
    m_pressing = false;
}

QString TTreeListView::ClipboardText() const
{
    QString text = QStringLiteral("Name\r\n\r\n");
    for (int i = 0; i < m_tree.SelectedCount(); ++i) {
        text += m_model->data(m_model->IndexOf(m_tree.SelectedItem(i)), Qt::DisplayRole).toString();
        text += QStringLiteral("\r\n");
    }
    return text;
}

void TTreeListView::CopyToClipboard()
{
    QApplication::clipboard()->setText(ClipboardText());
}

bool TTreeListView::AcceptsDragFrom(QObject* source) const
{
    return OnDragOver ? OnDragOver(source) : source == this;
}

void TTreeListView::SetDragCursor(const QCursor& cursor)
{
    m_dragCursor = cursor;
    m_hasDragCursor = true;
}

void TTreeListView::startDrag(Qt::DropActions /*supportedActions*/)
{
    // Our own QDrag: QAbstractItemView's would remove the dragged rows itself
    // after a move, and here only the drop handler moves items, through the tree.
    const QModelIndexList indexes = selectedIndexes();
    if (indexes.isEmpty())
        return;
    auto* drag = new QDrag(this);  // deleted by Qt when the drag is over
    drag->setMimeData(m_model->mimeData(indexes));
    const QIcon icon = m_model->data(currentIndex(), Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull())
        drag->setPixmap(icon.pixmap(iconSize()));
    if (m_hasDragCursor && !m_dragCursor.pixmap().isNull())
        drag->setDragCursor(m_dragCursor.pixmap(), Qt::MoveAction);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

bool TTreeListView::AcceptDrag(QDropEvent* event)
{
    if (!AcceptsDragFrom(event->source())) {
        event->ignore();
        return false;
    }
    return true;
}

void TTreeListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!AcceptDrag(event))
        return;
    QTreeView::dragEnterEvent(event);  // enters the dragging state
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TTreeListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!AcceptDrag(event))
        return;
    // Edge scrolling and opening the hovered item.
    QTreeView::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    UpdateDropMark(event->position().toPoint());
}

void TTreeListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTreeView::dragLeaveEvent(event);
    SetDropMark(QRect(), false);
}

void TTreeListView::UpdateDropMark(const QPoint& pos)
{
    const TItemHitArea area = HitTest(pos.x(), pos.y());
    TTreeListTextNode* item = ItemAt(pos.x(), pos.y());
    const int width = viewport()->width();
    switch (area) {
    case iaButton:
    case iaIcon:
    case iaStateIcon:
    case iaLabel:
        if (item) {
            const QRect row = visualRect(m_model->IndexOf(item));
            SetDropMark(QRect(row.left(), row.top(), width - row.left(), row.height()), false);
            return;
        }
        break;
    case iaIndent:
        if (item) {
            const QRect row = visualRect(m_model->IndexOf(item));
            SetDropMark(QRect(row.left(), row.top(), width - row.left(), 2), true);
            return;
        }
        break;
    case iaNone:
        if (TTreeListTextNode* last = m_tree.LastVisible()) {
            const QRect row = visualRect(m_model->IndexOf(m_tree.TopItem(m_tree.TopItemCount() - 1)));
            const int bottom = visualRect(m_model->IndexOf(last)).bottom() + 1;
            SetDropMark(QRect(row.left(), bottom, width - row.left(), 2), true);
            return;
        }
        break;
    default:
        break;
    }
    SetDropMark(QRect(), false);
}

void TTreeListView::SetDropMark(const QRect& mark, bool line)
{
    if (mark == m_dropMark && line == m_dropMarkIsLine)
        return;
    m_dropMark = mark;
    m_dropMarkIsLine = line;
    viewport()->update();
}

void TTreeListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (m_dropMark.isNull())
        return;
    QPainter painter(viewport());
    const QColor color = palette().color(QPalette::Highlight);
    if (m_dropMarkIsLine)
        painter.fillRect(m_dropMark, color);
    else {
        painter.setPen(QPen(color, 2));
        painter.drawRect(m_dropMark.adjusted(1, 1, -1, -1));
    }
}

void TTreeListView::dropEvent(QDropEvent* event)
{
    if (!AcceptDrag(event))
        return;
    // Ends the dragging state and edge scrolling; the model refuses the data.
    QTreeView::dropEvent(event);
    SetDropMark(QRect(), false);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (OnDragDrop)
        OnDragDrop(pos.x(), pos.y());
}
