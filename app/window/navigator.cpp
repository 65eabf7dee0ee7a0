#include "app/window/navigator.h"

#include "app/view/itemtext.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistview.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"
#include "app/window/gotoitempopup.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {
const QString Gap = QStringLiteral("\u2026");
constexpr int PathPanelChars = 120;
}  // namespace

QString ShortenedPath(const QStringList& names, int maxChars)
{
    QString whole = names.join(PathSeparator());
    if (whole.size() <= maxChars || names.size() < 3)
        return whole;
    // Drop names from the middle outwards, the deeper half last: the end of
    // the path says where the item is, its start which branch it is in.
    QStringList head = names.mid(0, 1);
    QStringList tail = names.mid(1);
    while (tail.size() > 1) {
        tail.removeFirst();
        const QString text = (head + QStringList{Gap} + tail).join(PathSeparator());
        if (text.size() <= maxChars)
            return text;
    }
    return (head + QStringList{Gap} + tail).join(PathSeparator());
}

TNavigator::TNavigator(QWidget& window, TTreeList& tree, TTreeListView& treeView, TCommandTable& commands)
    : m_window(window), m_tree(tree), m_treeView(treeView), m_commands(commands), m_pathPanel(new QLabel(&window))
{
    m_pathPanel->setObjectName(QStringLiteral("PathPanel"));
    m_pathPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pathPanel->setTextFormat(Qt::PlainText);
    m_pathPanel->setAccessibleDescription(tr("Path of the focused item"));
    // A long path is cut by the panel, never widening the window.
    m_pathPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_tree.AddObserver(this);
    m_lastFocused = m_tree.FocusedItem();
    // The mouse's back and forward buttons, wherever they are pressed in the window.
    qApp->installEventFilter(this);
}

TNavigator::~TNavigator()
{
    // Its search watches the tree, which goes before the window's children.
    delete m_goToItem;
    m_tree.RemoveObserver(this);
}

void TNavigator::actGoBackExecute()
{
    Go(m_history.Back(m_tree.FocusedItem()));
}

void TNavigator::actGoForwardExecute()
{
    Go(m_history.Forward());
}

void TNavigator::actGoToItemExecute()
{
    if (!m_goToItem) {
        m_goToItem = new TGoToItemPopup(m_tree, &m_window);
        ConnectGuarded(m_goToItem, &TGoToItemPopup::Chosen, this, &TNavigator::GoToItemChosen);
    }
    m_goToItem->Popup(&m_window);
}

void TNavigator::GoToItemChosen(TTreeListTextNode* item)
{
    JumpTo(item);
    m_treeView.setFocus();
}

void TNavigator::Go(TTreeListTextNode* item)
{
    if (!item)
        return;
    m_going = true;
    JumpTo(item);
    m_going = false;
}

void TNavigator::JumpTo(TTreeListTextNode* item)
{
    m_jump = true;
    item->MakeVisible();
    m_tree.ClearSelection();
    item->SetSelected(true);
    item->SetFocused();
    m_jump = false;
    m_treeView.ScrollIntoView(item);
}

void TNavigator::NextFocusIsJump()
{
    m_jump = true;
    // A jump to the item already focused moves nothing; the mark must not
    // outlive it and turn a later arrow step into a place.
    QTimer::singleShot(0, this, [this] { m_jump = false; });
}

void TNavigator::FocusChanged(TTreeListTextNode* node)
{
    TTreeListTextNode* oldNode = m_lastFocused;
    m_lastFocused = node;
    const bool jump = m_jump;
    m_jump = false;
    ShowPath();
    if (m_going || !node)
        return;
    // A step to the next row shown, also under the tree's filter.
    const TTreeListLayout& layout = m_treeView.Layout();
    const bool step = oldNode && (m_tree.NextVisible(oldNode) == node || m_tree.PrevVisible(oldNode) == node ||
                                  layout.NextRow(oldNode) == node || layout.PreviousRow(oldNode) == node);
    if (jump || (oldNode && !step && m_commandsRunning == 0))
        m_history.Visit(oldNode, node);
}

void TNavigator::ShowPath()
{
    const QString text = ShortenedPath(ItemPath(m_tree.FocusedItem()), PathPanelChars);
    if (m_pathPanel->text() != text)
        m_pathPanel->setText(text);
}

void TNavigator::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        TTreeListTextNode* item = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (!item)
            continue;
        m_history.Forget(item);
        if (m_lastFocused && m_lastFocused->IsInside(item))
            m_lastFocused = nullptr;
    }
}

void TNavigator::AboutToReset()
{
    m_history.Clear();
    m_lastFocused = nullptr;
}

void TNavigator::ResetDone()
{
    m_lastFocused = m_tree.FocusedItem();
    ShowPath();
}

void TNavigator::ItemChanged(TTreeListTextNode* item)
{
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    if (focused && focused->IsInside(item))
        ShowPath();
}

bool TNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (widget && widget->window() == &m_window && (button == Qt::BackButton || button == Qt::ForwardButton)) {
            m_commands.Execute(m_commands.Action(button == Qt::BackButton ? TActionId::actGoBack
                                                                          : TActionId::actGoForward));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
