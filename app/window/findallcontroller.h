#pragma once

#include "app/search/treesearch.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QDockWidget;
class QMainWindow;
class QPlainTextEdit;
class QShortcut;
class TFindAllPane;
class TTreeList;
class TTreeListView;

// Find in All Items: the search over the whole tree and its pane, docked at
// the bottom of the window. A result leads to its item, and in a description
// to the matching text; F4 and Shift+F4 step through the results from
// anywhere in the window, Esc in the pane gives the keyboard back.
class TFindAllController : public QObject, private TTreeSearchObserver {
    Q_OBJECT
public:
    TFindAllController(QMainWindow& window, TTreeList& tree, TTreeListView& treeView, QPlainTextEdit& memo);
    ~TFindAllController() override;

    void actSearchFindAllExecute();
    // Focuses the result's item, expanding its ancestors and scrolling it
    // into view; a description match is selected in the editor.
    void Activate(int row);
    // The next (1) or previous (-1) result, round the end of the list.
    void Step(int delta);

    TTreeSearch& Search() const { return *m_search; }
    TFindAllPane& Pane() const { return *m_pane; }
    QDockWidget* Dock() const { return m_dock.get(); }

signals:
    // A result is about to take the focus to its item.
    void Jumping();

private:
    // F4 is the icon picker's too; it steps only while there are results.
    void ProgressChanged() override;
    void FocusChanged(QWidget* old, QWidget* now);
    void ReturnFocus();

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    QPlainTextEdit& m_memo;
    std::unique_ptr<TTreeSearch> m_search;
    std::unique_ptr<QDockWidget> m_dock;
    TFindAllPane* m_pane;
    std::vector<QShortcut*> m_stepShortcuts;
    // Where the keyboard was before it came to the pane.
    QPointer<QWidget> m_returnFocus;
};
