#pragma once

#include "document/treelist.h"

#include <QObject>

#include <vector>

class QHBoxLayout;
class QWidget;
class TDocumentSession;
class TTreeListView;

// Outdenting these items keeps them inside `root`'s subtree (always, for none).
bool OutdentStaysInside(const std::vector<TTreeListTextNode*>& items, const TTreeListTextNode* root);
// The positions leading from the top level to the item, and back.
std::vector<int> PositionsOf(const TTreeListTextNode* item);
TTreeListTextNode* ItemAtPositions(const TTreeList& tree, const std::vector<int>& positions);

// Focus on a subtree: the tree shows one item's subtree, that item on the
// first row, and a path bar above it names the item's ancestors, each a
// button that focuses there. The item is kept per file in the settings and
// comes back when the file is opened again. Deleting the item or an
// ancestor, a new document, or a jump to an item outside show the whole tree.
class TSubtreeFocus : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    TSubtreeFocus(TTreeList& tree, TTreeListView& treeView, TDocumentSession& session);
    ~TSubtreeFocus() override;

    void actViewFocusSubtreeExecute();
    void actViewShowWholeTreeExecute();
    // The item the tree shows alone with its subtree; none for the whole tree.
    TTreeListTextNode* Root() const;
    // Shows `root`'s subtree (the whole tree for none) and stores it for the file.
    void FocusOn(TTreeListTextNode* root);
    QWidget* PathBar() const { return m_pathBar; }

private:
    void Show(TTreeListTextNode* root);
    void Store();
    void Restore();
    void ShowPath();
    // The view let go of its root under a change (a delete, a reset).
    void FollowView();

    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { ++m_changing; }
    void ItemsInserted() override { --m_changing; }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { ++m_changing; }
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { ++m_changing; }
    void ItemMoved() override;
    void ResetDone() override;
    void ItemChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TDocumentSession& m_session;
    QWidget* m_pathBar;
    QHBoxLayout* m_pathLayout;
    // The root, which was closed and opened to show its subtree: it closes again when left.
    TTreeListTextNode* m_opened = nullptr;
    TTreeListTextNode* m_shownRoot = nullptr;
    int m_changing = 0;
};
