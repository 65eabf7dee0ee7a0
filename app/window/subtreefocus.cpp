#include "app/window/subtreefocus.h"

#include "app/view/itemtext.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistview.h"
#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "settings/subtreeplace.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {
// Ancestors named at either end of a deep path; those between are one "…".
constexpr int HeadButtons = 2;
constexpr int TailButtons = 5;
constexpr int ButtonTextWidth = 160;
}  // namespace

bool OutdentStaysInside(const std::vector<TTreeListTextNode*>& items, const TTreeListTextNode* root)
{
    for (const TTreeListTextNode* item : items)
        if (root && (item == root || item->Parent() == root))
            return false;
    return true;
}

std::vector<int> PositionsOf(const TTreeListTextNode* item)
{
    std::vector<int> positions;
    for (; item; item = item->Parent())
        positions.insert(positions.begin(), item->Index());
    return positions;
}

TTreeListTextNode* ItemAtPositions(const TTreeList& tree, const std::vector<int>& positions)
{
    TTreeListTextNode* item = nullptr;
    for (size_t i = 0; i < positions.size(); ++i) {
        item = i == 0 ? tree.TopItem(positions[i]) : item->Child(positions[i]);
        if (!item)
            return nullptr;
    }
    return item;
}

TSubtreeFocus::TSubtreeFocus(TTreeList& tree, TTreeListView& treeView, TDocumentSession& session)
    : m_tree(tree), m_treeView(treeView), m_session(session), m_pathBar(new QWidget(&treeView)),
      m_pathLayout(new QHBoxLayout(m_pathBar))
{
    m_pathBar->setObjectName(QStringLiteral("SubtreePathBar"));
    m_pathBar->setAccessibleName(tr("Path of the focused subtree"));
    m_pathLayout->setContentsMargins(2, 1, 2, 1);
    m_pathLayout->setSpacing(0);
    m_pathBar->hide();
    m_tree.AddObserver(this);
    ConnectGuarded(&m_session, &TDocumentSession::Opened, this, &TSubtreeFocus::Restore);
    ConnectGuarded(&m_session, &TDocumentSession::Written, this, &TSubtreeFocus::Store);
}

TSubtreeFocus::~TSubtreeFocus()
{
    m_tree.RemoveObserver(this);
}

TTreeListTextNode* TSubtreeFocus::Root() const
{
    return m_treeView.Layout().Root();
}

void TSubtreeFocus::actViewFocusSubtreeExecute()
{
    if (TTreeListTextNode* focused = m_tree.FocusedItem())
        FocusOn(focused);
}

void TSubtreeFocus::actViewShowWholeTreeExecute()
{
    FocusOn(nullptr);
}

void TSubtreeFocus::FocusOn(TTreeListTextNode* root)
{
    Show(root);
    Store();
}

void TSubtreeFocus::Show(TTreeListTextNode* root)
{
    m_treeView.FinishNameEdit();
    TTreeListTextNode* old = Root();
    if (root == old)
        return;
    // Entering opens a closed root, so its subtree is what shows; leaving
    // closes it again, and every other item keeps its state throughout.
    TTreeListTextNode* reopen = nullptr;
    if (old && old == m_opened && old->Expanded() && (!root || !root->IsInside(old)))
        reopen = old;
    m_opened = nullptr;
    if (root && !root->Expanded() && root->HasChildren()) {
        m_opened = root;
        root->SetExpanded(true);
    }
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (root && (!focused || !focused->IsInside(root))) {
        m_tree.ClearSelection();
        root->SetFocused();
        root->SetSelected(true);
    } else if (root) {
        // What is selected outside could be deleted or moved unseen.
        for (int i = m_tree.SelectedCount() - 1; i >= 0; --i)
            if (TTreeListTextNode* item = m_tree.SelectedItem(i); !item->IsInside(root))
                item->SetSelected(false);
    }
    m_shownRoot = root;
    m_treeView.SetRoot(root);
    if (reopen)
        reopen->SetExpanded(false);
    ShowPath();
}

void TSubtreeFocus::Store()
{
    TSubtreePlace::Write(m_session.FileName(), PositionsOf(Root()));
}

void TSubtreeFocus::Restore()
{
    const std::vector<int> positions = TSubtreePlace::Read(m_session.FileName());
    if (TTreeListTextNode* root = positions.empty() ? nullptr : ItemAtPositions(m_tree, positions))
        Show(root);
}

void TSubtreeFocus::ShowPath()
{
    // Later: the button clicked may be the one asking for this.
    while (QLayoutItem* entry = m_pathLayout->takeAt(0)) {
        if (QWidget* widget = entry->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete entry;
    }
    TTreeListTextNode* root = Root();
    m_pathBar->setVisible(root != nullptr);
    if (!root)
        return;
    auto addButton = [this](const QString& text, TTreeListTextNode* target) {
        auto* button = new QToolButton(m_pathBar);
        button->setAutoRaise(true);
        button->setText(button->fontMetrics().elidedText(text, Qt::ElideMiddle, ButtonTextWidth));
        button->setAccessibleName(text);
        button->setToolTip(text);
        button->setEnabled(target != Root());
        connect(button, &QToolButton::clicked, this, Guarded([this, target] { FocusOn(target); }));
        m_pathLayout->addWidget(button);
        button->show();
    };
    addButton(tr("Whole Tree"), nullptr);
    std::vector<TTreeListTextNode*> path;
    for (TTreeListTextNode* item = root; item; item = item->Parent())
        path.insert(path.begin(), item);
    const int count = static_cast<int>(path.size());
    for (int i = 0; i < count; ++i) {
        if (count > HeadButtons + TailButtons && i == HeadButtons) {
            m_pathLayout->addWidget(new QLabel(QStringLiteral("\u2026"), m_pathBar));
            i = count - TailButtons - 1;
            continue;
        }
        addButton(ItemBytesToText(path[static_cast<size_t>(i)]->GetText(TreeListColumnName)).text,
                  path[static_cast<size_t>(i)]);
    }
    m_pathLayout->addStretch(1);
}

void TSubtreeFocus::FollowView()
{
    if (m_shownRoot == Root())
        return;
    m_shownRoot = Root();
    m_opened = nullptr;
    ShowPath();
}

void TSubtreeFocus::ItemsRemoved()
{
    --m_changing;
    FollowView();
}

void TSubtreeFocus::ItemMoved()
{
    --m_changing;
    if (Root())
        ShowPath();
}

void TSubtreeFocus::ResetDone()
{
    m_changing = 0;
    FollowView();
}

void TSubtreeFocus::ItemChanged(TTreeListTextNode* item)
{
    if (TTreeListTextNode* root = Root(); root && root->IsInside(item))
        ShowPath();
}

void TSubtreeFocus::FocusChanged(TTreeListTextNode* item)
{
    // A jump (Go to Item, a link, Back, Undo) to an item outside shows the
    // whole tree; while the tree changes, the view settles the root itself.
    TTreeListTextNode* root = Root();
    if (m_changing == 0 && root && item && !item->IsInside(root))
        Show(nullptr);
}
