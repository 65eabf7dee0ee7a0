#pragma once

#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QTimer;
class TLinksToScan;
class TWaitCursor;

// The link Copy Link to Item puts on the clipboard. Whether the item's name
// alone finds it takes a walk of every item before it: the first slice runs
// at once, which settles it on all but large trees, and the rest runs in
// slices under the wait cursor, so the window never stalls. A change of the
// tree starts the walk again; the item's removal ends it.
class TCopyLinkTask : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    explicit TCopyLinkTask(TTreeList& tree, QObject* parent = nullptr);
    ~TCopyLinkTask() override;

    void Start(TTreeListTextNode* item);
    // Runs what is left at once.
    void Finish();
    bool Running() const { return m_scan != nullptr; }
    // No time walks 1,024 items a slice.
    void SetFirstSliceTime(std::chrono::milliseconds time) { m_firstSlice = time; }

signals:
    void Ready(const QString& link);

private:
    void ItemsInserted() override { Restart(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemMoved() override { Restart(); }
    void ChildrenReordered() override { Restart(); }
    void AboutToReset() override { Cancel(); }
    void ItemChanged(TTreeListTextNode* item) override;

    void Restart();
    void RunSlice(bool first);
    void Cancel();

    TTreeList& m_tree;
    TTreeListTextNode* m_target = nullptr;
    std::unique_ptr<TLinksToScan> m_scan;
    std::unique_ptr<TWaitCursor> m_waitCursor;
    // The first slice may take this long before the wait cursor shows: on a
    // tree of a few hundred thousand items the link is ready within it.
    std::chrono::milliseconds m_firstSlice{20};
    QTimer* m_sliceTimer;
};
