#pragma once

#include "app/guard/guard.h"
#include "app/search/textmatcher.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <vector>

class QTimer;

enum class TFindScope { NamesAndDescriptions, Names, Descriptions };

// One listed match.
struct TFindAllResult {
    // The list never holds an item longer than the tree does: a result goes
    // before its item is freed.
    TTreeListTextNode* item;
    int column;  // TreeListColumnName or TreeListColumnDesc
    int offset;  // the match in the editor's text of that string
    int length;
    int line;  // from 1
    QString lineText;  // that line, cut around the match when long
    int lineMatchStart;  // the match in lineText
};

// Told what became of the list, so a model can keep in step.
class TTreeSearchObserver {
public:
    virtual ~TTreeSearchObserver() = default;
    virtual void ResultsAboutToBeInserted(int /*first*/, int /*last*/) {}
    virtual void ResultsInserted() {}
    virtual void ResultsAboutToBeRemoved(int /*first*/, int /*last*/) {}
    virtual void ResultsRemoved() {}
    virtual void ResultsChanged(int /*first*/, int /*last*/) {}
    virtual void ResultsAboutToBeReset() {}
    virtual void ResultsReset() {}
    // The counts, or whether the search still runs.
    virtual void ProgressChanged() {}
};

// Finds a text in the names and descriptions of every item, in document
// order, on the user-interface thread in slices short enough for typing to
// stay fluid; the results come in as each slice ends. The first 10,000
// matches are listed, the rest only counted.
//
// The list follows the tree: results of deleted items go before the items
// do, an edited item is searched again, a move puts the list back in
// document order. A change the list cannot follow item by item (one while
// matches are left unlisted, a move or an insertion while the search runs)
// starts the search again.
class TTreeSearch : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr int MaxListed = 10000;
    static constexpr std::chrono::milliseconds SliceTime{12};

    // The work that the event loop starts (the search's timers, the pane's
    // signals) runs through `guard`, so that the window can catch what it
    // throws there.
    TTreeSearch(TTreeList& tree, TGuard& guard, QObject* parent = nullptr);
    ~TTreeSearch() override;

    void AddObserver(TTreeSearchObserver* observer);
    void RemoveObserver(TTreeSearchObserver* observer);

    TGuard& Guard() const { return m_guard; }

    // Starts anew, ending the search that runs; an empty needle finds nothing.
    void Start(const QString& needle, TSearchOptions options, TFindScope scope);
    // One slice: the search goes on until the slice time is up.
    void RunSlice();
    // Runs what is left at once.
    void Finish();
    // Slices of no time search 256 items each.
    void SetSliceTime(std::chrono::milliseconds time) { m_sliceTime = time; }
    bool Running() const { return m_cursor != nullptr || m_restartPending; }
    // The item the scan goes on with; none when it is not scanning.
    TTreeListTextNode* NextItem() const { return m_cursor; }

    const TTextMatcher& Matcher() const { return m_matcher; }
    TFindScope Scope() const { return m_scope; }
    const std::vector<TFindAllResult>& Results() const { return m_results; }
    long long MatchCount() const { return static_cast<long long>(m_results.size()) + m_unlistedMatches; }
    long long ItemCount() const { return m_listedItems + m_unlistedItems; }
    long long UnlistedCount() const { return m_unlistedMatches; }

private:
    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemMoved() override;
    // Reordered children: the results follow as after a move.
    void ChildrenReordered() override { ItemMoved(); }
    void AboutToReset() override;
    void ResetDone() override;
    void ItemChanged(TTreeListTextNode* item) override;

    bool Scan(std::chrono::steady_clock::time_point deadline);
    // True when a text had to be decoded.
    bool ScanItem(TTreeListTextNode* item, std::vector<TFindAllResult>& found);
    std::vector<TFindAllResult> ListItem(TTreeListTextNode* item) const;
    // Each with the observers told before and after.
    void InsertResults(size_t at, std::vector<TFindAllResult>& results);
    void EraseResults(size_t begin, size_t end);
    void Rematch(TTreeListTextNode* item);
    template <typename F> void RemoveResultsIf(F&& doomed);
    void ClearResults();
    void SortResults();
    void RecountListedItems();
    // Stops scanning and starts again after `delay`, once changes settle.
    void Invalidate(int delayMs);
    bool Active() const { return !m_matcher.IsEmpty(); }
    bool HasText(TTreeListTextNode* root) const;
    template <typename F> void Notify(F&& f);

    TTreeList& m_tree;
    TGuard& m_guard;
    TTextMatcher m_matcher;
    TFindScope m_scope = TFindScope::NamesAndDescriptions;
    std::chrono::milliseconds m_sliceTime = SliceTime;
    std::vector<int> m_columns;
    TTreeListTextNode* m_cursor = nullptr;  // the next item to search
    std::vector<TFindAllResult> m_results;
    long long m_unlistedMatches = 0;
    long long m_listedItems = 0;
    long long m_unlistedItems = 0;
    bool m_restartPending = false;
    TTreeListTextNode* m_insertParent = nullptr;
    int m_insertFirst = 0;
    int m_insertLast = -1;
    QTimer* m_sliceTimer;
    QTimer* m_restartTimer;
    std::vector<TTreeSearchObserver*> m_observers;
};
