#pragma once

#include "app/view/itemtext.h"
#include "app/window/navigationhistory.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QLabel;
class QWidget;
class TCommandTable;
class TGoToItemPopup;
class TTreeListView;

// The names joined by " › ", with the middle ones replaced by "…" until the
// text fits in `maxChars`; the first and the last name always stay.
QString ShortenedPath(const QStringList& names, int maxChars);

// Back and Forward through the places the focus was, and the focused item's
// path in the status bar. A place is recorded when the focus jumps (Go to
// Item, a result of Find in All Items, an item link, Back and Forward
// themselves) or moves more than one row; arrow-key steps are not places.
class TNavigator : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    TNavigator(QWidget& window, TTreeList& tree, TTreeListView& treeView, TCommandTable& commands);
    ~TNavigator() override;

    void actGoBackExecute();
    void actGoForwardExecute();
    // Go to Item: the popup over the tree; its choice is a jump.
    void actGoToItemExecute();
    TGoToItemPopup* GoToItemPopup() const { return m_goToItem; }
    bool CanGoBack() const { return m_history.CanGoBack(m_tree.FocusedItem()); }
    bool CanGoForward() const { return m_history.CanGoForward(); }

    // The next focus change is a jump, recorded however near it lands.
    void NextFocusIsJump();
    // While a command runs, the focus follows its edits (a paste, an undo)
    // and only its jumps are places.
    class TCommandRun {
    public:
        explicit TCommandRun(TNavigator* navigator) : m_navigator(navigator)
        {
            if (m_navigator)
                ++m_navigator->m_commandsRunning;
        }
        ~TCommandRun()
        {
            if (m_navigator)
                --m_navigator->m_commandsRunning;
        }
        TCommandRun(const TCommandRun&) = delete;
        TCommandRun& operator=(const TCommandRun&) = delete;

    private:
        TNavigator* m_navigator;
    };
    // Focuses, selects and shows the item as a jump does.
    void JumpTo(TTreeListTextNode* item);

    QLabel* PathPanel() const { return m_pathPanel; }
    const TNavigationHistory& History() const { return m_history; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPath();
    void GoToItemChosen(TTreeListTextNode* item);
    void Go(TTreeListTextNode* item);

    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void AboutToReset() override;
    void ResetDone() override;
    void ItemChanged(TTreeListTextNode* item) override;
    void ItemMoved() override { ShowPath(); }
    // Every move of the focus, also those that tell the window nothing, as
    // when the focused item goes.
    void FocusChanged(TTreeListTextNode* item) override;

    QWidget& m_window;
    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TCommandTable& m_commands;
    TNavigationHistory m_history;
    QLabel* m_pathPanel;
    TGoToItemPopup* m_goToItem = nullptr;  // made at its first use
    bool m_jump = false;
    bool m_going = false;
    int m_commandsRunning = 0;
    // Where the focus was before its latest move; none once that item left.
    TTreeListTextNode* m_lastFocused = nullptr;
};
