#pragma once

#include "document/treelist.h"

#include <QObject>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;
class TTreeFilterSearch;
class TTreeListView;

// Filter the tree: a box above the tree; while it holds text the tree shows
// only the items whose name (or, with the check box, description) holds it,
// their ancestors greyed. Clearing the box brings the tree back as it was
// before: focus, selection and the first row on screen (the expanded states
// were never touched). When the focus moved meanwhile, it stays on the new
// item and shows it instead: whoever filtered to find an item wants to stay
// there.
class TTreeFilter : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    TTreeFilter(TTreeList& tree, TTreeListView& treeView);
    ~TTreeFilter() override;

    void actViewFilterTreeExecute();
    QWidget* Bar() const { return m_bar; }
    QLineEdit* FilterText() const { return m_text; }
    QCheckBox* SearchDescriptions() const { return m_descriptions; }
    // "n items match" in the status bar, while the filter is on.
    QLabel* CountPanel() const { return m_count; }
    TTreeFilterSearch& Search() const { return *m_search; }
    // Empties the box and hides it; the tree gets the keyboard.
    void Close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextChanged();
    void SearchFinished();
    void Restart();
    void Save();
    void Restore();
    void Forget();

    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void AboutToReset() override;

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TTreeFilterSearch* m_search;
    QWidget* m_bar;
    QLineEdit* m_text;
    QCheckBox* m_descriptions;
    QLabel* m_count;
    // The view as it was before the filter; none while no text is in the box.
    bool m_saved = false;
    TTreeListTextNode* m_savedFocus = nullptr;
    TTreeListTextNode* m_savedTop = nullptr;
    std::vector<TTreeListTextNode*> m_savedSelection;
};
