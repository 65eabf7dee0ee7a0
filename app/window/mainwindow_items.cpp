#include "app/window/mainwindow.h"

#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"

#include <QAction>

void TfrmTreeViewEditorMain::actEditItemNewExecute()
{
    // The icon is checked before anything is created, so a bad picker text
    // leaves the tree as it was.
    const int32_t icon = m_iconComboBox->Value();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    StartNewItem(focused && focused->Parent() ? focused->Parent()->AddChild() : m_tree.AddItem(), icon);
}

void TfrmTreeViewEditorMain::actEditItemNewSubExecute()
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused)
        return;
    const int32_t icon = m_iconComboBox->Value();
    StartNewItem(focused->AddChild(), icon);
}

void TfrmTreeViewEditorMain::StartNewItem(TTreeListTextNode* item, int32_t icon)
{
    item->SetImageIndex(icon);
    item->MakeVisible();
    m_tree.ClearSelection();
    item->SetFocused();
    m_tree.StartRename();
    MarkModified();
    ClearDescription();
    RefreshDescription(item);
}

void TfrmTreeViewEditorMain::actEditItemDeleteExecute()
{
    if (m_tree.SelectedCount() == 0)
        return;
    if (Prompter().Ask(this, QMessageBox::Question, QStringLiteral("Warning !"),
                       QStringLiteral("Delete selected nodes?"),
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    TTreeListTextNode* rowAbove = m_tree.FocusedItem() ? m_tree.PrevVisible(m_tree.FocusedItem()) : nullptr;
    m_tree.BeginUpdate();
    auto finish = [&] {
        if (rowAbove) {
            rowAbove->SetFocused();
            rowAbove->SetSelected(true);
            RefreshDescription(rowAbove);
        }
        m_tree.EndUpdate();
        MarkModified();
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

void TfrmTreeViewEditorMain::actEditItemMoveUpExecute()
{
    TTreeListTextNode* item = m_tree.FocusedItem();
    if (!item || !item->Parent())
        return;
    if (TTreeListTextNode* grandParent = item->Parent()->Parent())
        item->MoveTo(grandParent, amAddChild);
    else
        item->MoveTo(m_tree.TopItem(0), amAdd);
    MarkModified();
}

bool TfrmTreeViewEditorMain::TreeListDragOver(QObject* source)
{
    return source == m_treeView;
}

void TfrmTreeViewEditorMain::TreeListDragDrop(int x, int y)
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
        MarkModified();
    }
    RefreshDescription(m_tree.FocusedItem());
}

void TfrmTreeViewEditorMain::TreeListEdited(TTreeListTextNode* node, bool textChanged)
{
    if (!textChanged || !node)
        return;
    MarkModified();
    node->SetSelected(true);
}

void TfrmTreeViewEditorMain::IconComboBoxChange()
{
    if (m_tree.SelectedCount() == 0)
        return;
    TTreeListTextNode* item = m_tree.FocusedItem();
    if (!item)
        return;
    item->SetImageIndex(m_iconComboBox->Value());
    MarkModified();
}

void TfrmTreeViewEditorMain::TreeListSelectedCountChange()
{
    if (m_actionListTV)
        Action(QStringLiteral("actEditItemDelete"))->setEnabled(m_tree.SelectedCount() > 0);
}
