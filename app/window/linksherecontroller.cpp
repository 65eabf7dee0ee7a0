#include "app/window/linksherecontroller.h"

#include "app/search/linkshere.h"
#include "app/search/linksherepane.h"
#include "app/window/application.h"
#include "document/treelist.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextCursor>

TLinksHereController::TLinksHereController(QMainWindow& window, TTreeList& tree, QPlainTextEdit& memo)
    : m_tree(tree), m_memo(memo), m_links(std::make_unique<TLinksHere>(tree, WindowGuard())),
      m_dock(std::make_unique<QDockWidget>(tr("Links Here"), &window)), m_pane(new TLinksHerePane(*m_links))
{
    m_dock->setObjectName(QStringLiteral("DockLinksHere"));
    m_dock->setFeatures(QDockWidget::DockWidgetClosable);
    m_dock->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_dock->setWidget(m_pane);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_dock.get());
    m_dock->hide();
    // Hidden, the list would walk the whole tree at every focus change for no one.
    ConnectGuarded(m_dock.get(), &QDockWidget::visibilityChanged, m_links.get(), &TLinksHere::SetEnabled);
    ConnectGuarded(m_pane, &TLinksHerePane::Activated, this, &TLinksHereController::Activate);
}

// The dock, with the pane that watches the list, goes before the list.
TLinksHereController::~TLinksHereController() = default;

void TLinksHereController::actViewLinksHereExecute()
{
    m_dock->show();
    m_dock->raise();
    m_links->SetEnabled(true);
}

void TLinksHereController::Activate(int row)
{
    const std::vector<TLinkHereResult>& results = m_links->Results();
    if (row < 0 || static_cast<size_t>(row) >= results.size())
        return;
    // A copy: focusing the item may put the editor's pending text into the
    // item it belongs to, which starts the list again.
    const TLinkHereResult result = results[static_cast<size_t>(row)];
    result.item->MakeVisible();
    m_tree.ClearSelection();
    result.item->SetSelected(true);
    m_links->SetFollowFocus(false);
    try {
        result.item->SetFocused();
    } catch (...) {
        m_links->SetFollowFocus(true);
        throw;
    }
    m_links->SetFollowFocus(true);
    if (result.offset + result.length < m_memo.document()->characterCount()) {
        QTextCursor selection(m_memo.document());
        selection.setPosition(result.offset);
        selection.setPosition(result.offset + result.length, QTextCursor::KeepAnchor);
        m_memo.setTextCursor(selection);
    }
    m_memo.setFocus();
}
