#pragma once

#include <QAbstractItemView>
#include <QCursor>
#include <QPersistentModelIndex>

#include <memory>
#include <vector>

#include "document/treelist.h"

class TTreeListAccessible;
class TTreeListInput;
class TTreeListLayout;
class TTreeListModel;
class TTreeListPainter;
class TTreeListSelector;

// The item tree on screen. The tree is the one keeper of focus, selection
// and expanded state: the view paints them from the tree, and what the user
// does here goes to the tree's own operations (TTreeListInput). Qt's
// selection model holds nothing; what Qt itself selects through it (select
// all, for one) is passed on to the tree as well.
// It answers the tree's geometry questions (hit areas, items at points) from
// where it paints the rows; which item is on which row, TTreeListLayout says.
class TTreeListView : public QAbstractItemView, public TTreeListPresenter, private TTreeListObserver {
    Q_OBJECT

public:
    explicit TTreeListView(TTreeList& tree, QWidget* parent = nullptr);
    ~TTreeListView() override;

    TTreeListModel* Model() const { return m_model.get(); }
    TTreeList& Tree() const { return m_tree; }
    const TTreeListLayout& Layout() const { return *m_layout; }
    TTreeListLayout& Layout() { return *m_layout; }
    // Shows only `root`'s subtree, `root` on the first row (the whole tree
    // for none); the focused item is brought into view.
    void SetRoot(TTreeListTextNode* root);
    // The tree's focused item, as an index of Model().
    QModelIndex FocusedIndex() const;
    // Shows the layout's next filter (see TTreeListLayout::BeginNextFilter),
    // the ancestors of matches greyed, and the focused item, so that the
    // keys and commands start from a row on screen.
    void ShowNextFilter();
    // The tree's rows as its own expanded states say; the caller puts the scroll back.
    void ClearFilter();
    // Opens or closes the item's row: under the filter, for the filter alone.
    void SetItemOpen(TTreeListTextNode* item, bool open);
    // Under the filter, the same for every shown item of `root`'s subtree
    // (of the whole tree for none).
    void SetShownSubtreeOpen(TTreeListTextNode* root, bool open);
    // The first row on screen.
    int FirstVisibleRow() const { return TopRow(); }
    void ScrollToRow(int row);

    // Whose drags may drop here; by default only the view's own. A null
    // source stands for a drag that comes from no widget of this program.
    void SetDragSources(std::vector<const QObject*> sources);
    bool AcceptsDragFrom(const QObject* source) const;
    void SetDragCursor(const QCursor& cursor);

    // "Name", an empty line, then the selected items' names in document order.
    QString ClipboardText() const;
    void CopyToClipboard();

    // Where a drop at the current drag position would land: the row that
    // receives children (a frame), or a line before a row or after the last
    // one. Empty when nothing is dragged over the view.
    QRect DropMark() const;
    bool DropMarkIsLine() const;
    // The open in-place editor of an item's name, or none.
    QWidget* NameEditor() const;
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
    void keyboardSearch(const QString& search) override;
    // Every row shown, the expanded items' children included.
    void selectAll() override;

    // TTreeListPresenter
    TItemHitArea HitTest(int x, int y) const override;
    TTreeListTextNode* ItemAt(int x, int y) const override;
    void ScrollIntoView(TTreeListTextNode* item) override;
    void EditName(TTreeListTextNode* item) override;

signals:
    // SetRoot showed another subtree.
    void RootChanged();
    // Ctrl+C or Ctrl+Insert in the tree.
    void CopyRequested();
    // A drag from an accepted source was dropped at a point in viewport
    // coordinates. The view itself moves nothing.
    void DragDropped(int x, int y);

protected:
    // How a row is painted: the tree's selection and focus decide its state.
    QStyleOptionViewItem RowOption(const QModelIndex& index) const;

    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QModelIndexList selectedIndexes() const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TTreeListAccessible;
    friend class TTreeListInput;
    friend class TTreeListPainter;

    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                            int destinationRow) override;
    void ItemMoved() override;
    void ResetDone() override;
    void ExpandedChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;
    void SelectionChanged(TTreeListTextNode* item) override;

    // The drag cursor set, or none.
    const QCursor* ItemDragCursor() const { return m_hasDragCursor ? &m_dragCursor : nullptr; }
    int RowHeight() const;
    int TopRow() const;
    int PageRows() const;
    // The row a point at `y` in viewport coordinates lies on, also above or
    // below the rows there are.
    int RowAtY(int y) const;
    int ItemLeft(const TTreeListTextNode* item) const;
    // A change of rows: counts, scroll bars and the focused row kept in view.
    void RowsChanged();
    // The rows of the filter changed: counts, scroll bars (back to the top on request) and the screen reader.
    void FiltersChanged(bool toTop = true);
    // Before and after a change of the structure: the focused row stays
    // where it is on screen when it was on screen.
    void KeepFocusedRow();
    void RestoreFocusedRow();
    QModelIndex RowIndexAt(int y) const;

    TTreeList& m_tree;
    std::unique_ptr<TTreeListModel> m_model;
    std::unique_ptr<TTreeListLayout> m_layout;
    std::unique_ptr<TTreeListSelector> m_selector;
    std::unique_ptr<TTreeListInput> m_input;
    std::unique_ptr<TTreeListPainter> m_painter;
    mutable int m_rowHeight = 0;
    mutable int m_columnWidth = -1;
    int m_focusedOffset = -1;  // the focused row's place on screen before a change
    std::vector<const QObject*> m_dragSources;
    QCursor m_dragCursor;
    bool m_hasDragCursor = false;
    QPersistentModelIndex m_editing;
    bool m_scrollOnShow = false;
    // The view's interface for screen readers, once Qt asked for it.
    TTreeListAccessible* m_accessible = nullptr;
};
