#include "app/window/mainwindow.h"

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

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The description pane follows the focused item whatever moved the focus:
// the user, a command, or the tree itself when it deletes or moves items.
class TDescriptionFollower : public TTreeListObserver {
public:
    explicit TDescriptionFollower(TfrmTreeViewEditorMain& window) : m_window(window) {}

    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override
    {
        TTreeListTextNode* shown = m_window.m_shownNode;
        if (!shown)
            return;
        for (int row = first; row <= last; ++row) {
            TTreeListTextNode* item = parent ? parent->Child(row) : m_window.m_tree.TopItem(row);
            if (item && shown->IsInside(item)) {
                m_window.m_shownNode = nullptr;
                m_window.m_descriptionDirty = false;
            }
        }
    }
    void AboutToReset() override
    {
        m_window.m_shownNode = nullptr;
        m_window.m_descriptionDirty = false;
    }
    void FocusChanged(TTreeListTextNode* item) override
    {
        if (!item || item != m_window.m_shownNode)
            m_window.RefreshDescription(item);
    }

private:
    TfrmTreeViewEditorMain& m_window;
};

TfrmTreeViewEditorMain::TfrmTreeViewEditorMain(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), m_arguments(std::move(arguments))
{
    setObjectName(QStringLiteral("frmTreeViewEditorMain"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    CreateComponents();
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateLayout();
    FormCreate();
}

TfrmTreeViewEditorMain::~TfrmTreeViewEditorMain()
{
    qApp->removeEventFilter(this);
    // The view observes the tree, which is a member and goes before the
    // window's child widgets would.
    delete m_treeView;
    m_treeView = nullptr;
    m_tree.RemoveObserver(m_follower.get());
    m_tree.OnChangeNode = nullptr;
    m_tree.OnSelectedCountChange = nullptr;
    m_tree.OnEdited = nullptr;
    m_tree.OnGetSelectedIndex = nullptr;
    m_tree.OnCommitEdits = nullptr;
}

void TfrmTreeViewEditorMain::CreateComponents()
{
    m_treeView = new TTreeListView(m_tree);
    m_treeView->setObjectName(QStringLiteral("TreeList"));
    m_treeView->Model()->SetIconProvider([](int index) { return ImageListTV().Icon(index); });
    m_treeView->SetDragCursor(DragCursor());
    m_treeView->OnDragOver = [this](QObject* source) { return TreeListDragOver(source); };
    m_treeView->OnDragDrop = [this](int x, int y) { Protected([&] { TreeListDragDrop(x, y); }); };

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
    m_commitTimer = new QTimer(this);
    m_commitTimer->setSingleShot(true);
    m_commitTimer->setInterval(400);
    connect(m_commitTimer, &QTimer::timeout, this, [this] { CommitDescription(); });
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] { Protected([this] { Memo1Change(); }); });

    m_iconComboBox = new TIconComboBox;
    m_iconComboBox->setStatusTip(QStringLiteral("Change Folder Icon for the Selected Item"));
    connect(m_iconComboBox, &QComboBox::currentTextChanged, this,
            [this] { Protected([this] { IconComboBoxChange(); }); });

    m_findDialog = new TFindDialog(this);
    m_findDialog->setObjectName(QStringLiteral("FindDialog1"));
    connect(m_findDialog, &TFindDialog::FindNext, this, [this] { Protected([this] { FindDialog1Find(); }); });
    m_replaceDialog = new TReplaceDialog(this);
    m_replaceDialog->setObjectName(QStringLiteral("ReplaceDialog1"));
    connect(m_replaceDialog, &TReplaceDialog::FindNext, this,
            [this] { Protected([this] { ReplaceDialog1Find(); }); });
    connect(m_replaceDialog, &TReplaceDialog::Replace, this,
            [this] { Protected([this] { ReplaceDialog1Replace(false); }); });
    connect(m_replaceDialog, &TReplaceDialog::ReplaceAll, this,
            [this] { Protected([this] { ReplaceDialog1Replace(true); }); });
    m_fontDialog = std::make_unique<TFontDialog>();
    m_fontDialog->setObjectName(QStringLiteral("FontDialog1"));
    m_fontDialog->OnApply = [this] { FontDialog1Apply(); };

    m_tree.OnChangeNode = [this](TTreeList&, TTreeListTextNode* oldNode, TTreeListTextNode* node) {
        TreeListChangeNode(oldNode, node);
    };
    m_tree.OnSelectedCountChange = [this](TTreeList&) { TreeListSelectedCountChange(); };
    m_tree.OnEdited = [this](TTreeList&, TTreeListTextNode* node, bool changed) { TreeListEdited(node, changed); };
    // A focused item shows the same icon as an unfocused one, and the file
    // stores the image index as the selected index.
    m_tree.OnGetSelectedIndex = [](TTreeList&, TTreeListTextNode* node, int32_t& index) {
        index = node->ImageIndex();
    };
    // Whatever reads the tree (saving, exporting) first gets the editor's text.
    m_tree.OnCommitEdits = [this](const TTreeList&) { CommitDescription(); };
    m_follower = std::make_unique<TDescriptionFollower>(*this);
    m_tree.AddObserver(m_follower.get());
}

void TfrmTreeViewEditorMain::CreateLayout()
{
    m_pnlTreeViewHeader = new QFrame;
    m_pnlTreeViewHeader->setObjectName(QStringLiteral("pnlTreeViewHeader"));
    static_cast<QFrame*>(m_pnlTreeViewHeader)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pnlTreeViewHeader->setFixedHeight(26);
    auto* headerLayout = new QHBoxLayout(m_pnlTreeViewHeader);
    headerLayout->setContentsMargins(2, 2, 2, 2);
    auto* headerCaption = new QLabel(QStringLiteral(" Folders"));
    headerLayout->addWidget(headerCaption, 1);
    m_btnTreeViewHeader = new QToolButton;
    m_btnTreeViewHeader->setObjectName(QStringLiteral("BtnTreeViewHeader"));
    m_btnTreeViewHeader->setAutoRaise(true);
    m_btnTreeViewHeader->setFixedSize(20, 17);
    m_btnTreeViewHeader->setText(QStringLiteral("\u00D7"));
    headerLayout->addWidget(m_btnTreeViewHeader);

    m_pnlLeft = new QWidget;
    m_pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    auto* leftLayout = new QVBoxLayout(m_pnlLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(m_pnlTreeViewHeader);
    leftLayout->addWidget(m_treeView, 1);
    m_treeView->setFrameShape(QFrame::NoFrame);
    m_treeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_treeView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_popupMenuTV->popup(m_treeView->viewport()->mapToGlobal(pos));
    });

    m_pnlRight = new QWidget;
    m_pnlRight->setObjectName(QStringLiteral("pnlRight"));
    auto* rightLayout = new QVBoxLayout(m_pnlRight);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(m_toolBarMemo);
    rightLayout->addWidget(m_memo, 1);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(9);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_pnlLeft);
    m_splitter->addWidget(m_pnlRight);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({145, 288});
    setCentralWidget(m_splitter);

    QStatusBar* statusBar1 = statusBar();
    statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusBar1->setSizeGripEnabled(true);
    const int widths[3] = {300, 50, 50};
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel;
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Wide enough for "Modified" in the desktop's font, which may be
        // larger than the font the widths were chosen for.
        m_statusPanels[i]->setFixedWidth(
            std::max(widths[i], m_statusPanels[i]->fontMetrics().horizontalAdvance(QStringLiteral("Modified")) + 12));
        statusBar1->addWidget(m_statusPanels[i]);
    }
    resize(442, 319);
}

void TfrmTreeViewEditorMain::FormCreate()
{
    qApp->installEventFilter(this);
    if (m_iconComboBox->currentText().isEmpty())
        m_iconComboBox->setEditText(QStringLiteral("0"));
    m_tree.ClearItems();
    ClearDescription();
    FModified = false;
    m_miUNVISIBLE->menuAction()->setVisible(false);
    UpdateTitle(FModified);
    TreeListSelectedCountChange();
    ClipboardChanged();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    // Commands are brought up to date whenever the event loop is about to wait.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { UpdateActions(); });
    UpdateActions();
}

void TfrmTreeViewEditorMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_treeView->setFocus();
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Protected([this] { FormShow(); });
}

void TfrmTreeViewEditorMain::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    Protected([&] { canClose = FormCloseQuery(); });
    if (canClose) {
        m_findDialog->hide();
        m_replaceDialog->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmTreeViewEditorMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        TreeListSelectedCountChange();
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
    if (watched == m_memo && event->type() == QEvent::FocusIn)
        Memo1Enter();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this) {
        if (event->type() == QEvent::ToolTip)
            return true;  // the window shows hints in the status bar only
        // Qt ignores the shortcut of a disabled action, so a pressed shortcut
        // must find its command up to date before the shortcut map looks.
        if (event->type() == QEvent::ShortcutOverride)
            UpdateActions();
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

QAction* TfrmTreeViewEditorMain::Action(const QString& name) const
{
    if (QAction* action = m_actionListTV->Find(name))
        return action;
    return m_actionListMemo->Find(name);
}

void TfrmTreeViewEditorMain::MarkModified()
{
    FModified = true;
    UpdateTitle(true);
}

void TfrmTreeViewEditorMain::RememberFolder(const QString& path)
{
    m_lastFolder = QFileInfo(path).absolutePath();
}
