#pragma once

#include <QObject>
#include <memory>

class QDockWidget;
class QMainWindow;
class QPlainTextEdit;
class TLinksHere;
class TLinksHerePane;
class TTreeList;

// Links Here: the links to the focused item from every description, in a
// pane docked at the bottom of the window. It looks only while the pane is
// shown; a link in the list leads to its item, with the link selected in
// the description.
class TLinksHereController : public QObject {
    Q_OBJECT
public:
    TLinksHereController(QMainWindow& window, TTreeList& tree, QPlainTextEdit& memo);
    ~TLinksHereController() override;

    void actViewLinksHereExecute();
    void Activate(int row);

    TLinksHere& Links() const { return *m_links; }
    TLinksHerePane& Pane() const { return *m_pane; }
    QDockWidget* Dock() const { return m_dock.get(); }

private:
    TTreeList& m_tree;
    QPlainTextEdit& m_memo;
    std::unique_ptr<TLinksHere> m_links;
    std::unique_ptr<QDockWidget> m_dock;
    TLinksHerePane* m_pane;
};
