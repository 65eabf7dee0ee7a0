#include "app/view/treelistview.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <vector>

#include "app/view/treelistmodel.h"
#include "app/view/treelistnamedelegate.h"

namespace {
// How long a drag hovers over a collapsed item before it opens.
constexpr int AutoExpandDelay = 700;

TTreeListTextNode* ChildOf(const TTreeList& tree, const TTreeListTextNode* parent, int index)
{
    return parent ? parent->Child(index) : tree.TopItem(index);
}

int ChildCountOf(const TTreeList& tree, const TTreeListTextNode* parent)
{
    return parent ? parent->Count() : tree.TopItemCount();
}
}  // namespace

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
    : QAbstractItemView(parent), m_tree(tree), m_model(std::make_unique<TTreeListModel>(tree))
{
    TApplyingTree applying(*this);
    setModel(m_model.get());
    setItemDelegate(new TTreeListNameDelegate(*m_model, this));

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(16, 16));

    setDragEnabled(true);
    setAcceptDrops(true);
    // Qt's own indicator (above, on, below a row) says something else than
    // what a drop here does; UpdateDropMark draws ours.
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(true);

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
    QAbstractItemView::currentChanged(current, previous);
    // A current index lost with its row is not the user dropping the focus;
    // the tree says where the focus went.
    if (IgnoreViewSignals() || !current.isValid())
        return;
    if (TTreeListTextNode* item = m_model->ItemOf(current))
        item->SetFocused();
}

void TTreeListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    viewport()->update();
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

// ---- Rows from the tree's expanded state

int TTreeListView::RowsBelow(const TTreeListTextNode* item) const
{
    if (!item || !item->Expanded() || !item->HasChildren())
        return 0;
    if (const auto found = m_rowsBelow.find(item); found != m_rowsBelow.end())
        return found->second;
    // Without recursion: a file may nest items deeper than the stack allows.
    struct TFrame {
        const TTreeListTextNode* item;
        int next;
        int rows;
    };
    std::vector<TFrame> stack{{item, 0, 0}};
    int result = 0;
    while (!stack.empty()) {
        TFrame& frame = stack.back();
        if (frame.next < frame.item->Count()) {
            const TTreeListTextNode* child = frame.item->Child(frame.next++);
            frame.rows += 1;
            if (child->Expanded() && child->HasChildren()) {
                const auto found = m_rowsBelow.find(child);
                if (found != m_rowsBelow.end())
                    frame.rows += found->second;
                else
                    stack.push_back({child, 0, 0});
            }
            continue;
        }
        const TFrame done = frame;
        stack.pop_back();
        m_rowsBelow[done.item] = done.rows;
        if (stack.empty())
            result = done.rows;
        else
            stack.back().rows += done.rows;
    }
    return result;
}

int TTreeListView::RowCount() const
{
    if (m_rowCount < 0) {
        int rows = 0;
        for (int i = 0; i < m_tree.TopItemCount(); ++i)
            rows += 1 + RowsBelow(m_tree.TopItem(i));
        m_rowCount = rows;
    }
    return m_rowCount;
}

int TTreeListView::RowOf(const TTreeListTextNode* item) const
{
    if (!item)
        return -1;
    for (const TTreeListTextNode* p = item->Parent(); p; p = p->Parent())
        if (!p->Expanded())
            return -1;
    int row = 0;
    for (const TTreeListTextNode* node = item; node; node = node->Parent()) {
        const TTreeListTextNode* parent = node->Parent();
        for (int i = 0; i < node->Index(); ++i)
            row += 1 + RowsBelow(ChildOf(m_tree, parent, i));
        if (parent)
            row += 1;
    }
    return row;
}

TTreeListTextNode* TTreeListView::ItemAtRow(int row) const
{
    if (row < 0)
        return nullptr;
    const TTreeListTextNode* parent = nullptr;
    for (;;) {
        const int count = ChildCountOf(m_tree, parent);
        bool descended = false;
        for (int i = 0; i < count; ++i) {
            TTreeListTextNode* child = ChildOf(m_tree, parent, i);
            if (row == 0)
                return child;
            --row;
            const int below = RowsBelow(child);
            if (row < below) {
                parent = child;
                descended = true;
                break;
            }
            row -= below;
        }
        if (!descended)
            return nullptr;
    }
}

void TTreeListView::Invalidate(const TTreeListTextNode* item)
{
    for (const TTreeListTextNode* p = item; p; p = p->Parent())
        m_rowsBelow.erase(p);
    m_rowCount = -1;
    m_columnWidth = -1;
}

void TTreeListView::Forget(const TTreeListTextNode* root)
{
    if (m_rowsBelow.empty())
        return;
    std::vector<const TTreeListTextNode*> open{root};
    while (!open.empty()) {
        const TTreeListTextNode* item = open.back();
        open.pop_back();
        m_rowsBelow.erase(item);
        for (int i = 0; i < item->Count(); ++i)
            if (item->Child(i)->HasChildren())
                open.push_back(item->Child(i));
    }
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

int TTreeListView::indentation() const
{
    return style()->pixelMetric(QStyle::PM_TreeViewIndentation, nullptr, this);
}

int TTreeListView::ItemLeft(const TTreeListTextNode* item) const
{
    return (item->Level() + 1) * indentation();
}

QStyleOptionViewItem TTreeListView::RowOption(const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.showDecorationSelected = style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    if (selectionModel() && selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (index == currentIndex() && hasFocus())
        option.state |= QStyle::State_HasFocus;
    if (!isEnabled())
        option.state &= ~QStyle::State_Enabled;
    if (isActiveWindow())
        option.state |= QStyle::State_Active;
    else
        option.state &= ~QStyle::State_Active;
    option.rect = visualRect(index);
    return option;
}

int TTreeListView::ContentWidth(const TTreeListTextNode* item) const
{
    const QModelIndex index = m_model->IndexOf(const_cast<TTreeListTextNode*>(item));
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return itemDelegateForIndex(index)->sizeHint(option, index).width();
}

// The name column is as wide as the widest row on screen needs.
int TTreeListView::columnWidth(int column) const
{
    if (column != 0)
        return 0;
    if (m_columnWidth < 0) {
        int width = 0;
        TTreeListTextNode* item = ItemAtRow(TopRow());
        for (int i = 0; item && i <= PageRows(); ++i, item = m_tree.NextVisible(item))
            width = std::max(width, ItemLeft(item) + ContentWidth(item));
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
    return item && item->Expanded();
}

void TTreeListView::setExpanded(const QModelIndex& index, bool expanded)
{
    if (TTreeListTextNode* item = m_model->ItemOf(index))
        item->SetExpanded(expanded);
}

void TTreeListView::ToggleExpanded(TTreeListTextNode* item)
{
    if (item && item->HasChildren())
        item->SetExpanded(!item->Expanded());
}

QRect TTreeListView::visualRect(const QModelIndex& index) const
{
    const TTreeListTextNode* item = m_model->ItemOf(index);
    const int row = RowOf(item);
    if (row < 0)
        return {};
    const int left = ItemLeft(item);
    const int width = std::max(columnWidth(0) - left, ContentWidth(item));
    return {left - horizontalOffset(), (row - TopRow()) * RowHeight(), width, RowHeight()};
}

QModelIndex TTreeListView::indexAt(const QPoint& point) const
{
    if (point.y() < 0)
        return {};
    return m_model->IndexOf(ItemAtRow(TopRow() + point.y() / RowHeight()));
}

void TTreeListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const TTreeListTextNode* item = m_model->ItemOf(index);
    const int row = RowOf(item);
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
    const int left = ItemLeft(item) - indentation();
    if (left < horizontalOffset() || left >= horizontalOffset() + viewport()->width())
        horizontalScrollBar()->setValue(left);
}

QModelIndex TTreeListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers /*modifiers*/)
{
    TTreeListTextNode* current = m_model->ItemOf(currentIndex());
    if (!current || RowOf(current) < 0)
        return m_model->IndexOf(ItemAtRow(0));
    TTreeListTextNode* target = current;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        if (TTreeListTextNode* previous = m_tree.PrevVisible(current))
            target = previous;
        break;
    case MoveDown:
    case MoveNext:
        if (TTreeListTextNode* next = m_tree.NextVisible(current))
            target = next;
        break;
    case MovePageUp:
        target = ItemAtRow(std::max(0, RowOf(current) - PageRows()));
        break;
    case MovePageDown:
        target = ItemAtRow(std::min(RowCount() - 1, RowOf(current) + PageRows()));
        break;
    case MoveHome:
        target = ItemAtRow(0);
        break;
    case MoveEnd:
        target = m_tree.LastVisible();
        break;
    case MoveLeft:
        // An open item closes first; a closed one hands over to its parent.
        if (current->Expanded() && current->HasChildren())
            current->SetExpanded(false);
        else if (current->Parent())
            target = current->Parent();
        break;
    case MoveRight:
        if (current->HasChildren()) {
            if (!current->Expanded())
                current->SetExpanded(true);
            else
                target = current->Child(0);
        }
        break;
    }
    return m_model->IndexOf(target ? target : current);
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
    return RowOf(m_model->ItemOf(index)) < 0;
}

void TTreeListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int height = RowHeight();
    auto rowAt = [&](int y) { return TopRow() + (y >= 0 ? y / height : -((-y + height - 1) / height)); };
    const int rows = RowCount();
    const int first = std::max(0, rowAt(area.top()));
    const int last = std::min(rows - 1, rowAt(area.bottom()));
    QItemSelection selection;
    TTreeListTextNode* item = first <= last ? ItemAtRow(first) : nullptr;
    // Runs of siblings become one range each.
    TTreeListTextNode* runStart = nullptr;
    TTreeListTextNode* runEnd = nullptr;
    auto flush = [&] {
        if (runStart)
            selection.select(m_model->IndexOf(runStart), m_model->IndexOf(runEnd));
    };
    for (int row = first; item && row <= last; ++row, item = m_tree.NextVisible(item)) {
        if (runEnd && item->Parent() == runEnd->Parent() && item->Index() == runEnd->Index() + 1) {
            runEnd = item;
            continue;
        }
        flush();
        runStart = runEnd = item;
    }
    flush();
    selectionModel()->select(selection, command);
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

void TTreeListView::RowsChanged()
{
    m_rowCount = -1;
    m_columnWidth = -1;
    updateGeometries();
    viewport()->update();
}

void TTreeListView::KeepFocusedRow()
{
    m_focusedOffset = -1;
    const int row = RowOf(m_tree.FocusedItem());
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
    const int row = RowOf(m_tree.FocusedItem());
    if (row >= 0)
        verticalScrollBar()->setValue(std::max(0, row - offset));
}

// ---- The tree's notifications

void TTreeListView::ItemsAboutToBeInserted(TTreeListTextNode* parent, int /*first*/, int /*last*/)
{
    m_changingParent = parent;
    KeepFocusedRow();
}

void TTreeListView::ItemsInserted()
{
    Invalidate(m_changingParent);
    m_changingParent = nullptr;
    RestoreFocusedRow();
}

void TTreeListView::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    KeepFocusedRow();
    m_changingParent = parent;
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    for (int row = first; row <= last; ++row) {
        if (const TTreeListTextNode* item = ChildOf(m_tree, parent, row)) {
            // The tree moves a focus that goes with the items afterwards.
            if (focused && focused->IsInside(item))
                m_focusedOffset = -1;
            Forget(item);
        }
    }
    Invalidate(parent);
}

void TTreeListView::ItemsRemoved()
{
    Invalidate(m_changingParent);
    m_changingParent = nullptr;
    RestoreFocusedRow();
}

void TTreeListView::ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* /*destinationParent*/,
                                       int /*destinationRow*/)
{
    KeepFocusedRow();
    m_movingItem = item;
    m_changingParent = item ? item->Parent() : nullptr;
    Invalidate(m_changingParent);
}

void TTreeListView::ItemMoved()
{
    Invalidate(m_changingParent);
    if (m_movingItem)
        Invalidate(m_movingItem->Parent());
    m_movingItem = nullptr;
    m_changingParent = nullptr;
    RestoreFocusedRow();
}

void TTreeListView::AboutToReset()
{
    m_rowsBelow.clear();
    m_rowCount = -1;
}

void TTreeListView::ResetDone()
{
    TApplyingTree applying(*this);
    m_rowsBelow.clear();
    m_rowCount = -1;
    m_rowHeight = 0;
    RowsChanged();
    SyncCurrent();
    SyncSelection();
}

void TTreeListView::ExpandedChanged(TTreeListTextNode* item)
{
    if (!item) {
        // Everything opened or closed at once: the focused item is what the
        // user was looking at.
        m_rowsBelow.clear();
        RowsChanged();
        if (TTreeListTextNode* focused = m_tree.FocusedItem())
            scrollTo(m_model->IndexOf(focused));
        return;
    }
    // An item above the screen opening or closing leaves what is on screen
    // where it is.
    const int row = RowOf(item);
    int shift = 0;
    if (row >= 0 && row < TopRow()) {
        int rows = 0;
        for (int i = 0; i < item->Count(); ++i)
            rows += 1 + RowsBelow(item->Child(i));
        shift = item->Expanded() ? rows : -rows;
    }
    Invalidate(item);
    RowsChanged();
    if (shift != 0)
        verticalScrollBar()->setValue(std::max(row, TopRow() + shift));
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
    // The keys of a tree: + opens, - closes, * opens the whole subtree.
    if (TTreeListTextNode* current = m_model->ItemOf(currentIndex()); current && state() != EditingState) {
        switch (event->key()) {
        case Qt::Key_Plus:
            current->SetExpanded(true);
            event->accept();
            return;
        case Qt::Key_Minus:
            current->SetExpanded(false);
            event->accept();
            return;
        case Qt::Key_Asterisk: {
            const TTreeListUpdate bracket(m_tree);
            std::vector<TTreeListTextNode*> open{current};
            while (!open.empty()) {
                TTreeListTextNode* item = open.back();
                open.pop_back();
                item->SetExpanded(true);
                for (int i = 0; i < item->Count(); ++i)
                    if (item->Child(i)->HasChildren())
                        open.push_back(item->Child(i));
            }
            event->accept();
            return;
        }
        default:
            break;
        }
    }
    QAbstractItemView::keyPressEvent(event);
}

void TTreeListView::mousePressEvent(QMouseEvent* event)
{
    // The branch button opens and closes, and leaves focus and selection alone.
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && HitTest(pos.x(), pos.y()) == iaButton) {
        ToggleExpanded(ItemAt(pos.x(), pos.y()));
        event->accept();
        return;
    }
    m_pressing = true;
    try {
        QAbstractItemView::mousePressEvent(event);
    } catch (...) {
        m_pressing = false;
        throw;
    }
    m_pressing = false;
}

void TTreeListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const TItemHitArea area = HitTest(pos.x(), pos.y());
    if (area == iaButton) {
        mousePressEvent(event);
        return;
    }
    QAbstractItemView::mouseDoubleClickEvent(event);
    if (area == iaIcon || area == iaLabel || area == iaIndent)
        ToggleExpanded(ItemAt(pos.x(), pos.y()));
}

void TTreeListView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_openTimer.timerId()) {
        QAbstractItemView::timerEvent(event);
        return;
    }
    m_openTimer.stop();
    if (state() == DraggingState && viewport()->rect().contains(m_dragPosition))
        if (TTreeListTextNode* item = ItemAt(m_dragPosition.x(), m_dragPosition.y()); item && !item->Expanded())
            item->SetExpanded(true);
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
    QAbstractItemView::dragEnterEvent(event);  // enters the dragging state
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TTreeListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!AcceptDrag(event))
        return;
    // Edge scrolling; the hovered item opens after a while.
    QAbstractItemView::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (event->position().toPoint() != m_dragPosition) {
        m_dragPosition = event->position().toPoint();
        m_openTimer.start(AutoExpandDelay, this);
    }
    UpdateDropMark(event->position().toPoint());
}

void TTreeListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_openTimer.stop();
    QAbstractItemView::dragLeaveEvent(event);
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

void TTreeListView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(viewport());
    const int height = RowHeight();
    const int step = indentation();
    TTreeListTextNode* item = ItemAtRow(TopRow());
    for (int y = 0; item && y < viewport()->height(); y += height, item = m_tree.NextVisible(item)) {
        const QModelIndex index = m_model->IndexOf(item);
        const QStyleOptionViewItem option = RowOption(index);
        if (item->HasChildren()) {
            QStyleOptionViewItem branch = option;
            branch.rect = QRect(option.rect.left() - step, y, step, height);
            branch.state = QStyle::State_Item | QStyle::State_Children |
                           (item->Expanded() ? QStyle::State_Open : QStyle::State_None) |
                           (option.state & (QStyle::State_Enabled | QStyle::State_Active));
            style()->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, &painter, this);
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    if (m_dropMark.isNull())
        return;
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
    m_openTimer.stop();
    QAbstractItemView::dropEvent(event);
    SetDropMark(QRect(), false);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (OnDragDrop)
        OnDragDrop(pos.x(), pos.y());
}
