#include "app/window/itemcommands.h"

#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"
#include "app/window/application.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/prompter.h"
#include "document/treelist.h"

TItemCommands::TItemCommands(TTreeList& tree, TTreeListView& treeView, TIconComboBox& iconComboBox,
                             TDocumentSession& session, TDescriptionPane& descriptionPane)
    : m_tree(tree), m_treeView(treeView), m_iconComboBox(iconComboBox), m_session(session),
      m_descriptionPane(descriptionPane)
{
    m_treeView.OnDragOver = [this](QObject* source) { return TreeListDragOver(source); };
    m_treeView.OnDragDrop = [this](int x, int y) { Protected([&] { TreeListDragDrop(x, y); }); };
    m_tree.OnEdited = [this](TTreeList&, TTreeListTextNode* node, bool changed) { TreeListEdited(node, changed); };
    // A focused item shows the same icon as an unfocused one, and the file
    // stores the image index as the selected index.
    m_tree.OnGetSelectedIndex = [](TTreeList&, TTreeListTextNode* node, int32_t& index) {
        index = node->ImageIndex();
    };
    connect(&m_iconComboBox, &QComboBox::currentTextChanged, this,
            [this] { Protected([this] { IconComboBoxChange(); }); });
}

TItemCommands::~TItemCommands()
{
    m_treeView.OnDragOver = nullptr;
    m_treeView.OnDragDrop = nullptr;
    m_tree.OnEdited = nullptr;
    m_tree.OnGetSelectedIndex = nullptr;
}

void TItemCommands::actEditItemNewExecute()
{
    // The icon is checked before anything is created, so a bad picker text
    // leaves the tree as it was.
    const int32_t icon = m_iconComboBox.Value();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    StartNewItem(focused && focused->Parent() ? focused->Parent()->AddChild() : m_tree.AddItem(), icon);
}

void TItemCommands::actEditItemNewSubExecute()
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused)
        return;
    const int32_t icon = m_iconComboBox.Value();
    StartNewItem(focused->AddChild(), icon);
}

void TItemCommands::StartNewItem(TTreeListTextNode* item, int32_t icon)
{
    item->SetImageIndex(icon);
    item->MakeVisible();
    m_tree.ClearSelection();
    item->SetFocused();
    m_tree.StartRename();
    m_session.MarkModified();
    m_descriptionPane.ClearDescription();
    m_descriptionPane.RefreshDescription(item);
}

void TItemCommands::actEditItemDeleteExecute()
{
    if (m_tree.SelectedCount() == 0)
        return;
    if (Prompter().Ask(m_treeView.window(), QMessageBox::Question, QStringLiteral("Warning !"),
                       QStringLiteral("Delete selected nodes?"),
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    TTreeListTextNode* rowAbove = m_tree.FocusedItem() ? m_tree.PrevVisible(m_tree.FocusedItem()) : nullptr;
    m_tree.BeginUpdate();
    auto finish = [&] {
        if (rowAbove) {
            rowAbove->SetFocused();
            rowAbove->SetSelected(true);
            m_descriptionPane.RefreshDescription(rowAbove);
        }
        m_tree.EndUpdate();
        m_session.MarkModified();
    };
    try {
        while (m_tree.SelectedCount() > 0) {
            TTreeListTextNode* item = m_tree.SelectedItem(0);
            if (rowAbove && rowAbove->IsInside(item))
                rowAbove = nullptr;
            m_tree.Delete(item);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TItemCommands::actEditItemMoveUpExecute()
{
    TTreeListTextNode* item = m_tree.FocusedItem();
    if (!item || !item->Parent())
        return;
    if (TTreeListTextNode* grandParent = item->Parent()->Parent())
        item->MoveTo(grandParent, amAddChild);
    else
        item->MoveTo(m_tree.TopItem(0), amAdd);
    m_session.MarkModified();
}

bool TItemCommands::TreeListDragOver(const QObject* source) const
{
    return source == &m_treeView;
}

void TItemCommands::TreeListDragDrop(int x, int y)
{
    if (m_tree.SelectedCount() == 0)
        return;
    const TItemHitArea area = m_tree.HitTest(x, y);
    TTreeListTextNode* hit = m_tree.ItemAt(x, y);
    TTreeListTextNode* target = nullptr;
    TItemAttachMode mode = amAdd;
    switch (area) {
    case iaNone:
        target = m_tree.TopItem(0);
        mode = amAdd;
        break;
    case iaButton:
    case iaIcon:
    case iaStateIcon:
    case iaLabel:
        target = hit;
        mode = amAddChild;
        break;
    case iaIndent:
        target = hit;
        mode = amInsert;
        break;
    default:
        return;
    }
    // The selection is in document order, so items dropped together keep
    // their former order.
    while (m_tree.SelectedCount() > 0) {
        TTreeListTextNode* item = m_tree.SelectedItem(0);
        item->SetSelected(false);
        item->MoveTo(target, mode);
        m_session.MarkModified();
    }
    m_descriptionPane.RefreshDescription(m_tree.FocusedItem());
}

void TItemCommands::TreeListEdited(TTreeListTextNode* node, bool textChanged)
{
    if (!textChanged || !node)
        return;
    m_session.MarkModified();
    node->SetSelected(true);
}

void TItemCommands::IconComboBoxChange()
{
    if (m_tree.SelectedCount() == 0)
        return;
    TTreeListTextNode* item = m_tree.FocusedItem();
    if (!item)
        return;
    item->SetImageIndex(m_iconComboBox.Value());
    m_session.MarkModified();
}
