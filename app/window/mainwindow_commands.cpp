#include "app/window/mainwindow.h"

#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"
#include "app/widgets/imagelists.h"
#include "app/window/actionlist.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

namespace {
const QKeySequence None;

struct TMenuEntry {
    const char* name;
    const char* action;  // none: a separator
};

const char* const StandardEditActions[] = {"actEditUndo", "actEditCut",    "actEditCopy",
                                           "actEditPaste", "actEditDelete", "actEditSelectAll"};

// Runs a standard edit command on the text-edit control that has the focus.
void RunEditCommand(const QString& name)
{
    QWidget* target = QApplication::focusWidget();
    auto run = [&name](auto* control) {
        if (name == QLatin1String("actEditUndo"))
            control->undo();
        else if (name == QLatin1String("actEditCut"))
            control->cut();
        else if (name == QLatin1String("actEditCopy"))
            control->copy();
        else if (name == QLatin1String("actEditPaste"))
            control->paste();
        else if (name == QLatin1String("actEditSelectAll"))
            control->selectAll();
    };
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        if (name == QLatin1String("actEditDelete"))
            line->del();
        else
            run(line);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
        if (name == QLatin1String("actEditDelete"))
            plain->textCursor().removeSelectedText();
        else
            run(plain);
    } else if (auto* rich = qobject_cast<QTextEdit*>(target)) {
        if (name == QLatin1String("actEditDelete"))
            rich->textCursor().removeSelectedText();
        else
            run(rich);
    }
}

bool IsStandardEditAction(const QAction* action)
{
    for (const char* name : StandardEditActions)
        if (action->objectName() == QLatin1String(name))
            return true;
    return false;
}
}  // namespace

void TfrmTreeViewEditorMain::CreateActions()
{
    auto tv = [this](void (TfrmTreeViewEditorMain::*handler)()) {
        return [this, handler](QAction*) { (this->*handler)(); };
    };
    auto file = [this](QAction* sender) { NewOpenSaveSaveasClose(sender); };
    auto edit = [](QAction* sender) { RunEditCommand(sender->objectName()); };
    const std::function<void(QAction*)> none;

    m_actionListTV = new TActionList(QStringLiteral("ActionListTV"), ImageListMenu(), this);
    // clang-format off
    m_actionListTV->Build(this, {
        // name                 category  caption                       hint                                                     icon shortcut                     tag handler
        {"actFileNew",          "File",   "&New",                       "New data file.",                                        0,  QKeySequence(Qt::CTRL | Qt::Key_N),   11, file},
        {"actFileOpen",         "File",   "&Open",                      "Opens an existing data file.",                          1,  QKeySequence(Qt::CTRL | Qt::Key_O),   12, file},
        {"actFileSave",         "File",   "&Save",                      "Saves the current data file.",                          2,  QKeySequence(Qt::CTRL | Qt::Key_S),   13, file},
        {"actFileSaveAs",       "File",   "Save &As",                   "Saves the current work as an new data file.",           3,  QKeySequence(Qt::ALT | Qt::Key_S),    14, file},
        {"actFileClose",        "File",   "&Close",                     "Closes the current data file.",                         4,  QKeySequence(Qt::CTRL | Qt::Key_F4),  15, file},
        {"actEditItemNew",      "Edit",   "&New Item",                  "Adds a new item.",                                      10, QKeySequence(Qt::ALT | Qt::Key_Insert), 0, tv(&TfrmTreeViewEditorMain::actEditItemNewExecute)},
        {"actEditItemNewSub",   "Edit",   "New &Sub Item",              "Adds a new child item to the selected item.",           11, None,                         0,  tv(&TfrmTreeViewEditorMain::actEditItemNewSubExecute)},
        {"actEditItemDelete",   "Edit",   "&Delete",                    "Deletea the selected item.",                            12, QKeySequence(Qt::ALT | Qt::Key_Delete), 0, tv(&TfrmTreeViewEditorMain::actEditItemDeleteExecute)},
        {"actViewWordWrap",     "View",   "Word &Wrap",                 "Wraps Around the Editor",                               13, None,                         0,  tv(&TfrmTreeViewEditorMain::actViewWordWrapExecute)},
        {"actFileImport",       "File",   "Im&port",                    "Import is not implement yet.",                          5,  None,                         0,  none},
        {"actFileExportTxt",    "File",   "Export as &Text File",       "Exports the current data file to a single text file.", 6,  None,                         0,  tv(&TfrmTreeViewEditorMain::actFileExportTxtExecute)},
        {"actFileExportIni",    "File",   "Export as &Ini File",        "Exports the current data file to a single ini file with the name as seaction header and decription as body.", 7, None, 0, tv(&TfrmTreeViewEditorMain::actFileExportIniExecute)},
        {"actFileExportMulti",  "File",   "Export as &Multiple Files",  "Exports the current data file to multiple files each with the nodename as filename.", 8, None, 0, tv(&TfrmTreeViewEditorMain::actFileExportMultiExecute)},
        {"actFileExit",         "File",   "E&xit",                      "Quit the application.",                                 9,  QKeySequence(Qt::ALT | Qt::Key_F4),   0,  [this](QAction*) { close(); }},
        {"actViewFont",         "View",   "&Font...",                   "Changes the display font.",                             14, None,                         0,  tv(&TfrmTreeViewEditorMain::actViewFontExecute)},
        {"actHelpEmail",        "Help",   "&E-Mail",                    "Email Author|Launchs your email application that you can send a email to Ulmar.", 15, None, 31, none},
        {"actHelpHomePage",     "Help",   "Home &Page",                 "Author's Home page|Launchs your internet browser and connects to Ulmar's home page.", 16, None, 32, none},
        {"actHelpAbout",        "Help",   "&About",                     "About the VekTreeViewEditor",                           17, None,                         33, none},
        {"actEditItemMoveUp",   "Edit",   "&Move Up",                   "Move up|Move the selected item up",                     18, None,                         0,  tv(&TfrmTreeViewEditorMain::actEditItemMoveUpExecute)},
    });
    m_actionListMemo = new TActionList(QStringLiteral("ActionListMemo"), ImageListMemo(), this);
    m_actionListMemo->Build(this, {
        {"actFileOpenMemo",     "File",   "&Open...",     "Open|Open an existing document to the description window",      0,  None,                      21, tv(&TfrmTreeViewEditorMain::actFileOpenMemoExecute)},
        {"actFileSaveMemo",     "File",   "&Save...",     "Save|Saves the selected item to a file.",                        1,  None,                      22, tv(&TfrmTreeViewEditorMain::actFileSaveMemoExecute)},
        {"actEditUndo",         "Edit",   "&Undo",        "Undo|Undo the last action",                                      2,  None,                      0,  edit},
        {"actEditCut",          "Edit",   "Cu&t",         "Cut|Cut out the selection and put it into the Clipboard",        3,  None,                      0,  edit},
        {"actEditCopy",         "Edit",   "&Copy",        "Copy|Copy the selection and put it into the Clipboard",          4,  None,                      0,  edit},
        {"actEditPaste",        "Edit",   "&Paste",       "Paste|Paste clipboard data into the window",                     5,  None,                      0,  edit},
        {"actEditDelete",       "Edit",   "&Delete",      "Delete|Deletes the selected text.",                              6,  None,                      0,  edit},
        {"actEditSelectAll",    "Edit",   "Select &All",  "Select all|Selects all text.",                                   7,  None,                      0,  edit},
        {"actSearchFind",       "Search", "&Find...",     "Find|Finds text in the current document.",                       8,  QKeySequence(Qt::CTRL | Qt::Key_F), 0, tv(&TfrmTreeViewEditorMain::actSearchFindExecute)},
        {"actSearchFindNext",   "Search", "Find &Next",   "Find next|Repeats the last find",                                9,  QKeySequence(Qt::Key_F3),          0,  tv(&TfrmTreeViewEditorMain::actSearchFindNextExecute), false},
        {"actSearchReplace",    "Search", "R&eplace...",  "Replace|Replace specific text with the different text",          10, QKeySequence(Qt::CTRL | Qt::Key_H), 0, tv(&TfrmTreeViewEditorMain::actSearchReplaceExecute)},
    });
    // clang-format on
    Action(QStringLiteral("actViewWordWrap"))->setCheckable(true);

    m_actionListTV->OnUpdate = [this](QAction* action) { ActionListTVUpdate(action); };
    m_actionListMemo->OnUpdate = [this](QAction* action) { ActionListMemoUpdate(action); };
    m_actionListMemo->OnClaim = [this](QAction* action) { return ClaimEditAction(action); };
}

void TfrmTreeViewEditorMain::CreateMenus()
{
    const std::vector<std::pair<const char*, const char*>> menus = {
        {"menuFile", "&File"}, {"menuEdit", "&Edit"}, {"menuView", "&View"}, {"menuHelp", "&Help"},
        {"miUNVISIBLE", "UNVISIBLE"}};
    const std::vector<std::vector<TMenuEntry>> entries = {
        {{"miNew", "actFileNew"}, {"miOpen", "actFileOpen"}, {"miSave", "actFileSave"},
         {"miSaveAs", "actFileSaveAs"}, {"miClose", "actFileClose"}, {"N1", nullptr},
         {"miImport", "actFileImport"}, {"miExportTxt", "actFileExportTxt"}, {"miExportIni", "actFileExportIni"},
         {"miExportMulti", "actFileExportMulti"}, {"N2", nullptr}, {"miExit", "actFileExit"}},
        {{"miItemNew", "actEditItemNew"}, {"miItemNewSub", "actEditItemNewSub"},
         {"miItemDelete", "actEditItemDelete"}, {"N6", nullptr}, {"miItemModeUp", "actEditItemMoveUp"}},
        {{"miWordWrap", "actViewWordWrap"}, {"miFont", "actViewFont"}},
        {{"miHelpEmail", "actHelpEmail"}, {"miHelpHomePage", "actHelpHomePage"}, {"N3", nullptr},
         {"miHelpAbout", "actHelpAbout"}},
        {{"Open1", "actFileOpenMemo"}, {"Save1", "actFileSaveMemo"}, {"N4", nullptr}, {"Undo1", "actEditUndo"},
         {"Cut1", "actEditCut"}, {"Copy1", "actEditCopy"}, {"Paste1", "actEditPaste"},
         {"Delete1", "actEditDelete"}, {"SelectAll1", "actEditSelectAll"}, {"N5", nullptr},
         {"Find1", "actSearchFind"}, {"FindNext1", "actSearchFindNext"}, {"Replace1", "actSearchReplace"}}};

    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto fill = [this](QMenu* menu, const std::vector<TMenuEntry>& list) {
        for (const TMenuEntry& entry : list) {
            QAction* item = entry.action ? Action(QString::fromLatin1(entry.action)) : menu->addSeparator();
            if (entry.action)
                menu->addAction(item);
            // The entry's name lives on the menu's own widget list; actions
            // are shared with toolbars, so the name is kept as a property.
            item->setProperty(("menuEntry/" + menu->objectName()).toLatin1().constData(),
                              QString::fromLatin1(entry.name));
        }
        // A menu brings its commands up to date as it opens.
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* action : menu->actions())
                if (!action->isSeparator())
                    (m_actionListTV->Find(action->objectName()) ? m_actionListTV : m_actionListMemo)->Update(action);
        });
    };
    for (size_t i = 0; i < menus.size(); ++i) {
        QMenu* menu = mainMenu1->addMenu(QString::fromLatin1(menus[i].second));
        menu->setObjectName(QString::fromLatin1(menus[i].first));
        menu->menuAction()->setObjectName(QString::fromLatin1(menus[i].first));
        fill(menu, entries[i]);
        if (i == 4)
            m_miUNVISIBLE = menu;
    }

    m_popupMenuTV = new QMenu(this);
    m_popupMenuTV->setObjectName(QStringLiteral("PopupMenuTV"));
    fill(m_popupMenuTV, {{"pmiItemNew", "actEditItemNew"},
                         {"pmiItemNewSub", "actEditItemNewSub"},
                         {"pmiItemDelete", "actEditItemDelete"},
                         {"N7", nullptr},
                         {"pmiItemMoveUp", "actEditItemMoveUp"}});
}

void TfrmTreeViewEditorMain::CreateToolBars()
{
    auto button = [](QToolBar* bar, QAction* action, const char* name) {
        bar->addAction(action);
        QWidget* widget = bar->widgetForAction(action);
        widget->setObjectName(QString::fromLatin1(name));
    };
    auto separator = [](QToolBar* bar, const char* name) {
        QAction* action = bar->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
    };

    m_toolBarTV = new QToolBar;
    m_toolBarTV->setObjectName(QStringLiteral("ToolBarTV"));
    m_toolBarTV->setIconSize(QSize(16, 16));
    m_toolBarTV->setMovable(false);
    m_toolBarTV->setFloatable(false);
    button(m_toolBarTV, Action(QStringLiteral("actFileNew")), "BtnFileNew");
    button(m_toolBarTV, Action(QStringLiteral("actFileOpen")), "BtnFileOpen");
    button(m_toolBarTV, Action(QStringLiteral("actFileSave")), "BtnFileSave");
    button(m_toolBarTV, Action(QStringLiteral("actFileSaveAs")), "BtnFileSaveAs");
    button(m_toolBarTV, Action(QStringLiteral("actFileClose")), "BtnFileClose");
    separator(m_toolBarTV, "BtnSeparator1");
    button(m_toolBarTV, Action(QStringLiteral("actEditItemNew")), "BtnEditItemNew");
    button(m_toolBarTV, Action(QStringLiteral("actEditItemNewSub")), "BtnEditItemNewSub");
    button(m_toolBarTV, Action(QStringLiteral("actEditItemDelete")), "BtnEditItemDelete");
    separator(m_toolBarTV, "ToolButton1");
    button(m_toolBarTV, Action(QStringLiteral("actEditItemMoveUp")), "BtnEditItemMoveUp");
    m_labelIcon = new QLabel(QStringLiteral("  icon:  "));
    m_labelIcon->setObjectName(QStringLiteral("LabelIcon"));
    m_labelIcon->setAlignment(Qt::AlignCenter);
    m_labelIcon->setMinimumWidth(35);
    m_toolBarTV->addWidget(m_labelIcon);
    m_toolBarTV->addWidget(m_iconComboBox);
    button(m_toolBarTV, Action(QStringLiteral("actHelpAbout")), "BtnHelpAbout");
    button(m_toolBarTV, Action(QStringLiteral("actFileExit")), "BtnFileExit");
    addToolBar(Qt::TopToolBarArea, m_toolBarTV);

    m_toolBarMemo = new QToolBar;
    m_toolBarMemo->setObjectName(QStringLiteral("ToolBarMemo"));
    m_toolBarMemo->setIconSize(QSize(16, 16));
    const std::pair<const char*, const char*> memoButtons[] = {
        {"actFileOpenMemo", "BtnOpen"},   {"actFileSaveMemo", "BtnSave"},     {"actEditUndo", "BtnUndo"},
        {"actEditCut", "BtnCut"},         {"actEditCopy", "BtnCopy"},         {"actEditPaste", "BtnPaste"},
        {"actEditDelete", "BtnDelete"},   {"actEditSelectAll", "BtnSelectAll"}, {"actSearchFind", "BtnSearch"},
        {"actSearchFindNext", "BtnSearchAgain"}, {"actSearchReplace", "BtnReplace"}};
    for (const auto& [action, name] : memoButtons)
        button(m_toolBarMemo, Action(QString::fromLatin1(action)), name);
}

void TfrmTreeViewEditorMain::ActionListTVUpdate(QAction*)
{
    Action(QStringLiteral("actFileSave"))->setEnabled(FModified);
    const bool hasItems = m_tree.TopItemCount() > 0;
    Action(QStringLiteral("actFileSaveAs"))->setEnabled(hasItems);
    for (const char* name : {"actFileExportTxt", "actFileExportIni", "actFileExportMulti", "actFileClose"})
        Action(QString::fromLatin1(name))->setEnabled(hasItems);
}

void TfrmTreeViewEditorMain::ActionListMemoUpdate(QAction*)
{
    Action(QStringLiteral("actFileOpenMemo"))->setEnabled(m_tree.TopItemCount() > 0);
    const bool hasLines = MemoLineCount() > 0;
    Action(QStringLiteral("actFileSaveMemo"))->setEnabled(hasLines);
    for (const char* name : {"actSearchFind", "actSearchFindNext", "actSearchReplace"})
        Action(QString::fromLatin1(name))->setEnabled(hasLines);
}

// The text-edit control with the input focus takes over the six standard
// edit commands; without one they are disabled.
bool TfrmTreeViewEditorMain::ClaimEditAction(QAction* action)
{
    if (!IsStandardEditAction(action))
        return false;
    QWidget* focus = QApplication::focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focus);
    auto* plain = qobject_cast<QPlainTextEdit*>(focus);
    auto* rich = qobject_cast<QTextEdit*>(focus);
    if (!line && !plain && !rich) {
        action->setEnabled(false);
        return true;
    }
    const QString name = action->objectName();
    bool readOnly = false, canUndo = false, hasSelection = false, hasText = false;
    if (line) {
        readOnly = line->isReadOnly();
        canUndo = line->isUndoAvailable();
        hasSelection = line->hasSelectedText();
        hasText = !line->text().isEmpty();
    } else {
        QTextDocument* document = plain ? plain->document() : rich->document();
        readOnly = plain ? plain->isReadOnly() : rich->isReadOnly();
        canUndo = document->isUndoAvailable();
        hasSelection = (plain ? plain->textCursor() : rich->textCursor()).hasSelection();
        hasText = !document->isEmpty();
    }
    bool enabled = false;
    if (name == QLatin1String("actEditUndo"))
        enabled = canUndo && !readOnly;
    else if (name == QLatin1String("actEditCut") || name == QLatin1String("actEditDelete"))
        enabled = hasSelection && !readOnly;
    else if (name == QLatin1String("actEditCopy"))
        enabled = hasSelection;
    else if (name == QLatin1String("actEditPaste"))
        enabled = m_clipboardHasText && !readOnly;
    else if (name == QLatin1String("actEditSelectAll"))
        enabled = hasText;
    action->setEnabled(enabled);
    return true;
}

// Asking the clipboard on every update would ask the program that owns it,
// each time the event loop goes idle; its content changes far less often.
void TfrmTreeViewEditorMain::ClipboardChanged()
{
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasText = clip && clip->hasText();
}

void TfrmTreeViewEditorMain::UpdateActions()
{
    if (m_actionListTV)
        m_actionListTV->UpdateAll();
    if (m_actionListMemo)
        m_actionListMemo->UpdateAll();
}
