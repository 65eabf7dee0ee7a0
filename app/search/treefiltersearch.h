#pragma once

#include "app/guard/guard.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

class QTimer;

// Whether the folded `needle` (see FoldName) lies in `bytes`, an item's
// text, case and accents ignored. ASCII text is compared as it is, without
// a copy; only text with other letters is folded first.
bool FoldedContains(std::string_view bytes, std::string_view needle, std::string& folded);

// The filter's search: the items under a root (the whole tree for none)
// whose name, and on request description, holds the text. It scans on the
// user-interface thread in slices, so typing never waits for it; a new text
// starts it anew, and a change of the tree while it runs starts it again,
// so the matches never name an item the tree freed.
class TTreeFilterSearch : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds SliceTime{12};

    TTreeFilterSearch(TTreeList& tree, TGuard& guard, QObject* parent = nullptr);
    ~TTreeFilterSearch() override;

    // Starts anew with the first slice at once.
    void Start(const QString& text, bool descriptions, TTreeListTextNode* root);
    void Stop();
    void RunSlice();
    void Finish();
    bool Running() const { return m_cursor != nullptr; }
    // The matches of the last complete scan, in document order.
    const std::vector<TTreeListTextNode*>& Matches() const { return m_matches; }

signals:
    // A scan is complete: Matches() holds its result.
    void Finished();

private:
    bool Matches(const TTreeListTextNode* item);
    void TreeChanged();
    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { TreeChanged(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { TreeChanged(); }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { TreeChanged(); }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { TreeChanged(); }
    void AboutToReset() override;

    TTreeList& m_tree;
    TGuard& m_guard;
    QTimer* m_sliceTimer;
    QTimer* m_restartTimer;
    std::string m_needle;
    bool m_descriptions = false;
    TTreeListTextNode* m_root = nullptr;
    TTreeListTextNode* m_cursor = nullptr;
    // The first item after the root's subtree, where the scan ends.
    TTreeListTextNode* m_end = nullptr;
    std::vector<TTreeListTextNode*> m_found;
    std::vector<TTreeListTextNode*> m_matches;
    std::string m_folded;
};
