#include "app/window/treefilter.h"

#include "app/search/treefiltersearch.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistview.h"
#include "app/window/application.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

TTreeFilter::TTreeFilter(TTreeList& tree, TTreeListView& treeView)
    : m_tree(tree),
      m_treeView(treeView),
      m_search(new TTreeFilterSearch(tree, treeView.Layout(), WindowGuard(), this)),
      m_bar(new QWidget(&treeView)),
      m_text(new QLineEdit),
      m_descriptions(new QCheckBox(tr("Descriptions"))),
      m_count(new QLabel)
{
    m_bar->setObjectName(QStringLiteral("TreeFilterBar"));
    m_text->setObjectName(QStringLiteral("TreeFilterText"));
    m_text->setAccessibleName(tr("Filter the tree"));
    m_text->setPlaceholderText(tr("Filter"));
    m_text->setClearButtonEnabled(true);
    m_descriptions->setObjectName(QStringLiteral("TreeFilterDescriptions"));
    m_descriptions->setAccessibleName(tr("Search the descriptions too"));
    m_descriptions->setToolTip(tr("Search the descriptions too"));
    m_count->setObjectName(QStringLiteral("TreeFilterCount"));
    m_count->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_count->setAccessibleDescription(tr("Items that match the filter"));
    m_count->hide();
    auto* layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_descriptions);
    m_bar->hide();
    m_text->installEventFilter(this);
    m_tree.AddObserver(this);
    ConnectGuarded(m_text, &QLineEdit::textChanged, this, &TTreeFilter::TextChanged);
    ConnectGuarded(m_descriptions, &QCheckBox::toggled, this, &TTreeFilter::Restart);
    ConnectGuarded(m_search, &TTreeFilterSearch::Finished, this, &TTreeFilter::SearchFinished);
    ConnectGuarded(&m_treeView, &TTreeListView::RootChanged, this, &TTreeFilter::Restart);
}

TTreeFilter::~TTreeFilter()
{
    m_tree.RemoveObserver(this);
}

void TTreeFilter::actViewFilterTreeExecute()
{
    m_bar->show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void TTreeFilter::Close()
{
    m_text->clear();
    m_bar->hide();
    m_treeView.setFocus(Qt::OtherFocusReason);
}

bool TTreeFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        RunGuarded([this] { Close(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TTreeFilter::TextChanged()
{
    if (m_text->text().isEmpty()) {
        m_search->Stop();
        Restore();
        return;
    }
    if (!m_saved)
        Save();
    Restart();
}

void TTreeFilter::Restart()
{
    if (!m_text->text().isEmpty())
        m_search->Start(m_text->text(), m_descriptions->isChecked(), m_treeView.Layout().Root());
}

void TTreeFilter::SearchFinished()
{
    if (m_text->text().isEmpty())
        return;
    m_treeView.ShowNextFilter();
    // Commands act on the selection: what the filter hides leaves it (and
    // comes back into it when the filter goes).
    std::vector<TTreeListTextNode*> hidden;
    for (int i = 0; i < m_tree.SelectedCount(); ++i)
        if (!m_treeView.Layout().Shown(m_tree.SelectedItem(i)))
            hidden.push_back(m_tree.SelectedItem(i));
    if (!hidden.empty()) {
        const TTreeListUpdate bracket(m_tree);
        for (TTreeListTextNode* item : hidden)
            item->SetSelected(false);
    }
    m_count->setText(tr("%n item(s) match", nullptr, static_cast<int>(m_search->MatchCount())));
    m_count->show();
}

void TTreeFilter::Save()
{
    m_saved = true;
    m_savedFocus = m_tree.FocusedItem();
    m_savedTop = m_treeView.Layout().ItemAtRow(m_treeView.FirstVisibleRow());
    m_savedSelection.clear();
    for (int i = 0; i < m_tree.SelectedCount(); ++i)
        m_savedSelection.push_back(m_tree.SelectedItem(i));
}

void TTreeFilter::Restore()
{
    m_count->hide();
    if (m_treeView.Layout().Filtered())
        m_treeView.ClearFilter();
    if (!m_saved)
        return;
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (focused != m_savedFocus && focused) {
        focused->MakeVisible();
        m_treeView.ScrollIntoView(focused);
        Forget();
        return;
    }
    bool same = m_tree.SelectedCount() == static_cast<int>(m_savedSelection.size());
    for (int i = 0; same && i < m_tree.SelectedCount(); ++i)
        same = m_tree.SelectedItem(i) == m_savedSelection[i];
    if (!same) {
        const TTreeListUpdate bracket(m_tree);
        m_tree.ClearSelection();
        for (TTreeListTextNode* item : m_savedSelection)
            item->SetSelected(true);
    }
    if (const int row = m_treeView.Layout().RowOf(m_savedTop); row >= 0)
        m_treeView.ScrollToRow(row);
    Forget();
}

void TTreeFilter::Forget()
{
    m_saved = false;
    m_savedFocus = nullptr;
    m_savedTop = nullptr;
    m_savedSelection.clear();
}

void TTreeFilter::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    if (!m_saved)
        return;
    for (int row = first; row <= last; ++row) {
        const TTreeListTextNode* root = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (!root)
            continue;
        if (m_savedFocus && m_savedFocus->IsInside(root))
            m_savedFocus = nullptr;
        if (m_savedTop && m_savedTop->IsInside(root))
            m_savedTop = nullptr;
        m_savedSelection.erase(std::remove_if(m_savedSelection.begin(), m_savedSelection.end(),
                                              [root](const TTreeListTextNode* item) { return item->IsInside(root); }),
                               m_savedSelection.end());
    }
}

void TTreeFilter::AboutToReset()
{
    // Another document: nothing of the old view comes back, and its text
    // would filter a tree that was never filtered.
    Forget();
    m_search->Stop();
    const QSignalBlocker blocker(m_text);
    m_text->clear();
    m_bar->hide();
    m_count->hide();
}
