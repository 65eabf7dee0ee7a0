#include "app/window/mainwindow.h"

#include "app/about/helpcommands.h"
#include "app/droptarget/dropfiletarget.h"
#include "app/panes/collapsesplitter.h"
#include "app/panes/collapsetoolbar.h"
#include "app/settingsbinding/formstoragehook.h"
#include "app/settingsbinding/widgetproperties.h"
#include "app/spelling/personalwords.h"
#include "app/spelling/spellchecker.h"
#include "app/spelling/spelldictionary.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"
#include "app/widgets/cursors.h"
#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/iconcombobox.h"
#include "app/widgets/imagelists.h"
#include "app/widgets/replacedialog.h"
#include "app/window/actionlist.h"
#include "app/window/actiontable.h"
#include "app/window/application.h"
#include "app/window/autosave.h"
#include "app/window/commandtable.h"
#include "app/window/descriptionedit.h"
#include "app/window/descriptionlinks.h"
#include "app/window/descriptionpane.h"
#include "app/window/descriptionspelling.h"
#include "app/window/documentsession.h"
#include "app/window/editcommands.h"
#include "app/window/editorlayers.h"
#include "app/window/exportcommands.h"
#include "app/window/filedialogs.h"
#include "app/window/filedropimport.h"
#include "app/window/findallcontroller.h"
#include "app/window/linksherecontroller.h"
#include "app/window/importcommands.h"
#include "app/window/itemcommands.h"
#include "app/window/menubuilder.h"
#include "app/search/findallpane.h"
#include "app/window/navigator.h"
#include "app/window/subtreefocus.h"
#include "app/window/treefilter.h"
#include "app/window/optionsdialog.h"
#include "app/window/panecycler.h"
#include "app/window/recoverymanager.h"
#include "app/window/themecommands.h"
#include "app/window/treelistevents.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
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

namespace {
// The spelling choices live apart from the window's own entries.
const QString SpellingSection = QStringLiteral("Spelling");

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

// What each status bar panel tells, for a reader.
const char* const StatusPanelPurposes[3] = {
    QT_TRANSLATE_NOOP("TfrmTreeViewEditorMain", "Messages"),
    QT_TRANSLATE_NOOP("TfrmTreeViewEditorMain", "Unsaved changes"),
    QT_TRANSLATE_NOOP("TfrmTreeViewEditorMain", "Status"),
};
}  // namespace

TfrmTreeViewEditorMain::TfrmTreeViewEditorMain(QStringList arguments, const QString& recoveryFolder, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmTreeViewEditorMain"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    CreateComponents();

    m_fileDialogs = std::make_unique<TFileDialogs>(this);
    m_treeEvents = std::make_unique<TTreeListEvents>(m_tree);
    QString recoverCopy = TRecoveryManager::TakeRecoverOption(arguments);
    m_session = std::make_unique<TDocumentSession>(m_tree, *m_fileDialogs, *this, *m_statusPanels[1],
                                                   std::move(arguments));
    m_editCommands = std::make_unique<TEditCommands>();
    m_descriptionPane = std::make_unique<TDescriptionPane>(m_tree, *m_treeEvents, *m_memo, *m_session, *m_fileDialogs,
                                                           *m_findDialog, *m_replaceDialog, *m_fontDialog);
    m_itemCommands = std::make_unique<TItemCommands>(m_tree, *m_treeEvents, *m_treeView, *m_iconComboBox, *m_session,
                                                     *m_descriptionPane);
    m_editorLayers = std::make_unique<TEditorLayers>(*m_memo);
    m_descriptionLinks =
        std::make_unique<TDescriptionLinks>(m_tree, *m_memo, *m_editorLayers, *m_statusPanels[0], *m_itemCommands);
    m_spellChecker = std::make_unique<TSpellChecker>(TSpellDictionary::Installed(), TPersonalWords::DefaultPath());
    m_descriptionSpelling =
        std::make_unique<TDescriptionSpelling>(*m_memo, *m_editorLayers, *m_descriptionLinks, *m_spellChecker, *m_session);
    m_exportCommands = std::make_unique<TExportCommands>(m_tree, *m_treeView, *m_fileDialogs, *m_memo, *m_session);
    m_importCommands = std::make_unique<TImportCommands>(m_tree, *m_fileDialogs, *m_session);
    m_fileDropImport = std::make_unique<TFileDropImport>(m_tree, *m_iconComboBox, *m_session, *m_descriptionPane,
                                                         *this, *m_dropFileOnTreeList, *m_dropFileOnMemo);
    m_findAll = std::make_unique<TFindAllController>(*this, m_tree, *m_treeView, *m_memo);
    m_themeCommands = std::make_unique<TThemeCommands>();
    m_linksHere = std::make_unique<TLinksHereController>(*this, m_tree, *m_memo);
    m_commands = std::make_unique<TCommandTable>(m_tree, *m_session, *m_descriptionPane, *m_editCommands, *m_treeEvents);
    connect(m_session.get(), &TDocumentSession::LoadProgress, m_statusPanels[0], &QLabel::setText);
    m_navigator = std::make_unique<TNavigator>(*this, m_tree, *m_treeView, *m_commands);
    m_subtreeFocus = std::make_unique<TSubtreeFocus>(m_tree, *m_treeView, *m_session);
    m_fileDropImport->FollowSubtree(*m_subtreeFocus);
    m_treeFilter = std::make_unique<TTreeFilter>(m_tree, *m_treeView);
    connect(m_findAll.get(), &TFindAllController::Jumping, m_navigator.get(), &TNavigator::NextFocusIsJump);
    connect(m_descriptionLinks.get(), &TDescriptionLinks::Jumping, m_navigator.get(), &TNavigator::NextFocusIsJump);

    m_commands->Build(this,
                      {{this, m_session.get(), m_itemCommands.get(), m_descriptionPane.get(), m_exportCommands.get(),
                        m_importCommands.get(), m_findAll.get(), m_editCommands.get(), m_themeCommands.get(),
                        m_navigator.get(), m_linksHere.get(),
                        m_descriptionSpelling.get(), m_subtreeFocus.get(), m_treeFilter.get()}},
                      ActionListTVTable(), ActionListMemoTable());
    BindTreeKeys(*m_commands, *this, *m_treeView);
    m_themeCommands->Bind(*m_commands);
    auto* panes = new TPaneCycler(*this);
    panes->AddPane(m_treeView.get(), m_treeView.get());
    panes->AddPane(m_memo, m_memo);
    panes->AddPane(&m_findAll->Pane(), m_findAll->Pane().FindText());
    m_descriptionSpelling->AttachActions(m_commands->Action(TActionId::actViewCheckSpelling),
                                         m_commands->Action(TActionId::actViewSpellingLanguage));
    QMenu* popupMenuTV = BuildMenus(*this, *m_commands);
    BuildRecentMenu(*this, *m_commands, *m_session);
    connect(m_treeView.get(), &QWidget::customContextMenuRequested, this, [this, popupMenuTV](const QPoint& pos) {
        popupMenuTV->popup(m_treeView->viewport()->mapToGlobal(pos));
    });
    m_toolBarTV = BuildToolBarTV(*m_commands, m_iconComboBox);
    addToolBar(Qt::TopToolBarArea, m_toolBarTV);
    m_toolBarMemo = BuildToolBarMemo(*m_commands);
    CreateLayout();
    CreateFormStorage();
    FormCreate();
    m_recovery = std::make_unique<TRecoveryManager>(m_tree, *m_session, *this, *statusBar(), recoveryFolder,
                                                    std::move(recoverCopy));
    m_autoSave = std::make_unique<TAutoSave>(*m_session, *m_treeView);
    const TEditorOptions options = TEditorOptions::Read();
    m_autoSave->SetOptions(options.AutoSave, options.AutoSaveSeconds);
    connect(m_autoSave.get(), &TAutoSave::Status, m_statusPanels[0], &QLabel::setText);
}

// The members' order is the teardown's: the settings store saves first,
// while everything is whole, and the view goes before the tree.
TfrmTreeViewEditorMain::~TfrmTreeViewEditorMain() = default;

void TfrmTreeViewEditorMain::actFileExitExecute()
{
    close();
}

void TfrmTreeViewEditorMain::actHelpAboutExecute(const QAction* sender)
{
    ::actHelpAboutExecute(TActionList::Tag(sender), this);
}

void TfrmTreeViewEditorMain::actViewOptionsExecute()
{
    TOptionsDialog dialog(TEditorOptions::Read(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TEditorOptions options = dialog.Options();
    options.Write();
    m_autoSave->SetOptions(options.AutoSave, options.AutoSaveSeconds);
}

void TfrmTreeViewEditorMain::CreateComponents()
{
    m_treeView = std::make_unique<TTreeListView>(m_tree);
    m_treeView->setObjectName(QStringLiteral("TreeList"));
    m_treeView->Model()->SetIconProvider([](int index) { return ImageListTV().Icon(index); });
    m_treeView->SetDragCursor(DragCursor());

    // Its copies carry the secret mark while the document is protected.
    m_memo = new TDescriptionEdit([this] { return m_session && m_session->Protected(); });
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(tr("Description"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    m_memo->setFont(font);
    m_memo->setTabChangesFocus(false);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_iconComboBox = new TIconComboBox;
    m_iconComboBox->setStatusTip(tr("Change Folder Icon for the Selected Item"));

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
        // A reader hears a panel's text as its name, and this as what it is for.
        m_statusPanels[i]->setAccessibleDescription(tr(StatusPanelPurposes[i]));
        // Wide enough for "Modified" in the desktop's font, which may be
        // larger than the font the widths were chosen for.
        m_statusPanels[i]->setFixedWidth(
            std::max(widths[i], m_statusPanels[i]->fontMetrics().horizontalAdvance(tr("Modified")) + 12));
    }
}

void TfrmTreeViewEditorMain::CreateLayout()
{
    auto* pnlTreeViewHeader = new QFrame;
    pnlTreeViewHeader->setObjectName(QStringLiteral("pnlTreeViewHeader"));
    pnlTreeViewHeader->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlTreeViewHeader->setFixedHeight(26);
    auto* headerLayout = new QHBoxLayout(pnlTreeViewHeader);
    headerLayout->setContentsMargins(2, 2, 2, 2);
    headerLayout->addWidget(new QLabel(tr(" Folders")), 1);
    auto* btnTreeViewHeader = new QToolButton;
    btnTreeViewHeader->setObjectName(QStringLiteral("BtnTreeViewHeader"));
    btnTreeViewHeader->setAutoRaise(true);
    btnTreeViewHeader->setFixedSize(20, 17);
    btnTreeViewHeader->setText(QStringLiteral("\u00D7"));
    btnTreeViewHeader->setAccessibleName(tr("Close Folders"));
    btnTreeViewHeader->setToolTip(tr("Close Folders"));
    headerLayout->addWidget(btnTreeViewHeader);
    ConnectGuarded(btnTreeViewHeader, &QToolButton::clicked, this, &TfrmTreeViewEditorMain::BtnTreeViewHeaderClick);

    m_treeView->setFrameShape(QFrame::NoFrame);
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);

    m_splitter = new TCollapseSplitter;
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(9);
    m_splitter->SetMinSize(1);
    m_splitter->SetButtonWidth(30);
    QWidget* treeSide = SplitterSide("pnlLeft", pnlTreeViewHeader, m_treeView.get());
    static_cast<QBoxLayout*>(treeSide->layout())->insertWidget(1, m_subtreeFocus->PathBar());
    static_cast<QBoxLayout*>(treeSide->layout())->insertWidget(2, m_treeFilter->Bar());
    m_splitter->addWidget(treeSide);
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
    protection->setAccessibleDescription(tr("Password protection"));
    statusBar1->addWidget(protection);
    m_session->SetProtectionPanel(protection);
    statusBar1->addWidget(m_treeFilter->CountPanel());
    statusBar1->addWidget(m_navigator->PathPanel(), 1);
    resize(442, 319);
}

void TfrmTreeViewEditorMain::CreateFormStorage()
{
    // It restores at each show before showEvent opens the command-line
    // document, and saves once the close query has let the window close.
    m_formStorage1 = std::make_unique<TFormStorageHook>(*this, WindowGuard());
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
    storage.AddSectionValue(TThemeCommands::Section, TThemeCommands::ValueName, m_themeCommands->StoredTheme());
    TDescriptionSpelling& spelling = *m_descriptionSpelling;
    storage.AddSectionValue(SpellingSection, "CheckSpelling",
                            BooleanProperty([&spelling] { return spelling.Wanted(); },
                                            [&spelling](bool on) { spelling.SetChecking(on); }));
    storage.AddSectionValue(SpellingSection, "Language",
                            TextProperty([&spelling] { return spelling.Language(); },
                                         [&spelling](const QString& language) { spelling.SetLanguage(language); }));
}

void TfrmTreeViewEditorMain::FormCreate()
{
    qApp->installEventFilter(this);
    if (m_iconComboBox->currentText().isEmpty())
        m_iconComboBox->setEditText(QStringLiteral("0"));
    m_session->CloseDocument();
    m_dropFileOnTreeList->AttachTo(m_treeView.get());
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
    RunGuarded([&] { recovered = m_recovery->OfferCopies(); });
    if (!recovered)
        RunGuarded([this] { m_session->FormShowInBackground(); });
}

void TfrmTreeViewEditorMain::closeEvent(QCloseEvent* event)
{
    // A close query that fails (a save that went wrong) keeps the window open.
    bool canClose = false;
    RunGuarded([&] { canClose = m_session->FormCloseQuery(); });
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
        RunGuarded([this] { m_commands->TreeListSelectedCountChange(); });
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
            RunGuarded([this] { m_commands->UpdateActions(); });
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
