#include "app/window/treelistevents.h"

#include "document/treelist.h"

TTreeListEvents::TTreeListEvents(TTreeList& tree, QObject* parent) : QObject(parent), m_tree(tree)
{
    m_tree.OnChangeNode = [this](TTreeList&, TTreeListTextNode* oldNode, TTreeListTextNode* node) {
        emit ChangeNode(oldNode, node);
    };
    m_tree.OnSelectedCountChange = [this](TTreeList&) { emit SelectedCountChange(); };
    m_tree.OnEdited = [this](TTreeList&, TTreeListTextNode* node, bool textChanged) { emit Edited(node, textChanged); };
    m_tree.OnRenamed = [this](TTreeList&, TTreeListTextNode* node, const std::string& oldName, int oldCount) {
        emit Renamed(node, oldName, oldCount);
    };
    // A focused item shows the same icon as an unfocused one, and the file
    // stores the image index as the selected index.
    m_tree.OnGetSelectedIndex = [](TTreeList&, TTreeListTextNode* node, int32_t& index) {
        index = node->ImageIndex();
    };
    m_tree.OnCommitEdits = [this](const TTreeList&) {
        if (m_pendingText)
            m_pendingText->CommitEdits();
    };
}

TTreeListEvents::~TTreeListEvents()
{
    m_tree.OnChangeNode = nullptr;
    m_tree.OnSelectedCountChange = nullptr;
    m_tree.OnEdited = nullptr;
    m_tree.OnRenamed = nullptr;
    m_tree.OnGetSelectedIndex = nullptr;
    m_tree.OnCommitEdits = nullptr;
}
