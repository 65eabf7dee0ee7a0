#pragma once

#include <QObject>
#include "document/treelist.h"

#include <cstdint>

class TDescriptionPane;
class TDocumentSession;
class TIconComboBox;
class TTreeListView;

// The commands that change the tree's shape and items: new item, new sub
// item, delete, move up, moving items by dragging them inside the tree,
// renaming in place, and the icon picker.
class TItemCommands : public QObject {
    Q_OBJECT
public:
    TItemCommands(TTreeList& tree, TTreeListView& treeView, TIconComboBox& iconComboBox, TDocumentSession& session,
                  TDescriptionPane& descriptionPane);
    ~TItemCommands() override;

    void actEditItemNewExecute();
    void actEditItemNewSubExecute();
    void actEditItemDeleteExecute();
    void actEditItemMoveUpExecute();
    void actEditItemUndoExecute();
    void actEditItemRedoExecute();
    bool TreeListDragOver(const QObject* source) const;
    void TreeListDragDrop(int x, int y);
    // The drop's move, once the place under the mouse is known.
    void MoveSelectionTo(TTreeListTextNode* target, TItemAttachMode mode);
    void TreeListEdited(TTreeListTextNode* node, bool textChanged);
    void IconComboBoxChange();

private:
    // The steps New Item and New Sub Item share once the item exists.
    void StartNewItem(TTreeListTextNode* item, int32_t icon, const char* stepName);
    // Undo and Redo share all but the direction.
    void UndoOrRedo(bool undo);

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TIconComboBox& m_iconComboBox;
    TDocumentSession& m_session;
    TDescriptionPane& m_descriptionPane;
};
