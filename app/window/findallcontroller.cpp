#include "app/window/findallcontroller.h"

#include "app/search/findallpane.h"
#include "app/search/treesearch.h"
#include "app/view/treelistview.h"
#include "app/window/application.h"
#include "document/treelist.h"

#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>

TFindAllController::TFindAllController(QMainWindow& window, TTreeList& tree, TTreeListView& treeView,
                                       QPlainTextEdit& memo)
    : m_tree(tree), m_treeView(treeView), m_memo(memo), m_search(std::make_unique<TTreeSearch>(tree, WindowGuard())),
      m_dock(std::make_unique<QDockWidget>(tr("Find in All Items"), &window)),
      m_pane(new TFindAllPane(*m_search))
{
    m_dock->setObjectName(QStringLiteral("DockFindAll"));
    m_dock->setFeatures(QDockWidget::DockWidgetClosable);
    m_dock->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_dock->setWidget(m_pane);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_dock.get());
    m_dock->hide();

    ConnectGuarded(m_pane, &TFindAllPane::Activated, this, &TFindAllController::Activate);
    ConnectGuarded(m_pane, &TFindAllPane::EscapePressed, this, &TFindAllController::ReturnFocus);
    const std::pair<QKeySequence, int> steps[] = {{QKeySequence(Qt::Key_F4), 1},
                                                  {QKeySequence(Qt::SHIFT | Qt::Key_F4), -1}};
    for (const auto& [keys, delta] : steps) {
        auto* shortcut = new QShortcut(keys, &window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, Guarded([this, delta = delta] { Step(delta); }));
        m_stepShortcuts.push_back(shortcut);
    }
    ConnectGuarded(qApp, &QApplication::focusChanged, this, &TFindAllController::FocusChanged);
    m_search->AddObserver(this);
    ProgressChanged();
}

// The dock, with the pane that watches the search, goes before the search.
TFindAllController::~TFindAllController() = default;

void TFindAllController::ProgressChanged()
{
    for (QShortcut* shortcut : m_stepShortcuts)
        shortcut->setEnabled(!m_search->Results().empty());
}

void TFindAllController::actSearchFindAllExecute()
{
    m_dock->show();
    m_dock->raise();
    // A selection within one line of the editor is what to look for, as for Find...
    const QTextCursor cursor = m_memo.textCursor();
    if (m_memo.hasFocus() && cursor.hasSelection() && !cursor.selectedText().contains(QChar::ParagraphSeparator))
        m_pane->FindText()->setText(cursor.selectedText());
    m_pane->FindText()->setFocus();
    m_pane->FindText()->selectAll();
}

void TFindAllController::Activate(int row)
{
    const std::vector<TFindAllResult>& results = m_search->Results();
    if (row < 0 || static_cast<size_t>(row) >= results.size())
        return;
    // A copy: focusing another item may put the editor's pending text into
    // the item it belongs to, and the list follows that change.
    const TFindAllResult result = results[static_cast<size_t>(row)];
    TTreeListTextNode* item = result.item;
    item->MakeVisible();
    m_tree.ClearSelection();
    item->SetSelected(true);
    emit Jumping();
    item->SetFocused();
    if (result.column != TreeListColumnDesc) {
        m_treeView.setFocus();
        return;
    }
    QTextCursor selection(m_memo.document());
    if (result.offset + result.length < m_memo.document()->characterCount()) {
        selection.setPosition(result.offset);
        selection.setPosition(result.offset + result.length, QTextCursor::KeepAnchor);
        m_memo.setTextCursor(selection);
    }
    m_memo.setFocus();
}

void TFindAllController::Step(int delta)
{
    const int count = static_cast<int>(m_search->Results().size());
    if (count == 0)
        return;
    m_dock->show();
    const int current = m_pane->CurrentRow();
    const int row = current < 0 ? (delta > 0 ? 0 : count - 1) : ((current + delta) % count + count) % count;
    m_pane->SetCurrentRow(row);
    Activate(row);
}

void TFindAllController::FocusChanged(QWidget* old, QWidget* now)
{
    auto inPane = [this](const QWidget* widget) { return widget && (widget == m_pane || m_pane->isAncestorOf(widget)); };
    if (inPane(now) && !inPane(old))
        m_returnFocus = old;
}

void TFindAllController::ReturnFocus()
{
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus();
    else
        m_treeView.setFocus();
}
