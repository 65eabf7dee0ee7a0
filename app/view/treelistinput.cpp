#include "app/view/treelistinput.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <vector>

#include "app/view/itemtext.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistselector.h"
#include "app/view/treelistview.h"

namespace {
// How long a drag hovers over a collapsed item before it opens.
constexpr int AutoExpandDelay = 700;
} // namespace

TTreeListInput::TTreeListInput(TTreeListView& view, TTreeListSelector& selector)
    : m_view(view), m_tree(view.Tree()), m_selector(selector)
{
}

QPoint TTreeListInput::ContentPoint(const QPoint& pos) const
{
    return pos + QPoint(m_view.horizontalOffset(), m_view.verticalOffset());
}

TTreeListTextNode* TTreeListInput::CursorTarget(TTreeListView::CursorAction action)
{
    using TAction = TTreeListView::CursorAction;
    const TTreeListLayout& layout = m_view.Layout();
    TTreeListTextNode* current = m_tree.FocusedItem();
    if (!current || layout.RowOf(current) < 0)
        return layout.ItemAtRow(0);
    TTreeListTextNode* target = current;
    switch (action) {
    case TAction::MoveUp:
    case TAction::MovePrevious:
        if (TTreeListTextNode* previous = layout.PreviousRow(current))
            target = previous;
        break;
    case TAction::MoveDown:
    case TAction::MoveNext:
        if (TTreeListTextNode* next = layout.NextRow(current))
            target = next;
        break;
    case TAction::MovePageUp:
        target = layout.ItemAtRow(std::max(0, layout.RowOf(current) - m_view.PageRows()));
        break;
    case TAction::MovePageDown:
        target = layout.ItemAtRow(std::min(layout.RowCount() - 1, layout.RowOf(current) + m_view.PageRows()));
        break;
    case TAction::MoveHome:
        target = layout.ItemAtRow(0);
        break;
    case TAction::MoveEnd:
        target = layout.LastRow();
        break;
    case TAction::MoveLeft:
        // An open item closes first; a closed one hands over to its parent.
        if (layout.IsOpen(current))
            m_view.SetItemOpen(current, false);
        else if (current->Parent() && current != layout.Root())
            target = current->Parent();
        break;
    case TAction::MoveRight:
        if (layout.CanOpen(current)) {
            if (!layout.IsOpen(current))
                m_view.SetItemOpen(current, true);
            else
                target = layout.NextRow(current);
        }
        break;
    }
    return target ? target : current;
}

void TTreeListInput::MousePress(QMouseEvent* event)
{
    m_scrollTimer.stop();
    const QPoint pos = event->position().toPoint();
    // The branch button opens and closes, and leaves focus and selection alone.
    if (event->button() == Qt::LeftButton && m_view.HitTest(pos.x(), pos.y()) == iaButton) {
        ToggleExpanded(m_view.ItemAt(pos.x(), pos.y()));
        event->accept();
        return;
    }
    const QModelIndex index = m_view.indexAt(pos);
    if (m_view.state() == QAbstractItemView::EditingState && index.isValid() && index == m_view.m_editing)
        return;
    TTreeListTextNode* item = m_view.Model()->ItemOf(index);
    m_pressed = index;
    m_pressPosition = ContentPoint(pos);
    m_ctrlDragSelects = true;
    if (!item) {
        // Beside the rows: the release clears the selection, unless a modifier is down.
        m_selector.SetAnchor(nullptr);
        m_selector.Commit();
        m_selectOnRelease = true;
        return;
    }

    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool wasSelected = item->Selected();
    enum class TCommand { Keep, Range, Toggle, Only };
    TCommand command = TCommand::Only;
    if ((shift || ctrl) && event->button() == Qt::RightButton)
        command = TCommand::Keep;
    else if (!shift && !ctrl && wasSelected)
        command = TCommand::Keep;
    else if (shift)
        command = TCommand::Range;
    else if (ctrl)
        command = TCommand::Toggle;
    m_selectOnRelease = command == TCommand::Keep;
    // A range starts where the last one started, or else at the item that
    // had the focus before this press.
    m_selector.SetAnchor(command == TCommand::Range ? m_selector.Anchor() : item);

    {
        const QScopedValueRollback<bool> pressing(m_pressing, true);
        item->SetFocused();
    }
    item = m_view.Model()->ItemOf(m_pressed);  // the window may have changed the tree
    if (!item)
        return;
    switch (command) {
    case TCommand::Range:
        m_selector.SelectRange(item);
        break;
    case TCommand::Toggle:
        m_ctrlDragSelects = !wasSelected;
        m_selector.SetSelected(item, !wasSelected);
        break;
    case TCommand::Only:
        m_selector.SelectOnly(item);
        break;
    case TCommand::Keep:
        break;
    }
    if (m_view.hasAutoScroll())
        m_scrollTimer.start(QApplication::doubleClickInterval() + 100, &m_view);
}

void TTreeListInput::MouseMove(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QAbstractItemView::State state = m_view.state();
    if (state == QAbstractItemView::DraggingState) {
        if ((ContentPoint(pos) - m_pressPosition).manhattanLength() > QApplication::startDragDistance()) {
            m_pressed = QPersistentModelIndex();
            m_view.startDrag(Qt::MoveAction);
            m_view.setState(QAbstractItemView::NoState);
            m_view.stopAutoScroll();
        }
        return;
    }
    if (state == QAbstractItemView::EditingState || event->buttons() == Qt::NoButton)
        return;
    // A press on an item with a selection to take along starts a drag.
    if (m_pressed.isValid() && state != QAbstractItemView::DragSelectingState && m_tree.SelectedCount() > 0) {
        m_view.setState(QAbstractItemView::DraggingState);
        return;
    }
    // Otherwise the rows passed over are selected.
    TTreeListTextNode* item = m_view.Model()->ItemOf(m_view.indexAt(pos));
    if (!(event->buttons() & Qt::LeftButton) || !item)
        return;
    m_view.setState(QAbstractItemView::DragSelectingState);
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Without a modifier the rows passed over become the whole selection.
    m_selector.SelectRows(m_view.RowAtY(m_pressPosition.y() - m_view.verticalOffset()), m_view.RowAtY(pos.y()),
                          !ctrl || m_ctrlDragSelects, !ctrl && !shift);
    if (item != m_tree.FocusedItem())
        item->SetFocused();
}

void TTreeListInput::MouseRelease(QMouseEvent* event)
{
    if (m_view.state() == QAbstractItemView::EditingState)
        return;
    const QModelIndex index = m_view.indexAt(event->position().toPoint());
    if (m_selectOnRelease) {
        m_selectOnRelease = false;
        // A click on a selected item selects it alone; beside the rows, nothing.
        TTreeListTextNode* item = m_view.Model()->ItemOf(index);
        const bool modified = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        const bool right = event->button() == Qt::RightButton;
        if (((item && index == m_pressed && item->Selected()) || !item) &&
            m_view.state() != QAbstractItemView::DragSelectingState && !modified && (!right || !item))
            m_selector.SelectOnly(item);
    }
    m_view.setState(QAbstractItemView::NoState);
}

void TTreeListInput::MouseDoubleClick(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const TItemHitArea area = m_view.HitTest(pos.x(), pos.y());
    const QModelIndex index = m_view.indexAt(pos);
    // On the button, or on another row than the first click's: one more press.
    if (area == iaButton || !index.isValid() || index != m_pressed) {
        MousePress(event);
        if (area == iaButton)
            return;
    }
    if (area == iaIcon || area == iaLabel || area == iaIndent)
        ToggleExpanded(m_view.ItemAt(pos.x(), pos.y()));
}

void TTreeListInput::ToggleExpanded(TTreeListTextNode* item)
{
    if (item && m_view.Layout().CanOpen(item))
        m_view.SetItemOpen(item, !m_view.Layout().IsOpen(item));
}

void TTreeListInput::ExpandSubtree(TTreeListTextNode* root)
{
    if (m_view.Layout().Filtered()) {
        m_view.SetShownSubtreeOpen(root, true);
        return;
    }
    const TTreeListUpdate bracket(m_tree);
    std::vector<TTreeListTextNode*> open{root};
    while (!open.empty()) {
        TTreeListTextNode* item = open.back();
        open.pop_back();
        item->SetExpanded(true);
        for (int i = 0; i < item->Count(); ++i)
            if (item->Child(i)->HasChildren())
                open.push_back(item->Child(i));
    }
}

void TTreeListInput::KeyPress(QKeyEvent* event)
{
    m_scrollTimer.stop();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (event->matches(QKeySequence::Copy) || (key == Qt::Key_C && modifiers == Qt::ControlModifier) ||
        (key == Qt::Key_Insert && modifiers == Qt::ControlModifier)) {
        emit m_view.CopyRequested();
        event->accept();
        return;
    }
    TTreeListTextNode* focused = m_tree.FocusedItem();
    const bool editing = m_view.state() == QAbstractItemView::EditingState;
    // The keys of a tree: + opens, - closes, * opens the whole subtree.
    if (focused && !editing && (key == Qt::Key_Plus || key == Qt::Key_Minus || key == Qt::Key_Asterisk)) {
        if (key == Qt::Key_Asterisk)
            ExpandSubtree(focused);
        else
            m_view.SetItemOpen(focused, key == Qt::Key_Plus);
        event->accept();
        return;
    }

    using TAction = TTreeListView::CursorAction;
    static const std::pair<int, TAction> moves[] = {
        {Qt::Key_Down, TAction::MoveDown},       {Qt::Key_Up, TAction::MoveUp},
        {Qt::Key_Left, TAction::MoveLeft},       {Qt::Key_Right, TAction::MoveRight},
        {Qt::Key_Home, TAction::MoveHome},       {Qt::Key_End, TAction::MoveEnd},
        {Qt::Key_PageUp, TAction::MovePageUp},   {Qt::Key_PageDown, TAction::MovePageDown},
    };
    for (const auto& [moveKey, action] : moves) {
        if (key != moveKey)
            continue;
        // Left and Right may open or close the item instead of moving.
        TTreeListTextNode* target = CursorTarget(action);
        if (target && target != m_tree.FocusedItem() && MoveTo(target, event->modifiers()))
            event->accept();
        else
            event->ignore();
        return;
    }

    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        event->ignore();
        return;
    case Qt::Key_Space:
    case Qt::Key_Select:
        if (focused) {
            const bool toggle = key == Qt::Key_Select || (modifiers & Qt::ControlModifier);
            m_selector.Commit();
            const TTreeListUpdate bracket(m_tree);
            focused->SetSelected(toggle ? !focused->Selected() : true);
        }
        if (key == Qt::Key_Space)
            KeyboardSearch(event->text());
        return;
    case Qt::Key_F2:
        if (!focused || !m_view.edit(m_view.FocusedIndex(), QAbstractItemView::EditKeyPressed, event))
            event->ignore();
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (!editing || m_view.hasFocus()) {
            if (focused)
                emit m_view.activated(m_view.FocusedIndex());
            event->ignore();
        }
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        m_view.selectAll();
        return;
    }
    const bool modified = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!event->text().isEmpty() && !modified) {
        KeyboardSearch(event->text());
        event->accept();
    } else {
        event->ignore();
    }
}

void TTreeListInput::SelectAll()
{
    m_selector.Commit();
    m_selector.SelectRows(0, m_view.Layout().RowCount() - 1, true, true);
    // A Shift range that follows starts afresh rather than undoing this.
    m_selector.Commit();
}

bool TTreeListInput::MoveTo(TTreeListTextNode* target, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        // The focus alone moves, where the style lets it.
        if (!m_view.style()->styleHint(QStyle::SH_ItemView_MovementWithoutUpdatingSelection, nullptr, &m_view))
            return false;
        m_selector.SetAnchor(target);
        target->SetFocused();
        return true;
    }
    if (modifiers & Qt::ShiftModifier) {
        m_selector.SetAnchor(m_selector.Anchor());
        target->SetFocused();
        m_selector.SelectRange(target);
        return true;
    }
    m_selector.SelectOnly(target);
    target->SetFocused();
    return true;
}

void TTreeListInput::KeyboardSearch(const QString& search)
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    const TTreeListLayout& layout = m_view.Layout();
    if (layout.RowCount() == 0)
        return;
    const bool hadFocus = focused && layout.RowOf(focused) >= 0;
    TTreeListTextNode* start = hadFocus ? focused : layout.ItemAtRow(0);
    const bool timed = m_keyboardInputTime.isValid();
    const qint64 elapsed = timed ? m_keyboardInputTime.restart() : 0;
    if (!timed)
        m_keyboardInputTime.start();
    // Typed quickly enough, the letters add up to one search.
    bool skipRow = false;
    if (search.isEmpty() || !timed || elapsed > QApplication::keyboardInputInterval()) {
        m_keyboardInput = search;
        skipRow = hadFocus;
    } else {
        m_keyboardInput += search;
    }
    // The same key again starts after the focused item.
    if (m_keyboardInput.size() > 1 && m_keyboardInput.count(m_keyboardInput.back()) == m_keyboardInput.size())
        skipRow = true;
    const QString typed = m_keyboardInput.size() > 1 && skipRow ? m_keyboardInput.left(1) : m_keyboardInput;
    if (typed.isEmpty())
        return;
    // Every row shown, from the start to the end and round to the start.
    TTreeListTextNode* item = skipRow ? layout.NextRow(start) : start;
    if (!item)
        item = layout.ItemAtRow(0);
    for (TTreeListTextNode* first = item; item;) {
        if (NameStartsWith(*item, typed)) {
            m_view.setCurrentIndex(m_view.Model()->IndexOf(item));  // selects by the modifiers held, as Qt's views do
            return;
        }
        item = layout.NextRow(item);
        if (!item)
            item = layout.ItemAtRow(0);
        if (item == first)
            break;
    }
}

bool TTreeListInput::NameStartsWith(const TTreeListTextNode& item, const QString& typed)
{
    const std::string_view name = item.GetText(TreeListColumnName);
    // ASCII letters read the same in either encoding of a name: most rows
    // answer from their bytes, without decoding.
    bool ascii = true;
    for (QChar c : typed)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        if (name.size() < static_cast<size_t>(typed.size()))
            return false;
        bool same = true;
        for (qsizetype i = 0; same && i < typed.size(); ++i) {
            const char byte = name[static_cast<size_t>(i)];
            same = (byte & 0x80) == 0 && QChar(QLatin1Char(byte)).toCaseFolded() == typed[i].toCaseFolded();
        }
        if (same || (name[0] & 0x80) == 0)
            return same;
    }
    return ItemBytesToText(name).text.startsWith(typed, Qt::CaseInsensitive);
}

void TTreeListInput::StartDrag()
{
    // Our own QDrag: QAbstractItemView's would remove the dragged rows itself
    // after a move, and here only the drop handler moves items, through the tree.
    const QModelIndexList indexes = m_view.selectedIndexes();
    if (indexes.isEmpty())
        return;
    auto* drag = new QDrag(&m_view);  // deleted by Qt when the drag is over
    drag->setMimeData(m_view.Model()->mimeData(indexes));
    const QIcon icon = m_view.Model()->data(m_view.FocusedIndex(), Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull())
        drag->setPixmap(icon.pixmap(m_view.iconSize()));
    if (const QCursor* cursor = m_view.ItemDragCursor(); cursor && !cursor->pixmap().isNull())
        drag->setDragCursor(cursor->pixmap(), Qt::MoveAction);
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

bool TTreeListInput::AcceptDrag(QDropEvent* event)
{
    if (!m_view.AcceptsDragFrom(event->source())) {
        event->ignore();
        return false;
    }
    return true;
}

void TTreeListInput::DragEnter(QDragEnterEvent* event)
{
    if (!AcceptDrag(event))
        return;
    m_view.QAbstractItemView::dragEnterEvent(event);  // enters the dragging state
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TTreeListInput::DragMove(QDragMoveEvent* event)
{
    if (!AcceptDrag(event))
        return;
    // Edge scrolling; the hovered item opens after a while.
    m_view.QAbstractItemView::dragMoveEvent(event);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (pos != m_dragPosition) {
        m_dragPosition = pos;
        m_openTimer.start(AutoExpandDelay, &m_view);
    }
    UpdateDropMark(pos);
}

void TTreeListInput::DragLeave(QDragLeaveEvent* event)
{
    m_openTimer.stop();
    m_view.QAbstractItemView::dragLeaveEvent(event);
    SetDropMark(QRect(), false);
}

void TTreeListInput::Drop(QDropEvent* event)
{
    if (!AcceptDrag(event))
        return;
    // Ends the dragging state and edge scrolling; the model refuses the data.
    m_openTimer.stop();
    m_view.QAbstractItemView::dropEvent(event);
    SetDropMark(QRect(), false);
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    emit m_view.DragDropped(pos.x(), pos.y());
}

bool TTreeListInput::TimerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_scrollTimer.timerId()) {
        m_scrollTimer.stop();
        // Only now that no double click can follow does the pressed row come into view.
        if (m_pressed.isValid() && m_pressed == m_view.FocusedIndex())
            m_view.scrollTo(m_pressed);
        return true;
    }
    if (event->timerId() != m_openTimer.timerId())
        return false;
    m_openTimer.stop();
    if (m_view.state() == QAbstractItemView::DraggingState && m_view.viewport()->rect().contains(m_dragPosition))
        if (TTreeListTextNode* item = m_view.ItemAt(m_dragPosition.x(), m_dragPosition.y()); item && !m_view.Layout().IsOpen(item))
            m_view.SetItemOpen(item, true);
    return true;
}

void TTreeListInput::UpdateDropMark(const QPoint& pos)
{
    const TItemHitArea area = m_view.HitTest(pos.x(), pos.y());
    TTreeListTextNode* item = m_view.ItemAt(pos.x(), pos.y());
    const int width = m_view.viewport()->width();
    TTreeListModel& model = *m_view.Model();
    switch (area) {
    case iaButton:
    case iaIcon:
    case iaStateIcon:
    case iaLabel:
        if (item) {
            const QRect row = m_view.visualRect(model.IndexOf(item));
            SetDropMark(QRect(row.left(), row.top(), width - row.left(), row.height()), false);
            return;
        }
        break;
    case iaIndent:
        if (item) {
            const QRect row = m_view.visualRect(model.IndexOf(item));
            SetDropMark(QRect(row.left(), row.top(), width - row.left(), 2), true);
            return;
        }
        break;
    case iaNone:
        if (TTreeListTextNode* last = m_view.Layout().LastRow()) {
            // The line stands where a drop there lands: behind the last item of the first row's children.
            const TTreeListTextNode* root = m_view.Layout().Root();
            const TTreeListTextNode* level = !root ? m_tree.TopItem(m_tree.TopItemCount() - 1)
                                             : root->HasChildren() ? root->Child(root->Count() - 1) : root;
            const QRect row = m_view.visualRect(model.IndexOf(const_cast<TTreeListTextNode*>(level)));
            const int bottom = m_view.visualRect(model.IndexOf(last)).bottom() + 1;
            SetDropMark(QRect(row.left(), bottom, width - row.left(), 2), true);
            return;
        }
        break;
    default:
        break;
    }
    SetDropMark(QRect(), false);
}

void TTreeListInput::SetDropMark(const QRect& mark, bool line)
{
    if (mark == m_dropMark && line == m_dropMarkIsLine)
        return;
    m_dropMark = mark;
    m_dropMarkIsLine = line;
    m_view.viewport()->update();
}
