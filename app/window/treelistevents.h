#pragma once

#include <QObject>
#include <string>

class TTreeList;
class TTreeListTextNode;

// Text of the tree kept outside it for a while (the description editor's).
// Putting it in may fail, and then the save or export that reads the tree
// must stop, so it is called directly rather than signalled.
class TPendingTreeText {
public:
    virtual void CommitEdits() = 0;

protected:
    ~TPendingTreeText() = default;
};

// The item tree's notifications as Qt signals, for the window's parts to
// connect to (through ConnectGuarded, so each runs guarded). The tree is
// plain C++ and calls one function per notification; this is the one
// place that sets them, and its destructor the one that clears them.
class TTreeListEvents : public QObject {
    Q_OBJECT
public:
    explicit TTreeListEvents(TTreeList& tree, QObject* parent = nullptr);
    ~TTreeListEvents() override;

signals:
    void ChangeNode(TTreeListTextNode* oldNode, TTreeListTextNode* node);
    void SelectedCountChange();
    void Edited(TTreeListTextNode* node, bool textChanged);
    // Before Edited, with the name and the string count the item had.
    void Renamed(TTreeListTextNode* node, const std::string& oldName, int oldCount);

public:
    // Before the whole tree is read (saving, exporting), `text` is put in.
    void SetPendingText(TPendingTreeText& text) { m_pendingText = &text; }

private:
    TTreeList& m_tree;
    TPendingTreeText* m_pendingText = nullptr;
};
