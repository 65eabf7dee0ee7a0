#include "app/view/treelistaccessible.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "app/view/treelistaccessiblerow.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"

namespace {

// Off screen, the rows a reader asked for last are kept, so that the
// questions it asks one after the other about a row find the same one.
constexpr size_t KeptAsked = 64;

TTreeListAccessible::TAnnouncer* g_announcer = nullptr;

// Whether the item has a row, the filter's choice included.
bool Shown(const TTreeListLayout& layout, const TTreeListTextNode* item)
{
    if (!item || !layout.Shown(item))
        return false;
    for (const TTreeListTextNode* p = item->Parent(); p; p = p->Parent())
        if (!layout.IsOpen(p))
            return false;
    return true;
}

} // namespace

TTreeListAccessible::TTreeListAccessible(TTreeListView* view)
    : QAccessibleWidget(view, QAccessible::Tree), m_tree(&view->Tree())
{
    view->m_accessible = this;
    m_tree->AddObserver(this);
}

TTreeListAccessible::~TTreeListAccessible()
{
    // Without a detach first, Qt lets go of its interfaces before the view.
    if (m_tree) {
        View()->m_accessible = nullptr;
        m_tree->RemoveObserver(this);
    }
    ForgetAll();
}

QAccessibleInterface* TTreeListAccessible::Create(const QString& /*className*/, QObject* object)
{
    if (auto* view = qobject_cast<TTreeListView*>(object))
        return new TTreeListAccessible(view);
    return nullptr;
}

void TTreeListAccessible::InstallFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TTreeListAccessible::Create);
        return true;
    }();
    Q_UNUSED(installed);
}

void TTreeListAccessible::Detach()
{
    if (!m_tree)
        return;
    m_tree->RemoveObserver(this);
    m_tree = nullptr;
    ForgetAll();
}

TTreeListView* TTreeListAccessible::View() const
{
    return static_cast<TTreeListView*>(widget());
}

void TTreeListAccessible::SetAnnouncer(TAnnouncer* announcer)
{
    g_announcer = announcer;
}

bool TTreeListAccessible::Announcing() const
{
    return m_tree && (g_announcer || QAccessible::isActive()) && isValid();
}

void TTreeListAccessible::Send(QAccessibleEvent& event)
{
    if (g_announcer)
        g_announcer->Announce(event);
    else
        QAccessible::updateAccessibility(&event);
}

void* TTreeListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TTreeListAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = true;
    state.extSelectable = true;
    return state;
}

QString TTreeListAccessible::text(QAccessible::Text type) const
{
    QString text = QAccessibleWidget::text(type);
    if (type == QAccessible::Name && text.isEmpty())
        text = QCoreApplication::translate("TTreeListAccessible", "Items");
    return text;
}

int TTreeListAccessible::RowIndexOf(const TTreeListTextNode* item) const
{
    return m_tree ? View()->Layout().RowOf(item) : -1;
}

QAccessibleInterface* TTreeListAccessible::RowOf(TTreeListTextNode* item) const
{
    if (!m_tree || !Shown(View()->Layout(), item))
        return nullptr;
    const auto found = m_rows.find(item);
    if (found != m_rows.end()) {
        if (QAccessibleInterface* row = QAccessible::accessibleInterface(found->second.id)) {
            found->second.asked = ++m_asked;
            return row;
        }
        m_rows.erase(found);
    }
    auto* row = new TTreeListAccessibleRow(const_cast<TTreeListAccessible&>(*this), *item);
    TRowEntry entry;
    entry.id = QAccessible::registerAccessibleInterface(row);
    entry.selected = item->Selected();
    entry.expanded = item->Expanded();
    entry.name = row->text(QAccessible::Name);
    entry.asked = ++m_asked;
    m_rows.emplace(item, entry);
    SchedulePrune();
    return row;
}

void TTreeListAccessible::SchedulePrune() const
{
    if (m_prunePending || m_rows.size() <= 2 * KeptAsked)
        return;
    m_prunePending = true;
    // Not now: whoever asked may hold several rows it was just given.
    QTimer::singleShot(0, View(), [this] {
        m_prunePending = false;
        Prune();
    });
}

void TTreeListAccessible::Prune() const
{
    if (!m_tree)
        return;
    TTreeListView* view = View();
    std::vector<const TTreeListTextNode*> keep{m_tree->FocusedItem()};
    const int height = view->viewport()->height();
    TTreeListTextNode* item = view->Model()->ItemOf(view->indexAt(QPoint(0, 0)));
    for (; item && view->visualRect(view->Model()->IndexOf(item)).top() < height; item = view->Layout().NextRow(item))
        keep.push_back(item);
    std::vector<std::pair<unsigned long long, TTreeListTextNode*>> others;
    for (const auto& [rowItem, entry] : m_rows)
        if (std::find(keep.begin(), keep.end(), rowItem) == keep.end())
            others.emplace_back(entry.asked, rowItem);
    if (others.size() <= KeptAsked)
        return;
    std::sort(others.begin(), others.end());
    others.resize(others.size() - KeptAsked);
    for (const auto& other : others)
        Forget(other.second);
}

void TTreeListAccessible::Forget(TTreeListTextNode* item) const
{
    const auto found = m_rows.find(item);
    if (found == m_rows.end())
        return;
    const QAccessible::Id id = found->second.id;
    m_rows.erase(found);
    if (QAccessible::accessibleInterface(id))
        QAccessible::deleteAccessibleInterface(id);
}

void TTreeListAccessible::ForgetAll() const
{
    const auto rows = std::move(m_rows);
    m_rows.clear();
    for (const auto& [item, entry] : rows)
        if (QAccessible::accessibleInterface(entry.id))
            QAccessible::deleteAccessibleInterface(entry.id);
}

int TTreeListAccessible::childCount() const
{
    return rowCount();
}

int TTreeListAccessible::rowCount() const
{
    return m_tree ? View()->Layout().RowCount() : 0;
}

QAccessibleInterface* TTreeListAccessible::child(int index) const
{
    return m_tree ? RowOf(View()->Layout().ItemAtRow(index)) : nullptr;
}

QAccessibleInterface* TTreeListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

int TTreeListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->role() != QAccessible::TreeItem || child->parent() != this)
        return -1;
    return RowIndexOf(&static_cast<const TTreeListAccessibleRow*>(child)->Item());
}

QAccessibleInterface* TTreeListAccessible::childAt(int x, int y) const
{
    if (!m_tree)
        return nullptr;
    TTreeListView* view = View();
    const QPoint point = view->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view->viewport()->rect().contains(point))
        return nullptr;
    return RowOf(view->Model()->ItemOf(view->indexAt(point)));
}

QAccessibleInterface* TTreeListAccessible::focusChild() const
{
    if (!m_tree || !View()->hasFocus())
        return nullptr;
    return RowOf(m_tree->FocusedItem());
}

int TTreeListAccessible::selectedCellCount() const
{
    int count = 0;
    for (int i = 0; m_tree && i < m_tree->SelectedCount(); ++i)
        count += Shown(View()->Layout(), m_tree->SelectedItem(i)) ? 1 : 0;
    return count;
}

QList<QAccessibleInterface*> TTreeListAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int i = 0; m_tree && i < m_tree->SelectedCount(); ++i)
        if (QAccessibleInterface* row = RowOf(m_tree->SelectedItem(i)))
            cells.append(row);
    return cells;
}

QList<int> TTreeListAccessible::selectedRows() const
{
    QList<int> rows;
    for (int i = 0; m_tree && i < m_tree->SelectedCount(); ++i)
        if (const int row = RowIndexOf(m_tree->SelectedItem(i)); row >= 0)
            rows.append(row);
    return rows;
}

QString TTreeListAccessible::columnDescription(int column) const
{
    return column == 0 ? QCoreApplication::translate("TTreeListAccessible", "Name") : QString();
}

bool TTreeListAccessible::isRowSelected(int row) const
{
    const TTreeListTextNode* item = m_tree ? View()->Layout().ItemAtRow(row) : nullptr;
    return item && item->Selected();
}

bool TTreeListAccessible::selectRow(int row)
{
    return SelectRow(row, QItemSelectionModel::Select);
}

bool TTreeListAccessible::unselectRow(int row)
{
    return SelectRow(row, QItemSelectionModel::Deselect);
}

bool TTreeListAccessible::SelectRow(int row, QItemSelectionModel::SelectionFlags command)
{
    TTreeListTextNode* item = m_tree ? View()->Layout().ItemAtRow(row) : nullptr;
    if (!item)
        return false;
    // Through the selection model, as Qt's own selecting goes to the tree.
    View()->selectionModel()->select(View()->Model()->IndexOf(item), command);
    return true;
}

// ---- Announcements, from the tree's notifications.

std::pair<int, int> TTreeListAccessible::RowSpan(TTreeListTextNode* parent, int first, int last) const
{
    const TTreeListLayout& layout = View()->Layout();
    if (parent && (!layout.IsOpen(parent) || !Shown(layout, parent)))
        return {0, 0};
    TTreeListTextNode* firstItem = parent ? parent->Child(first) : m_tree->TopItem(first);
    const int row = layout.RowOf(firstItem);
    if (row < 0)
        return {0, 0};
    int rows = 0;
    for (int i = first; i <= last; ++i)
        if (const TTreeListTextNode* item = parent ? parent->Child(i) : m_tree->TopItem(i); layout.Shown(item))
            rows += 1 + layout.RowsBelow(item);
    return {row, rows};
}

void TTreeListAccessible::AnnounceRows(QAccessibleTableModelChangeEvent::ModelChangeType type,
                                       std::pair<int, int> span)
{
    if (span.second <= 0 || !Announcing())
        return;
    QAccessibleTableModelChangeEvent event(View(), type);
    event.setFirstRow(span.first);
    event.setLastRow(span.first + span.second - 1);
    event.setFirstColumn(0);
    event.setLastColumn(0);
    Send(event);
}

void TTreeListAccessible::AnnounceStates()
{
    // In the order of the rows, as a reader meets them; taken apart first,
    // since a reader told of a change may ask for more rows meanwhile.
    std::vector<std::pair<int, TTreeListTextNode*>> rows;
    rows.reserve(m_rows.size());
    for (const auto& row : m_rows)
        rows.emplace_back(RowIndexOf(row.first), row.first);
    std::sort(rows.begin(), rows.end());
    for (const auto& [row, item] : rows)
        AnnounceState(item);
}

void TTreeListAccessible::AnnounceState(TTreeListTextNode* item)
{
    const auto found = m_rows.find(item);
    QAccessibleInterface* row = found != m_rows.end() ? QAccessible::accessibleInterface(found->second.id) : nullptr;
    if (!row)
        return;
    TRowEntry& entry = found->second;
    if (entry.selected != item->Selected()) {
        entry.selected = item->Selected();
        QAccessibleEvent event(row, entry.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        Send(event);
    }
    if (entry.expanded != item->Expanded()) {
        entry.expanded = item->Expanded();
        QAccessible::State changed;
        changed.expanded = true;
        changed.collapsed = true;
        QAccessibleStateChangeEvent event(row, changed);
        Send(event);
    }
}

void TTreeListAccessible::AnnounceFocus()
{
    if (!Announcing() || !View()->hasFocus())
        return;
    if (QAccessibleInterface* row = RowOf(m_tree->FocusedItem())) {
        QAccessibleEvent event(row, QAccessible::Focus);
        Send(event);
    }
}

void TTreeListAccessible::ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last)
{
    m_insertParent = parent;
    m_insertFirst = first;
    m_insertLast = last;
}

void TTreeListAccessible::ItemsInserted()
{
    if (m_insertLast >= m_insertFirst && Announcing())
        AnnounceRows(QAccessibleTableModelChangeEvent::RowsInserted,
                     RowSpan(m_insertParent, m_insertFirst, m_insertLast));
    m_insertParent = nullptr;
    m_insertLast = -1;
}

void TTreeListAccessible::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    m_leavingRows = Announcing() ? RowSpan(parent, first, last) : std::pair<int, int>{0, 0};
    // The rows a reader holds go with their items; there are few of them.
    std::vector<TTreeListTextNode*> leaving;
    for (const auto& row : m_rows)
        for (int i = first; i <= last; ++i)
            if (row.first->IsInside(parent ? parent->Child(i) : m_tree->TopItem(i)))
                leaving.push_back(row.first);
    for (TTreeListTextNode* item : leaving)
        Forget(item);
}

void TTreeListAccessible::ItemsRemoved()
{
    AnnounceRows(QAccessibleTableModelChangeEvent::RowsRemoved, m_leavingRows);
    m_leavingRows = {0, 0};
}

void TTreeListAccessible::ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* /*destinationParent*/,
                                             int /*destinationRow*/)
{
    m_movingItem = item;
    m_leavingRows = item && Announcing() ? RowSpan(item->Parent(), item->Index(), item->Index())
                                         : std::pair<int, int>{0, 0};
}

void TTreeListAccessible::ItemMoved()
{
    AnnounceRows(QAccessibleTableModelChangeEvent::RowsRemoved, m_leavingRows);
    m_leavingRows = {0, 0};
    if (m_movingItem && Announcing())
        AnnounceRows(QAccessibleTableModelChangeEvent::RowsInserted,
                     RowSpan(m_movingItem->Parent(), m_movingItem->Index(), m_movingItem->Index()));
    m_movingItem = nullptr;
}

void TTreeListAccessible::ChildrenReordered()
{
    if (!Announcing())
        return;
    QAccessibleTableModelChangeEvent event(View(), QAccessibleTableModelChangeEvent::ModelReset);
    Send(event);
}

void TTreeListAccessible::AboutToReset()
{
    ForgetAll();
}

void TTreeListAccessible::RowsReplaced()
{
    ResetDone();
}

void TTreeListAccessible::ResetDone()
{
    ForgetAll();
    ChildrenReordered();
}

void TTreeListAccessible::ItemChanged(TTreeListTextNode* item)
{
    const auto found = m_rows.find(item);
    if (found == m_rows.end() || !Announcing())
        return;
    QAccessibleInterface* row = QAccessible::accessibleInterface(found->second.id);
    if (!row)
        return;
    // Only a new name is news: other changes of the item are not read out.
    const QString name = row->text(QAccessible::Name);
    if (name == found->second.name)
        return;
    found->second.name = name;
    QAccessibleEvent event(row, QAccessible::NameChanged);
    Send(event);
}

void TTreeListAccessible::ExpandedChanged(TTreeListTextNode* item)
{
    if (!Announcing())
        return;
    if (!item) {
        ChildrenReordered();
        AnnounceStates();
        return;
    }
    AnnounceState(item);
    const TTreeListLayout& layout = View()->Layout();
    const int row = layout.RowOf(item);
    // Under the filter the item's own state moves no row.
    if (row >= 0 && !layout.Filtered())
        AnnounceRows(item->Expanded() ? QAccessibleTableModelChangeEvent::RowsInserted
                                      : QAccessibleTableModelChangeEvent::RowsRemoved,
                     {row + 1, layout.ChildRows(item)});
}

void TTreeListAccessible::FocusChanged(TTreeListTextNode* /*item*/)
{
    AnnounceFocus();
}

void TTreeListAccessible::SelectionChanged(TTreeListTextNode* item)
{
    if (!Announcing())
        return;
    if (item)
        AnnounceState(item);
    else
        AnnounceStates();
}
