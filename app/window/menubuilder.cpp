#include "app/window/menubuilder.h"

#include "app/panes/collapsetoolbar.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"
#include "app/window/recentmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <optional>
#include <vector>

namespace {
// A menu entry's name and its action; without an action, a separator line.
struct TMenuEntry {
    const char* name;
    std::optional<TActionId> action;
};

// A toolbar button for the command `id`. Buttons 23 pixels apart: the style's wider ones, right of the grip, would
// push the last description button behind the overflow arrow. The
// description toolbar holds twelve since Find in All Items joined it, which
// at 23 pixels apart no longer fit the pane's 288; 22 do.
void AddButton(const TCommandTable& commands, QToolBar* bar, TActionId id, const char* name, int pitch = 23)
{
    QAction* action = commands.Action(id);
    bar->addAction(action);
    QWidget* widget = bar->widgetForAction(action);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setFixedWidth(pitch - bar->layout()->spacing());
}
}  // namespace

// clang-format off
QMenu* BuildMenus(QMainWindow& window, TCommandTable& commands)
{
    using Id = TActionId;
    const std::pair<const char*, const char*> menus[] = {{"menuFile", QT_TRANSLATE_NOOP("TMainMenu", "&File")},
                                                         {"menuEdit", QT_TRANSLATE_NOOP("TMainMenu", "&Edit")},
                                                         {"menuView", QT_TRANSLATE_NOOP("TMainMenu", "&View")},
                                                         {"menuGo", QT_TRANSLATE_NOOP("TMainMenu", "&Go")},
                                                         {"menuHelp", QT_TRANSLATE_NOOP("TMainMenu", "&Help")},
                                                         {"miUNVISIBLE", "UNVISIBLE"}};
    const std::vector<std::vector<TMenuEntry>> entries = {
        {{"miNew", Id::actFileNew}, {"miOpen", Id::actFileOpen}, {"miSave", Id::actFileSave},
         {"miSaveAs", Id::actFileSaveAs}, {"miClose", Id::actFileClose}, {"N8", {}},
         {"miSetPassword", Id::actFileSetPassword}, {"miRemovePassword", Id::actFileRemovePassword},
         {"N1", {}}, {"miImport", Id::actFileImport},
         {"miExportTxt", Id::actFileExportTxt}, {"miExportIni", Id::actFileExportIni},
         {"miExportMulti", Id::actFileExportMulti}, {"miExportOpml", Id::actFileExportOpml},
         {"miExportMarkdown", Id::actFileExportMarkdown}, {"miExportHtml", Id::actFileExportHtml}, {"miExportPdf", Id::actFileExportPdf},
         {"N15", {}}, {"miPrintPreview", Id::actFilePrintPreview}, {"miPrint", Id::actFilePrint}, {"N2", {}}, {"miExit", Id::actFileExit}},
        {{"miItemUndo", Id::actEditItemUndo}, {"miItemRedo", Id::actEditItemRedo}, {"N10", {}},
         {"miItemNew", Id::actEditItemNew}, {"miItemNewSub", Id::actEditItemNewSub},
         {"miItemDelete", Id::actEditItemDelete}, {"N6", {}}, {"miItemModeUp", Id::actEditItemMoveUp},
         {"miItemMoveDown", Id::actEditItemMoveDown}, {"miItemIndent", Id::actEditItemIndent},
         {"miItemOutdent", Id::actEditItemOutdent}, {"N10", {}}, {"miItemCut", Id::actEditItemCut},
         {"miItemCopy", Id::actEditItemCopy}, {"miItemCopyLink", Id::actEditItemCopyLink}, {"miItemPaste", Id::actEditItemPaste},
         {"miItemDuplicate", Id::actEditItemDuplicate}, {"N11", {}}, {"miItemSortChildren", Id::actEditItemSortChildren},
         {"miItemSortSubtree", Id::actEditItemSortSubtree}, {"miItemExpandAll", Id::actEditItemExpandAll},
         {"miItemCollapseAll", Id::actEditItemCollapseAll}},
        {{"miWordWrap", Id::actViewWordWrap}, {"miFont", Id::actViewFont}, {"miLinksHere", Id::actViewLinksHere},
         {"miFilterTree", Id::actViewFilterTree}, {"N12", {}}, {"miCheckSpelling", Id::actViewCheckSpelling}, {"miSpellingLanguage", Id::actViewSpellingLanguage},
         {"N14", {}}, {"miOptions", Id::actViewOptions}},
        {{"miGoToItem", Id::actGoToItem}, {"N16", {}}, {"miGoBack", Id::actGoBack}, {"miGoForward", Id::actGoForward},
         {"N17", {}}, {"miFocusSubtree", Id::actViewFocusSubtree}, {"miShowWholeTree", Id::actViewShowWholeTree}},
        {{"miHelpEmail", Id::actHelpEmail}, {"miHelpHomePage", Id::actHelpHomePage}, {"N3", {}},
         {"miHelpAbout", Id::actHelpAbout}},
        {{"Open1", Id::actFileOpenMemo}, {"Save1", Id::actFileSaveMemo}, {"N4", {}}, {"Undo1", Id::actEditUndo},
         {"Cut1", Id::actEditCut}, {"Copy1", Id::actEditCopy}, {"Paste1", Id::actEditPaste},
         {"Delete1", Id::actEditDelete}, {"SelectAll1", Id::actEditSelectAll}, {"N5", {}},
         {"Find1", Id::actSearchFind}, {"FindAll1", Id::actSearchFindAll}, {"FindNext1", Id::actSearchFindNext}, {"Replace1", Id::actSearchReplace}}};

    auto fill = [&commands](QMenu* menu, const std::vector<TMenuEntry>& list) {
        for (const TMenuEntry& entry : list) {
            QAction* item = entry.action ? commands.Action(*entry.action) : menu->addSeparator();
            if (entry.action)
                menu->addAction(item);
            // The entry's name lives on the menu's own widget list; actions
            // are shared with toolbars, so the name is kept as a property.
            item->setProperty(("menuEntry/" + menu->objectName()).toLatin1().constData(),
                              QString::fromLatin1(entry.name));
        }
        // A menu brings its commands up to date as it opens.
        ConnectGuarded(menu, &QMenu::aboutToShow, &commands, &TCommandTable::UpdateActions);
    };
    QMenuBar* mainMenu1 = window.menuBar();
    mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (size_t i = 0; i < std::size(menus); ++i) {
        // The last carries only the description commands' shortcuts, which
        // the window holds itself: no menu to open, so it stays out of the bar.
        const bool shortcutsOnly = i + 1 == std::size(menus);
        QMenu* menu = shortcutsOnly ? new QMenu(QString::fromLatin1(menus[i].second), &window)
                                    : mainMenu1->addMenu(QCoreApplication::translate("TMainMenu", menus[i].second));
        menu->setObjectName(QString::fromLatin1(menus[i].first));
        menu->menuAction()->setObjectName(QString::fromLatin1(menus[i].first));
        fill(menu, entries[i]);
    }
    QMenu* viewMenu = mainMenu1->findChild<QMenu*>(QStringLiteral("menuView"));
    // The theme goes with the other looks, above the separator before Options.
    auto* themeMenu = new QMenu(QCoreApplication::translate("TMenuBuilder", "&Theme"), viewMenu);
    QAction* beforeOptions = nullptr;
    for (QAction* entry : viewMenu->actions())
        if (entry->property("menuEntry/menuView").toString() == QLatin1String("N14"))
            beforeOptions = entry;
    viewMenu->insertMenu(beforeOptions, themeMenu);
    themeMenu->setObjectName(QStringLiteral("miTheme"));
    themeMenu->menuAction()->setObjectName(QStringLiteral("miTheme"));
    themeMenu->menuAction()->setProperty("menuEntry/menuView", QStringLiteral("miTheme"));
    fill(themeMenu, {{"miThemeSystem", Id::actViewThemeSystem}, {"miThemeLight", Id::actViewThemeLight},
                     {"miThemeDark", Id::actViewThemeDark}});
    auto* popupMenuTV = new QMenu(&window);
    popupMenuTV->setObjectName(QStringLiteral("PopupMenuTV"));
    fill(popupMenuTV, {{"pmiItemUndo", Id::actEditItemUndo},
                       {"pmiItemRedo", Id::actEditItemRedo},
                       {"N11", {}},
                       {"pmiItemNew", Id::actEditItemNew},
                       {"pmiItemNewSub", Id::actEditItemNewSub},
                       {"pmiItemDelete", Id::actEditItemDelete},
                         {"N7", {}},
                       {"pmiItemMoveUp", Id::actEditItemMoveUp},
                       {"pmiItemMoveDown", Id::actEditItemMoveDown},
                       {"pmiItemIndent", Id::actEditItemIndent},
                       {"pmiItemOutdent", Id::actEditItemOutdent},
                       {"N12", {}},
                       {"pmiItemCut", Id::actEditItemCut},
                       {"pmiItemCopy", Id::actEditItemCopy},
                       {"pmiItemCopyLink", Id::actEditItemCopyLink},
                       {"pmiItemPaste", Id::actEditItemPaste},
                       {"pmiItemDuplicate", Id::actEditItemDuplicate},
                       {"N13", {}},
                       {"pmiItemSortChildren", Id::actEditItemSortChildren},
                       {"pmiItemSortSubtree", Id::actEditItemSortSubtree},
                       {"pmiItemExpandAll", Id::actEditItemExpandAll},
                       {"pmiItemCollapseAll", Id::actEditItemCollapseAll}});
    return popupMenuTV;
}

TRecentMenu* BuildRecentMenu(QMainWindow& window, TCommandTable& commands, TDocumentSession& session)
{
    auto* fileMenu = window.menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"));
    return new TRecentMenu(*fileMenu, commands.Action(TActionId::actFileSave),
                           *commands.Action(TActionId::actFileClearRecent), session);
}

TCollapseToolBar* BuildToolBarTV(const TCommandTable& commands, QWidget* iconComboBox)
{
    using Id = TActionId;
    auto separator = [](QToolBar* bar, const char* name) {
        bar->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    auto* toolBarTV = new TCollapseToolBar;
    toolBarTV->setObjectName(QStringLiteral("ToolBarTV"));
    toolBarTV->setIconSize(QSize(16, 16));
    AddButton(commands, toolBarTV, Id::actFileNew, "BtnFileNew");
    AddButton(commands, toolBarTV, Id::actFileOpen, "BtnFileOpen");
    AddButton(commands, toolBarTV, Id::actFileSave, "BtnFileSave");
    AddButton(commands, toolBarTV, Id::actFileSaveAs, "BtnFileSaveAs");
    AddButton(commands, toolBarTV, Id::actFileClose, "BtnFileClose");
    separator(toolBarTV, "BtnSeparator1");
    AddButton(commands, toolBarTV, Id::actEditItemNew, "BtnEditItemNew");
    AddButton(commands, toolBarTV, Id::actEditItemNewSub, "BtnEditItemNewSub");
    AddButton(commands, toolBarTV, Id::actEditItemDelete, "BtnEditItemDelete");
    separator(toolBarTV, "ToolButton1");
    AddButton(commands, toolBarTV, Id::actEditItemMoveUp, "BtnEditItemMoveUp");
    auto* labelIcon = new QLabel(QCoreApplication::translate("TMainMenu", "  icon:  "));
    labelIcon->setObjectName(QStringLiteral("LabelIcon"));
    labelIcon->setAlignment(Qt::AlignCenter);
    labelIcon->setMinimumWidth(35);
    // A reader on Linux hears the box's value as its name, and the label by this.
    labelIcon->setBuddy(iconComboBox);
    toolBarTV->addWidget(labelIcon);
    toolBarTV->addWidget(iconComboBox);
    AddButton(commands, toolBarTV, Id::actHelpAbout, "BtnHelpAbout");
    AddButton(commands, toolBarTV, Id::actFileExit, "BtnFileExit");
    return toolBarTV;
}


TCollapseToolBar* BuildToolBarMemo(const TCommandTable& commands)
{
    using Id = TActionId;
    auto* toolBarMemo = new TCollapseToolBar;
    toolBarMemo->setObjectName(QStringLiteral("ToolBarMemo"));
    toolBarMemo->setIconSize(QSize(16, 16));
    const std::pair<Id, const char*> memoButtons[] = {
        {Id::actFileOpenMemo, "BtnOpen"},      {Id::actFileSaveMemo, "BtnSave"},
        {Id::actEditUndo, "BtnUndo"},          {Id::actEditCut, "BtnCut"},
        {Id::actEditCopy, "BtnCopy"},          {Id::actEditPaste, "BtnPaste"},
        {Id::actEditDelete, "BtnDelete"},      {Id::actEditSelectAll, "BtnSelectAll"},
        {Id::actSearchFind, "BtnSearch"},      {Id::actSearchFindAll, "BtnSearchAll"},
        {Id::actSearchFindNext, "BtnSearchAgain"}, {Id::actSearchReplace, "BtnReplace"}};
    for (const auto& [id, name] : memoButtons)
        AddButton(commands, toolBarMemo, id, name, 22);
    return toolBarMemo;
}
// clang-format on

void BindTreeKeys(const TCommandTable& commands, QWidget& window, QWidget& treeView)
{
    using Id = TActionId;
    commands.Action(Id::actViewWordWrap)->setCheckable(true);
    // The tree's own keys: in the description editor the same keys undo the
    // editor's typing.
    commands.Action(Id::actEditItemRedo)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Move Up has no key in the table; this one joins the other moves' keys.
    commands.Action(Id::actEditItemMoveUp)->setShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Up));
    // In the description editor and the name editor the clipboard keys keep
    // their text meaning.
    for (Id id : {Id::actEditItemUndo, Id::actEditItemRedo, Id::actEditItemMoveUp, Id::actEditItemMoveDown,
                  Id::actEditItemIndent, Id::actEditItemOutdent, Id::actEditItemCut, Id::actEditItemCopy,
                  Id::actEditItemPaste, Id::actEditItemDuplicate}) {
        QAction* action = commands.Action(id);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        window.removeAction(action);
        treeView.addAction(action);
    }
}
