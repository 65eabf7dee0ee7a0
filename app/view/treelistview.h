#pragma once

#include <QAbstractItemView>
#include <QBasicTimer>
#include <QCursor>

#include <functional>
#include <memory>
#include <unordered_map>

#include "document/treelist.h"

class TTreeListModel;

// The item tree on screen. The tree stays the source of truth for focus,
// selection and expanded state: what the user does here is passed on through
// the tree's own operations, and the tree's notifications are mirrored back.
// It answers the tree's geometry questions (hit areas, items at points) from
// where it actually paints the rows.
// The rows are laid out from the tree's own expanded state, with a count of
// the rows shown below each expanded item kept as needed: a million expanded
// rows cost neither a row table nor a relayout when a subtree changes.
class TTreeListView : public QAbstractItemView, public TTreeListPresenter, private TTreeListObserver {
    Q_OBJECT

public:
    explicit TTreeListView(TTreeList& tree, QWidget* parent = nullptr);
    ~TTreeListView() override;

    TTreeListModel* Model() const { return m_model.get(); }
    TTreeList& Tree() const { return m_tree; }

    // Decides whether a drag from `source` may drop here; unset: only our own drags.
    std::function<bool(QObject* source)> OnDragOver;
    // A drop of our own items at a point in viewport coordinates. The view
    // itself moves nothing.
    std::function<void(int x, int y)> OnDragDrop;
    bool AcceptsDragFrom(QObject* source) const;
    void SetDragCursor(const QCursor& cursor);

    // Ctrl+C and Ctrl+Ins in the tree; unset: CopyToClipboard.
    std::function<void()> OnCopy;
    // "Name", an empty line, then the selected items' names in document order.
    QString ClipboardText() const;
    void CopyToClipboard();

    // Where a drop at the current drag position would land: the row that
    // receives children (a frame), or a line before a row or after the last
    // one. Empty when nothing is dragged over the view.
    QRect DropMark() const { return m_dropMark; }
    bool DropMarkIsLine() const { return m_dropMarkIsLine; }
    // Ends an open edit of an item's name, keeping what was typed.
    void FinishNameEdit();

    // As QTreeView answers them, for one column with decorated roots.
    bool isExpanded(const QModelIndex& index) const;
    void setExpanded(const QModelIndex& index, bool expanded);
    void expand(const QModelIndex& index) { setExpanded(index, true); }
    void collapse(const QModelIndex& index) { setExpanded(index, false); }
    int indentation() const;
    bool rootIsDecorated() const { return true; }
    int columnWidth(int column) const;
    int columnViewportPosition(int column) const;
    // Rows shown, the expanded items' children included.
    int RowCount() const;

    // QAbstractItemView
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

    // TTreeListPresenter
    TItemHitArea HitTest(int x, int y) const override;
    TTreeListTextNode* ItemAt(int x, int y) const override;
    void ScrollIntoView(TTreeListTextNode* item) override;
    void EditName(TTreeListTextNode* item) override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    class TApplyingTree;

    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                            int destinationRow) override;
    void ItemMoved() override;
    void AboutToReset() override;
    void ResetDone() override;
    void ExpandedChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;
    void SelectionChanged(TTreeListTextNode* item) override;

    bool IgnoreViewSignals() const;

    // Rows below an expanded item with children; 0 for any other.
    int RowsBelow(const TTreeListTextNode* item) const;
    // The item's row, -1 when a collapsed ancestor hides it.
    int RowOf(const TTreeListTextNode* item) const;
    TTreeListTextNode* ItemAtRow(int row) const;
    // The counts of `item` and its ancestors are stale.
    void Invalidate(const TTreeListTextNode* item);
    // Forgets the counts of every item in the subtree, which is going away.
    void Forget(const TTreeListTextNode* root);
    // A change of rows: counts, scroll bars and the focused row kept in view.
    void RowsChanged();
    // Before and after a change of the structure: the focused row stays
    // where it is on screen when it was on screen.
    void KeepFocusedRow();
    void RestoreFocusedRow();
    int RowHeight() const;
    int PageRows() const;
    int TopRow() const;
    int ItemLeft(const TTreeListTextNode* item) const;
    QStyleOptionViewItem RowOption(const QModelIndex& index) const;
    int ContentWidth(const TTreeListTextNode* item) const;
    void ToggleExpanded(TTreeListTextNode* item);
    void SyncCurrent();
    void SyncSelection();
    QModelIndex RowIndexAt(int y) const;
    bool AcceptDrag(QDropEvent* event);
    void SetDropMark(const QRect& mark, bool line);
    void UpdateDropMark(const QPoint& pos);

    TTreeList& m_tree;
    std::unique_ptr<TTreeListModel> m_model;
    mutable std::unordered_map<const TTreeListTextNode*, int> m_rowsBelow;
    mutable int m_rowCount = -1;
    mutable int m_rowHeight = 0;
    TTreeListTextNode* m_changingParent = nullptr;
    TTreeListTextNode* m_movingItem = nullptr;
    mutable int m_columnWidth = -1;
    int m_focusedOffset = -1;  // the focused row's place on screen before a change
    QBasicTimer m_openTimer;
    QPoint m_dragPosition;
    QCursor m_dragCursor;
    bool m_hasDragCursor = false;
    int m_applying = 0;
    QRect m_dropMark;
    bool m_dropMarkIsLine = false;
    bool m_pressing = false;
};
