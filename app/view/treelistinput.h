#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QRect>
#include <QString>

#include "app/view/treelistview.h"

class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QMouseEvent;
class QTimerEvent;
class TTreeListSelector;

// The mouse, the keys and drag and drop on the tree view, passed on to the
// tree's own operations: a click focuses and selects through the selector,
// the branch button and double clicks open and close items, a drag of the
// selection ends in the view's DragDropped. The selection rules are those of
// an extended multi-selection: Ctrl adds or takes out one item, Shift
// selects the rows from where the last range started.
// Nothing here catches: what a click sets off in the window runs in the
// window's own guard (the tree's notifications, DragDropped, CopyRequested).
class TTreeListInput {
public:
    TTreeListInput(TTreeListView& view, TTreeListSelector& selector);

    // True while a press is being handled: rows stay where they are on screen.
    bool Pressing() const { return m_pressing; }
    QRect DropMark() const { return m_dropMark; }
    bool DropMarkIsLine() const { return m_dropMarkIsLine; }

    // Where a key moves the focus; Left and Right may close or open the
    // focused item instead, and leave the focus where it is.
    TTreeListTextNode* CursorTarget(TTreeListView::CursorAction action);
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void MouseDoubleClick(QMouseEvent* event);
    void KeyPress(QKeyEvent* event);
    // Typing a name's first letters goes to the next row shown, anywhere in
    // the tree, whose name starts with them; after a pause typing starts over.
    void KeyboardSearch(const QString& search);
    // Every row shown becomes the selection.
    void SelectAll();
    void StartDrag();
    void DragEnter(QDragEnterEvent* event);
    void DragMove(QDragMoveEvent* event);
    void DragLeave(QDragLeaveEvent* event);
    void Drop(QDropEvent* event);
    // False for a timer that is not ours.
    bool TimerEvent(QTimerEvent* event);

private:
    // Focus and selection after a key moved to `target`, by the modifiers.
    bool MoveTo(TTreeListTextNode* target, Qt::KeyboardModifiers modifiers);
    // Whether the item's name starts with `typed`, letters in either case.
    static bool NameStartsWith(const TTreeListTextNode& item, const QString& typed);
    void ToggleExpanded(TTreeListTextNode* item);
    void ExpandSubtree(TTreeListTextNode* item);
    bool AcceptDrag(QDropEvent* event);
    void SetDropMark(const QRect& mark, bool line);
    void UpdateDropMark(const QPoint& pos);
    // A point in viewport coordinates as a point in the whole list of rows.
    QPoint ContentPoint(const QPoint& pos) const;

    TTreeListView& m_view;
    TTreeList& m_tree;
    TTreeListSelector& m_selector;
    bool m_pressing = false;
    QPersistentModelIndex m_pressed;
    QPoint m_pressPosition;
    // A press that leaves the selection to the release: on a selected item
    // (the selection may be dragged) or beside the rows.
    bool m_selectOnRelease = false;
    // What dragging with Ctrl down does to the rows passed: what the press did.
    bool m_ctrlDragSelects = true;
    QBasicTimer m_scrollTimer;
    QBasicTimer m_openTimer;
    QPoint m_dragPosition;
    QRect m_dropMark;
    bool m_dropMarkIsLine = false;
    QString m_keyboardInput;
    QElapsedTimer m_keyboardInputTime;
};
