#pragma once

class QMainWindow;
class QMenu;
class QWidget;
class TCollapseToolBar;
class TCommandTable;
class TDocumentSession;
class TRecentMenu;

// The window's menus and toolbars, entry by entry, each bound to its command.
// The main menu goes into `window`; the tree's context menu is returned.
QMenu* BuildMenus(QMainWindow& window, TCommandTable& commands);
// File > Open Recent, after Open.
TRecentMenu* BuildRecentMenu(QMainWindow& window, TCommandTable& commands, TDocumentSession& session);
// The tree toolbar, with the icon picker among its buttons.
TCollapseToolBar* BuildToolBarTV(const TCommandTable& commands, QWidget* iconComboBox);
TCollapseToolBar* BuildToolBarMemo(const TCommandTable& commands);
// The checkable and tree-only commands: the tree's item commands take their
// keys from the tree alone, where they mean the items, not the text.
void BindTreeKeys(const TCommandTable& commands, QWidget& window, QWidget& treeView);
