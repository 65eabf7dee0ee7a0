#include "app/window/actiontable.h"

#include "app/window/commandtable.h"
#include "app/window/descriptionpane.h"
#include "app/window/descriptionspelling.h"
#include "app/window/documentsession.h"
#include "app/window/editcommands.h"
#include "app/window/exportcommands.h"
#include "app/window/findallcontroller.h"
#include "app/window/importcommands.h"
#include "app/window/itemcommands.h"
#include "app/window/linksherecontroller.h"
#include "app/window/mainwindow.h"
#include "app/window/themecommands.h"
#include "app/window/navigator.h"
#include "app/window/subtreefocus.h"
#include "app/window/treefilter.h"

#include <QCoreApplication>

namespace {
const QKeySequence None;
constexpr TCommandOutput Doc = TCommandOutput::Document;
constexpr TCommandOutput Clear = TCommandOutput::ClearText;

// The context of the rows' captions and hints, which the action list
// translates as it makes each action.
class TActionTable {
    Q_DECLARE_TR_FUNCTIONS(TActionTable)
public:
    static std::vector<TActionDef> ListTV();
    static std::vector<TActionDef> ListMemo();
};
}  // namespace

// clang-format off
std::vector<TActionDef> TActionTable::ListTV()
{
    using Id = TActionId;
    return {
        // id                    name                  category caption                      hint                                                     icon shortcut                            tag handler
        {Id::actFileNew,         "actFileNew",         "File",  QT_TR_NOOP("&New"),                      QT_TR_NOOP("New data file."),                                        0,  QKeySequence(Qt::CTRL | Qt::Key_N),     11, Handler<&TDocumentSession::actFileNewExecute>},
        {Id::actFileOpen,        "actFileOpen",        "File",  QT_TR_NOOP("&Open"),                     QT_TR_NOOP("Opens an existing data file."),                          1,  QKeySequence(Qt::CTRL | Qt::Key_O),     12, Handler<&TDocumentSession::actFileOpenExecute>},
        {Id::actFileSave,        "actFileSave",        "File",  QT_TR_NOOP("&Save"),                     QT_TR_NOOP("Saves the current data file."),                          2,  QKeySequence(Qt::CTRL | Qt::Key_S),     13, Handler<&TDocumentSession::actFileSaveExecute>},
        {Id::actFileSaveAs,      "actFileSaveAs",      "File",  QT_TR_NOOP("Save &As"),                  QT_TR_NOOP("Saves the current work as an new data file."),           3,  QKeySequence(Qt::ALT | Qt::Key_S),      14, Handler<&TDocumentSession::actFileSaveAsExecute>},
        {Id::actFileClose,       "actFileClose",       "File",  QT_TR_NOOP("&Close"),                    QT_TR_NOOP("Closes the current data file."),                         4,  QKeySequence(Qt::CTRL | Qt::Key_F4),    15, Handler<&TDocumentSession::actFileCloseExecute>},
        {Id::actEditItemNew,     "actEditItemNew",     "Edit",  QT_TR_NOOP("&New Item"),                 QT_TR_NOOP("Adds a new item."),                                      10, QKeySequence(Qt::ALT | Qt::Key_Insert), 0,  Handler<&TItemCommands::actEditItemNewExecute>},
        {Id::actEditItemNewSub,  "actEditItemNewSub",  "Edit",  QT_TR_NOOP("New &Sub Item"),             QT_TR_NOOP("Adds a new child item to the selected item."),           11, None,                                   0,  Handler<&TItemCommands::actEditItemNewSubExecute>},
        {Id::actEditItemDelete,  "actEditItemDelete",  "Edit",  QT_TR_NOOP("&Delete"),                   QT_TR_NOOP("Deletea the selected item."),                            12, QKeySequence(Qt::ALT | Qt::Key_Delete), 0,  Handler<&TItemCommands::actEditItemDeleteExecute>},
        {Id::actViewWordWrap,    "actViewWordWrap",    "View",  QT_TR_NOOP("Word &Wrap"),                QT_TR_NOOP("Wraps Around the Editor"),                               13, None,                                   0,  Handler<&TDescriptionPane::actViewWordWrapExecute>},
        {Id::actFileImport,      "actFileImport",      "File",  QT_TR_NOOP("Im&port"),                   QT_TR_NOOP("Adds the items of an OPML, Markdown, indented text or tree data file at the end of the tree."), 5, None, 0, Handler<&TImportCommands::actFileImportExecute>},
        {Id::actFileExportTxt,   "actFileExportTxt",   "File",  QT_TR_NOOP("Export as &Text File"),      QT_TR_NOOP("Exports the current data file to a single text file."), 6,  None,                                   0,  Handler<&TExportCommands::actFileExportTxtExecute>, Clear},
        {Id::actFileExportIni,   "actFileExportIni",   "File",  QT_TR_NOOP("Export as &Ini File"),       QT_TR_NOOP("Exports the current data file to a single ini file with the name as seaction header and decription as body."), 7, None, 0, Handler<&TExportCommands::actFileExportIniExecute>, Clear},
        {Id::actFileExportMulti, "actFileExportMulti", "File",  QT_TR_NOOP("Export as &Multiple Files"), QT_TR_NOOP("Exports the current data file to multiple files each with the nodename as filename."), 8, None, 0, Handler<&TExportCommands::actFileExportMultiExecute>, Clear},
        {Id::actFileExit,        "actFileExit",        "File",  QT_TR_NOOP("E&xit"),                     QT_TR_NOOP("Quit the application."),                                 9,  QKeySequence(Qt::ALT | Qt::Key_F4),     0,  Handler<&TfrmTreeViewEditorMain::actFileExitExecute>},
        {Id::actViewFont,        "actViewFont",        "View",  QT_TR_NOOP("&Font..."),                  QT_TR_NOOP("Changes the display font."),                             14, None,                                   0,  Handler<&TDescriptionPane::actViewFontExecute>},
        {Id::actHelpEmail,       "actHelpEmail",       "Help",  QT_TR_NOOP("&E-Mail"),                   QT_TR_NOOP("Email Author|Launchs your email application that you can send a email to Ulmar."), 15, None, 31, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actHelpHomePage,    "actHelpHomePage",    "Help",  QT_TR_NOOP("Home &Page"),                QT_TR_NOOP("Author's Home page|Launchs your internet browser and connects to Ulmar's home page."), 16, None, 32, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actHelpAbout,       "actHelpAbout",       "Help",  QT_TR_NOOP("&About"),                    QT_TR_NOOP("About the VekTreeViewEditor"),                           17, None,                                   33, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actEditItemMoveUp,  "actEditItemMoveUp",  "Edit",  QT_TR_NOOP("&Move Up"),                  QT_TR_NOOP("Move up|Move the selected item up"),                     18, None,                                   0,  Handler<&TItemCommands::actEditItemMoveUpExecute>},
        {Id::actEditItemUndo,    "actEditItemUndo",    "Edit",  QT_TR_NOOP("&Undo"),                     QT_TR_NOOP("Undo|Takes back the last change of the tree or of a description"), 19, QKeySequence(Qt::CTRL | Qt::Key_Z), 0, Handler<&TItemCommands::actEditItemUndoExecute>},
        {Id::actEditItemRedo,    "actEditItemRedo",    "Edit",  QT_TR_NOOP("&Redo"),                     QT_TR_NOOP("Redo|Does again the last change that was undone"),       20, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 0, Handler<&TItemCommands::actEditItemRedoExecute>},
        {Id::actFileSetPassword, "actFileSetPassword", "File",  QT_TR_NOOP("Set Pass&word..."),          QT_TR_NOOP("Set password|Protects the data file with a password: from the next save on it is encrypted."), -1, None, 0, Handler<&TDocumentSession::actFileSetPasswordExecute>},
        {Id::actFileRemovePassword, "actFileRemovePassword", "File", QT_TR_NOOP("Remove Passwor&d"),     QT_TR_NOOP("Remove password|Saves the data file without a password again."), -1, None, 0, Handler<&TDocumentSession::actFileRemovePasswordExecute>},
        {Id::actFileExportOpml,  "actFileExportOpml",  "File",  QT_TR_NOOP("Export as OPM&L"),           QT_TR_NOOP("Exports the current data file as an OPML outline that other outliners read."), 6, None, 0, Handler<&TExportCommands::actFileExportOpmlExecute>, Clear},
        {Id::actFileExportMarkdown, "actFileExportMarkdown", "File", QT_TR_NOOP("Export as Mar&kdown"),   QT_TR_NOOP("Exports the current data file as a Markdown document with headings and nested lists."), 6, None, 0, Handler<&TExportCommands::actFileExportMarkdownExecute>, Clear},
        {Id::actFileExportHtml,  "actFileExportHtml",  "File",  QT_TR_NOOP("Export as &HTML"),           QT_TR_NOOP("Exports the current data file as one web page with collapsible sections."), 6, None, 0, Handler<&TExportCommands::actFileExportHtmlExecute>, Clear},
        {Id::actEditItemMoveDown,     "actEditItemMoveDown",     "Edit", QT_TR_NOOP("Move Do&wn"),    QT_TR_NOOP("Move down|Moves the selected items one place down among their siblings"), 21, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down), 0, Handler<&TItemCommands::actEditItemMoveDownExecute>},
        {Id::actEditItemIndent,       "actEditItemIndent",       "Edit", QT_TR_NOOP("&Indent"),       QT_TR_NOOP("Indent|Makes the selected items children of the item above them"), 22, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right), 0, Handler<&TItemCommands::actEditItemIndentExecute>},
        {Id::actEditItemOutdent,      "actEditItemOutdent",      "Edit", QT_TR_NOOP("&Outdent"),      QT_TR_NOOP("Outdent|Makes the selected items siblings that follow their parent"), 23, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left), 0, Handler<&TItemCommands::actEditItemOutdentExecute>},
        {Id::actEditItemCut,          "actEditItemCut",          "Edit", QT_TR_NOOP("Cu&t"),          QT_TR_NOOP("Cut|Moves the selected items with their sub-items to the clipboard"), 24, QKeySequence(Qt::CTRL | Qt::Key_X), 0, Handler<&TItemCommands::actEditItemCutExecute>},
        {Id::actEditItemCopy,         "actEditItemCopy",         "Edit", QT_TR_NOOP("&Copy"),         QT_TR_NOOP("Copy|Copies the selected items with their sub-items to the clipboard"), 25, QKeySequence(Qt::CTRL | Qt::Key_C), 0, Handler<&TItemCommands::actEditItemCopyExecute>},
        {Id::actEditItemPaste,        "actEditItemPaste",        "Edit", QT_TR_NOOP("&Paste"),        QT_TR_NOOP("Paste|Inserts the items or the outline on the clipboard after the focused item"), 26, QKeySequence(Qt::CTRL | Qt::Key_V), 0, Handler<&TItemCommands::actEditItemPasteExecute>},
        {Id::actEditItemDuplicate,    "actEditItemDuplicate",    "Edit", QT_TR_NOOP("Dup&licate"),    QT_TR_NOOP("Duplicate|Puts a copy of each selected item with its sub-items right after it"), 27, QKeySequence(Qt::CTRL | Qt::Key_D), 0, Handler<&TItemCommands::actEditItemDuplicateExecute>},
        {Id::actEditItemSortChildren, "actEditItemSortChildren", "Edit", QT_TR_NOOP("Sort C&hildren"), QT_TR_NOOP("Sort children|Sorts the focused item's children by name"), 28, None, 0, Handler<&TItemCommands::actEditItemSortChildrenExecute>},
        {Id::actEditItemSortSubtree,  "actEditItemSortSubtree",  "Edit", QT_TR_NOOP("Sort Su&btree"), QT_TR_NOOP("Sort subtree|Sorts the items at every level below the focused item by name"), 29, None, 0, Handler<&TItemCommands::actEditItemSortSubtreeExecute>},
        {Id::actEditItemExpandAll,    "actEditItemExpandAll",    "Edit", QT_TR_NOOP("&Expand All"),   QT_TR_NOOP("Expand all|Expands the whole tree; with Shift, the focused item's subtree"), 30, None, 0, Handler<&TItemCommands::actEditItemExpandAllExecute>},
        {Id::actEditItemCollapseAll,  "actEditItemCollapseAll",  "Edit", QT_TR_NOOP("Coll&apse All"), QT_TR_NOOP("Collapse all|Collapses the whole tree; with Shift, the focused item's subtree"), 31, None, 0, Handler<&TItemCommands::actEditItemCollapseAllExecute>},
        {Id::actEditItemCopyLink,     "actEditItemCopyLink",     "Edit", QT_TR_NOOP("Copy Lin&k to Item"), QT_TR_NOOP("Copy link to item|Puts the shortest link that finds the focused item on the clipboard"), -1, None, 0, Handler<&TItemCommands::actEditItemCopyLinkExecute>},
        {Id::actViewThemeSystem,      "actViewThemeSystem",      "View", QT_TR_NOOP("&System"), QT_TR_NOOP("System theme|Takes the colours and the style of the desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeSystemExecute>},
        {Id::actViewThemeLight,       "actViewThemeLight",       "View", QT_TR_NOOP("&Light"), QT_TR_NOOP("Light theme|Dark text on light faces, the same on every desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeLightExecute>},
        {Id::actViewThemeDark,        "actViewThemeDark",        "View", QT_TR_NOOP("&Dark"), QT_TR_NOOP("Dark theme|Light text on dark faces, the same on every desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeDarkExecute>},
        {Id::actGoBack,               "actGoBack",               "Go",   QT_TR_NOOP("&Back"), QT_TR_NOOP("Back|Returns to the item focused before the last jump"), -1, QKeySequence(Qt::ALT | Qt::Key_Left), 0, Handler<&TNavigator::actGoBackExecute>},
        {Id::actGoForward,            "actGoForward",            "Go",   QT_TR_NOOP("&Forward"), QT_TR_NOOP("Forward|Goes again to the item left by Back"), -1, QKeySequence(Qt::ALT | Qt::Key_Right), 0, Handler<&TNavigator::actGoForwardExecute>},
        {Id::actGoToItem,             "actGoToItem",             "Go",   QT_TR_NOOP("&Go to Item..."), QT_TR_NOOP("Go to item|Finds an item by typing words of its name and focuses it"), -1, QKeySequence(Qt::CTRL | Qt::Key_G), 0, Handler<&TNavigator::actGoToItemExecute>},
        {Id::actFileClearRecent, "actFileClearRecent", "File", QT_TR_NOOP("&Clear Recent"), QT_TR_NOOP("Clear recent|Empties the list of recent files"), -1, None, 0, Handler<&TDocumentSession::actFileClearRecentExecute>},
        {Id::actViewOptions,     "actViewOptions",     "View",  QT_TR_NOOP("&Options..."), QT_TR_NOOP("Options|Starting with the last document, saving automatically and printing"), -1, None, 0, Handler<&TfrmTreeViewEditorMain::actViewOptionsExecute>},
        {Id::actFilePrint,       "actFilePrint",       "File",  QT_TR_NOOP("P&rint..."), QT_TR_NOOP("Print|Prints the tree or the focused item with its sub-items"), -1, QKeySequence(Qt::CTRL | Qt::Key_P), 0, Handler<&TExportCommands::actFilePrintExecute>, Clear},
        {Id::actFilePrintPreview, "actFilePrintPreview", "File", QT_TR_NOOP("Print Pre&view..."), QT_TR_NOOP("Print preview|Shows the pages as they would be printed"), -1, None, 0, Handler<&TExportCommands::actFilePrintPreviewExecute>, Clear},
        {Id::actFileExportPdf,   "actFileExportPdf",   "File",  QT_TR_NOOP("Export as PD&F..."), QT_TR_NOOP("Export as PDF|Writes the tree or the focused item with its sub-items as a PDF document"), -1, None, 0, Handler<&TExportCommands::actFileExportPdfExecute>, Clear},
        {Id::actViewLinksHere,        "actViewLinksHere",        "View", QT_TR_NOOP("&Links Here"), QT_TR_NOOP("Links here|Shows the items whose descriptions link to the focused item"), -1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), 0, Handler<&TLinksHereController::actViewLinksHereExecute>},
        {Id::actViewCheckSpelling,    "actViewCheckSpelling",    "View", QT_TR_NOOP("Check &Spelling"), QT_TR_NOOP("Check spelling|Underlines misspelled words in the description"), -1, None, 0, Handler<&TDescriptionSpelling::actViewCheckSpellingExecute>},
        {Id::actViewSpellingLanguage, "actViewSpellingLanguage", "View", QT_TR_NOOP("Spelling Lan&guage"), QT_TR_NOOP("Spelling language|Chooses the dictionary the description is checked with"), -1, None, 0, Handler<&TDescriptionSpelling::actViewSpellingLanguageExecute>},
        {Id::actViewFocusSubtree,     "actViewFocusSubtree",     "Go",   QT_TR_NOOP("Focus on &Subtree"), QT_TR_NOOP("Focus on subtree|Shows only the focused item with its sub-items"), -1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), 0, Handler<&TSubtreeFocus::actViewFocusSubtreeExecute>},
        {Id::actViewShowWholeTree,    "actViewShowWholeTree",    "Go",   QT_TR_NOOP("Show &Whole Tree"), QT_TR_NOOP("Show whole tree|Shows every item again after Focus on Subtree"), -1, QKeySequence(Qt::ALT | Qt::Key_Home), 0, Handler<&TSubtreeFocus::actViewShowWholeTreeExecute>},
        {Id::actViewFilterTree,       "actViewFilterTree",       "View", QT_TR_NOOP("Filte&r Tree"), QT_TR_NOOP("Filter tree|Shows only the items whose names hold the text typed, with their ancestors"), -1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), 0, Handler<&TTreeFilter::actViewFilterTreeExecute>},
    };
}

std::vector<TActionDef> TActionTable::ListMemo()
{
    using Id = TActionId;
    return {
        {Id::actFileOpenMemo,    "actFileOpenMemo",    "File",   QT_TR_NOOP("&Open..."),    QT_TR_NOOP("Open|Open an existing document to the description window"), 0,  None,                               21, Handler<&TDescriptionPane::actFileOpenMemoExecute>},
        {Id::actFileSaveMemo,    "actFileSaveMemo",    "File",   QT_TR_NOOP("&Save..."),    QT_TR_NOOP("Save|Saves the selected item to a file."),                   1,  None,                               22, Handler<&TDescriptionPane::actFileSaveMemoExecute>, Clear},
        {Id::actEditUndo,        "actEditUndo",        "Edit",   QT_TR_NOOP("&Undo"),       QT_TR_NOOP("Undo|Undo the last action"),                                 2,  None,                               0,  Handler<&TEditCommands::actEditUndoExecute>},
        {Id::actEditCut,         "actEditCut",         "Edit",   QT_TR_NOOP("Cu&t"),        QT_TR_NOOP("Cut|Cut out the selection and put it into the Clipboard"),   3,  None,                               0,  Handler<&TEditCommands::actEditCutExecute>},
        {Id::actEditCopy,        "actEditCopy",        "Edit",   QT_TR_NOOP("&Copy"),       QT_TR_NOOP("Copy|Copy the selection and put it into the Clipboard"),     4,  None,                               0,  Handler<&TEditCommands::actEditCopyExecute>},
        {Id::actEditPaste,       "actEditPaste",       "Edit",   QT_TR_NOOP("&Paste"),      QT_TR_NOOP("Paste|Paste clipboard data into the window"),                5,  None,                               0,  Handler<&TEditCommands::actEditPasteExecute>},
        {Id::actEditDelete,      "actEditDelete",      "Edit",   QT_TR_NOOP("&Delete"),     QT_TR_NOOP("Delete|Deletes the selected text."),                         6,  None,                               0,  Handler<&TEditCommands::actEditDeleteExecute>},
        {Id::actEditSelectAll,   "actEditSelectAll",   "Edit",   QT_TR_NOOP("Select &All"), QT_TR_NOOP("Select all|Selects all text."),                              7,  None,                               0,  Handler<&TEditCommands::actEditSelectAllExecute>},
        {Id::actSearchFind,      "actSearchFind",      "Search", QT_TR_NOOP("&Find..."),    QT_TR_NOOP("Find|Finds text in the current document."),                  8,  QKeySequence(Qt::CTRL | Qt::Key_F), 0,  Handler<&TDescriptionPane::actSearchFindExecute>},
        {Id::actSearchFindNext,  "actSearchFindNext",  "Search", QT_TR_NOOP("Find &Next"),  QT_TR_NOOP("Find next|Repeats the last find"),                           9,  QKeySequence(Qt::Key_F3),           0,  Handler<&TDescriptionPane::actSearchFindNextExecute>, Doc, false},
        {Id::actSearchReplace,   "actSearchReplace",   "Search", QT_TR_NOOP("R&eplace..."), QT_TR_NOOP("Replace|Replace specific text with the different text"),     10, QKeySequence(Qt::CTRL | Qt::Key_H), 0,  Handler<&TDescriptionPane::actSearchReplaceExecute>},
        {Id::actSearchFindAll,   "actSearchFindAll",   "Search", QT_TR_NOOP("Find in &All Items..."), QT_TR_NOOP("Find in all items|Finds text in the names and descriptions of all items."), 11, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), 0, Handler<&TFindAllController::actSearchFindAllExecute>},
    };
}
// clang-format on

std::vector<TActionDef> ActionListTVTable()
{
    return TActionTable::ListTV();
}

std::vector<TActionDef> ActionListMemoTable()
{
    return TActionTable::ListMemo();
}
