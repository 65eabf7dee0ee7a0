#include "app/window/gotoitempopup.h"

#include "app/search/gotosearch.h"
#include "app/widgets/imagelists.h"
#include "app/window/application.h"
#include "app/window/navigator.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int ItemRole = Qt::UserRole;
}

TGoToItemPopup::TGoToItemPopup(TTreeList& tree, QWidget* parent)
    : QFrame(parent, Qt::Popup),
      m_search(new TGoToSearch(tree, WindowGuard(), this)),
      m_text(new QLineEdit),
      m_list(new QTreeWidget),
      m_count(new QLabel)
{
    setObjectName(QStringLiteral("GoToItemPopup"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_text->setObjectName(QStringLiteral("GoToItemText"));
    m_text->setPlaceholderText(tr("Name of the item"));
    m_text->setAccessibleName(tr("Go to Item"));
    m_list->setObjectName(QStringLiteral("GoToItemList"));
    m_list->setAccessibleName(tr("Matching items"));
    m_list->setColumnCount(2);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_count->setObjectName(QStringLiteral("GoToItemCount"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_text);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);
    m_text->installEventFilter(this);
    ConnectGuarded(m_text, &QLineEdit::textChanged, m_search, &TGoToSearch::Start);
    ConnectGuarded(m_search, &TGoToSearch::Changed, this, &TGoToItemPopup::Fill);
    ConnectGuarded(m_list, &QTreeWidget::itemActivated, this, &TGoToItemPopup::Choose);
}

TGoToItemPopup::~TGoToItemPopup() = default;

void TGoToItemPopup::Popup(QWidget* over)
{
    // Centred over the window, below its menus, and never wider than it.
    const int width = std::min(std::max(over->width() * 2 / 3, 360), over->width());
    resize(width, std::max(over->height() / 2, 260));
    move(over->mapToGlobal(QPoint((over->width() - width) / 2, over->height() / 8)));
    m_search->Start(m_text->text());
    show();
    m_text->setFocus();
    m_text->selectAll();
}

void TGoToItemPopup::Fill()
{
    const std::vector<TGoToEntry>& results = m_search->Results();
    m_list->clear();
    for (const TGoToEntry& entry : results) {
        const QStringList path = ItemPath(entry.item);
        auto* row = new QTreeWidgetItem(m_list, {path.back(), path.mid(0, path.size() - 1).join(PathSeparator())});
        row->setIcon(0, ImageListTV().Icon(entry.item->ImageIndex()));
        row->setData(0, ItemRole, QVariant::fromValue(static_cast<void*>(entry.item)));
        row->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    const auto count = static_cast<int>(m_search->MatchCount());
    m_count->setText(m_search->Running() ? tr("%n matches so far", nullptr, count) : tr("%n matches", nullptr, count));
}

void TGoToItemPopup::Choose()
{
    QTreeWidgetItem* row = m_list->currentItem();
    if (!row)
        return;
    auto* item = static_cast<TTreeListTextNode*>(row->data(0, ItemRole).value<void*>());
    hide();
    emit Chosen(item);
}

bool TGoToItemPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_list, event);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            RunGuarded([this] { Choose(); });
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}
