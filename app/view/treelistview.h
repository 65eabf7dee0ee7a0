#pragma once

#include <QCursor>
#include <QTreeView>

#include <functional>
#include <memory>

#include "document/treelist.h"

class TTreeListModel;

// The item tree on screen. The tree stays the source of truth for focus,
// selection and expanded state: what the user does here is passed on through
// the tree's own operations, and the tree's notifications are mirrored back.
// It answers the tree's geometry questions (hit areas, items at points) from
// where Qt actually paints the rows.
class TTreeListView : public QTreeView, public TTreeListPresenter, private TTreeListObserver {
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

    // TTreeListPresenter
    TItemHitArea HitTest(int x, int y) const override;
    TTreeListTextNode* ItemAt(int x, int y) const override;
    void ScrollIntoView(TTreeListTextNode* item) override;
    void EditName(TTreeListTextNode* item) override;

protected:
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
    void ResetDone() override;
    void ExpandedChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;
    void SelectionChanged(TTreeListTextNode* item) override;

    bool IgnoreViewSignals() const;
    void ViewExpanded(const QModelIndex& index, bool expanded);

    void ApplyExpanded(TTreeListTextNode* item);
    void SyncExpandedBelow(TTreeListTextNode* root);
    bool AllExpanded() const;
    void SyncCurrent();
    void SyncSelection();
    QModelIndex RowIndexAt(int y) const;
    bool AcceptDrag(QDropEvent* event);
    void SetDropMark(const QRect& mark, bool line);
    void UpdateDropMark(const QPoint& pos);

    TTreeList& m_tree;
    std::unique_ptr<TTreeListModel> m_model;
    QCursor m_dragCursor;
    bool m_hasDragCursor = false;
    int m_applying = 0;
    QRect m_dropMark;
    bool m_dropMarkIsLine = false;
    bool m_pressing = false;
};
