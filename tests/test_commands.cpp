#include "apptestkit.h"

#include "actionlist.h"
#include "finddialog.h"
#include "iconcombobox.h"
#include "imagelists.h"
#include "replacedialog.h"
#include "treelistview.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

// Whether a fresh, empty, untitled window offers the command.
enum class TStart { On, Off, Unchecked };

struct TActionRow {
    const char* list;  // "TV" or "Memo"
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;
    int icon;
    const char* shortcut;  // as the menus show it
    int tag;
    TStart start;
};

// clang-format off
const TActionRow ActionTable[] = {
    {"TV",   "actFileNew",         "File",   "&New",                      "New data file.",                                        0,  "Ctrl+N",  11, TStart::On},
    {"TV",   "actFileOpen",        "File",   "&Open",                     "Opens an existing data file.",                          1,  "Ctrl+O",  12, TStart::On},
    {"TV",   "actFileSave",        "File",   "&Save",                     "Saves the current data file.",                          2,  "Ctrl+S",  13, TStart::Off},
    {"TV",   "actFileSaveAs",      "File",   "Save &As",                  "Saves the current work as an new data file.",           3,  "Alt+S",   14, TStart::Off},
    {"TV",   "actFileClose",       "File",   "&Close",                    "Closes the current data file.",                         4,  "Ctrl+F4", 15, TStart::Off},
    {"TV",   "actEditItemNew",     "Edit",   "&New Item",                 "Adds a new item.",                                      10, "Alt+Ins", 0,  TStart::On},
    {"TV",   "actEditItemNewSub",  "Edit",   "New &Sub Item",             "Adds a new child item to the selected item.",           11, "",        0,  TStart::On},
    {"TV",   "actEditItemDelete",  "Edit",   "&Delete",                   "Deletea the selected item.",                            12, "Alt+Del", 0,  TStart::Off},
    {"TV",   "actViewWordWrap",    "View",   "Word &Wrap",                "Wraps Around the Editor",                               13, "",        0,  TStart::On},
    {"TV",   "actFileImport",      "File",   "Im&port",                   "Import is not implement yet.",                          5,  "",        0,  TStart::Off},
    {"TV",   "actFileExportTxt",   "File",   "Export as &Text File",      "Exports the current data file to a single text file.", 6,  "",        0,  TStart::Off},
    {"TV",   "actFileExportIni",   "File",   "Export as &Ini File",       "Exports the current data file to a single ini file with the name as seaction header and decription as body.", 7, "", 0, TStart::Off},
    {"TV",   "actFileExportMulti", "File",   "Export as &Multiple Files", "Exports the current data file to multiple files each with the nodename as filename.", 8, "", 0, TStart::Off},
    {"TV",   "actFileExit",        "File",   "E&xit",                     "Quit the application.",                                 9,  "Alt+F4",  0,  TStart::On},
    {"TV",   "actViewFont",        "View",   "&Font...",                  "Changes the display font.",                             14, "",        0,  TStart::On},
    // The help commands are enabled once the about dialog takes them over.
    {"TV",   "actHelpEmail",       "Help",   "&E-Mail",                   "Email Author|Launchs your email application that you can send a email to Ulmar.", 15, "", 31, TStart::Unchecked},
    {"TV",   "actHelpHomePage",    "Help",   "Home &Page",                "Author's Home page|Launchs your internet browser and connects to Ulmar's home page.", 16, "", 32, TStart::Unchecked},
    {"TV",   "actHelpAbout",       "Help",   "&About",                    "About the VekTreeViewEditor",                           17, "",        33, TStart::Unchecked},
    {"TV",   "actEditItemMoveUp",  "Edit",   "&Move Up",                  "Move up|Move the selected item up",                     18, "",        0,  TStart::On},
    {"Memo", "actFileOpenMemo",    "File",   "&Open...",                  "Open|Open an existing document to the description window", 0, "",   21, TStart::Off},
    {"Memo", "actFileSaveMemo",    "File",   "&Save...",                  "Save|Saves the selected item to a file.",               1,  "",        22, TStart::Off},
    {"Memo", "actEditUndo",        "Edit",   "&Undo",                     "Undo|Undo the last action",                             2,  "",        0,  TStart::Off},
    {"Memo", "actEditCut",         "Edit",   "Cu&t",                      "Cut|Cut out the selection and put it into the Clipboard", 3, "",      0,  TStart::Off},
    {"Memo", "actEditCopy",        "Edit",   "&Copy",                     "Copy|Copy the selection and put it into the Clipboard", 4,  "",        0,  TStart::Off},
    {"Memo", "actEditPaste",       "Edit",   "&Paste",                    "Paste|Paste clipboard data into the window",            5,  "",        0,  TStart::Off},
    {"Memo", "actEditDelete",      "Edit",   "&Delete",                   "Delete|Deletes the selected text.",                     6,  "",        0,  TStart::Off},
    {"Memo", "actEditSelectAll",   "Edit",   "Select &All",               "Select all|Selects all text.",                          7,  "",        0,  TStart::Off},
    {"Memo", "actSearchFind",      "Search", "&Find...",                  "Find|Finds text in the current document.",              8,  "Ctrl+F",  0,  TStart::Off},
    {"Memo", "actSearchFindNext",  "Search", "Find &Next",                "Find next|Repeats the last find",                       9,  "F3",      0,  TStart::Off},
    {"Memo", "actSearchReplace",   "Search", "R&eplace...",               "Replace|Replace specific text with the different text", 10, "Ctrl+H",  0,  TStart::Off},
};
// clang-format on

const char* const StandardEditCommands[] = {"actEditUndo",  "actEditCut",    "actEditCopy",
                                            "actEditPaste", "actEditDelete", "actEditSelectAll"};

QImage Picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

// "name" for a command entry, "name-" for a separator line.
QStringList Entries(const QWidget* menu)
{
    QStringList result;
    const QString key = QStringLiteral("menuEntry/") + menu->objectName();
    for (QAction* action : menu->actions()) {
        const QString entry = action->property(key.toLatin1().constData()).toString();
        result << (action->isSeparator() ? entry + QLatin1Char('-') : entry + QLatin1Char(' ') + action->objectName());
    }
    return result;
}

// Object names of a toolbar's button widgets; separators by their action's name.
QStringList Buttons(QToolBar* bar)
{
    QStringList result;
    for (QAction* action : bar->actions())
        result << (action->isSeparator() ? action->objectName() : bar->widgetForAction(action)->objectName());
    return result;
}

bool IsEnabled(TfrmTreeViewEditorMain& window, const char* name)
{
    return window.Action(QString::fromLatin1(name))->isEnabled();
}

// Counts the events of one type that reach a widget.
class TEventCounter : public QObject {
public:
    explicit TEventCounter(QEvent::Type type) : m_type(type) {}
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

}  // namespace

class CommandTable : public WindowTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(CommandTable, DefinesTheActionAsListed)
{
    const TActionRow& row = ActionTable[GetParam()];
    auto window = MakeWindow();
    const bool tv = row.list == std::string("TV");
    TActionList* list = tv ? window->ActionListTV() : window->ActionListMemo();
    const size_t firstMemo = 19;
    const size_t position = tv ? GetParam() : GetParam() - firstMemo;
    ASSERT_LT(position, list->Actions().size());
    QAction* action = list->Actions()[position];

    EXPECT_EQ(action->objectName(), QString::fromLatin1(row.name));
    EXPECT_EQ(action->property("category").toString(), QString::fromLatin1(row.category));
    EXPECT_EQ(action->text(), QString::fromLatin1(row.caption));
    const QString hint = QString::fromLatin1(row.hint);
    EXPECT_EQ(action->property("hint").toString(), hint);
    EXPECT_EQ(action->statusTip(), hint.mid(hint.indexOf(QLatin1Char('|')) + 1));
    EXPECT_EQ(action->property("imageIndex").toInt(), row.icon);
    const TImageList& images = tv ? ImageListMenu() : ImageListMemo();
    EXPECT_FALSE(action->icon().isNull());
    EXPECT_EQ(Picture(action->icon()), Picture(images.Icon(row.icon)));
    EXPECT_EQ(action->shortcut().toString(QKeySequence::NativeText), QString::fromLatin1(row.shortcut));
    EXPECT_EQ(action->property("tag").toInt(), row.tag);
    EXPECT_EQ(TActionList::Tag(action), row.tag);
    if (row.start != TStart::Unchecked) {
        EXPECT_EQ(action->isEnabled(), row.start == TStart::On);
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, CommandTable, ::testing::Range<size_t>(0, std::size(ActionTable)),
                         [](const auto& info) { return std::string(ActionTable[info.param].name); });

TEST_F(WindowTest, EachListHoldsExactlyItsCommands)
{
    auto window = MakeWindow();
    EXPECT_EQ(window->ActionListTV()->Actions().size(), 19u);
    EXPECT_EQ(window->ActionListMemo()->Actions().size(), 11u);
    EXPECT_EQ(window->ActionListTV()->objectName(), QStringLiteral("ActionListTV"));
    EXPECT_EQ(window->ActionListMemo()->objectName(), QStringLiteral("ActionListMemo"));
    EXPECT_TRUE(window->Action(QStringLiteral("actViewWordWrap"))->isCheckable());
}

TEST_F(WindowTest, MainMenuHoldsTheEntriesInOrder)
{
    auto window = MakeWindow();
    QMenuBar* bar = window->menuBar();
    EXPECT_EQ(bar->objectName(), QStringLiteral("MainMenu1"));
    QStringList menus;
    for (QAction* action : bar->actions())
        menus << action->objectName() + QLatin1Char('=') + action->text() +
                     (action->isVisible() ? QString() : QStringLiteral(" hidden"));
    EXPECT_EQ(menus, (QStringList{"menuFile=&File", "menuEdit=&Edit", "menuView=&View", "menuHelp=&Help",
                                  "miUNVISIBLE=UNVISIBLE hidden"}));

    auto menu = [&](const char* name) { return bar->findChild<QMenu*>(QString::fromLatin1(name)); };
    EXPECT_EQ(Entries(menu("menuFile")),
              (QStringList{"miNew actFileNew", "miOpen actFileOpen", "miSave actFileSave", "miSaveAs actFileSaveAs",
                           "miClose actFileClose", "N1-", "miImport actFileImport",
                           "miExportTxt actFileExportTxt", "miExportIni actFileExportIni",
                           "miExportMulti actFileExportMulti", "N2-", "miExit actFileExit"}));
    EXPECT_EQ(Entries(menu("menuEdit")),
              (QStringList{"miItemNew actEditItemNew", "miItemNewSub actEditItemNewSub",
                           "miItemDelete actEditItemDelete", "N6-", "miItemModeUp actEditItemMoveUp"}));
    EXPECT_EQ(Entries(menu("menuView")), (QStringList{"miWordWrap actViewWordWrap", "miFont actViewFont"}));
    EXPECT_EQ(Entries(menu("menuHelp")), (QStringList{"miHelpEmail actHelpEmail", "miHelpHomePage actHelpHomePage",
                                                      "N3-", "miHelpAbout actHelpAbout"}));
    EXPECT_EQ(Entries(menu("miUNVISIBLE")),
              (QStringList{"Open1 actFileOpenMemo", "Save1 actFileSaveMemo", "N4-", "Undo1 actEditUndo",
                           "Cut1 actEditCut", "Copy1 actEditCopy", "Paste1 actEditPaste", "Delete1 actEditDelete",
                           "SelectAll1 actEditSelectAll", "N5-", "Find1 actSearchFind",
                           "FindNext1 actSearchFindNext", "Replace1 actSearchReplace"}));
}

TEST_F(WindowTest, TreeContextMenuHoldsTheItemCommands)
{
    auto window = MakeWindow();
    auto* popup = window->findChild<QMenu*>(QStringLiteral("PopupMenuTV"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Entries(popup), (QStringList{"pmiItemNew actEditItemNew", "pmiItemNewSub actEditItemNewSub",
                                           "pmiItemDelete actEditItemDelete", "N7-",
                                           "pmiItemMoveUp actEditItemMoveUp"}));
}

TEST_F(WindowTest, ToolbarsHoldTheButtonsInOrderEachWithItsPicture)
{
    auto window = MakeWindow();
    auto* tv = window->findChild<QToolBar*>(QStringLiteral("ToolBarTV"));
    auto* memo = window->findChild<QToolBar*>(QStringLiteral("ToolBarMemo"));
    ASSERT_NE(tv, nullptr);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(Buttons(tv), (QStringList{"BtnFileNew", "BtnFileOpen", "BtnFileSave", "BtnFileSaveAs", "BtnFileClose",
                                        "BtnSeparator1", "BtnEditItemNew", "BtnEditItemNewSub", "BtnEditItemDelete",
                                        "ToolButton1", "BtnEditItemMoveUp", "LabelIcon", "IconComboBox",
                                        "BtnHelpAbout", "BtnFileExit"}));
    EXPECT_EQ(Buttons(memo), (QStringList{"BtnOpen", "BtnSave", "BtnUndo", "BtnCut", "BtnCopy", "BtnPaste",
                                          "BtnDelete", "BtnSelectAll", "BtnSearch", "BtnSearchAgain",
                                          "BtnReplace"}));
    for (QToolBar* bar : {tv, memo}) {
        for (QAction* action : bar->actions()) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            if (!button)
                continue;
            SCOPED_TRACE(button->objectName().toStdString());
            EXPECT_EQ(button->defaultAction(), action);
            const QImage picture = Picture(button->icon());
            ASSERT_FALSE(picture.isNull());
            // A picture that is transparent all over shows nothing.
            bool visible = false;
            for (int y = 0; y < picture.height() && !visible; ++y)
                for (int x = 0; x < picture.width() && !visible; ++x)
                    visible = qAlpha(picture.pixel(x, y)) != 0;
            EXPECT_TRUE(visible);
        }
    }
}

TEST_F(WindowTest, EmptyTreeOffersOnlyTheCommandsThatNeedNoItems)
{
    auto window = MakeWindow();
    window->UpdateActions();
    for (const char* name : {"actFileNew", "actFileOpen", "actEditItemNew", "actFileExit", "actViewWordWrap",
                             "actViewFont", "actEditItemNewSub", "actEditItemMoveUp"})
        EXPECT_TRUE(IsEnabled(*window, name)) << name;
    for (const char* name : {"actFileSave", "actFileSaveAs", "actFileClose", "actFileExportTxt", "actFileExportIni",
                             "actFileExportMulti", "actFileOpenMemo", "actFileImport", "actEditItemDelete",
                             "actFileSaveMemo", "actSearchFind", "actSearchFindNext", "actSearchReplace"})
        EXPECT_FALSE(IsEnabled(*window, name)) << name;
}

TEST_F(WindowTest, SaveFollowsTheModifiedFlagAndTheOthersTheTree)
{
    auto window = MakeWindow();
    Run(*window, "actEditItemNew");
    window->UpdateActions();
    for (const char* name : {"actFileSave", "actFileSaveAs", "actFileClose", "actFileExportTxt", "actFileExportIni",
                             "actFileExportMulti", "actFileOpenMemo"})
        EXPECT_TRUE(IsEnabled(*window, name)) << name;
    EXPECT_FALSE(IsEnabled(*window, "actFileImport"));

    m_prompter->files = {Path("saved.trd")};
    Run(*window, "actFileSave");
    window->UpdateActions();
    EXPECT_FALSE(IsEnabled(*window, "actFileSave"));
    for (const char* name : {"actFileSaveAs", "actFileClose", "actFileExportTxt", "actFileOpenMemo"})
        EXPECT_TRUE(IsEnabled(*window, name)) << name;
}

TEST_F(WindowTest, ImportIsGreyedOutWhenItsMenuOpensAndNeverRuns)
{
    auto window = MakeWindow();
    window->TreeList().AddItem()->SetText(0, "A");
    QAction* import = window->Action(QStringLiteral("actFileImport"));
    import->setEnabled(true);
    auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("menuFile"));
    emit file->aboutToShow();
    EXPECT_FALSE(import->isEnabled());
    import->setEnabled(true);
    import->trigger();
    EXPECT_FALSE(import->isEnabled());
    EXPECT_FALSE(window->Modified());
    EXPECT_TRUE(m_prompter->dialogs.isEmpty());
}

TEST_F(WindowTest, DeleteFollowsTheSelection)
{
    auto window = MakeWindow();
    TTreeListTextNode* item = window->TreeList().AddItem();
    item->SetFocused();
    item->SetSelected(false);
    EXPECT_FALSE(IsEnabled(*window, "actEditItemDelete"));
    item->SetSelected(true);
    EXPECT_TRUE(IsEnabled(*window, "actEditItemDelete"));
    window->UpdateActions();
    EXPECT_TRUE(IsEnabled(*window, "actEditItemDelete"));
    item->SetSelected(false);
    EXPECT_FALSE(IsEnabled(*window, "actEditItemDelete"));
}

TEST_F(WindowTest, DescriptionCommandsFollowTheEditorsLines)
{
    auto window = MakeWindow();
    TTreeListTextNode* item = window->TreeList().AddItem();
    item->SetText(1, "hello");
    TTreeListTextNode* blank = window->TreeList().AddItem();
    blank->SetFocused();
    item->SetFocused();
    window->UpdateActions();
    // Find Next is offered from the first update on, although it starts disabled.
    for (const char* name : {"actFileSaveMemo", "actSearchFind", "actSearchFindNext", "actSearchReplace"})
        EXPECT_TRUE(IsEnabled(*window, name)) << name;
    blank->SetFocused();
    window->UpdateActions();
    for (const char* name : {"actFileSaveMemo", "actSearchFind", "actSearchFindNext", "actSearchReplace"})
        EXPECT_FALSE(IsEnabled(*window, name)) << name;
    EXPECT_TRUE(IsEnabled(*window, "actFileOpenMemo"));
}

// Keyboard focus needs a shown, active window.
class FocusedWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            GTEST_SKIP() << "the platform does not activate windows";
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }

    // False when the platform will not move the focus.
    bool Focus(QWidget* widget)
    {
        m_window->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        return QApplication::focusWidget() == widget;
    }
    // An item whose description is in the editor.
    TTreeListTextNode* AddDescribedItem(const char* description)
    {
        TTreeListTextNode* item = m_window->TreeList().AddItem();
        item->SetText(0, "A");
        item->SetText(1, description);
        item->SetFocused();
        m_window->TreeListChangeNode(item, item);
        return item;
    }
    void SelectInEditor(int start, int end)
    {
        QTextCursor cursor = m_window->Memo1()->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        m_window->Memo1()->setTextCursor(cursor);
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

TEST_F(FocusedWindowTest, StandardEditCommandsAreOffWhileTheTreeHasTheFocus)
{
    AddDescribedItem("some text");
    SelectInEditor(0, 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    if (!Focus(m_window->TreeListView()))
        GTEST_SKIP() << "the platform does not move the focus";
    m_window->UpdateActions();
    for (const char* name : StandardEditCommands)
        EXPECT_FALSE(IsEnabled(*m_window, name)) << name;
}

TEST_F(FocusedWindowTest, StandardEditCommandsFollowTheEditorWhileItHasTheFocus)
{
    AddDescribedItem("some text");
    if (!Focus(m_window->Memo1()))
        GTEST_SKIP() << "the platform does not move the focus";

    SelectInEditor(0, 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    m_window->UpdateActions();
    for (const char* name : {"actEditCut", "actEditCopy", "actEditDelete", "actEditPaste", "actEditSelectAll"})
        EXPECT_TRUE(IsEnabled(*m_window, name)) << name;
    EXPECT_FALSE(IsEnabled(*m_window, "actEditUndo"));

    SelectInEditor(2, 2);
    QGuiApplication::clipboard()->clear();
    m_window->UpdateActions();
    for (const char* name : {"actEditCut", "actEditCopy", "actEditDelete", "actEditPaste"})
        EXPECT_FALSE(IsEnabled(*m_window, name)) << name;
    EXPECT_TRUE(IsEnabled(*m_window, "actEditSelectAll"));

    m_window->Memo1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(m_window->Memo1(), QStringLiteral("!"));
    m_window->UpdateActions();
    EXPECT_TRUE(IsEnabled(*m_window, "actEditUndo"));

    // The commands act on the editor.
    SelectInEditor(0, 5);
    Run(*m_window, "actEditCut");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("some "));
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("text!"));
    Run(*m_window, "actEditPaste");
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("some text!"));
}

TEST_F(FocusedWindowTest, SearchShortcutsWorkOnlyWhileTheEditorHasLines)
{
    if (!Focus(m_window->TreeListView()))
        GTEST_SKIP() << "the platform does not move the focus";
    // Nothing in the editor: the keys do nothing.
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(m_window.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(m_window->FindDialog1()->isVisible());
    EXPECT_FALSE(m_window->ReplaceDialog1()->isVisible());

    // No idle time passes between filling the editor and the key: the key
    // itself brings the command up to date.
    AddDescribedItem("one two one");
    SelectInEditor(0, 0);
    m_window->FindDialog1()->SetFindText(QStringLiteral("two"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(m_window->Memo1()->textCursor().selectedText(), QStringLiteral("two"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(m_window->FindDialog1()->isVisible());
    Reactivate();
    QTest::keyClick(m_window.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(m_window->ReplaceDialog1()->isVisible());
    Reactivate();

    // Emptied again: F3 no longer searches.
    m_window->TreeList().AddItem()->SetFocused();
    SelectInEditor(0, 0);
    m_window->FindDialog1()->SetFindText(QStringLiteral("one"));
    QTest::keyClick(m_window.get(), Qt::Key_F3);
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(m_window->FindDialog1()->isVisible());
}

TEST_F(FocusedWindowTest, AltInsAddsAnItemAndAltDelDeletesOnlyASelection)
{
    if (!Focus(m_window->TreeListView()))
        GTEST_SKIP() << "the platform does not move the focus";
    QTest::keyClick(m_window.get(), Qt::Key_Insert, Qt::AltModifier);
    ASSERT_EQ(m_window->TreeList().TopItemCount(), 1);
    EXPECT_TRUE(m_window->Modified());
    // Leave the name editor the new item opened.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Reactivate();
    ASSERT_TRUE(Focus(m_window->TreeListView()));

    TTreeListTextNode* item = m_window->TreeList().TopItem(0);
    item->SetSelected(false);
    QTest::keyClick(m_window.get(), Qt::Key_Delete, Qt::AltModifier);
    EXPECT_TRUE(m_prompter->questions.isEmpty());
    EXPECT_EQ(m_window->TreeList().TopItemCount(), 1);

    item->SetSelected(true);
    m_prompter->answers = {QMessageBox::Ok};
    QTest::keyClick(m_window.get(), Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(m_prompter->questions, QStringList{QStringLiteral("Warning !|Delete selected nodes?")});
    EXPECT_EQ(m_window->TreeList().TopItemCount(), 0);
}

TEST_F(WindowTest, HoveringShowsTheLongHintInPanelZeroAndNoTooltip)
{
    auto window = MakeWindow();
    auto* memoBar = window->findChild<QToolBar*>(QStringLiteral("ToolBarMemo"));
    QWidget* save = memoBar->findChild<QWidget*>(QStringLiteral("BtnSave"));
    ASSERT_NE(save, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(save, &enter);
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Saves the selected item to a file."));

    TEventCounter tooltips(QEvent::ToolTip);
    save->installEventFilter(&tooltips);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), save->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(save, &tip);
    EXPECT_EQ(tooltips.count, 0);
    EXPECT_FALSE(QToolTip::isVisible());
    save->removeEventFilter(&tooltips);

    // The tree and its enclosing panes carry no hint.
    QApplication::sendEvent(window->TreeListView()->viewport(), &enter);
    EXPECT_EQ(window->StatusPanelText(0), QString());

    // The icon picker has a hint of its own.
    QApplication::sendEvent(window->IconComboBox(), &enter);
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Change Folder Icon for the Selected Item"));
}
