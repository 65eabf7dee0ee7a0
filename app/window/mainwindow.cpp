#include "app/window/mainwindow.h"

#include "about/helpcommands.h"
#include "app/droptarget/dropfiletarget.h"
#include "app/panes/collapsesplitter.h"
#include "app/panes/collapsetoolbar.h"
#include "app/settingsbinding/formstoragehook.h"
#include "app/settingsbinding/widgetproperties.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"
#include "app/widgets/cursors.h"
#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/iconcombobox.h"
#include "app/widgets/imagelists.h"
#include "app/widgets/replacedialog.h"
#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/exportcommands.h"
#include "app/window/importcommands.h"
#include "app/window/filedialogs.h"
#include "app/window/filedropimport.h"
#include "app/window/findallcontroller.h"
#include "app/window/itemcommands.h"
#include "app/window/recoverymanager.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {
const QKeySequence None;

// A menu entry's name and its action; without an action, a separator line.
struct TMenuEntry {
    const char* name;
    std::optional<TActionId> action;
};

// A folding pane's flag as a stored Boolean.
template <typename T>
TStoredProperty FlagProperty(T* pane, bool (T::*get)() const, void (T::*set)(bool))
{
    return BooleanProperty([pane, get] { return (pane->*get)(); }, [pane, set](bool v) { (pane->*set)(v); });
}

// One side of the splitter: a bar above a body that takes the rest.
QWidget* SplitterSide(const char* name, QWidget* bar, QWidget* body)
{
    auto* side = new QWidget;
    side->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(body, 1);
    return side;
}
}  // namespace

TfrmTreeViewEditorMain::TfrmTreeViewEditorMain(QStringList arguments, const QString& recoveryFolder, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmTreeViewEditorMain"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    CreateComponents();

    m_fileDialogs = std::make_unique<TFileDialogs>(this);
    QString recoverCopy = TRecoveryManager::TakeRecoverOption(arguments);
    m_session = std::make_unique<TDocumentSession>(m_tree, *m_fileDialogs, *this, *m_statusPanels[1],
                                                   std::move(arguments));
    m_descriptionPane = std::make_unique<TDescriptionPane>(m_tree, *m_memo, *m_session, *m_fileDialogs,
                                                           *m_findDialog, *m_replaceDialog, *m_fontDialog);
    m_itemCommands =
        std::make_unique<TItemCommands>(m_tree, *m_treeView, *m_iconComboBox, *m_session, *m_descriptionPane);
    m_exportCommands = std::make_unique<TExportCommands>(m_tree, *m_session, *m_fileDialogs);
    m_importCommands = std::make_unique<TImportCommands>(m_tree, *m_fileDialogs, *m_session);
    m_fileDropImport =
        std::make_unique<TFileDropImport>(m_tree, *m_iconComboBox, *m_session, *m_descriptionPane, *this);
    m_commands = std::make_unique<TCommandTable>(m_tree, *m_session, *m_descriptionPane);
    m_findAll = std::make_unique<TFindAllController>(*this, m_tree, *m_treeView, *m_memo);
    connect(m_session.get(), &TDocumentSession::LoadProgress, m_statusPanels[0], &QLabel::setText);

    CreateActions();
    m_tree.OnSelectedCountChange = [this](TTreeList&) { m_commands->TreeListSelectedCountChange(); };
    m_dropFileOnTreeList->OnDrop = [this](TDropTarget&, Qt::KeyboardModifiers, QPoint, Qt::DropAction& effect) {
        Protected([&] { m_fileDropImport->DropFileOnTreeListDrop(*m_dropFileOnTreeList, effect); });
    };
    m_dropFileOnMemo->OnDrop = [this](TDropTarget&, Qt::KeyboardModifiers, QPoint, Qt::DropAction& effect) {
        Protected([&] { m_fileDropImport->DropFileOnMemoDrop(*m_dropFileOnMemo, effect); });
    };
    CreateMenus();
    CreateToolBars();
    CreateLayout();
    CreateFormStorage();
    FormCreate();
    m_recovery = std::make_unique<TRecoveryManager>(m_tree, *m_session, *this, *statusBar(), recoveryFolder,
                                                    std::move(recoverCopy));
}

TfrmTreeViewEditorMain::~TfrmTreeViewEditorMain()
{
    // The store's save at destruction goes first, while the classes working on
    // the components exist: an error box it shows can hand the activation
    // back to this window, whose handlers use them.
    m_formStorage1.reset();
    qApp->removeEventFilter(this);
    FormClose();
    m_tree.OnSelectedCountChange = nullptr;
    // The classes working on the components go first, then the view, which
    // observes the tree, a member that goes before the child widgets would.
    m_recovery.reset();
    m_findAll.reset();
    m_commands.reset();
    m_fileDropImport.reset();
    m_exportCommands.reset();
    m_importCommands.reset();
    m_itemCommands.reset();
    m_descriptionPane.reset();
    m_session.reset();
    delete m_treeView;
    m_treeView = nullptr;
}

void TfrmTreeViewEditorMain::CreateComponents()
{
    m_treeView = new TTreeListView(m_tree);
    m_treeView->setObjectName(QStringLiteral("TreeList"));
    m_treeView->Model()->SetIconProvider([](int index) { return ImageListTV().Icon(index); });
    m_treeView->SetDragCursor(DragCursor());

    m_memo = new QPlainTextEdit;
    m_memo->setObjectName(QStringLiteral("Memo1"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    m_memo->setFont(font);
    m_memo->setTabChangesFocus(false);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_iconComboBox = new TIconComboBox;
    m_iconComboBox->setStatusTip(QStringLiteral("Change Folder Icon for the Selected Item"));

    m_findDialog = new TFindDialog(this);
    m_findDialog->setObjectName(QStringLiteral("FindDialog1"));
    m_replaceDialog = new TReplaceDialog(this);
    m_replaceDialog->setObjectName(QStringLiteral("ReplaceDialog1"));
    m_dropFileOnTreeList = new TDropFileTarget(this);
    m_dropFileOnTreeList->setObjectName(QStringLiteral("DropFileOnTreeList"));
    m_dropFileOnMemo = new TDropFileTarget(this);
    m_dropFileOnMemo->setObjectName(QStringLiteral("DropFileOnMemo"));
    // The editor takes files only; the tree keeps taking its own item drags.
    m_dropFileOnMemo->RefuseOtherDrags = true;
    m_fontDialog = std::make_unique<TFontDialog>();
    m_fontDialog->setObjectName(QStringLiteral("FontDialog1"));

    const int widths[3] = {300, 50, 50};
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel;
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Wide enough for "Modified" in the desktop's font, which may be
        // larger than the font the widths were chosen for.
        m_statusPanels[i]->setFixedWidth(
            std::max(widths[i], m_statusPanels[i]->fontMetrics().horizontalAdvance(QStringLiteral("Modified")) + 12));
    }
}

void TfrmTreeViewEditorMain::CreateActions()
{
    using Id = TActionId;
    auto on = [](auto* target, auto handler) { return [target, handler](QAction*) { (target->*handler)(); }; };
    auto file = [this](QAction* sender) { m_session->NewOpenSaveSaveasClose(sender); };
    auto edit = [this](QAction* sender) { m_commands->RunEditCommand(sender); };
    TItemCommands* items = m_itemCommands.get();
    TDescriptionPane* pane = m_descriptionPane.get();
    // A name still being typed is part of what the user exports.
    auto exports = [this](void (TExportCommands::*handler)()) {
        return [this, handler](QAction*) {
            m_treeView->FinishNameEdit();
            (m_exportCommands.get()->*handler)();
        };
    };
    TFindAllController* findAll = m_findAll.get();
    auto help = [this](QAction* sender) { actHelpAboutExecute(TActionList::Tag(sender), this); };

    // clang-format off
    m_commands->Build(this, {
        // id                    name                  category caption                      hint                                                     icon shortcut                            tag handler
        {Id::actFileNew,         "actFileNew",         "File",  "&New",                      "New data file.",                                        0,  QKeySequence(Qt::CTRL | Qt::Key_N),     11, file},
        {Id::actFileOpen,        "actFileOpen",        "File",  "&Open",                     "Opens an existing data file.",                          1,  QKeySequence(Qt::CTRL | Qt::Key_O),     12, file},
        {Id::actFileSave,        "actFileSave",        "File",  "&Save",                     "Saves the current data file.",                          2,  QKeySequence(Qt::CTRL | Qt::Key_S),     13, file},
        {Id::actFileSaveAs,      "actFileSaveAs",      "File",  "Save &As",                  "Saves the current work as an new data file.",           3,  QKeySequence(Qt::ALT | Qt::Key_S),      14, file},
        {Id::actFileClose,       "actFileClose",       "File",  "&Close",                    "Closes the current data file.",                         4,  QKeySequence(Qt::CTRL | Qt::Key_F4),    15, file},
        {Id::actEditItemNew,     "actEditItemNew",     "Edit",  "&New Item",                 "Adds a new item.",                                      10, QKeySequence(Qt::ALT | Qt::Key_Insert), 0,  on(items, &TItemCommands::actEditItemNewExecute)},
        {Id::actEditItemNewSub,  "actEditItemNewSub",  "Edit",  "New &Sub Item",             "Adds a new child item to the selected item.",           11, None,                                   0,  on(items, &TItemCommands::actEditItemNewSubExecute)},
        {Id::actEditItemDelete,  "actEditItemDelete",  "Edit",  "&Delete",                   "Deletea the selected item.",                            12, QKeySequence(Qt::ALT | Qt::Key_Delete), 0,  on(items, &TItemCommands::actEditItemDeleteExecute)},
        {Id::actViewWordWrap,    "actViewWordWrap",    "View",  "Word &Wrap",                "Wraps Around the Editor",                               13, None,                                   0,  [pane](QAction* sender) { pane->actViewWordWrapExecute(sender); }},
        {Id::actFileImport,      "actFileImport",      "File",  "Im&port",                   "Adds the items of an OPML, Markdown, indented text or tree data file at the end of the tree.", 5, None, 0, on(m_importCommands.get(), &TImportCommands::actFileImportExecute)},
        {Id::actFileExportTxt,   "actFileExportTxt",   "File",  "Export as &Text File",      "Exports the current data file to a single text file.", 6,  None,                                   0,  exports(&TExportCommands::actFileExportTxtExecute)},
        {Id::actFileExportIni,   "actFileExportIni",   "File",  "Export as &Ini File",       "Exports the current data file to a single ini file with the name as seaction header and decription as body.", 7, None, 0, exports(&TExportCommands::actFileExportIniExecute)},
        {Id::actFileExportMulti, "actFileExportMulti", "File",  "Export as &Multiple Files", "Exports the current data file to multiple files each with the nodename as filename.", 8, None, 0, exports(&TExportCommands::actFileExportMultiExecute)},
        {Id::actFileExit,        "actFileExit",        "File",  "E&xit",                     "Quit the application.",                                 9,  QKeySequence(Qt::ALT | Qt::Key_F4),     0,  [this](QAction*) { close(); }},
        {Id::actViewFont,        "actViewFont",        "View",  "&Font...",                  "Changes the display font.",                             14, None,                                   0,  on(pane, &TDescriptionPane::actViewFontExecute)},
        {Id::actHelpEmail,       "actHelpEmail",       "Help",  "&E-Mail",                   "Email Author|Launchs your email application that you can send a email to Ulmar.", 15, None, 31, help},
        {Id::actHelpHomePage,    "actHelpHomePage",    "Help",  "Home &Page",                "Author's Home page|Launchs your internet browser and connects to Ulmar's home page.", 16, None, 32, help},
        {Id::actHelpAbout,       "actHelpAbout",       "Help",  "&About",                    "About the VekTreeViewEditor",                           17, None,                                   33, help},
        {Id::actEditItemMoveUp,  "actEditItemMoveUp",  "Edit",  "&Move Up",                  "Move up|Move the selected item up",                     18, None,                                   0,  on(items, &TItemCommands::actEditItemMoveUpExecute)},
        {Id::actEditItemUndo,    "actEditItemUndo",    "Edit",  "&Undo",                     "Undo|Takes back the last change of the tree or of a description", 19, QKeySequence(Qt::CTRL | Qt::Key_Z), 0, on(items, &TItemCommands::actEditItemUndoExecute)},
        {Id::actEditItemRedo,    "actEditItemRedo",    "Edit",  "&Redo",                     "Redo|Does again the last change that was undone",       20, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 0, on(items, &TItemCommands::actEditItemRedoExecute)},
        {Id::actFileSetPassword, "actFileSetPassword", "File",  "Set &Password...",          "Set password|Protects the data file with a password: from the next save on it is encrypted.", -1, None, 0, on(m_session.get(), &TDocumentSession::actFileSetPasswordExecute)},
        {Id::actFileRemovePassword, "actFileRemovePassword", "File", "Remove Pass&word",     "Remove password|Saves the data file without a password again.", -1, None, 0, on(m_session.get(), &TDocumentSession::actFileRemovePasswordExecute)},
        {Id::actFileExportOpml,  "actFileExportOpml",  "File",  "Export as &OPML",           "Exports the current data file as an OPML outline that other outliners read.", 6, None, 0, exports(&TExportCommands::actFileExportOpmlExecute)},
        {Id::actFileExportMarkdown, "actFileExportMarkdown", "File", "Export as Mark&down",   "Exports the current data file as a Markdown document with headings and nested lists.", 6, None, 0, exports(&TExportCommands::actFileExportMarkdownExecute)},
        {Id::actFileExportHtml,  "actFileExportHtml",  "File",  "Export as &HTML",           "Exports the current data file as one web page with collapsible sections.", 6, None, 0, exports(&TExportCommands::actFileExportHtmlExecute)},
        {Id::actEditItemMoveDown,     "actEditItemMoveDown",     "Edit", "Move Do&wn",    "Move down|Moves the selected items one place down among their siblings", 21, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Down), 0, on(items, &TItemCommands::actEditItemMoveDownExecute)},
        {Id::actEditItemIndent,       "actEditItemIndent",       "Edit", "&Indent",       "Indent|Makes the selected items children of the item above them", 22, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right), 0, on(items, &TItemCommands::actEditItemIndentExecute)},
        {Id::actEditItemOutdent,      "actEditItemOutdent",      "Edit", "&Outdent",      "Outdent|Makes the selected items siblings that follow their parent", 23, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left), 0, on(items, &TItemCommands::actEditItemOutdentExecute)},
        {Id::actEditItemCut,          "actEditItemCut",          "Edit", "Cu&t",          "Cut|Moves the selected items with their sub-items to the clipboard", 24, QKeySequence(Qt::CTRL | Qt::Key_X), 0, on(items, &TItemCommands::actEditItemCutExecute)},
        {Id::actEditItemCopy,         "actEditItemCopy",         "Edit", "&Copy",         "Copy|Copies the selected items with their sub-items to the clipboard", 25, QKeySequence(Qt::CTRL | Qt::Key_C), 0, on(items, &TItemCommands::actEditItemCopyExecute)},
        {Id::actEditItemPaste,        "actEditItemPaste",        "Edit", "&Paste",        "Paste|Inserts the items or the outline on the clipboard after the focused item", 26, QKeySequence(Qt::CTRL | Qt::Key_V), 0, on(items, &TItemCommands::actEditItemPasteExecute)},
        {Id::actEditItemDuplicate,    "actEditItemDuplicate",    "Edit", "Dup&licate",    "Duplicate|Puts a copy of each selected item with its sub-items right after it", 27, QKeySequence(Qt::CTRL | Qt::Key_D), 0, on(items, &TItemCommands::actEditItemDuplicateExecute)},
        {Id::actEditItemSortChildren, "actEditItemSortChildren", "Edit", "Sort C&hildren", "Sort children|Sorts the focused item's children by name", 28, None, 0, on(items, &TItemCommands::actEditItemSortChildrenExecute)},
        {Id::actEditItemSortSubtree,  "actEditItemSortSubtree",  "Edit", "Sort Su&btree", "Sort subtree|Sorts the items at every level below the focused item by name", 29, None, 0, on(items, &TItemCommands::actEditItemSortSubtreeExecute)},
        {Id::actEditItemExpandAll,    "actEditItemExpandAll",    "Edit", "&Expand All",   "Expand all|Expands the whole tree; with Shift, the focused item's subtree", 30, None, 0, on(items, &TItemCommands::actEditItemExpandAllExecute)},
        {Id::actEditItemCollapseAll,  "actEditItemCollapseAll",  "Edit", "Coll&apse All", "Collapse all|Collapses the whole tree; with Shift, the focused item's subtree", 31, None, 0, on(items, &TItemCommands::actEditItemCollapseAllExecute)},
    }, {
        {Id::actFileOpenMemo,    "actFileOpenMemo",    "File",   "&Open...",    "Open|Open an existing document to the description window", 0,  None,                               21, on(pane, &TDescriptionPane::actFileOpenMemoExecute)},
        {Id::actFileSaveMemo,    "actFileSaveMemo",    "File",   "&Save...",    "Save|Saves the selected item to a file.",                   1,  None,                               22, on(pane, &TDescriptionPane::actFileSaveMemoExecute)},
        {Id::actEditUndo,        "actEditUndo",        "Edit",   "&Undo",       "Undo|Undo the last action",                                 2,  None,                               0,  edit},
        {Id::actEditCut,         "actEditCut",         "Edit",   "Cu&t",        "Cut|Cut out the selection and put it into the Clipboard",   3,  None,                               0,  edit},
        {Id::actEditCopy,        "actEditCopy",        "Edit",   "&Copy",       "Copy|Copy the selection and put it into the Clipboard",     4,  None,                               0,  edit},
        {Id::actEditPaste,       "actEditPaste",       "Edit",   "&Paste",      "Paste|Paste clipboard data into the window",                5,  None,                               0,  edit},
        {Id::actEditDelete,      "actEditDelete",      "Edit",   "&Delete",     "Delete|Deletes the selected text.",                         6,  None,                               0,  edit},
        {Id::actEditSelectAll,   "actEditSelectAll",   "Edit",   "Select &All", "Select all|Selects all text.",                              7,  None,                               0,  edit},
        {Id::actSearchFind,      "actSearchFind",      "Search", "&Find...",    "Find|Finds text in the current document.",                  8,  QKeySequence(Qt::CTRL | Qt::Key_F), 0,  on(pane, &TDescriptionPane::actSearchFindExecute)},
        {Id::actSearchFindNext,  "actSearchFindNext",  "Search", "Find &Next",  "Find next|Repeats the last find",                           9,  QKeySequence(Qt::Key_F3),           0,  on(pane, &TDescriptionPane::actSearchFindNextExecute), false},
        {Id::actSearchReplace,   "actSearchReplace",   "Search", "R&eplace...", "Replace|Replace specific text with the different text",     10, QKeySequence(Qt::CTRL | Qt::Key_H), 0,  on(pane, &TDescriptionPane::actSearchReplaceExecute)},
        {Id::actSearchFindAll,   "actSearchFindAll",   "Search", "Find in &All Items...", "Find in all items|Finds text in the names and descriptions of all items.", 11, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), 0, on(findAll, &TFindAllController::actSearchFindAllExecute)},
    });
    // clang-format on
    m_commands->Action(Id::actViewWordWrap)->setCheckable(true);
    // The tree's own keys: in the description editor the same keys undo the
    // editor's typing.
    m_commands->Action(Id::actEditItemRedo)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Move Up has no key in the table; this one joins the other moves' keys.
    m_commands->Action(Id::actEditItemMoveUp)->setShortcut(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Up));
    // In the description editor and the name editor the clipboard keys keep
    // their text meaning.
    for (Id id : {Id::actEditItemUndo, Id::actEditItemRedo, Id::actEditItemMoveUp, Id::actEditItemMoveDown,
                  Id::actEditItemIndent, Id::actEditItemOutdent, Id::actEditItemCut, Id::actEditItemCopy,
                  Id::actEditItemPaste, Id::actEditItemDuplicate}) {
        QAction* action = m_commands->Action(id);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        removeAction(action);
        m_treeView->addAction(action);
    }
}

void TfrmTreeViewEditorMain::CreateMenus()
{
    using Id = TActionId;
    const std::pair<const char*, const char*> menus[] = {{"menuFile", "&File"},
                                                         {"menuEdit", "&Edit"},
                                                         {"menuView", "&View"},
                                                         {"menuHelp", "&Help"},
                                                         {"miUNVISIBLE", "UNVISIBLE"}};
    const std::vector<std::vector<TMenuEntry>> entries = {
        {{"miNew", Id::actFileNew}, {"miOpen", Id::actFileOpen}, {"miSave", Id::actFileSave},
         {"miSaveAs", Id::actFileSaveAs}, {"miClose", Id::actFileClose}, {"N8", {}},
         {"miSetPassword", Id::actFileSetPassword}, {"miRemovePassword", Id::actFileRemovePassword},
         {"N1", {}}, {"miImport", Id::actFileImport},
         {"miExportTxt", Id::actFileExportTxt}, {"miExportIni", Id::actFileExportIni},
         {"miExportMulti", Id::actFileExportMulti}, {"miExportOpml", Id::actFileExportOpml},
         {"miExportMarkdown", Id::actFileExportMarkdown}, {"miExportHtml", Id::actFileExportHtml}, {"N2", {}}, {"miExit", Id::actFileExit}},
        {{"miItemUndo", Id::actEditItemUndo}, {"miItemRedo", Id::actEditItemRedo}, {"N10", {}},
         {"miItemNew", Id::actEditItemNew}, {"miItemNewSub", Id::actEditItemNewSub},
         {"miItemDelete", Id::actEditItemDelete}, {"N6", {}}, {"miItemModeUp", Id::actEditItemMoveUp},
         {"miItemMoveDown", Id::actEditItemMoveDown}, {"miItemIndent", Id::actEditItemIndent},
         {"miItemOutdent", Id::actEditItemOutdent}, {"N10", {}}, {"miItemCut", Id::actEditItemCut},
         {"miItemCopy", Id::actEditItemCopy}, {"miItemPaste", Id::actEditItemPaste},
         {"miItemDuplicate", Id::actEditItemDuplicate}, {"N11", {}}, {"miItemSortChildren", Id::actEditItemSortChildren},
         {"miItemSortSubtree", Id::actEditItemSortSubtree}, {"miItemExpandAll", Id::actEditItemExpandAll},
         {"miItemCollapseAll", Id::actEditItemCollapseAll}},
        {{"miWordWrap", Id::actViewWordWrap}, {"miFont", Id::actViewFont}},
        {{"miHelpEmail", Id::actHelpEmail}, {"miHelpHomePage", Id::actHelpHomePage}, {"N3", {}},
         {"miHelpAbout", Id::actHelpAbout}},
        {{"Open1", Id::actFileOpenMemo}, {"Save1", Id::actFileSaveMemo}, {"N4", {}}, {"Undo1", Id::actEditUndo},
         {"Cut1", Id::actEditCut}, {"Copy1", Id::actEditCopy}, {"Paste1", Id::actEditPaste},
         {"Delete1", Id::actEditDelete}, {"SelectAll1", Id::actEditSelectAll}, {"N5", {}},
         {"Find1", Id::actSearchFind}, {"FindAll1", Id::actSearchFindAll}, {"FindNext1", Id::actSearchFindNext}, {"Replace1", Id::actSearchReplace}}};

    auto fill = [this](QMenu* menu, const std::vector<TMenuEntry>& list) {
        for (const TMenuEntry& entry : list) {
            QAction* item = entry.action ? m_commands->Action(*entry.action) : menu->addSeparator();
            if (entry.action)
                menu->addAction(item);
            // The entry's name lives on the menu's own widget list; actions
            // are shared with toolbars, so the name is kept as a property.
            item->setProperty(("menuEntry/" + menu->objectName()).toLatin1().constData(),
                              QString::fromLatin1(entry.name));
        }
        // A menu brings its commands up to date as it opens.
        connect(menu, &QMenu::aboutToShow, m_commands.get(), Guarded([this] { m_commands->UpdateActions(); }));
    };
    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (size_t i = 0; i < std::size(menus); ++i) {
        QMenu* menu = mainMenu1->addMenu(QString::fromLatin1(menus[i].second));
        menu->setObjectName(QString::fromLatin1(menus[i].first));
        menu->menuAction()->setObjectName(QString::fromLatin1(menus[i].first));
        fill(menu, entries[i]);
    }
    // Hidden when the window is created; it only carries the description
    // commands' shortcuts.
    m_miUnvisible = mainMenu1->findChild<QMenu*>(QStringLiteral("miUNVISIBLE"));

    m_popupMenuTV = new QMenu(this);
    m_popupMenuTV->setObjectName(QStringLiteral("PopupMenuTV"));
    fill(m_popupMenuTV, {{"pmiItemUndo", Id::actEditItemUndo},
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
                         {"pmiItemPaste", Id::actEditItemPaste},
                         {"pmiItemDuplicate", Id::actEditItemDuplicate},
                         {"N13", {}},
                         {"pmiItemSortChildren", Id::actEditItemSortChildren},
                         {"pmiItemSortSubtree", Id::actEditItemSortSubtree},
                         {"pmiItemExpandAll", Id::actEditItemExpandAll},
                         {"pmiItemCollapseAll", Id::actEditItemCollapseAll}});
}

void TfrmTreeViewEditorMain::CreateToolBars()
{
    using Id = TActionId;
    // Buttons 23 pixels apart: the style's wider ones, right of the grip, would
    // push the last description button behind the overflow arrow. The
    // description toolbar holds twelve since Find in All Items joined it, which
    // at 23 pixels apart no longer fit the pane's 288; 22 do.
    auto button = [this](QToolBar* bar, Id id, const char* name, int pitch = 23) {
        QAction* action = m_commands->Action(id);
        bar->addAction(action);
        QWidget* widget = bar->widgetForAction(action);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setFixedWidth(pitch - bar->layout()->spacing());
    };
    auto separator = [](QToolBar* bar, const char* name) {
        bar->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    m_toolBarTV = new TCollapseToolBar;
    m_toolBarTV->setObjectName(QStringLiteral("ToolBarTV"));
    m_toolBarTV->setIconSize(QSize(16, 16));
    button(m_toolBarTV, Id::actFileNew, "BtnFileNew");
    button(m_toolBarTV, Id::actFileOpen, "BtnFileOpen");
    button(m_toolBarTV, Id::actFileSave, "BtnFileSave");
    button(m_toolBarTV, Id::actFileSaveAs, "BtnFileSaveAs");
    button(m_toolBarTV, Id::actFileClose, "BtnFileClose");
    separator(m_toolBarTV, "BtnSeparator1");
    button(m_toolBarTV, Id::actEditItemNew, "BtnEditItemNew");
    button(m_toolBarTV, Id::actEditItemNewSub, "BtnEditItemNewSub");
    button(m_toolBarTV, Id::actEditItemDelete, "BtnEditItemDelete");
    separator(m_toolBarTV, "ToolButton1");
    button(m_toolBarTV, Id::actEditItemMoveUp, "BtnEditItemMoveUp");
    auto* labelIcon = new QLabel(QStringLiteral("  icon:  "));
    labelIcon->setObjectName(QStringLiteral("LabelIcon"));
    labelIcon->setAlignment(Qt::AlignCenter);
    labelIcon->setMinimumWidth(35);
    m_toolBarTV->addWidget(labelIcon);
    m_toolBarTV->addWidget(m_iconComboBox);
    button(m_toolBarTV, Id::actHelpAbout, "BtnHelpAbout");
    button(m_toolBarTV, Id::actFileExit, "BtnFileExit");
    addToolBar(Qt::TopToolBarArea, m_toolBarTV);

    m_toolBarMemo = new TCollapseToolBar;
    m_toolBarMemo->setObjectName(QStringLiteral("ToolBarMemo"));
    m_toolBarMemo->setIconSize(QSize(16, 16));
    const std::pair<Id, const char*> memoButtons[] = {
        {Id::actFileOpenMemo, "BtnOpen"},      {Id::actFileSaveMemo, "BtnSave"},
        {Id::actEditUndo, "BtnUndo"},          {Id::actEditCut, "BtnCut"},
        {Id::actEditCopy, "BtnCopy"},          {Id::actEditPaste, "BtnPaste"},
        {Id::actEditDelete, "BtnDelete"},      {Id::actEditSelectAll, "BtnSelectAll"},
        {Id::actSearchFind, "BtnSearch"},      {Id::actSearchFindAll, "BtnSearchAll"},
        {Id::actSearchFindNext, "BtnSearchAgain"}, {Id::actSearchReplace, "BtnReplace"}};
    for (const auto& [id, name] : memoButtons)
        button(m_toolBarMemo, id, name, 22);
}

void TfrmTreeViewEditorMain::CreateLayout()
{
    auto* pnlTreeViewHeader = new QFrame;
    pnlTreeViewHeader->setObjectName(QStringLiteral("pnlTreeViewHeader"));
    pnlTreeViewHeader->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlTreeViewHeader->setFixedHeight(26);
    auto* headerLayout = new QHBoxLayout(pnlTreeViewHeader);
    headerLayout->setContentsMargins(2, 2, 2, 2);
    headerLayout->addWidget(new QLabel(QStringLiteral(" Folders")), 1);
    auto* btnTreeViewHeader = new QToolButton;
    btnTreeViewHeader->setObjectName(QStringLiteral("BtnTreeViewHeader"));
    btnTreeViewHeader->setAutoRaise(true);
    btnTreeViewHeader->setFixedSize(20, 17);
    btnTreeViewHeader->setText(QStringLiteral("\u00D7"));
    headerLayout->addWidget(btnTreeViewHeader);
    connect(btnTreeViewHeader, &QToolButton::clicked, this, Guarded([this] { BtnTreeViewHeaderClick(); }));

    m_treeView->setFrameShape(QFrame::NoFrame);
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_treeView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_popupMenuTV->popup(m_treeView->viewport()->mapToGlobal(pos));
    });

    m_splitter = new TCollapseSplitter;
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(9);
    m_splitter->SetMinSize(1);
    m_splitter->SetButtonWidth(30);
    m_splitter->addWidget(SplitterSide("pnlLeft", pnlTreeViewHeader, m_treeView));
    m_splitter->addWidget(SplitterSide("pnlRight", m_toolBarMemo, m_memo));
    m_splitter->setSizes({145, 288});
    setCentralWidget(m_splitter);
    // The toolbars fold by their grips. Qt's own menu on the toolbar and the
    // menu bar would offer a blank entry that hides the tree toolbar outright.
    setContextMenuPolicy(Qt::NoContextMenu);

    QStatusBar* statusBar1 = statusBar();
    statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusBar1->setSizeGripEnabled(true);
    for (QLabel* panel : m_statusPanels)
        statusBar1->addWidget(panel);
    // Says "Protected" while the document is saved with a password.
    auto* protection = new QLabel;
    protection->setObjectName(QStringLiteral("ProtectionPanel"));
    protection->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar1->addWidget(protection);
    m_session->SetProtectionPanel(protection);
    resize(442, 319);
}

void TfrmTreeViewEditorMain::CreateFormStorage()
{
    // It restores at each show before showEvent opens the command-line
    // document, and saves once the close query has let the window close.
    m_formStorage1 = std::make_unique<TFormStorageHook>(*this, [](const std::function<void()>& run) { Protected(run); });
    m_formStorage1->setObjectName(QStringLiteral("FormStorage1"));
    TFormStorage& storage = m_formStorage1->Storage();
    auto folder = [](TFileDialog& dialog) {
        return FolderProperty([&dialog] { return dialog.InitialDir(); },
                              [&dialog](const QString& v) { dialog.SetInitialDir(v); });
    };
    auto lastFolder = [](TFileDialog& dialog) {
        return FolderProperty([&dialog] { return dialog.LastDir(); },
                              [&dialog](const QString& v) { dialog.SetLastDir(v); });
    };
    QAction* wordWrap = m_commands->Action(TActionId::actViewWordWrap);
    storage.AddStoredProperty("OpenDialog1.InitialDir", folder(m_fileDialogs->OpenDialog1()));
    storage.AddStoredProperty("SaveDialog1.InitialDir", folder(m_fileDialogs->SaveDialog1()));
    storage.AddStoredProperty("Splitter1.Maximized",
                              FlagProperty(m_splitter, &TCollapseSplitter::Maximized, &TCollapseSplitter::SetMaximized),
                              m_splitter);
    storage.AddStoredProperty("Splitter1.Minimized",
                              FlagProperty(m_splitter, &TCollapseSplitter::Minimized, &TCollapseSplitter::SetMinimized),
                              m_splitter);
    storage.AddStoredProperty("ToolBarTV.Maximized",
                              FlagProperty(m_toolBarTV, &TCollapseToolBar::Maximized, &TCollapseToolBar::SetMaximized),
                              m_toolBarTV);
    storage.AddStoredProperty("ToolBarMemo.Maximized",
                              FlagProperty(m_toolBarMemo, &TCollapseToolBar::Maximized, &TCollapseToolBar::SetMaximized),
                              m_toolBarMemo);
    storage.AddStoredProperty("IconComboBox.Text", ComboBoxTextProperty(m_iconComboBox), m_iconComboBox);
    storage.AddStoredProperty("Memo1.Font", EditorFontProperty(m_memo), m_memo);
    // The menu entry shows the action's check mark, so both entries are the
    // action's; the editor's wrap and scroll bars follow after them.
    storage.AddStoredProperty("actViewWordWrap.Checked", CheckedProperty(wordWrap), wordWrap);
    storage.AddStoredProperty("miWordWrap.Checked", CheckedProperty(wordWrap), wordWrap);
    storage.AddStoredProperty("Memo1.WordWrap", WordWrapProperty(m_memo), m_memo);
    storage.AddStoredProperty("Memo1.ScrollBars", ScrollBarsProperty(m_memo), m_memo);
    // The folders last used, where the dialogs start next time; the entries
    // above keep the folders the settings give as they were read.
    storage.AddSectionValue(TFileDialogs::LastFoldersSection, "OpenDialog1", lastFolder(m_fileDialogs->OpenDialog1()));
    storage.AddSectionValue(TFileDialogs::LastFoldersSection, "SaveDialog1", lastFolder(m_fileDialogs->SaveDialog1()));
}

void TfrmTreeViewEditorMain::FormCreate()
{
    qApp->installEventFilter(this);
    if (m_iconComboBox->currentText().isEmpty())
        m_iconComboBox->setEditText(QStringLiteral("0"));
    m_session->CloseDocument();
    m_miUnvisible->menuAction()->setVisible(false);
    m_dropFileOnTreeList->AttachTo(m_treeView);
    m_dropFileOnMemo->AttachTo(m_memo);
    m_commands->UpdateActions();
}

void TfrmTreeViewEditorMain::FormClose()
{
    m_dropFileOnTreeList->Detach();
    m_dropFileOnMemo->Detach();
}

void TfrmTreeViewEditorMain::BtnTreeViewHeaderClick()
{
    m_splitter->SetMaximized(true);
}

void TfrmTreeViewEditorMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_treeView->setFocus();
    bool recovered = false;
    Protected([&] { recovered = m_recovery->OfferCopies(); });
    if (!recovered)
        Protected([this] { m_session->FormShowInBackground(); });
}

void TfrmTreeViewEditorMain::closeEvent(QCloseEvent* event)
{
    // A close query that fails (a save that went wrong) keeps the window open.
    bool canClose = false;
    Protected([&] { canClose = m_session->FormCloseQuery(); });
    if (canClose) {
        m_findDialog->hide();
        m_replaceDialog->hide();
        FormClose();
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmTreeViewEditorMain::changeEvent(QEvent* event)
{
    // FormActivate: Delete follows the selection again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_commands->TreeListSelectedCountChange();
    QMainWindow::changeEvent(event);
}

bool TfrmTreeViewEditorMain::event(QEvent* event)
{
    // Menu entries and action buttons report their hints here; they belong in
    // status panel 0, not in a temporary status message.
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TfrmTreeViewEditorMain::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
        if (event->type() == QEvent::ToolTip)
            return true;  // the window shows hints in the status bar only
        // Qt ignores the shortcut of a disabled action, so a pressed shortcut
        // must find its command up to date before the shortcut map looks.
        if (event->type() == QEvent::ShortcutOverride)
            m_commands->UpdateActions();
        if (event->type() == QEvent::Enter) {
            QString hint;
            for (QWidget* w = widget; w && w != this && hint.isEmpty(); w = w->parentWidget())
                hint = w->statusTip();
            ShowHint(hint);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmTreeViewEditorMain::ShowHint(const QString& hint)
{
    m_statusPanels[0]->setText(TActionList::LongHint(hint));
}

QString TfrmTreeViewEditorMain::StatusPanelText(int panel) const
{
    return panel >= 0 && panel < 3 ? m_statusPanels[panel]->text() : QString();
}
