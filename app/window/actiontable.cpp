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

namespace {
const QKeySequence None;
constexpr TCommandOutput Doc = TCommandOutput::Document;
constexpr TCommandOutput Clear = TCommandOutput::ClearText;
}  // namespace

// clang-format off
std::vector<TActionDef> ActionListTVTable()
{
    using Id = TActionId;
    return {
        // id                    name                  category caption                      hint                                                     icon shortcut                            tag handler
        {Id::actFileNew,         "actFileNew",         "File",  "&New",                      "New data file.",                                        0,  QKeySequence(Qt::CTRL | Qt::Key_N),     11, Handler<&TDocumentSession::actFileNewExecute>},
        {Id::actFileOpen,        "actFileOpen",        "File",  "&Open",                     "Opens an existing data file.",                          1,  QKeySequence(Qt::CTRL | Qt::Key_O),     12, Handler<&TDocumentSession::actFileOpenExecute>},
        {Id::actFileSave,        "actFileSave",        "File",  "&Save",                     "Saves the current data file.",                          2,  QKeySequence(Qt::CTRL | Qt::Key_S),     13, Handler<&TDocumentSession::actFileSaveExecute>},
        {Id::actFileSaveAs,      "actFileSaveAs",      "File",  "Save &As",                  "Saves the current work as an new data file.",           3,  QKeySequence(Qt::ALT | Qt::Key_S),      14, Handler<&TDocumentSession::actFileSaveAsExecute>},
        {Id::actFileClose,       "actFileClose",       "File",  "&Close",                    "Closes the current data file.",                         4,  QKeySequence(Qt::CTRL | Qt::Key_F4),    15, Handler<&TDocumentSession::actFileCloseExecute>},
        {Id::actEditItemNew,     "actEditItemNew",     "Edit",  "&New Item",                 "Adds a new item.",                                      10, QKeySequence(Qt::ALT | Qt::Key_Insert), 0,  Handler<&TItemCommands::actEditItemNewExecute>},
        {Id::actEditItemNewSub,  "actEditItemNewSub",  "Edit",  "New &Sub Item",             "Adds a new child item to the selected item.",           11, None,                                   0,  Handler<&TItemCommands::actEditItemNewSubExecute>},
        {Id::actEditItemDelete,  "actEditItemDelete",  "Edit",  "&Delete",                   "Deletea the selected item.",                            12, QKeySequence(Qt::ALT | Qt::Key_Delete), 0,  Handler<&TItemCommands::actEditItemDeleteExecute>},
        {Id::actViewWordWrap,    "actViewWordWrap",    "View",  "Word &Wrap",                "Wraps Around the Editor",                               13, None,                                   0,  Handler<&TDescriptionPane::actViewWordWrapExecute>},
        {Id::actFileImport,      "actFileImport",      "File",  "Im&port",                   "Adds the items of an OPML, Markdown, indented text or tree data file at the end of the tree.", 5, None, 0, Handler<&TImportCommands::actFileImportExecute>},
        {Id::actFileExportTxt,   "actFileExportTxt",   "File",  "Export as &Text File",      "Exports the current data file to a single text file.", 6,  None,                                   0,  Handler<&TExportCommands::actFileExportTxtExecute>, Clear},
        {Id::actFileExportIni,   "actFileExportIni",   "File",  "Export as &Ini File",       "Exports the current data file to a single ini file with the name as seaction header and decription as body.", 7, None, 0, Handler<&TExportCommands::actFileExportIniExecute>, Clear},
        {Id::actFileExportMulti, "actFileExportMulti", "File",  "Export as &Multiple Files", "Exports the current data file to multiple files each with the nodename as filename.", 8, None, 0, Handler<&TExportCommands::actFileExportMultiExecute>, Clear},
        {Id::actFileExit,        "actFileExit",        "File",  "E&xit",                     "Quit the application.",                                 9,  QKeySequence(Qt::ALT | Qt::Key_F4),     0,  Handler<&TfrmTreeViewEditorMain::actFileExitExecute>},
        {Id::actViewFont,        "actViewFont",        "View",  "&Font...",                  "Changes the display font.",                             14, None,                                   0,  Handler<&TDescriptionPane::actViewFontExecute>},
        {Id::actHelpEmail,       "actHelpEmail",       "Help",  "&E-Mail",                   "Email Author|Launchs your email application that you can send a email to Ulmar.", 15, None, 31, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actHelpHomePage,    "actHelpHomePage",    "Help",  "Home &Page",                "Author's Home page|Launchs your internet browser and connects to Ulmar's home page.", 16, None, 32, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actHelpAbout,       "actHelpAbout",       "Help",  "&About",                    "About the VekTreeViewEditor",                           17, None,                                   33, Handler<&TfrmTreeViewEditorMain::actHelpAboutExecute>},
        {Id::actEditItemMoveUp,  "actEditItemMoveUp",  "Edit",  "&Move Up",                  "Move up|Move the selected item up",                     18, None,                                   0,  Handler<&TItemCommands::actEditItemMoveUpExecute>},
        {Id::actEditItemUndo,    "actEditItemUndo",    "Edit",  "&Undo",                     "Undo|Takes back the last change of the tree or of a description", 19, QKeySequence(Qt::CTRL | Qt::Key_Z), 0, Handler<&TItemCommands::actEditItemUndoExecute>},
        {Id::actEditItemRedo,    "actEditItemRedo",    "Edit",  "&Redo",                     "Redo|Does again the last change that was undone",       20, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 0, Handler<&TItemCommands::actEditItemRedoExecute>},
        {Id::actFileSetPassword, "actFileSetPassword", "File",  "Set Pass&word...",          "Set password|Protects the data file with a password: from the next save on it is encrypted.", -1, None, 0, Handler<&TDocumentSession::actFileSetPasswordExecute>},
        {Id::actFileRemovePassword, "actFileRemovePassword", "File", "Remove Passwor&d",     "Remove password|Saves the data file without a password again.", -1, None, 0, Handler<&TDocumentSession::actFileRemovePasswordExecute>},
        {Id::actFileExportOpml,  "actFileExportOpml",  "File",  "Export as OPM&L",           "Exports the current data file as an OPML outline that other outliners read.", 6, None, 0, Handler<&TExportCommands::actFileExportOpmlExecute>, Clear},
        {Id::actFileExportMarkdown, "actFileExportMarkdown", "File", "Export as Mar&kdown",   "Exports the current data file as a Markdown document with headings and nested lists.", 6, None, 0, Handler<&TExportCommands::actFileExportMarkdownExecute>, Clear},
        {Id::actFileExportHtml,  "actFileExportHtml",  "File",  "Export as &HTML",           "Exports the current data file as one web page with collapsible sections.", 6, None, 0, Handler<&TExportCommands::actFileExportHtmlExecute>, Clear},
        {Id::actEditItemMoveDown,     "actEditItemMoveDown",     "Edit", "Move Do&wn",    "Move down|Moves the selected items one place down among their siblings", 21, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down), 0, Handler<&TItemCommands::actEditItemMoveDownExecute>},
        {Id::actEditItemIndent,       "actEditItemIndent",       "Edit", "&Indent",       "Indent|Makes the selected items children of the item above them", 22, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right), 0, Handler<&TItemCommands::actEditItemIndentExecute>},
        {Id::actEditItemOutdent,      "actEditItemOutdent",      "Edit", "&Outdent",      "Outdent|Makes the selected items siblings that follow their parent", 23, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left), 0, Handler<&TItemCommands::actEditItemOutdentExecute>},
        {Id::actEditItemCut,          "actEditItemCut",          "Edit", "Cu&t",          "Cut|Moves the selected items with their sub-items to the clipboard", 24, QKeySequence(Qt::CTRL | Qt::Key_X), 0, Handler<&TItemCommands::actEditItemCutExecute>},
        {Id::actEditItemCopy,         "actEditItemCopy",         "Edit", "&Copy",         "Copy|Copies the selected items with their sub-items to the clipboard", 25, QKeySequence(Qt::CTRL | Qt::Key_C), 0, Handler<&TItemCommands::actEditItemCopyExecute>},
        {Id::actEditItemPaste,        "actEditItemPaste",        "Edit", "&Paste",        "Paste|Inserts the items or the outline on the clipboard after the focused item", 26, QKeySequence(Qt::CTRL | Qt::Key_V), 0, Handler<&TItemCommands::actEditItemPasteExecute>},
        {Id::actEditItemDuplicate,    "actEditItemDuplicate",    "Edit", "Dup&licate",    "Duplicate|Puts a copy of each selected item with its sub-items right after it", 27, QKeySequence(Qt::CTRL | Qt::Key_D), 0, Handler<&TItemCommands::actEditItemDuplicateExecute>},
        {Id::actEditItemSortChildren, "actEditItemSortChildren", "Edit", "Sort C&hildren", "Sort children|Sorts the focused item's children by name", 28, None, 0, Handler<&TItemCommands::actEditItemSortChildrenExecute>},
        {Id::actEditItemSortSubtree,  "actEditItemSortSubtree",  "Edit", "Sort Su&btree", "Sort subtree|Sorts the items at every level below the focused item by name", 29, None, 0, Handler<&TItemCommands::actEditItemSortSubtreeExecute>},
        {Id::actEditItemExpandAll,    "actEditItemExpandAll",    "Edit", "&Expand All",   "Expand all|Expands the whole tree; with Shift, the focused item's subtree", 30, None, 0, Handler<&TItemCommands::actEditItemExpandAllExecute>},
        {Id::actEditItemCollapseAll,  "actEditItemCollapseAll",  "Edit", "Coll&apse All", "Collapse all|Collapses the whole tree; with Shift, the focused item's subtree", 31, None, 0, Handler<&TItemCommands::actEditItemCollapseAllExecute>},
        {Id::actEditItemCopyLink,     "actEditItemCopyLink",     "Edit", "Copy Lin&k to Item", "Copy link to item|Puts the shortest link that finds the focused item on the clipboard", -1, None, 0, Handler<&TItemCommands::actEditItemCopyLinkExecute>},
        {Id::actViewThemeSystem,      "actViewThemeSystem",      "View", QT_TRANSLATE_NOOP("TActionList", "&System"), QT_TRANSLATE_NOOP("TActionList", "System theme|Takes the colours and the style of the desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeSystemExecute>},
        {Id::actViewThemeLight,       "actViewThemeLight",       "View", QT_TRANSLATE_NOOP("TActionList", "&Light"), QT_TRANSLATE_NOOP("TActionList", "Light theme|Dark text on light faces, the same on every desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeLightExecute>},
        {Id::actViewThemeDark,        "actViewThemeDark",        "View", QT_TRANSLATE_NOOP("TActionList", "&Dark"), QT_TRANSLATE_NOOP("TActionList", "Dark theme|Light text on dark faces, the same on every desktop"), -1, None, 0, Handler<&TThemeCommands::actViewThemeDarkExecute>},
        {Id::actGoBack,               "actGoBack",               "Go",   QT_TRANSLATE_NOOP("Commands", "&Back"), QT_TRANSLATE_NOOP("Commands", "Back|Returns to the item focused before the last jump"), -1, QKeySequence(Qt::ALT | Qt::Key_Left), 0, Handler<&TNavigator::actGoBackExecute>},
        {Id::actGoForward,            "actGoForward",            "Go",   QT_TRANSLATE_NOOP("Commands", "&Forward"), QT_TRANSLATE_NOOP("Commands", "Forward|Goes again to the item left by Back"), -1, QKeySequence(Qt::ALT | Qt::Key_Right), 0, Handler<&TNavigator::actGoForwardExecute>},
        {Id::actGoToItem,             "actGoToItem",             "Go",   QT_TRANSLATE_NOOP("Commands", "&Go to Item..."), QT_TRANSLATE_NOOP("Commands", "Go to item|Finds an item by typing words of its name and focuses it"), -1, QKeySequence(Qt::CTRL | Qt::Key_G), 0, Handler<&TNavigator::actGoToItemExecute>},
        {Id::actFileClearRecent, "actFileClearRecent", "File", QT_TRANSLATE_NOOP("TCommandTable", "&Clear Recent"), QT_TRANSLATE_NOOP("TCommandTable", "Clear recent|Empties the list of recent files"), -1, None, 0, Handler<&TDocumentSession::actFileClearRecentExecute>},
        {Id::actViewOptions,     "actViewOptions",     "View",  QT_TRANSLATE_NOOP("TCommandTable", "&Options..."), QT_TRANSLATE_NOOP("TCommandTable", "Options|Starting with the last document, saving automatically and printing"), -1, None, 0, Handler<&TfrmTreeViewEditorMain::actViewOptionsExecute>},
        {Id::actFilePrint,       "actFilePrint",       "File",  QT_TRANSLATE_NOOP("TCommandTable", "P&rint..."), QT_TRANSLATE_NOOP("TCommandTable", "Print|Prints the tree or the focused item with its sub-items"), -1, QKeySequence(Qt::CTRL | Qt::Key_P), 0, Handler<&TExportCommands::actFilePrintExecute>, Clear},
        {Id::actFilePrintPreview, "actFilePrintPreview", "File", QT_TRANSLATE_NOOP("TCommandTable", "Print Pre&view..."), QT_TRANSLATE_NOOP("TCommandTable", "Print preview|Shows the pages as they would be printed"), -1, None, 0, Handler<&TExportCommands::actFilePrintPreviewExecute>, Clear},
        {Id::actFileExportPdf,   "actFileExportPdf",   "File",  QT_TRANSLATE_NOOP("TCommandTable", "Export as PD&F..."), QT_TRANSLATE_NOOP("TCommandTable", "Export as PDF|Writes the tree or the focused item with its sub-items as a PDF document"), -1, None, 0, Handler<&TExportCommands::actFileExportPdfExecute>, Clear},
        {Id::actViewLinksHere,        "actViewLinksHere",        "View", QT_TRANSLATE_NOOP("Commands", "&Links Here"), QT_TRANSLATE_NOOP("Commands", "Links here|Shows the items whose descriptions link to the focused item"), -1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), 0, Handler<&TLinksHereController::actViewLinksHereExecute>},
        {Id::actViewCheckSpelling,    "actViewCheckSpelling",    "View", QT_TRANSLATE_NOOP("TActionList", "Check &Spelling"), QT_TRANSLATE_NOOP("TActionList", "Check spelling|Underlines misspelled words in the description"), -1, None, 0, Handler<&TDescriptionSpelling::actViewCheckSpellingExecute>},
        {Id::actViewSpellingLanguage, "actViewSpellingLanguage", "View", QT_TRANSLATE_NOOP("TActionList", "Spelling Lan&guage"), QT_TRANSLATE_NOOP("TActionList", "Spelling language|Chooses the dictionary the description is checked with"), -1, None, 0, Handler<&TDescriptionSpelling::actViewSpellingLanguageExecute>},
    };
}

std::vector<TActionDef> ActionListMemoTable()
{
    using Id = TActionId;
    return {
        {Id::actFileOpenMemo,    "actFileOpenMemo",    "File",   "&Open...",    "Open|Open an existing document to the description window", 0,  None,                               21, Handler<&TDescriptionPane::actFileOpenMemoExecute>},
        {Id::actFileSaveMemo,    "actFileSaveMemo",    "File",   "&Save...",    "Save|Saves the selected item to a file.",                   1,  None,                               22, Handler<&TDescriptionPane::actFileSaveMemoExecute>, Clear},
        {Id::actEditUndo,        "actEditUndo",        "Edit",   "&Undo",       "Undo|Undo the last action",                                 2,  None,                               0,  Handler<&TEditCommands::actEditUndoExecute>},
        {Id::actEditCut,         "actEditCut",         "Edit",   "Cu&t",        "Cut|Cut out the selection and put it into the Clipboard",   3,  None,                               0,  Handler<&TEditCommands::actEditCutExecute>},
        {Id::actEditCopy,        "actEditCopy",        "Edit",   "&Copy",       "Copy|Copy the selection and put it into the Clipboard",     4,  None,                               0,  Handler<&TEditCommands::actEditCopyExecute>},
        {Id::actEditPaste,       "actEditPaste",       "Edit",   "&Paste",      "Paste|Paste clipboard data into the window",                5,  None,                               0,  Handler<&TEditCommands::actEditPasteExecute>},
        {Id::actEditDelete,      "actEditDelete",      "Edit",   "&Delete",     "Delete|Deletes the selected text.",                         6,  None,                               0,  Handler<&TEditCommands::actEditDeleteExecute>},
        {Id::actEditSelectAll,   "actEditSelectAll",   "Edit",   "Select &All", "Select all|Selects all text.",                              7,  None,                               0,  Handler<&TEditCommands::actEditSelectAllExecute>},
        {Id::actSearchFind,      "actSearchFind",      "Search", "&Find...",    "Find|Finds text in the current document.",                  8,  QKeySequence(Qt::CTRL | Qt::Key_F), 0,  Handler<&TDescriptionPane::actSearchFindExecute>},
        {Id::actSearchFindNext,  "actSearchFindNext",  "Search", "Find &Next",  "Find next|Repeats the last find",                           9,  QKeySequence(Qt::Key_F3),           0,  Handler<&TDescriptionPane::actSearchFindNextExecute>, Doc, false},
        {Id::actSearchReplace,   "actSearchReplace",   "Search", "R&eplace...", "Replace|Replace specific text with the different text",     10, QKeySequence(Qt::CTRL | Qt::Key_H), 0,  Handler<&TDescriptionPane::actSearchReplaceExecute>},
        {Id::actSearchFindAll,   "actSearchFindAll",   "Search", "Find in &All Items...", "Find in all items|Finds text in the names and descriptions of all items.", 11, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), 0, Handler<&TFindAllController::actSearchFindAllExecute>},
    };
}
// clang-format on
