#include "app/view/treelistview.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>

#include <algorithm>

#include "app/view/treelistaccessible.h"
#include "app/view/treelistinput.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistnamedelegate.h"
#include "app/view/treelistpainter.h"
#include "app/view/treelistselectionmodel.h"
#include "app/view/treelistselector.h"

TTreeListView::TTreeListView(TTreeList& tree, QWidget* parent)
    : QAbstractItemView(parent), m_tree(tree), m_model(std::make_unique<TTreeListModel>(tree)),
      m_layout(std::make_unique<TTreeListLayout>(tree)),
      m_selector(std::make_unique<TTreeListSelector>(tree, *m_layout)),
      m_input(std::make_unique<TTreeListInput>(*this, *m_selector)),
      m_painter(std::make_unique<TTreeListPainter>(*this)), m_dragSources{this}
{
    setModel(m_model.get());
    QItemSelectionModel* ownModel = selectionModel();
    setSelectionModel(new TTreeListSelectionModel(*m_model, *m_selector, this));
    delete ownModel;
    setItemDelegate(new TTreeListNameDelegate(*m_model, this));

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(16, 16));

    setDragEnabled(true);
    setAcceptDrops(true);
    // Qt's own indicator (above, on, below a row) says something else than
    // what a drop here does; the input draws ours.
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(true);

    m_tree.AddObserver(this);
    m_tree.SetPresenter(this);
    ResetDone();  // a tree that already holds items

    // Qt knows item views by their class; ours by a factory of its own.
    TTreeListAccessible::InstallFactory();
}

TTreeListView::~TTreeListView()
{
    if (m_accessible)
        m_accessible->Detach();
    m_accessible = nullptr;
    m_tree.RemoveObserver(this);
    if (m_tree.Presenter() == this)
        m_tree.SetPresenter(nullptr);
    if (QAbstractItemDelegate* delegate = itemDelegate())
        QObject::disconnect(delegate, nullptr, this, nullptr);
    QItemSelectionModel* selection = selectionModel();  // it refers to the selector
    setModel(nullptr);
    delete selection;
}

QModelIndex TTreeListView::FocusedIndex() const
{
    return m_model->IndexOf(m_tree.FocusedItem());
}

int TTreeListView::RowCount() const
{
    return m_layout->RowCount();
}

int TTreeListView::RowHeight() const
{
    if (m_rowHeight <= 0) {
        // Every row as high as one with an icon and a line of text.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        option.text = QStringLiteral("Xg");
        option.decorationSize = iconSize();
        const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
        m_rowHeight = std::max({size.height(), iconSize().height(), fontMetrics().height(), 1});
    }
    return m_rowHeight;
}

int TTreeListView::PageRows() const
{
    return std::max(1, viewport()->height() / RowHeight());
}

int TTreeListView::TopRow() const
{
    return verticalScrollBar()->value();
}

int TTreeListView::RowAtY(int y) const
{
    const int height = RowHeight();
    return TopRow() + (y >= 0 ? y / height : -((-y + height - 1) / height));
}

int TTreeListView::indentation() const
{
    return style()->pixelMetric(QStyle::PM_TreeViewIndentation, nullptr, this);
}

int TTreeListView::ItemLeft(const TTreeListTextNode* item) const
{
    return (m_layout->Depth(item) + 1) * indentation();
}

QStyleOptionViewItem TTreeListView::RowOption(const QModelIndex& index) const
{
    return m_painter->RowOption(index);
}

// The name column is as wide as the widest row on screen needs.
int TTreeListView::columnWidth(int column) const
{
    if (column != 0)
        return 0;
    if (m_columnWidth < 0) {
        int width = 0;
        TTreeListTextNode* item = m_layout->ItemAtRow(TopRow());
        for (int i = 0; item && i <= PageRows(); ++i, item = m_layout->NextRow(item))
            width = std::max(width, ItemLeft(item) + m_painter->ContentWidth(item));
        m_columnWidth = width;
    }
    return m_columnWidth;
}

int TTreeListView::columnViewportPosition(int column) const
{
    return column == 0 ? -horizontalOffset() : -1;
}

bool TTreeListView::isExpanded(const QModelIndex& index) const
{
    const TTreeListTextNode* item = m_model->ItemOf(index);
    return item && m_layout->IsOpen(item);
}

void TTreeListView::setExpanded(const QModelIndex& index, bool expanded)
{
    if (TTreeListTextNode* item = m_model->ItemOf(index))
        SetItemOpen(item, expanded);
}

void TTreeListView::SetItemOpen(TTreeListTextNode* item, bool open)
{
    if (!m_layout->Filtered()) {
        item->SetExpanded(open);
        return;
    }
    const int row = m_layout->RowOf(item);
    const int rows = m_layout->ChildRows(item);
    const bool wasOpen = m_layout->IsOpen(item);
    m_layout->SetOpen(item, open);
    if (wasOpen == m_layout->IsOpen(item))
        return;
    FiltersChanged(false);
    if (row >= 0 && row < TopRow())
        verticalScrollBar()->setValue(std::max(row, TopRow() + (open ? rows : -rows)));
}

QRect TTreeListView::visualRect(const QModelIndex& index) const
{
    const TTreeListTextNode* item = m_model->ItemOf(index);
    const int row = m_layout->RowOf(item);
    if (row < 0)
        return {};
    const int left = ItemLeft(item);
    const int width = std::max(columnWidth(0) - left, m_painter->ContentWidth(item));
    return {left - horizontalOffset(), (row - TopRow()) * RowHeight(), width, RowHeight()};
}

QModelIndex TTreeListView::indexAt(const QPoint& point) const
{
    if (point.y() < 0)
        return {};
    return m_model->IndexOf(m_layout->ItemAtRow(TopRow() + point.y() / RowHeight()));
}

void TTreeListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const TTreeListTextNode* item = m_model->ItemOf(index);
    const int row = m_layout->RowOf(item);
    if (row < 0)
        return;
    const int top = TopRow();
    const int page = PageRows();
    int newTop = top;
    switch (hint) {
    case PositionAtTop:
        newTop = row;
        break;
    case PositionAtBottom:
        newTop = row - page + 1;
        break;
    case PositionAtCenter:
        newTop = row - page / 2;
        break;
    case EnsureVisible:
        if (row < top)
            newTop = row;
        else if (row >= top + page)
            newTop = row - page + 1;
        break;
    }
    verticalScrollBar()->setValue(std::max(0, newTop));
    // From the fold mark on; the icon at least must be on screen, which a
    // deep item's fold mark alone in a narrow pane is not.
    const int left = ItemLeft(item) - indentation();
    if (left < horizontalOffset() || ItemLeft(item) + indentation() > horizontalOffset() + viewport()->width())
        horizontalScrollBar()->setValue(left);
}

QModelIndex TTreeListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers /*modifiers*/)
{
    return m_model->IndexOf(m_input->CursorTarget(cursorAction));
}

int TTreeListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int TTreeListView::verticalOffset() const
{
    return TopRow() * RowHeight();
}

bool TTreeListView::isIndexHidden(const QModelIndex& index) const
{
    return m_layout->RowOf(m_model->ItemOf(index)) < 0;
}

void TTreeListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    // Qt's own selecting by area; the selection model passes it on to the tree.
    const QRect area = rect.normalized();
    const int first = std::max(0, RowAtY(area.top()));
    const int last = std::min(RowCount() - 1, RowAtY(area.bottom()));
    QItemSelection selection;
    TTreeListTextNode* item = first <= last ? m_layout->ItemAtRow(first) : nullptr;
    for (int row = first; item && row <= last; ++row, item = m_layout->NextRow(item))
        selection.select(m_model->IndexOf(item), m_model->IndexOf(item));
    selectionModel()->select(selection, command);
}

QModelIndexList TTreeListView::selectedIndexes() const
{
    QModelIndexList indexes;
    for (int i = 0; i < m_tree.SelectedCount(); ++i)
        if (TTreeListTextNode* item = m_tree.SelectedItem(i); m_layout->RowOf(item) >= 0)
            indexes.append(m_model->IndexOf(item));
    return indexes;
}

QRegion TTreeListView::visualRegionForSelection(const QItemSelection& /*selection*/) const
{
    return QRegion(viewport()->rect());
}

void TTreeListView::updateGeometries()
{
    const int page = PageRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, RowCount() - page));
    m_columnWidth = -1;
    horizontalScrollBar()->setSingleStep(std::max(1, indentation()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, columnWidth(0) - viewport()->width()));
    QAbstractItemView::updateGeometries();
}

void TTreeListView::scrollContentsBy(int /*dx*/, int dy)
{
    if (dy != 0) {
        // Rows of other widths came into view.
        m_columnWidth = -1;
        horizontalScrollBar()->setRange(0, std::max(0, columnWidth(0) - viewport()->width()));
    }
    updateEditorGeometries();
    viewport()->update();
}

void TTreeListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        m_columnWidth = -1;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

void TTreeListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    m_columnWidth = -1;
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    viewport()->update();
}

QModelIndex TTreeListView::RowIndexAt(int y) const
{
    // The row alone decides, wherever the point lies across it.
    return indexAt(QPoint(columnViewportPosition(0), y));
}

TItemHitArea TTreeListView::HitTest(int x, int y) const
{
    return m_painter->HitTest(x, y);
}

TTreeListTextNode* TTreeListView::ItemAt(int /*x*/, int y) const
{
    return m_model->ItemOf(RowIndexAt(y));
}

void TTreeListView::ScrollIntoView(TTreeListTextNode* item)
{
    // A clicked row is on screen; scrolling now would move another row under
    // the mouse before a double click's second press. The input scrolls a
    // little later.
    if (m_input->Pressing())
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

QWidget* TTreeListView::NameEditor() const
{
    return state() == QAbstractItemView::EditingState && m_editing.isValid() ? indexWidget(m_editing) : nullptr;
}

void TTreeListView::FinishNameEdit()
{
    if (QWidget* editor = NameEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
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

void TTreeListView::SetDragSources(std::vector<const QObject*> sources)
{
    m_dragSources = std::move(sources);
}

bool TTreeListView::AcceptsDragFrom(const QObject* source) const
{
    return std::find(m_dragSources.begin(), m_dragSources.end(), source) != m_dragSources.end();
}

void TTreeListView::SetDragCursor(const QCursor& cursor)
{
    m_dragCursor = cursor;
    m_hasDragCursor = true;
}

QRect TTreeListView::DropMark() const
{
    return m_input->DropMark();
}

bool TTreeListView::DropMarkIsLine() const
{
    return m_input->DropMarkIsLine();
}

void TTreeListView::keyboardSearch(const QString& search)
{
    m_input->KeyboardSearch(search);
}

void TTreeListView::selectAll()
{
    m_input->SelectAll();
}

bool TTreeListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opened = QAbstractItemView::edit(index, trigger, event);
    if (opened && state() == EditingState)
        m_editing = index;
    return opened;
}

void TTreeListView::showEvent(QShowEvent* event)
{
    QAbstractItemView::showEvent(event);
    // The focus moved while the view was hidden.
    if (m_scrollOnShow) {
        m_scrollOnShow = false;
        scrollTo(FocusedIndex());
    }
}

void TTreeListView::focusInEvent(QFocusEvent* event)
{
    // Qt's view would move its current index to the first row here; the
    // focused item is the tree's to choose.
    QAbstractScrollArea::focusInEvent(event);
    setAttribute(Qt::WA_InputMethodEnabled, m_tree.FocusedItem() != nullptr);
    viewport()->update();
    // A reader hears which row has the keyboard, not just the view.
    if (m_accessible)
        m_accessible->AnnounceFocus();
}

void TTreeListView::timerEvent(QTimerEvent* event)
{
    if (!m_input->TimerEvent(event))
        QAbstractItemView::timerEvent(event);
}

void TTreeListView::mousePressEvent(QMouseEvent* event)
{
    m_input->MousePress(event);
}

void TTreeListView::mouseMoveEvent(QMouseEvent* event)
{
    m_input->MouseMove(event);
}

void TTreeListView::mouseReleaseEvent(QMouseEvent* event)
{
    m_input->MouseRelease(event);
}

void TTreeListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_input->MouseDoubleClick(event);
}

void TTreeListView::keyPressEvent(QKeyEvent* event)
{
    m_input->KeyPress(event);
}

void TTreeListView::startDrag(Qt::DropActions /*supportedActions*/)
{
    m_input->StartDrag();
}

void TTreeListView::dragEnterEvent(QDragEnterEvent* event)
{
    m_input->DragEnter(event);
}

void TTreeListView::dragMoveEvent(QDragMoveEvent* event)
{
    m_input->DragMove(event);
}

void TTreeListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_input->DragLeave(event);
}

void TTreeListView::dropEvent(QDropEvent* event)
{
    m_input->Drop(event);
}

void TTreeListView::paintEvent(QPaintEvent* /*event*/)
{
    m_painter->Paint();
}
