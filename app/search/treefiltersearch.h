#pragma once

#include "app/guard/guard.h"
#include "document/treelist.h"

class TTreeListLayout;

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

// The filter's search: the items whose name, and on request description,
// holds the text, counted under a root (the whole tree for none). It marks
// them for the layout's next filter as it goes, on the user-interface thread
// in slices, so typing never waits for it; the layout shows them once the
// scan is done. A new text starts it anew, and a change of the tree while it
// runs starts it again.
class TTreeFilterSearch : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds SliceTime{12};

    TTreeFilterSearch(TTreeList& tree, TTreeListLayout& layout, TGuard& guard, QObject* parent = nullptr);
    ~TTreeFilterSearch() override;

    // Starts anew with the first slice at once.
    void Start(const QString& text, bool descriptions, TTreeListTextNode* root);
    void Stop();
    void RunSlice();
    void Finish();
    bool Running() const { return m_cursor != nullptr; }
    // The matches under the root in the last complete scan.
    size_t MatchCount() const { return m_matchCount; }

signals:
    // A scan is complete: the layout's next filter is ready to show.
    void Finished();

private:
    bool Matches(const TTreeListTextNode* item);
    void TreeChanged();
    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { TreeChanged(); }
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { TreeChanged(); }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { TreeChanged(); }
    void AboutToReset() override;

    TTreeList& m_tree;
    TTreeListLayout& m_layout;
    TGuard& m_guard;
    QTimer* m_sliceTimer;
    QTimer* m_restartTimer;
    std::string m_needle;
    bool m_descriptions = false;
    TTreeListTextNode* m_root = nullptr;
    TTreeListTextNode* m_cursor = nullptr;
    size_t m_found = 0;
    size_t m_matchCount = 0;
    std::string m_folded;
};
