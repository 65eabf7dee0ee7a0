#include "tests/apptestkit.h"
#include "tests/urlcatcher.h"

#include "app/panes/collapsetoolbar.h"
#include "app/widgets/imagelists.h"
#include "app/about/aboutdialog.h"
#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

struct TActionRow {
    const char *list, *name, *category, *caption, *hint;  // list: "TV" or "Memo"
    int icon;
    const char* shortcut;  // as the menus show it
    int tag;
    char start;  // a fresh, empty window offers it: '+' or '-'
};

// clang-format off
const TActionRow ActionTable[] = {
    {"TV",   "actFileNew",         "File",   "&New",                      "New data file.",                                        0,  "Ctrl+N",  11, '+'},
    {"TV",   "actFileOpen",        "File",   "&Open",                     "Opens an existing data file.",                          1,  "Ctrl+O",  12, '+'},
    {"TV",   "actFileSave",        "File",   "&Save",                     "Saves the current data file.",                          2,  "Ctrl+S",  13, '-'},
    {"TV",   "actFileSaveAs",      "File",   "Save &As",                  "Saves the current work as an new data file.",           3,  "Alt+S",   14, '-'},
    {"TV",   "actFileClose",       "File",   "&Close",                    "Closes the current data file.",                         4,  "Ctrl+F4", 15, '-'},
    {"TV",   "actEditItemNew",     "Edit",   "&New Item",                 "Adds a new item.",                                      10, "Alt+Ins", 0,  '+'},
    {"TV",   "actEditItemNewSub",  "Edit",   "New &Sub Item",             "Adds a new child item to the selected item.",           11, "",        0,  '+'},
    {"TV",   "actEditItemDelete",  "Edit",   "&Delete",                   "Deletea the selected item.",                            12, "Alt+Del", 0,  '-'},
    {"TV",   "actViewWordWrap",    "View",   "Word &Wrap",                "Wraps Around the Editor",                               13, "",        0,  '+'},
    {"TV",   "actFileImport",      "File",   "Im&port",                   "Adds the items of an OPML, Markdown, indented text or tree data file at the end of the tree.", 5, "", 0, '+'},
    {"TV",   "actFileExportTxt",   "File",   "Export as &Text File",      "Exports the current data file to a single text file.", 6,  "",        0,  '-'},
    {"TV",   "actFileExportIni",   "File",   "Export as &Ini File",       "Exports the current data file to a single ini file with the name as seaction header and decription as body.", 7, "", 0, '-'},
    {"TV",   "actFileExportMulti", "File",   "Export as &Multiple Files", "Exports the current data file to multiple files each with the nodename as filename.", 8, "", 0, '-'},
    {"TV",   "actFileExit",        "File",   "E&xit",                     "Quit the application.",                                 9,  "Alt+F4",  0,  '+'},
    {"TV",   "actViewFont",        "View",   "&Font...",                  "Changes the display font.",                             14, "",        0,  '+'},
    {"TV",   "actHelpEmail",       "Help",   "&E-Mail",                   "Email Author|Launchs your email application that you can send a email to Ulmar.", 15, "", 31, '+'},
    {"TV",   "actHelpHomePage",    "Help",   "Home &Page",                "Author's Home page|Launchs your internet browser and connects to Ulmar's home page.", 16, "", 32, '+'},
    {"TV",   "actHelpAbout",       "Help",   "&About",                    "About the VekTreeViewEditor",                           17, "",        33, '+'},
    {"TV",   "actEditItemMoveUp",  "Edit",   "&Move Up",                  "Move up|Move the selected item up",                     18, "Alt+Shift+Up", 0, '+'},
    {"TV",   "actEditItemUndo",    "Edit",   "&Undo",                     "Undo|Takes back the last change of the tree or of a description", 19, "Ctrl+Z", 0, '-'},
    {"TV",   "actEditItemRedo",    "Edit",   "&Redo",                     "Redo|Does again the last change that was undone",       20, "Ctrl+Shift+Z", 0, '-'},
    {"TV",   "actFileSetPassword", "File",   "Set Pass&word...",          "Set password|Protects the data file with a password: from the next save on it is encrypted.", -1, "", 0, '-'},
    {"TV",   "actFileRemovePassword", "File", "Remove Passwor&d",         "Remove password|Saves the data file without a password again.", -1, "", 0, '-'},
    {"TV",   "actFileExportOpml",  "File",   "Export as OPM&L",           "Exports the current data file as an OPML outline that other outliners read.", 6, "", 0, '-'},
    {"TV",   "actFileExportMarkdown", "File", "Export as Mar&kdown",     "Exports the current data file as a Markdown document with headings and nested lists.", 6, "", 0, '-'},
    {"TV",   "actFileExportHtml",  "File",   "Export as &HTML",           "Exports the current data file as one web page with collapsible sections.", 6, "", 0, '-'},
    {"TV",   "actEditItemMoveDown",     "Edit", "Move Do&wn",     "Move down|Moves the selected items one place down among their siblings", 21, "Alt+Shift+Down", 0, '-'},
    {"TV",   "actEditItemIndent",       "Edit", "&Indent",        "Indent|Makes the selected items children of the item above them", 22, "Alt+Shift+Right", 0, '-'},
    {"TV",   "actEditItemOutdent",      "Edit", "&Outdent",       "Outdent|Makes the selected items siblings that follow their parent", 23, "Alt+Shift+Left", 0, '-'},
    {"TV",   "actEditItemCut",          "Edit", "Cu&t",           "Cut|Moves the selected items with their sub-items to the clipboard", 24, "Ctrl+X", 0, '-'},
    {"TV",   "actEditItemCopy",         "Edit", "&Copy",          "Copy|Copies the selected items with their sub-items to the clipboard", 25, "Ctrl+C", 0, '-'},
    {"TV",   "actEditItemPaste",        "Edit", "&Paste",         "Paste|Inserts the items or the outline on the clipboard after the focused item", 26, "Ctrl+V", 0, '-'},
    {"TV",   "actEditItemDuplicate",    "Edit", "Dup&licate",     "Duplicate|Puts a copy of each selected item with its sub-items right after it", 27, "Ctrl+D", 0, '-'},
    {"TV",   "actEditItemSortChildren", "Edit", "Sort C&hildren", "Sort children|Sorts the focused item's children by name", 28, "", 0, '-'},
    {"TV",   "actEditItemSortSubtree",  "Edit", "Sort Su&btree",  "Sort subtree|Sorts the items at every level below the focused item by name", 29, "", 0, '-'},
    {"TV",   "actEditItemExpandAll",    "Edit", "&Expand All",    "Expand all|Expands the whole tree; with Shift, the focused item's subtree", 30, "", 0, '-'},
    {"TV",   "actEditItemCollapseAll",  "Edit", "Coll&apse All",  "Collapse all|Collapses the whole tree; with Shift, the focused item's subtree", 31, "", 0, '-'},
    {"TV",   "actEditItemCopyLink",     "Edit", "Copy Lin&k to Item", "Copy link to item|Puts the shortest link that finds the focused item on the clipboard", -1, "", 0, '-'},
    {"TV",   "actViewThemeSystem",      "View", "&System",        "System theme|Takes the colours and the style of the desktop", -1, "", 0, '+'},
    {"TV",   "actViewThemeLight",       "View", "&Light",         "Light theme|Dark text on light faces, the same on every desktop", -1, "", 0, '+'},
    {"TV",   "actViewThemeDark",        "View", "&Dark",          "Dark theme|Light text on dark faces, the same on every desktop", -1, "", 0, '+'},
    {"TV",   "actGoBack",               "Go",   "&Back",          "Back|Returns to the item focused before the last jump", -1, "Alt+Left", 0, '-'},
    {"TV",   "actGoForward",            "Go",   "&Forward",       "Forward|Goes again to the item left by Back", -1, "Alt+Right", 0, '-'},
    {"TV",   "actGoToItem",             "Go",   "&Go to Item...", "Go to item|Finds an item by typing words of its name and focuses it", -1, "Ctrl+G", 0, '-'},
    {"TV",   "actFileClearRecent",      "File", "&Clear Recent",  "Clear recent|Empties the list of recent files", -1, "", 0, '+'},
    {"TV",   "actViewOptions",          "View", "&Options...",    "Options|Starting with the last document, saving automatically and printing", -1, "", 0, '+'},
    {"TV",   "actFilePrint",            "File", "P&rint...",      "Print|Prints the tree or the focused item with its sub-items", -1, "Ctrl+P", 0, '-'},
    {"TV",   "actFilePrintPreview",     "File", "Print Pre&view...", "Print preview|Shows the pages as they would be printed", -1, "", 0, '-'},
    {"TV",   "actFileExportPdf",        "File", "Export as PD&F...", "Export as PDF|Writes the tree or the focused item with its sub-items as a PDF document", -1, "", 0, '-'},
    {"TV",   "actViewLinksHere",        "View", "&Links Here",    "Links here|Shows the items whose descriptions link to the focused item", -1, "Ctrl+Shift+L", 0, '+'},
    {"TV",   "actViewCheckSpelling",    "View", "Check &Spelling", "Check spelling|Underlines misspelled words in the description", -1, "", 0, '+'},
    {"TV",   "actViewSpellingLanguage", "View", "Spelling Lan&guage", "Spelling language|Chooses the dictionary the description is checked with", -1, "", 0, '+'},
    {"TV",   "actViewFocusSubtree",     "Go",   "Focus on &Subtree", "Focus on subtree|Shows only the focused item with its sub-items", -1, "Ctrl+Shift+H", 0, '-'},
    {"TV",   "actViewShowWholeTree",    "Go",   "Show &Whole Tree", "Show whole tree|Shows every item again after Focus on Subtree", -1, "Alt+Home", 0, '-'},
    {"TV",   "actViewFilterTree",       "View", "Filte&r Tree",   "Filter tree|Shows only the items whose names hold the text typed, with their ancestors", -1, "Ctrl+Shift+T", 0, '+'},
    {"Memo", "actFileOpenMemo",    "File",   "&Open...",                  "Open|Open an existing document to the description window", 0, "",   21, '-'},
    {"Memo", "actFileSaveMemo",    "File",   "&Save...",                  "Save|Saves the selected item to a file.",               1,  "",        22, '-'},
    {"Memo", "actEditUndo",        "Edit",   "&Undo",                     "Undo|Undo the last action",                             2,  "",        0,  '-'},
    {"Memo", "actEditCut",         "Edit",   "Cu&t",                      "Cut|Cut out the selection and put it into the Clipboard", 3, "",      0,  '-'},
    {"Memo", "actEditCopy",        "Edit",   "&Copy",                     "Copy|Copy the selection and put it into the Clipboard", 4,  "",        0,  '-'},
    {"Memo", "actEditPaste",       "Edit",   "&Paste",                    "Paste|Paste clipboard data into the window",            5,  "",        0,  '-'},
    {"Memo", "actEditDelete",      "Edit",   "&Delete",                   "Delete|Deletes the selected text.",                     6,  "",        0,  '-'},
    {"Memo", "actEditSelectAll",   "Edit",   "Select &All",               "Select all|Selects all text.",                          7,  "",        0,  '-'},
    {"Memo", "actSearchFind",      "Search", "&Find...",                  "Find|Finds text in the current document.",              8,  "Ctrl+F",  0,  '-'},
    {"Memo", "actSearchFindNext",  "Search", "Find &Next",                "Find next|Repeats the last find",                       9,  "F3",      0,  '-'},
    {"Memo", "actSearchReplace",   "Search", "R&eplace...",               "Replace|Replace specific text with the different text", 10, "Ctrl+H",  0,  '-'},
    {"Memo", "actSearchFindAll",   "Search", "Find in &All Items...",     "Find in all items|Finds text in the names and descriptions of all items.", 11, "Ctrl+Shift+F", 0, '-'},
};
// clang-format on

using Id = TActionId;
const std::vector<Id> StandardEditCommands = {Id::actEditUndo,  Id::actEditCut,    Id::actEditCopy,
                                              Id::actEditPaste, Id::actEditDelete, Id::actEditSelectAll};

QImage Picture(const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); }

// "name" for a command entry, "name-" for a separator line.
QStringList Entries(const QWidget* menu)
{
    QStringList result;
    const QByteArray key = "menuEntry/" + menu->objectName().toLatin1();
    for (QAction* action : menu->actions())
        result << action->property(key.constData()).toString() +
                      (action->isSeparator() ? QStringLiteral("-") : QLatin1Char(' ') + action->objectName());
    return result;
}

// Object names of a toolbar's button widgets; separators by their action's name.
QStringList Buttons(TCollapseToolBar* bar)
{
    QStringList result;
    for (QAction* action : bar->actions())
        result << (action->isSeparator() ? action->objectName() : bar->widgetForAction(action)->objectName());
    // The first holds the room of the toolbar's grip, not a button.
    EXPECT_EQ(result.value(0), QStringLiteral("GripRoom"));
    return result.mid(1);
}

void ExpectEnabled(const TfrmTreeViewEditorMain& window, const std::vector<Id>& ids, bool enabled)
{
    for (Id id : ids) {
        const QAction* action = window.Commands().Action(id);
        EXPECT_EQ(action->isEnabled(), enabled) << action->objectName().toStdString();
    }
}

}  // namespace

class CommandTable : public WindowTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(CommandTable, DefinesTheActionAsListed)
{
    const TActionRow& row = ActionTable[GetParam()];
    // Paste follows the clipboard, which an empty one leaves disabled.
    QGuiApplication::clipboard()->clear();
    auto window = MakeWindow();
    const bool tv = row.list == std::string("TV");
    const TActionList& list = tv ? window->Commands().ActionListTV() : window->Commands().ActionListMemo();
    const size_t firstMemo = static_cast<size_t>(std::count_if(
        std::begin(ActionTable), std::end(ActionTable), [](const TActionRow& r) { return r.list == std::string("TV"); }));
    ASSERT_EQ(list.Actions().size(), tv ? firstMemo : std::size(ActionTable) - firstMemo);
    // The ids follow the table's order, and each list keeps its part of it.
    const Id id = static_cast<Id>(GetParam());
    QAction* action = Action(*window, id);
    EXPECT_EQ(list.Actions()[tv ? GetParam() : GetParam() - firstMemo], action);
    EXPECT_EQ(action->objectName(), QString::fromLatin1(row.name));
    EXPECT_EQ(action->property("category").toString(), QString::fromLatin1(row.category));
    EXPECT_EQ(action->text(), QString::fromLatin1(row.caption));
    EXPECT_EQ(action->property("hint").toString(), QString::fromLatin1(row.hint));
    EXPECT_EQ(Picture(action->icon()), Picture((tv ? ImageListMenu() : ImageListMemo()).Icon(row.icon)));
    EXPECT_EQ(action->shortcut().toString(QKeySequence::NativeText), QString::fromLatin1(row.shortcut));
    EXPECT_EQ(TActionList::Tag(action), row.tag);
    const std::string name = row.name;
    EXPECT_EQ(action->isCheckable(), name.rfind("actView", 0) == 0 && name != "actViewFont" && name != "actViewOptions" &&
                                         name != "actViewSpellingLanguage" && name != "actViewLinksHere" &&
                                         name != "actViewFocusSubtree" &&
                                         name != "actViewShowWholeTree" && name != "actViewFilterTree");
    EXPECT_EQ(action->isEnabled(), row.start == '+');
    // An update of the empty window keeps that; the editing commands follow the focus instead.
    window->Commands().UpdateActions();
    if (std::count(StandardEditCommands.begin(), StandardEditCommands.end(), id) == 0) {
        EXPECT_EQ(action->isEnabled(), row.start == '+') << "after an update";
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, CommandTable, ::testing::Range<size_t>(0, std::size(ActionTable)),
                         [](const auto& info) { return std::string(ActionTable[info.param].name); });

TEST_F(WindowTest, MenusHoldTheEntriesInOrder)
{
    auto window = MakeWindow();
    QMenuBar* bar = window->menuBar();
    QStringList menus;
    for (QAction* action : bar->actions())
        menus << action->objectName() + QLatin1Char('=') + action->text() +
                     (action->isVisible() ? QString() : QStringLiteral(" hidden"));
    // The menu that only carries shortcuts is not in the bar, not even hidden.
    EXPECT_EQ(menus, (QStringList{"menuFile=&File", "menuEdit=&Edit", "menuView=&View", "menuGo=&Go", "menuHelp=&Help"}));

    auto menu = [&](const char* name) { return window->findChild<QMenu*>(QString::fromLatin1(name)); };
    const std::pair<QMenu*, QStringList> cases[] = {
        {menu("menuFile"),
         {"miNew actFileNew", "miOpen actFileOpen", "miRecent miRecent", "miSave actFileSave", "miSaveAs actFileSaveAs",
          "miClose actFileClose", "N8-", "miSetPassword actFileSetPassword", "miRemovePassword actFileRemovePassword",
          "N1-", "miImport actFileImport", "miExportTxt actFileExportTxt",
          "miExportIni actFileExportIni", "miExportMulti actFileExportMulti",
          "miExportOpml actFileExportOpml", "miExportMarkdown actFileExportMarkdown", "miExportHtml actFileExportHtml",
          "miExportPdf actFileExportPdf", "N15-", "miPrintPreview actFilePrintPreview", "miPrint actFilePrint", "N2-",
          "miExit actFileExit"}},
        {menu("menuEdit"),
         {"miItemUndo actEditItemUndo", "miItemRedo actEditItemRedo", "N10-", "miItemNew actEditItemNew",
          "miItemNewSub actEditItemNewSub", "miItemDelete actEditItemDelete", "N6-",
          "miItemModeUp actEditItemMoveUp", "miItemMoveDown actEditItemMoveDown", "miItemIndent actEditItemIndent",
          "miItemOutdent actEditItemOutdent", "N10-", "miItemCut actEditItemCut", "miItemCopy actEditItemCopy",
          "miItemCopyLink actEditItemCopyLink",
          "miItemPaste actEditItemPaste", "miItemDuplicate actEditItemDuplicate", "N11-",
          "miItemSortChildren actEditItemSortChildren", "miItemSortSubtree actEditItemSortSubtree",
          "miItemExpandAll actEditItemExpandAll", "miItemCollapseAll actEditItemCollapseAll"}},
        {menu("menuView"), {"miWordWrap actViewWordWrap", "miFont actViewFont", "miLinksHere actViewLinksHere",
                            "miFilterTree actViewFilterTree", "N12-",
                            "miCheckSpelling actViewCheckSpelling", "miSpellingLanguage actViewSpellingLanguage",
                            "miTheme miTheme", "N14-", "miOptions actViewOptions"}},
        {menu("miTheme"), {"miThemeSystem actViewThemeSystem", "miThemeLight actViewThemeLight",
                           "miThemeDark actViewThemeDark"}},
        {menu("menuGo"), {"miGoToItem actGoToItem", "N16-", "miGoBack actGoBack", "miGoForward actGoForward", "N17-",
                          "miFocusSubtree actViewFocusSubtree", "miShowWholeTree actViewShowWholeTree"}},
        {menu("menuHelp"), {"miHelpEmail actHelpEmail", "miHelpHomePage actHelpHomePage", "N3-",
                            "miHelpAbout actHelpAbout"}},
        {menu("miUNVISIBLE"),
         {"Open1 actFileOpenMemo", "Save1 actFileSaveMemo", "N4-", "Undo1 actEditUndo", "Cut1 actEditCut",
          "Copy1 actEditCopy", "Paste1 actEditPaste", "Delete1 actEditDelete", "SelectAll1 actEditSelectAll", "N5-",
          "Find1 actSearchFind", "FindAll1 actSearchFindAll", "FindNext1 actSearchFindNext", "Replace1 actSearchReplace"}},
        {window->findChild<QMenu*>(QStringLiteral("PopupMenuTV")),
         {"pmiItemUndo actEditItemUndo", "pmiItemRedo actEditItemRedo", "N11-", "pmiItemNew actEditItemNew",
          "pmiItemNewSub actEditItemNewSub", "pmiItemDelete actEditItemDelete", "N7-",
          "pmiItemMoveUp actEditItemMoveUp", "pmiItemMoveDown actEditItemMoveDown", "pmiItemIndent actEditItemIndent",
          "pmiItemOutdent actEditItemOutdent", "N12-", "pmiItemCut actEditItemCut", "pmiItemCopy actEditItemCopy",
          "pmiItemCopyLink actEditItemCopyLink",
          "pmiItemPaste actEditItemPaste", "pmiItemDuplicate actEditItemDuplicate", "N13-",
          "pmiItemSortChildren actEditItemSortChildren", "pmiItemSortSubtree actEditItemSortSubtree",
          "pmiItemExpandAll actEditItemExpandAll", "pmiItemCollapseAll actEditItemCollapseAll"}},
    };
    for (const auto& [popup, entries] : cases) {
        ASSERT_NE(popup, nullptr) << entries.first().toStdString();
        EXPECT_EQ(Entries(popup), entries);
        // Each entry of a menu one opens has a letter of its own.
        if (popup == menu("miUNVISIBLE"))
            continue;
        QString letters;
        for (QAction* action : popup->actions()) {
            const qsizetype amp = action->text().indexOf(QLatin1Char('&'));
            if (action->isSeparator())
                continue;
            ASSERT_GE(amp, 0) << action->text().toStdString();
            const QChar letter = action->text().at(amp + 1).toLower();
            EXPECT_FALSE(letters.contains(letter)) << popup->objectName().toStdString() << " "
                                                   << action->text().toStdString();
            letters += letter;
        }
    }
}

TEST_F(WindowTest, ToolbarsHoldTheButtonsInOrderEachWithItsPicture)
{
    auto window = MakeWindow();
    auto* tv = window->findChild<TCollapseToolBar*>(QStringLiteral("ToolBarTV"));
    auto* memo = window->findChild<TCollapseToolBar*>(QStringLiteral("ToolBarMemo"));
    ASSERT_TRUE(tv && memo);
    EXPECT_EQ(Buttons(tv), (QStringList{"BtnFileNew", "BtnFileOpen", "BtnFileSave", "BtnFileSaveAs", "BtnFileClose",
                                        "BtnSeparator1", "BtnEditItemNew", "BtnEditItemNewSub", "BtnEditItemDelete",
                                        "ToolButton1", "BtnEditItemMoveUp", "LabelIcon", "IconComboBox",
                                        "BtnHelpAbout", "BtnFileExit"}));
    EXPECT_EQ(Buttons(memo), (QStringList{"BtnOpen", "BtnSave", "BtnUndo", "BtnCut", "BtnCopy", "BtnPaste",
                                          "BtnDelete", "BtnSelectAll", "BtnSearch", "BtnSearchAll",
                                          "BtnSearchAgain", "BtnReplace"}));
    for (TCollapseToolBar* bar : {tv, memo})
        for (const QToolButton* button : bar->findChildren<QToolButton*>())
            EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
}

TEST_F(WindowTest, SaveFollowsTheModifiedFlagDeleteTheSelectionAndTheOthersTheTree)
{
    auto window = MakeWindow();
    Run(*window, Id::actEditItemNew);
    window->Commands().UpdateActions();
    ExpectEnabled(*window, {Id::actFileSave, Id::actFileSaveAs, Id::actFileClose, Id::actFileExportTxt,
                            Id::actFileExportIni, Id::actFileExportMulti}, true);
    m_prompter->files = {Path("saved.trd")};
    Run(*window, Id::actFileSave);
    window->Commands().UpdateActions();
    ExpectEnabled(*window, {Id::actFileSave}, false);
    // The selection updates Delete as it changes, without waiting for idle time.
    TTreeListTextNode* item = window->TreeList().TopItem(0);
    item->SetSelected(true);
    ExpectEnabled(*window, {Id::actEditItemDelete}, true);
    item->SetSelected(false);
    ExpectEnabled(*window, {Id::actEditItemDelete}, false);
}

TEST_F(WindowTest, DescriptionCommandsFollowTheTreeAndTheEditorsLines)
{
    // The empty tree is a row of the command table; Open and Find in All Items
    // need an item, Save, Find, Find Next and Replace a line in the editor.
    const std::pair<const char*, bool> cases[] = {{"", false}, {"\r\n", true}, {"t", true}};
    for (const auto& [description, lines] : cases) {
        SCOPED_TRACE(description);
        auto window = MakeWindow();
        TTreeListTextNode* item = window->TreeList().AddItem();
        item->SetText(1, description);
        window->TreeList().AddItem()->SetFocused();
        item->SetFocused();
        window->Commands().UpdateActions();
        ExpectEnabled(*window, {Id::actFileOpenMemo, Id::actSearchFindAll}, true);
        ExpectEnabled(*window, {Id::actFileSaveMemo, Id::actSearchFind, Id::actSearchFindNext, Id::actSearchReplace},
                      lines);
    }
}


TEST_F(WindowTest, HelpCommandsOpenTheMailLinkTheHomePageAndTheAboutDialog)
{
    auto window = MakeWindow();
    TUrlCatcher catcher;
    QWidget* aboutParent = nullptr;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (frmAboutDlg) {
            aboutParent = frmAboutDlg->parentWidget();
            frmAboutDlg->reject();
        }
    });
    closer.start(10);
    for (Id id : {Id::actHelpEmail, Id::actHelpHomePage, Id::actHelpAbout}) {
        window->Commands().UpdateActions();
        ASSERT_TRUE(Action(*window, id)->isEnabled());
        Action(*window, id)->trigger();
    }
    QStringList schemes;
    for (const QString& url : catcher.urls)
        schemes << QUrl(url).scheme();
    EXPECT_EQ(schemes, (QStringList{"mailto", "https"}));
    EXPECT_EQ(aboutParent, window.get());
    EXPECT_EQ(frmAboutDlg, nullptr);
}

TEST_F(WindowTest, ImportIsEnabledAlsoForAnEmptyTreeAndCancellingAddsNothing)
{
    auto window = MakeWindow();
    QAction* import = Action(*window, Id::actFileImport);
    emit window->menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"))->aboutToShow();
    EXPECT_TRUE(import->isEnabled());
    m_prompter->files = {QString()};
    import->trigger();
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("open:opml")});
    EXPECT_EQ(window->TreeList().TopItemCount(), 0);
    EXPECT_FALSE(window->Session().Modified());
}

// Keyboard focus needs a shown, active window; each test starts in the tree.
class FocusedWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()) || !Focus(m_window->TreeListView()))
            GTEST_SKIP() << "the platform does not activate windows or move the focus";
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    bool Focus(QWidget* widget)
    {
        widget->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        return QApplication::focusWidget() == widget;
    }
    // An item whose description is in the editor.
    void AddDescribedItem(const char* description)
    {
        TTreeListTextNode* item = m_window->TreeList().AddItem();
        item->SetText(1, description);
        item->SetFocused();
        m_window->DescriptionPane().TreeListChangeNode(item, item);
    }
    // Hides the modeless dialogs and gives the window the focus back.
    void Reactivate()
    {
        m_window->FindDialog1()->hide();
        m_window->ReplaceDialog1()->hide();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
};

TEST_F(FocusedWindowTest, StandardEditCommandsFollowTheEditorOnlyWhileItHasTheFocus)
{
    AddDescribedItem("some text");
    m_window->Memo1()->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    m_window->Commands().UpdateActions();
    ExpectEnabled(*m_window, StandardEditCommands, false);

    ASSERT_TRUE(Focus(m_window->Memo1()));
    m_window->Commands().UpdateActions();
    ExpectEnabled(*m_window, {Id::actEditCut, Id::actEditCopy, Id::actEditDelete, Id::actEditPaste, Id::actEditSelectAll}, true);
    ExpectEnabled(*m_window, {Id::actEditUndo}, false);

    m_window->Memo1()->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->clear();
    m_window->Commands().UpdateActions();
    ExpectEnabled(*m_window, {Id::actEditCut, Id::actEditCopy, Id::actEditDelete, Id::actEditPaste}, false);
    ExpectEnabled(*m_window, {Id::actEditSelectAll}, true);

    QTest::keyClicks(m_window->Memo1(), QStringLiteral("!"));
    m_window->Commands().UpdateActions();
    ExpectEnabled(*m_window, {Id::actEditUndo}, true);
}

TEST_F(FocusedWindowTest, SearchShortcutsWorkOnlyWhileTheEditorHasLines)
{
    // No idle time passes before the key: the key itself brings the command up to date.
    AddDescribedItem("one two one");
    m_window->Memo1()->moveCursor(QTextCursor::Start);
    m_window->FindDialog1()->SetFindText(QStringLiteral("two"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(m_window->Memo1()->textCursor().selectedText(), QStringLiteral("two"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(m_window->FindDialog1()->isVisible());
    Reactivate();
    QTest::keyClick(m_window.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(m_window->ReplaceDialog1()->isVisible());
    Reactivate();

    // An empty editor: the keys do nothing, F3 does not even report a failed search.
    m_window->TreeList().AddItem()->SetFocused();
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F, Qt::Key_H})
        QTest::keyClick(m_window.get(), key, key == Qt::Key_F3 ? Qt::NoModifier : Qt::ControlModifier);
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    EXPECT_FALSE(m_window->FindDialog1()->isVisible());
    EXPECT_FALSE(m_window->ReplaceDialog1()->isVisible());
}

TEST_F(FocusedWindowTest, TabIsTypedIntoTheEditorAndCtrlTabLeavesIt)
{
    AddDescribedItem("text");
    ASSERT_TRUE(Focus(m_window->Memo1()));
    QTest::keyClick(m_window->Memo1(), Qt::Key_Tab);
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("\ttext"));
    QTest::keyClick(m_window->Memo1(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), m_window->TreeListView());
    ASSERT_TRUE(Focus(m_window->Memo1()));
    QTest::keyClick(m_window->Memo1(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_NE(QApplication::focusWidget(), m_window->Memo1());
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("\ttext"));
}

TEST_F(FocusedWindowTest, AltDelDeletesOnlyASelectionAndAltInsAddsAnItem)
{
    TTreeListTextNode* item = m_window->TreeList().AddItem();
    item->SetFocused();
    QTest::keyClick(m_window.get(), Qt::Key_Delete, Qt::AltModifier);
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    ASSERT_EQ(m_window->TreeList().TopItemCount(), 1);
    item->SetSelected(true);
    m_prompter->answers = {QMessageBox::Ok};
    QTest::keyClick(m_window.get(), Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(m_prompter->questions, QStringList{QStringLiteral("Warning !|Delete selected nodes?")});
    EXPECT_EQ(m_window->TreeList().TopItemCount(), 0);
    QTest::keyClick(m_window.get(), Qt::Key_Insert, Qt::AltModifier);
    EXPECT_EQ(m_window->TreeList().TopItemCount(), 1);
}

// The outline keys move and copy items while the tree has the keyboard; in
// the description the clipboard keys stay the editor's.
TEST_F(FocusedWindowTest, OutlineKeysActInTheTreeAndLeaveTheEditorItsClipboardKeys)
{
    TTreeList& tree = m_window->TreeList();
    TTreeListTextNode* a = tree.AddItem();
    a->SetText(0, "A");
    a->SetText(1, "text");
    TTreeListTextNode* b = tree.AddItem();
    b->SetText(0, "B");
    a->SetFocused();
    a->SetSelected(true);
    QWidget* view = m_window->TreeListView();
    const Qt::KeyboardModifiers altShift = Qt::AltModifier | Qt::ShiftModifier;
    QTest::keyClick(view, Qt::Key_Down, altShift);
    EXPECT_EQ(tree.TopItem(1), a);
    QTest::keyClick(view, Qt::Key_Right, altShift);
    EXPECT_EQ(a->Parent(), b);
    QTest::keyClick(view, Qt::Key_Up, altShift);
    EXPECT_EQ(tree.TopItem(1), a) << "Move Up: to the end of the grandparent's list";
    QTest::keyClick(view, Qt::Key_Right, altShift);
    QTest::keyClick(view, Qt::Key_Left, altShift);
    EXPECT_EQ(tree.TopItem(1), a);
    QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(tree.TopItemCount(), 3);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(TItemCommands::ClipboardMimeType));

    ASSERT_TRUE(Focus(m_window->Memo1()));
    m_window->Memo1()->selectAll();
    QTest::keyClick(m_window->Memo1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("text"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat(TItemCommands::ClipboardMimeType));
    QTest::keyClick(m_window->Memo1(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m_window->Memo1(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(tree.TopItemCount(), 3);
}

TEST_F(WindowTest, HoveringShowsTheLongHintInPanelZeroAndNoTooltip)
{
    auto window = MakeWindow();
    QWidget* save = window->findChild<QWidget*>(QStringLiteral("BtnSave"));
    ASSERT_NE(save, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(save, &enter);
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Saves the selected item to a file."));

    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), save->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(save, &tip);
    EXPECT_FALSE(QToolTip::isVisible());

    // The tree and its enclosing panes carry no hint.
    QApplication::sendEvent(window->TreeListView()->viewport(), &enter);
    EXPECT_EQ(window->StatusPanelText(0), QString());

    // The icon picker has a hint of its own.
    QApplication::sendEvent(window->IconComboBox(), &enter);
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Change Folder Icon for the Selected Item"));
}

// A command that fails, chosen from an open menu, shows its message; the
// menu closes and the next command runs.
TEST_F(WindowTest, ACommandThatFailsFromAnOpenMenuShowsItsMessage)
{
    WriteBytes(Path("good.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    QMenu* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"));
    ASSERT_NE(file, nullptr);
    m_prompter->files = {Path("missing.trd"), Path("good.trd")};
    file->popup(window->mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activePopupWidget(), file);
    file->setActiveAction(Action(*window, TActionId::actFileOpen));
    QTest::keyClick(file, Qt::Key_Return);
    EXPECT_EQ(m_prompter->errors, QStringList{"Cannot open file " + Path("missing.trd") + "."});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    Run(*window, TActionId::actFileOpen);
    ASSERT_NE(window->TreeList().TopItem(0), nullptr);
    EXPECT_EQ(window->TreeList().TopItem(0)->GetText(0), "A");
    EXPECT_EQ(m_prompter->errors.size(), 1);
}

// Commands and callbacks that fail, each the way the user meets it: the
// guard shows the message once, and nothing reaches the last-resort catch
// of the application object.
TEST_F(WindowTest, FailuresOfCommandsAndCallbacksEndInTheGuard)
{
    const QString missingFolder = Path("gone/x.trd");
    const struct {
        const char* what;
        std::function<void(TfrmTreeViewEditorMain&)> run;
        std::function<QString()> message;  // the error box's text
    } cases[] = {
        {"Open of a missing file",
         [&](TfrmTreeViewEditorMain& w) {
             m_prompter->files = {missingFolder};
             Run(w, Id::actFileOpen);
         },
         [&] { return "Cannot open file " + missingFolder + "."; }},
        {"New Item with no icon number",
         [](TfrmTreeViewEditorMain& w) {
             w.IconComboBox()->setEditText(QStringLiteral("x"));
             Run(w, Id::actEditItemNew);
         },
         [] { return QStringLiteral("'x' is not a valid integer value."); }},
        {"the icon picker's change, a control's signal",
         [](TfrmTreeViewEditorMain& w) {
             Run(w, Id::actEditItemNew);
             w.TreeList().TopItem(0)->SetSelected(true);
             w.IconComboBox()->setEditText(QStringLiteral("7y"));
         },
         [] { return QStringLiteral("'7y' is not a valid integer value."); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_prompter->errors.clear();
        auto window = MakeWindow();
        const int lastResort = TApplication::LastResortCount();
        c.run(*window);
        QApplication::processEvents();
        EXPECT_EQ(m_prompter->errors, QStringList{c.message()});
        EXPECT_EQ(TApplication::LastResortCount(), lastResort);
        window->IconComboBox()->setEditText(QStringLiteral("0"));
    }
}

// The tree's notifications come as signals while the adapter lives; the tree
// may outlive it and then notifies no one.
TEST(TreeListEvents, ReEmitsTheTreesNotificationsAndLetsGoOfThemWhenDestroyed)
{
    TTreeList tree;
    TTreeListTextNode* a = tree.AddItem();
    TTreeListTextNode* b = tree.AddItem();
    a->SetImageIndex(5);
    std::vector<std::pair<TTreeListTextNode*, TTreeListTextNode*>> changes;
    int selectionChanges = 0;
    {
        TTreeListEvents events(tree);
        QObject::connect(&events, &TTreeListEvents::ChangeNode,
                         [&](TTreeListTextNode* from, TTreeListTextNode* to) { changes.emplace_back(from, to); });
        QObject::connect(&events, &TTreeListEvents::SelectedCountChange, [&] { ++selectionChanges; });
        b->SetFocused();
        a->SetSelected(true);
        int32_t selectedIndex = -1;
        tree.OnGetSelectedIndex(tree, a, selectedIndex);
        EXPECT_EQ(selectedIndex, 5);
    }
    EXPECT_EQ(changes, (std::vector<std::pair<TTreeListTextNode*, TTreeListTextNode*>>{{a, b}}));
    EXPECT_EQ(selectionChanges, 1);
    EXPECT_FALSE(tree.OnChangeNode || tree.OnSelectedCountChange || tree.OnEdited || tree.OnRenamed ||
                 tree.OnGetSelectedIndex || tree.OnCommitEdits);
    a->SetFocused();
    tree.CommitEdits();
}

// Text that cannot be put into the tree stops the save that asked for it:
// the file is not written, and the failure reaches the command's guard.
TEST(TreeListEvents, AFailedCommitOfPendingTextStopsTheSave)
{
    struct TFailingText : TPendingTreeText {
        void CommitEdits() override { throw std::runtime_error("Out of memory"); }
    } failing;
    TTreeList tree;
    tree.AddItem()->SetText(TreeListColumnName, "a");
    TTreeListEvents events(tree);
    events.SetPendingText(failing);
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("a.trd")).toStdString();
    EXPECT_THROW(SaveItems(tree, path), std::runtime_error);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
}
