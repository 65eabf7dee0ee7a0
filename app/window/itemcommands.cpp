#include "app/window/itemcommands.h"

#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"
#include "app/window/application.h"
#include "app/window/copylinktask.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/prompter.h"
#include "app/window/secretclipboard.h"
#include "app/window/subtreefocus.h"
#include "app/window/treelistevents.h"
#include "app/view/itemtext.h"
#include "app/view/treelistlayout.h"
#include "document/linkgrammar.h"
#include "document/linksto.h"
#include "document/outlineedit.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "document/undosteps.h"
#include "exchange/indentedtext.h"

#include <QClipboard>
#include <QCollator>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <numeric>

TItemCommands::TItemCommands(TTreeList& tree, TTreeListEvents& treeEvents, TTreeListView& treeView,
                             TIconComboBox& iconComboBox, TDocumentSession& session, TDescriptionPane& descriptionPane)
    : m_tree(tree), m_treeView(treeView), m_iconComboBox(iconComboBox), m_session(session),
      m_descriptionPane(descriptionPane), m_copyLink(new TCopyLinkTask(tree, this))
{
    m_session.SetNameEdit(*this);
    // The view takes only its own drags, as TreeListDragOver says.
    ConnectGuarded(&m_treeView, &TTreeListView::DragDropped, this, &TItemCommands::TreeListDragDrop);
    ConnectGuarded(&m_treeView, &TTreeListView::CopyRequested, this, &TItemCommands::actEditItemCopyExecute);
    ConnectGuarded(&treeEvents, &TTreeListEvents::Edited, this, &TItemCommands::TreeListEdited);
    ConnectGuarded(&treeEvents, &TTreeListEvents::Renamed, this, &TItemCommands::TreeListRenamed);
    ConnectGuarded(&m_iconComboBox, &QComboBox::currentTextChanged, this, &TItemCommands::IconComboBoxChange);
    ConnectGuarded(m_copyLink, &TCopyLinkTask::Ready, this, &TItemCommands::CopyLinkReady);
}

void TItemCommands::TreeListRenamed(TTreeListTextNode* node, const std::string& oldName, int oldCount)
{
    m_session.BeginChange();
    auto rename = std::make_unique<TTextStep>(QT_TRANSLATE_NOOP("TUndoStep", "Rename"), node, TreeListColumnName, oldName, oldCount);
    rename->FocusBefore = rename->FocusAfter = node;
    // The links that found the item went by its old name: the tree must hold
    // that name again while they are looked for.
    const std::string newName(node->GetText(TreeListColumnName));
    std::vector<TLinksInDescription> found;
    bool newNameFindsEarlier = false;
    if (newName != oldName) {
        node->SetText(TreeListColumnName, oldName);
        try {
            found = FindLinksTo(m_tree, node, DecodeText(newName).text, newNameFindsEarlier);
        } catch (...) {
            node->SetText(TreeListColumnName, newName);
            throw;
        }
        node->SetText(TreeListColumnName, newName);
    }
    size_t count = 0;
    for (const TLinksInDescription& links : found)
        count += links.links.size();
    if (count == 0 ||
        Prompter().Ask(m_treeView.window(), QMessageBox::Question, QString::fromLatin1(ApplicationTitle),
                       tr("Update %n links to %1?", nullptr, static_cast<int>(count)).arg(ItemBytesToText(newName).text),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        m_session.Record(std::move(rename));
        return;
    }
    auto step = std::make_unique<TCompoundStep>(QT_TRANSLATE_NOOP("TUndoStep", "Rename"));
    step->FocusBefore = step->FocusAfter = node;
    step->Add(std::move(rename));
    // The walk that found the links settled whether the new name alone finds the item.
    const std::u16string link = ItemLinkOf(node, newNameFindsEarlier);
    for (const TLinksInDescription& links : found) {
        std::string before(links.holder->GetText(TreeListColumnDesc));
        const int countBefore = links.holder->TextCount();
        links.holder->SetText(TreeListColumnDesc, ReplaceLinks(links, link));
        step->Add(std::make_unique<TTextStep>(QT_TRANSLATE_NOOP("TUndoStep", "Rename"), links.holder, TreeListColumnDesc, std::move(before),
                                              countBefore));
    }
    m_session.Record(std::move(step));
    m_descriptionPane.RefreshIfChanged();
}

void TItemCommands::FinishEdit()
{
    m_treeView.FinishNameEdit();
}

void TItemCommands::actEditItemNewExecute()
{
    // The icon is checked before anything is created, so a bad picker text
    // leaves the tree as it was.
    const int32_t icon = m_iconComboBox.Value();
    m_session.BeginChange();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    // Inside a focused subtree, a sibling of its top item would be out of sight.
    TTreeListTextNode* root = m_treeView.Layout().Root();
    TTreeListTextNode* parent = root && (!focused || focused == root) ? root : focused ? focused->Parent() : nullptr;
    StartNewItem(parent ? parent->AddChild() : m_tree.AddItem(), icon, QT_TRANSLATE_NOOP("TUndoStep", "New Item"));
}

void TItemCommands::actEditItemNewSubExecute()
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused)
        return;
    const int32_t icon = m_iconComboBox.Value();
    m_session.BeginChange();
    StartNewItem(focused->AddChild(), icon, QT_TRANSLATE_NOOP("TUndoStep", "New Sub Item"));
}

void TItemCommands::NewSubItemNamed(const std::string& name)
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    if (!focused)
        return;
    const int32_t icon = m_iconComboBox.Value();
    m_session.BeginChange();
    TTreeListTextNode* item = focused->AddChild();
    item->SetText(TreeListColumnName, name);
    StartNewItem(item, icon, QT_TRANSLATE_NOOP("TUndoStep", "New Sub Item"), false);
}

void TItemCommands::StartNewItem(TTreeListTextNode* item, int32_t icon, const char* stepName, bool rename)
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
    if (rename)
        m_tree.StartRename();
}

void TItemCommands::actEditItemDeleteExecute()
{
    if (m_tree.SelectedCount() == 0)
        return;
    if (Prompter().Ask(m_treeView.window(), QMessageBox::Question, tr("Warning !"),
                       tr("Delete selected nodes?"),
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    RemoveSelection(QT_TRANSLATE_NOOP("TUndoStep", "Delete"));
}

void TItemCommands::RemoveSelection(const char* stepName)
{
    m_session.BeginChange();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    const TTreeListLayout& layout = m_treeView.Layout();
    TTreeListTextNode* rowAbove = !focused            ? nullptr
                                  : layout.Filtered() ? layout.PreviousRow(focused)
                                                      : m_tree.PrevVisible(focused);
    // The items are kept, detached, so that Undo can put them back.
    auto step = std::make_unique<TRemoveStep>(stepName);
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
    if (!item || !item->Parent() || !OutdentStaysInside({item}, m_treeView.Layout().Root()))
        return;
    m_session.BeginChange();
    auto step = std::make_unique<TMoveStep>(QT_TRANSLATE_NOOP("TUndoStep", "Move Up"));
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
    TTreeListTextNode* root = m_treeView.Layout().Root();
    switch (area) {
    case iaNone:
        // Below the rows: the end of what is shown.
        target = root ? root : m_tree.TopItem(0);
        mode = root ? amAddChild : amAdd;
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
        mode = hit && hit == root ? amAddChildFirst : amInsert;
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
    auto step = std::make_unique<TMoveStep>(QT_TRANSLATE_NOOP("TUndoStep", "Move"));
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
    auto step = std::make_unique<TIconStep>(QT_TRANSLATE_NOOP("TUndoStep", "Change Icon"), item, before, icon);
    step->FocusBefore = step->FocusAfter = item;
    m_session.Record(std::move(step));
}

void TItemCommands::actEditItemMoveDownExecute()
{
    m_treeView.FinishNameEdit();
    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, true);
    std::vector<TTreeListOrder> orders = MoveDownOrders(m_tree, items);
    if (orders.empty())
        return;
    m_session.BeginChange();
    auto step = std::make_unique<TReorderStep>(QT_TRANSLATE_NOOP("TUndoStep", "Move Down"));
    step->FocusBefore = step->FocusAfter = m_tree.FocusedItem();
    step->Show(items);
    for (TTreeListOrder& order : orders)
        step->Add(m_tree, std::move(order));
    step->Redo(m_tree);
    m_session.Record(std::move(step));
    if (TTreeListTextNode* focused = m_tree.FocusedItem())
        focused->MakeVisible();
}

void TItemCommands::actEditItemIndentExecute()
{
    m_treeView.FinishNameEdit();
    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, true);
    TTreeListTextNode* target = IndentTarget(m_tree, items);
    if (!target)
        return;
    m_session.BeginChange();
    auto step = std::make_unique<TMoveStep>(QT_TRANSLATE_NOOP("TUndoStep", "Indent"));
    step->FocusBefore = step->FocusAfter = m_tree.FocusedItem();
    {
        TTreeListUpdate bracket(m_tree);
        for (TTreeListTextNode* item : items)
            step->Move(m_tree, item, target, target->Count());
    }
    m_session.Record(std::move(step));
    // The moved items stay in view under their new parent.
    items.front()->MakeVisible();
    if (TTreeListTextNode* focused = m_tree.FocusedItem())
        focused->MakeVisible();
}

void TItemCommands::actEditItemOutdentExecute()
{
    m_treeView.FinishNameEdit();
    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, true);
    if (!CanOutdent(items) || !OutdentStaysInside(items, m_treeView.Layout().Root()))
        return;
    m_session.BeginChange();
    auto step = std::make_unique<TMoveStep>(QT_TRANSLATE_NOOP("TUndoStep", "Outdent"));
    step->FocusBefore = step->FocusAfter = m_tree.FocusedItem();
    {
        TTreeListUpdate bracket(m_tree);
        // Items leaving one parent follow it in their former order.
        std::vector<std::pair<const TTreeListTextNode*, int>> placed;
        for (TTreeListTextNode* item : items) {
            TTreeListTextNode* parent = item->Parent();
            if (!parent)
                continue;
            auto it = std::find_if(placed.begin(), placed.end(), [parent](const auto& p) { return p.first == parent; });
            if (it == placed.end())
                it = placed.insert(placed.end(), {parent, 0});
            step->Move(m_tree, item, parent->Parent(), parent->Index() + 1 + it->second++);
        }
    }
    m_session.Record(std::move(step));
    if (TTreeListTextNode* focused = m_tree.FocusedItem())
        focused->MakeVisible();
}

QMimeData* TItemCommands::ClipboardData(const std::vector<TTreeListTextNode*>& items) const
{
    // Typing not yet in its item goes with the copy.
    m_tree.CommitEdits();
    TTreeList copy;
    for (const TTreeListTextNode* item : items)
        copy.AddCopyOf(item);
    const std::string bytes = WriteItems(copy);
    auto* data = new QMimeData;
    data->setText(m_treeView.ClipboardText());
    data->setData(QString::fromLatin1(ClipboardMimeType), QByteArray(bytes.data(), static_cast<int>(bytes.size())));
    return data;
}

void TItemCommands::actEditItemCopyExecute()
{
    m_treeView.FinishNameEdit();
    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, false);
    QMimeData* data = items.empty() ? new QMimeData : ClipboardData(items);
    if (items.empty())
        data->setText(m_treeView.ClipboardText());
    // Text of a protected document stays out of clipboard managers' history.
    if (m_session.Protected())
        MarkSecret(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TItemCommands::actEditItemCutExecute()
{
    m_treeView.FinishNameEdit();
    if (m_tree.SelectedCount() == 0)
        return;
    actEditItemCopyExecute();
    // No question: Undo brings the items back.
    RemoveSelection(QT_TRANSLATE_NOOP("TUndoStep", "Cut"));
}

void TItemCommands::actEditItemPasteExecute()
{
    if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
        PasteFrom(*data);
}

void TItemCommands::PasteFrom(const QMimeData& data)
{
    m_treeView.FinishNameEdit();
    TTreeList pasted;
    const QString ownType = QString::fromLatin1(ClipboardMimeType);
    if (data.hasFormat(ownType)) {
        const QByteArray bytes = data.data(ownType);
        ReadItems(pasted, bytes.constData(), static_cast<size_t>(bytes.size()));
    } else if (data.hasText()) {
        ReadIndentedText(pasted, ItemTextToBytes(data.text(), TTextEncoding::Utf8));
    }
    const int count = pasted.TopItemCount();
    if (count == 0)
        return;
    m_session.BeginChange();
    TTreeListTextNode* focused = m_tree.FocusedItem();
    TTreeListTextNode* root = m_treeView.Layout().Root();
    const bool intoRoot = root && (!focused || focused == root);
    TTreeListTextNode* parent = intoRoot ? root : focused ? focused->Parent() : nullptr;
    const int index = intoRoot ? root->Count() : focused ? focused->Index() + 1 : m_tree.TopItemCount();
    auto step = std::make_unique<TInsertStep>(QT_TRANSLATE_NOOP("TUndoStep", "Paste"));
    step->FocusBefore = focused;
    m_tree.InsertItemsFrom(pasted, parent, index);
    std::vector<TTreeListTextNode*> items;
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        items.push_back(parent ? parent->Child(index + i) : m_tree.TopItem(index + i));
        step->Add(m_tree, items.back());
    }
    step->FocusAfter = items.front();
    m_session.Record(std::move(step));
    SelectInserted(items);
}

void TItemCommands::actEditItemCopyLinkExecute()
{
    m_copyLink->Start(m_tree.FocusedItem());
}

void TItemCommands::CopyLinkReady(const QString& link)
{
    auto* data = new QMimeData;
    data->setText(link);
    // A link names its item: as secret as the item's own name.
    if (m_session.Protected())
        MarkSecret(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TItemCommands::actEditItemDuplicateExecute()
{
    m_treeView.FinishNameEdit();
    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, false);
    if (items.empty())
        return;
    m_session.BeginChange();
    m_tree.CommitEdits();
    auto step = std::make_unique<TInsertStep>(QT_TRANSLATE_NOOP("TUndoStep", "Duplicate"));
    step->FocusBefore = m_tree.FocusedItem();
    std::vector<TTreeListTextNode*> copies;
    for (TTreeListTextNode* item : items) {
        TTreeList copy;
        copy.AddCopyOf(item);
        TTreeListTextNode* parent = item->Parent();
        const int index = item->Index() + 1;
        m_tree.InsertItemsFrom(copy, parent, index);
        copies.push_back(parent ? parent->Child(index) : m_tree.TopItem(index));
        step->Add(m_tree, copies.back());
    }
    step->FocusAfter = copies.front();
    m_session.Record(std::move(step));
    SelectInserted(copies);
}

void TItemCommands::SelectInserted(const std::vector<TTreeListTextNode*>& items)
{
    {
        TTreeListUpdate bracket(m_tree);
        m_tree.ClearSelection();
        for (TTreeListTextNode* item : items)
            item->SetSelected(true);
    }
    items.front()->SetFocused();
    items.front()->MakeVisible();
    m_descriptionPane.RefreshDescription(items.front());
}

void TItemCommands::actEditItemSortChildrenExecute()
{
    Sort(false);
}

void TItemCommands::actEditItemSortSubtreeExecute()
{
    Sort(true);
}

void TItemCommands::Sort(bool subtree)
{
    m_treeView.FinishNameEdit();
    TTreeListTextNode* root = m_tree.FocusedItem();
    // The C locale's collator compares plain code points, with no numbers
    // or case folding: English rules stand in for it.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto step = std::make_unique<TReorderStep>(subtree ? QT_TRANSLATE_NOOP("TUndoStep", "Sort Subtree") : QT_TRANSLATE_NOOP("TUndoStep", "Sort Children"));
    step->FocusBefore = step->FocusAfter = root;
    step->Show(root ? std::vector<TTreeListTextNode*>{root} : std::vector<TTreeListTextNode*>{});
    std::vector<TTreeListTextNode*> parents{root};
    std::vector<QCollatorSortKey> keys;
    std::vector<int> order;
    while (!parents.empty()) {
        TTreeListTextNode* parent = parents.back();
        parents.pop_back();
        const int count = parent ? parent->Count() : m_tree.TopItemCount();
        TTreeListOrder sorted{parent, {}};
        sorted.items.reserve(static_cast<size_t>(count));
        keys.clear();
        for (int i = 0; i < count; ++i) {
            TTreeListTextNode* child = parent ? parent->Child(i) : m_tree.TopItem(i);
            sorted.items.push_back(child);
            if (subtree && child->HasChildren())
                parents.push_back(child);
        }
        if (count < 2)
            continue;
        // A key per name, made once, is far cheaper than comparing the names
        // themselves n log n times.
        keys.reserve(static_cast<size_t>(count));
        for (TTreeListTextNode* child : sorted.items)
            keys.push_back(collator.sortKey(ItemBytesToText(child->GetText(TreeListColumnName)).text));
        order.resize(static_cast<size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
            return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
        });
        std::vector<TTreeListTextNode*> items(sorted.items);
        for (size_t i = 0; i < order.size(); ++i)
            sorted.items[i] = items[static_cast<size_t>(order[i])];
        step->Add(m_tree, std::move(sorted));
    }
    if (step->Empty())
        return;
    m_session.BeginChange();
    step->Redo(m_tree);
    m_session.Record(std::move(step));
    if (root)
        root->MakeVisible();
}

void TItemCommands::actEditItemExpandAllExecute()
{
    ExpandOrCollapse(true, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
}

void TItemCommands::actEditItemCollapseAllExecute()
{
    ExpandOrCollapse(false, QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
}

void TItemCommands::ExpandOrCollapse(bool expand, bool subtree)
{
    TTreeListTextNode* focused = m_tree.FocusedItem();
    TTreeListTextNode* root = subtree ? focused : nullptr;
    if (subtree && !root)
        return;
    const TTreeListLayout& layout = m_treeView.Layout();
    // Under the filter, what is shown opens and closes, for the filter alone.
    if (layout.Filtered())
        m_treeView.SetShownSubtreeOpen(root, expand);
    else if (expand && !root)
        m_tree.ExpandAll();
    else
        m_tree.SetSubtreeExpanded(root, expand);
    if (!focused)
        return;
    // A focused item hidden by the collapse hands the focus to the row that
    // hides it, as a click on the fold does; that row is never above the
    // first row, the top of a focused subtree.
    TTreeListTextNode* shown = focused;
    for (TTreeListTextNode* p = focused; p != layout.Root() && p->Parent();) {
        p = p->Parent();
        if (!layout.IsOpen(p))
            shown = p;
    }
    if (shown != focused)
        shown->SetFocused();
    else
        m_treeView.ScrollIntoView(focused);
}
