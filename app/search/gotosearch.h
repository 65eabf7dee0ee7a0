#pragma once

#include "app/guard/guard.h"
#include "app/search/gotorank.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <string>
#include <vector>

class QTimer;

// `bytes` of an item's name as Go to Item compares them: lower case, accents
// stripped, UTF-8 into `out`.
void FoldName(std::string_view bytes, std::string& out);

// Go to Item's search: the items whose names hold every word typed, the best
// MaxListed of them ranked, and how many there are. It scans on the
// user-interface thread in slices, so that typing never waits for it; a new
// text, or any change of the tree, starts it again, and a change drops the
// list at once, so it never names an item the tree freed.
class TGoToSearch : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr size_t MaxListed = 50;
    static constexpr std::chrono::milliseconds SliceTime{10};

    TGoToSearch(TTreeList& tree, TGuard& guard, QObject* parent = nullptr);
    ~TGoToSearch() override;

    // Starts anew with the first slice at once; blank text finds nothing.
    void Start(const QString& text);
    void RunSlice();
    void Finish();
    bool Running() const { return m_cursor != nullptr; }
    const std::vector<TGoToEntry>& Results() const { return m_results; }
    size_t MatchCount() const { return m_top.Matches(); }

signals:
    // The list or the count changed, or the scan ended.
    void Changed();

private:
    void TreeChanged();
    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { TreeChanged(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { TreeChanged(); }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { TreeChanged(); }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { TreeChanged(); }
    void AboutToReset() override { TreeChanged(); }
    void ItemChanged(TTreeListTextNode*) override { TreeChanged(); }

    TTreeList& m_tree;
    TGuard& m_guard;
    QTimer* m_sliceTimer;
    QTimer* m_restartTimer;
    QString m_text;
    std::vector<std::string> m_words;
    TGoToTop m_top{MaxListed};
    std::vector<TGoToEntry> m_results;
    TTreeListTextNode* m_cursor = nullptr;
    uint64_t m_order = 0;
    std::string m_folded;
};
