#pragma once

#include "app/guard/guard.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

class QTimer;
class TLinksToScan;

// One link to the item, in another item's description (or its own).
struct TLinkHereResult {
    // Gone from the list before its item is freed.
    TTreeListTextNode* item;
    int offset;  // the link in the editor's text of the description
    int length;
    int line;  // from 1
    QString lineText;  // that line, cut around the link when long
    int lineLinkStart;  // the link in lineText
};

// The item links that find the focused item, looked for over the whole tree
// while it is on: on the user-interface thread in slices short enough that a
// focus change never waits, each focus change ending the walk that runs
// and starting another. The list is shown whole once the walk is done.
// A change of the tree that may change the answer walks again once changes
// settle; a removal takes the list away at once, before its items go.
class TLinksHere : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds SliceTime{12};

    TLinksHere(TTreeList& tree, TGuard& guard, QObject* parent = nullptr);
    ~TLinksHere() override;

    // Off, it follows nothing and costs nothing; on, it looks at once.
    void SetEnabled(bool enabled);
    bool Enabled() const { return m_enabled; }

    // Starts anew for the focused item, ending the walk that runs.
    void Restart();
    // Off while a jump to one of its links moves the focus, so the list
    // stays to go on to the next.
    void SetFollowFocus(bool follow) { m_followFocus = follow; }
    void RunSlice();
    // Runs what is left at once.
    void Finish();
    bool Running() const;

    const TTreeListTextNode* Target() const { return m_target; }
    const std::vector<TLinkHereResult>& Results() const { return m_results; }

signals:
    void ResultsAboutToBeReset();
    void ResultsReset();
    // Whether it runs, or what it looks for.
    void ProgressChanged();

private:
    void ItemsInserted() override { Invalidate(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemMoved() override { Invalidate(); }
    void ChildrenReordered() override { Invalidate(); }
    void AboutToReset() override;
    void ResetDone() override { Invalidate(); }
    void ItemChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;

    // Retargeting looks for links to the focused item, otherwise to the
    // same item again; a list kept stays shown until the new one is done.
    void Start(bool retarget, bool keepList);
    void Stop();
    void Invalidate();
    void SetResults(std::vector<TLinkHereResult> results);

    TTreeList& m_tree;
    TGuard& m_guard;
    bool m_enabled = false;
    bool m_followFocus = true;
    TTreeListTextNode* m_target = nullptr;
    std::unique_ptr<TLinksToScan> m_scan;
    std::vector<TLinkHereResult> m_results;
    QTimer* m_sliceTimer;
    QTimer* m_restartTimer;
};
