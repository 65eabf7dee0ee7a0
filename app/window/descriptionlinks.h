#pragma once

#include "document/linkgrammar.h"
#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPoint;
class QTextBlock;
class TEditorLayers;
class TItemCommands;

// One link in the description editor, in the editor's text positions.
struct TEditorLink {
    int start = 0;
    int end = 0;
    TLinkKind kind = TLinkKind::Address;
    QString text;  // as written, brackets included
};

// Web addresses and item links in the description editor: drawn as links,
// opened or followed with Ctrl+click, Ctrl+Enter or the context menu. Only
// the blocks on screen are scanned, so a description of many megabytes
// costs no more to show or to type in than without links.
class TDescriptionLinks : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    TDescriptionLinks(TTreeList& tree, QPlainTextEdit& memo, TEditorLayers& layers, QLabel& hintPanel,
                      TItemCommands& itemCommands);
    ~TDescriptionLinks() override;

    // Opens an address through the desktop; focuses the item an item link
    // finds, or offers to create it under the focused item.
    void FollowLink(const TEditorLink& link);
    std::optional<TEditorLink> LinkAtPosition(int position) const;
    // The link under a point of the editor's viewport.
    std::optional<TEditorLink> LinkAtPoint(const QPoint& point) const;
    // The editor's menu with "Open Link" and "Copy Link Address" first, for
    // a point on a link; none elsewhere. The caller owns it.
    QMenu* CreateLinkMenu(const QPoint& point);
    // Redraws the links on screen now rather than once the editor is idle.
    void RefreshLinks();
    // True when an item link finds no item.
    bool IsBroken(const TEditorLink& link) const;

signals:
    // An item link is about to take the focus to its item.
    void Jumping();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The tree changed: links may find other items now.
    void ItemsInserted() override { TreeChanged(); }
    void ItemsRemoved() override { TreeChanged(); }
    void ItemMoved() override { TreeChanged(); }
    void ChildrenReordered() override { TreeChanged(); }
    void ResetDone() override { TreeChanged(); }
    void ItemChanged(TTreeListTextNode* item) override;
    void FocusChanged(TTreeListTextNode* item) override;
    void TreeChanged();

    bool FilterEvent(QObject* watched, QEvent* event);
    void ScheduleRefresh();
    // The links of `block` between its characters `from` and `to`.
    std::vector<TEditorLink> LinksIn(const QTextBlock& block, int from, int to) const;
    TTreeListTextNode* Resolve(const QString& link) const;
    void FollowItemLink(const QString& link);
    void ShowHover(const QPoint& point, bool control);

    TTreeList& m_tree;
    QPlainTextEdit& m_memo;
    TEditorLayers& m_layers;
    QLabel& m_hintPanel;
    TItemCommands& m_itemCommands;
    QTimer m_refreshTimer;
    // What each item link found since the tree last changed.
    mutable std::unordered_map<std::u16string, TTreeListTextNode*> m_resolved;
    // The focused item's name, so typing in its description keeps the
    // resolved links.
    std::string m_focusedName;
    std::vector<TEditorLink> m_drawn;
    std::vector<bool> m_drawnBroken;
    bool m_showingHint = false;
    bool m_pressed = false;  // a Ctrl+click followed a link; its release is ours too
};
