#include "app/window/itemcommands.h"

#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"
#include "app/window/application.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/prompter.h"
#include "document/treelist.h"
#include "document/undosteps.h"

TItemCommands::TItemCommands(TTreeList& tree, TTreeListView& treeView, TIconComboBox& iconComboBox,
                             TDocumentSession& session, TDescriptionPane& descriptionPane)
    : m_tree(tree), m_treeView(treeView), m_iconComboBox(iconComboBox), m_session(session),
      m_descriptionPane(descriptionPane)
{
    m_treeView.OnDragOver = [this](QObject* source) { return TreeListDragOver(source); };
    m_treeView.OnDragDrop = [this](int x, int y) { Protected([&] { TreeListDragDrop(x, y); }); };
    m_tree.OnEdited = [this](TTreeList&, TTreeListTextNode* node, bool changed) { TreeListEdited(node, changed); };
    m_tree.OnRenamed = [this](TTreeList&, TTreeListTextNode* node, std::string oldName, int oldCount) {
        m_session.BeginChange();
        auto step = std::make_unique<TTextStep>("Rename", node, TreeListColumnName, std::move(oldName), oldCount);
        step->FocusBefore = step->FocusAfter = node;
        m_session.Record(std::move(step));
    };
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
    m_tree.OnRenamed = nullptr;
    m_tree.OnGetSelectedIndex = nullptr;
}

void TItemCommands::actEditItemNewExecute()
{
    // The icon is checked before anything is created, so a bad picker text
    // leaves the tree as it was.
    const int32_t icon = m_iconComboBox.Value();
    m_session.BeginChange();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    StartNewItem(focused && focused->Parent() ? focused->Parent()->AddChild() : m_tree.AddItem(), icon, "New Item");
}

void TItemCommands::actEditItemNewSubExecute()
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused)
        return;
    const int32_t icon = m_iconComboBox.Value();
    m_session.BeginChange();
    StartNewItem(focused->AddChild(), icon, "New Sub Item");
}

void TItemCommands::StartNewItem(TTreeListTextNode* item, int32_t icon, const char* stepName)
{
    auto step = std::make_unique<TInsertStep>(stepName);
    step->FocusBefore = m_tree.FocusedItem();
    step->FocusAfter = item;
    item->SetImageIndex(icon);
    step->Add(m_tree, item);
    m_session.Record(std::move(step));
    item->MakeVisible();
    m_tree.ClearSelection();
    item->SetFocused();
    m_descriptionPane.ClearDescription();
    m_descriptionPane.RefreshDescription(item);
    // Last: the name typed in becomes a step of its own after this one.
    m_tree.StartRename();
}

void TItemCommands::actEditItemDeleteExecute()
{
    if (m_tree.SelectedCount() == 0)
        return;
    if (Prompter().Ask(m_treeView.window(), QMessageBox::Question, QStringLiteral("Warning !"),
                       QStringLiteral("Delete selected nodes?"),
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_session.BeginChange();
    TTreeListTextNode* rowAbove = m_tree.FocusedItem() ? m_tree.PrevVisible(m_tree.FocusedItem()) : nullptr;
    // The items are kept, detached, so that Undo can put them back.
    auto step = std::make_unique<TRemoveStep>("Delete");
    step->FocusBefore = m_tree.FocusedItem();
    m_tree.BeginUpdate();
    auto finish = [&] {
        if (rowAbove) {
            rowAbove->SetFocused();
            rowAbove->SetSelected(true);
            m_descriptionPane.RefreshDescription(rowAbove);
        }
        m_tree.EndUpdate();
        step->FocusAfter = m_tree.FocusedItem();
        if (!step->Empty())
            m_session.Record(std::move(step));
    };
    try {
        while (m_tree.SelectedCount() > 0) {
            TTreeListTextNode* item = m_tree.SelectedItem(0);
            if (rowAbove && rowAbove->IsInside(item))
                rowAbove = nullptr;
            step->Remove(m_tree, item);
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
    m_session.BeginChange();
    auto step = std::make_unique<TMoveStep>("Move Up");
    step->FocusBefore = step->FocusAfter = item;
    if (TTreeListTextNode* grandParent = item->Parent()->Parent())
        step->MoveTo(m_tree, item, grandParent, amAddChild);
    else
        step->MoveTo(m_tree, item, m_tree.TopItem(0), amAdd);
    m_session.Record(std::move(step));
}

void TItemCommands::actEditItemUndoExecute()
{
    UndoOrRedo(true);
}

void TItemCommands::actEditItemRedoExecute()
{
    UndoOrRedo(false);
}

void TItemCommands::UndoOrRedo(bool undo)
{
    // A name still being typed, and typing in the description, are steps
    // of their own, the last ones to undo.
    m_treeView.FinishNameEdit();
    m_session.BeginChange();
    TUndoHistory& history = m_session.History();
    if (undo)
        history.Undo();
    else
        history.Redo();
    m_descriptionPane.RefreshIfChanged();
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
    MoveSelectionTo(target, mode);
}

void TItemCommands::MoveSelectionTo(TTreeListTextNode* target, TItemAttachMode mode)
{
    if (m_tree.SelectedCount() == 0)
        return;
    m_session.BeginChange();
    auto step = std::make_unique<TMoveStep>("Move");
    step->FocusBefore = m_tree.FocusedItem();
    // The selection is in document order, so items dropped together keep
    // their former order.
    while (m_tree.SelectedCount() > 0) {
        TTreeListTextNode* item = m_tree.SelectedItem(0);
        item->SetSelected(false);
        step->MoveTo(m_tree, item, target, mode);
    }
    step->FocusAfter = m_tree.FocusedItem();
    if (!step->Empty())
        m_session.Record(std::move(step));
    else
        m_session.MarkEdited();  // a drop that moved nothing still counts as an edit
    m_descriptionPane.RefreshDescription(m_tree.FocusedItem());
}

void TItemCommands::TreeListEdited(TTreeListTextNode* node, bool textChanged)
{
    // The change itself is the rename's step (OnRenamed).
    if (!textChanged || !node)
        return;
    node->SetSelected(true);
}

void TItemCommands::IconComboBoxChange()
{
    if (m_tree.SelectedCount() == 0)
        return;
    TTreeListTextNode* item = m_tree.FocusedItem();
    if (!item)
        return;
    const int32_t icon = m_iconComboBox.Value();
    const int32_t before = item->ImageIndex();
    if (icon == before)
        return;
    m_session.BeginChange();
    item->SetImageIndex(icon);
    auto step = std::make_unique<TIconStep>("Change Icon", item, before, icon);
    step->FocusBefore = step->FocusAfter = item;
    m_session.Record(std::move(step));
}
