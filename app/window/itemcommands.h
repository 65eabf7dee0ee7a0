#pragma once

#include <QObject>
#include "app/window/unfinishededit.h"
#include "document/treelist.h"

#include <cstdint>
#include <string>
#include <vector>

class QMimeData;

class TCopyLinkTask;
class TDescriptionPane;
class TDocumentSession;
class TIconComboBox;
class TTreeListEvents;
class TTreeListView;

// The commands on the tree's items: new item and sub item, delete, undo and
// redo, move up and down, indent and outdent, cut, copy and paste, duplicate,
// sort, expand and collapse all; moving items by dragging them inside the
// tree, renaming in place, and the icon picker.
class TItemCommands : public QObject, private TUnfinishedEdit {
    Q_OBJECT
public:
    TItemCommands(TTreeList& tree, TTreeListEvents& treeEvents, TTreeListView& treeView, TIconComboBox& iconComboBox,
                  TDocumentSession& session, TDescriptionPane& descriptionPane);

    void actEditItemNewExecute();
    void actEditItemNewSubExecute();
    // A sub item of the focused item that already has its name (a link that
    // found no item), as one step; its name is not opened for editing.
    void NewSubItemNamed(const std::string& name);
    void actEditItemDeleteExecute();
    void actEditItemMoveUpExecute();
    void actEditItemUndoExecute();
    void actEditItemRedoExecute();
    void actEditItemMoveDownExecute();
    void actEditItemIndentExecute();
    void actEditItemOutdentExecute();
    void actEditItemCutExecute();
    void actEditItemCopyExecute();
    // The shortest link that finds the focused item goes on the clipboard.
    // The link is on the clipboard at once, or after a walk that does not
    // hold up the window on a large tree.
    void actEditItemCopyLinkExecute();
    TCopyLinkTask& CopyLinkTask() const { return *m_copyLink; }
    void actEditItemPasteExecute();
    void actEditItemDuplicateExecute();
    void actEditItemSortChildrenExecute();
    void actEditItemSortSubtreeExecute();
    // With Shift held, only the focused subtree.
    void actEditItemExpandAllExecute();
    void actEditItemCollapseAllExecute();
    // Expands or collapses the focused subtree, or the whole tree.
    void ExpandOrCollapse(bool expand, bool subtree);
    // The clipboard's form of the items: the tree's plain text beside the
    // items in the tree data format, under ClipboardMimeType.
    QMimeData* ClipboardData(const std::vector<TTreeListTextNode*>& items) const;
    // Inserts the clipboard's items after the focused item, as one step.
    void PasteFrom(const QMimeData& data);

    static constexpr const char* ClipboardMimeType = "application/x-vektreevieweditor-trd";
    bool TreeListDragOver(const QObject* source) const;
    void TreeListDragDrop(int x, int y);
    // The drop's move, once the place under the mouse is known.
    void MoveSelectionTo(TTreeListTextNode* target, TItemAttachMode mode);
    void TreeListEdited(TTreeListTextNode* node, bool textChanged);
    // A rename in place becomes a step of the history.
    void TreeListRenamed(TTreeListTextNode* node, const std::string& oldName, int oldCount);
    void IconComboBoxChange();

private:
    void CopyLinkReady(const QString& link);
    // A name still typed in place becomes a rename before a file command.
    void FinishEdit() override;
    // The steps New Item and New Sub Item share once the item exists.
    void StartNewItem(TTreeListTextNode* item, int32_t icon, const char* stepName, bool rename = true);
    // Undo and Redo share all but the direction.
    void UndoOrRedo(bool undo);
    // Delete and Cut: the selection goes, kept by the step.
    void RemoveSelection(const char* stepName);
    // Paste and Duplicate: `items` were just inserted; they become the
    // selection, the first focused and in view.
    void SelectInserted(const std::vector<TTreeListTextNode*>& items);
    // Sort Children and Sort Subtree.
    void Sort(bool subtree);

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TIconComboBox& m_iconComboBox;
    TDocumentSession& m_session;
    TDescriptionPane& m_descriptionPane;
    TCopyLinkTask* m_copyLink;
};
