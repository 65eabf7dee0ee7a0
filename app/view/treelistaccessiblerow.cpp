#include "app/view/treelistaccessiblerow.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QWidget>

#include "app/view/treelistaccessible.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"

TTreeListAccessibleRow::TTreeListAccessibleRow(TTreeListAccessible& tree, TTreeListTextNode& item)
    : m_tree(tree), m_item(item)
{
}

bool TTreeListAccessibleRow::isValid() const
{
    // The tree's interface deletes its rows before their items go.
    return m_tree.isValid();
}

QWindow* TTreeListAccessibleRow::window() const
{
    return m_tree.window();
}

QAccessibleInterface* TTreeListAccessibleRow::parent() const
{
    return &m_tree;
}

QAccessibleInterface* TTreeListAccessibleRow::table() const
{
    return &m_tree;
}

int TTreeListAccessibleRow::rowIndex() const
{
    return m_tree.RowIndexOf(&m_item);
}

QString TTreeListAccessibleRow::text(QAccessible::Text type) const
{
    TTreeListView* view = m_tree.View();
    switch (type) {
    case QAccessible::Name:
        return view->Model()->data(view->Model()->IndexOf(&m_item), Qt::DisplayRole).toString();
    case QAccessible::Description: {
        // The bridge carries no level of its own: the description says it.
        const TTreeListTextNode* parent = m_item.Parent();
        const int siblings = parent ? parent->Count() : view->Tree().TopItemCount();
        return QCoreApplication::translate("TTreeListAccessibleRow", "Level %1, %2 of %3")
            .arg(view->Layout().Depth(&m_item) + 1)
            .arg(m_item.Index() + 1)
            .arg(siblings);
    }
    default:
        return {};
    }
}

QRect TTreeListAccessibleRow::rect() const
{
    TTreeListView* view = m_tree.View();
    const QRect row = view->visualRect(view->Model()->IndexOf(&m_item));
    if (row.isEmpty())
        return {};
    // The whole width of the view, where a click selects the row.
    const QRect across(0, row.top(), view->viewport()->width(), row.height());
    return QRect(view->viewport()->mapToGlobal(across.topLeft()), across.size());
}

QAccessible::State TTreeListAccessibleRow::state() const
{
    TTreeListView* view = m_tree.View();
    QAccessible::State state;
    state.selectable = true;
    state.multiSelectable = true;
    state.extSelectable = true;
    state.focusable = true;
    state.selected = m_item.Selected();
    state.focused = m_item.Focused() && view->hasFocus();
    state.active = m_item.Focused();
    if (view->Layout().CanOpen(&m_item)) {
        state.expandable = true;
        state.expanded = view->Layout().IsOpen(&m_item);
        state.collapsed = !state.expanded;
    }
    const QRect row = view->visualRect(view->Model()->IndexOf(&m_item));
    if (!row.intersects(view->viewport()->rect()))
        state.offscreen = true;
    return state;
}

void* TTreeListAccessibleRow::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

const QString& TTreeListAccessibleRow::ExpandAction()
{
    static const QString name = QStringLiteral("Expand");
    return name;
}

const QString& TTreeListAccessibleRow::CollapseAction()
{
    static const QString name = QStringLiteral("Collapse");
    return name;
}

QStringList TTreeListAccessibleRow::actionNames() const
{
    QStringList names;
    const TTreeListLayout& layout = m_tree.View()->Layout();
    if (layout.CanOpen(&m_item))
        names << (layout.IsOpen(&m_item) ? CollapseAction() : ExpandAction());
    names << setFocusAction();
    return names;
}

QString TTreeListAccessibleRow::localizedActionName(const QString& name) const
{
    if (name == ExpandAction())
        return QCoreApplication::translate("TTreeListAccessibleRow", "Expand");
    if (name == CollapseAction())
        return QCoreApplication::translate("TTreeListAccessibleRow", "Collapse");
    return QAccessibleActionInterface::localizedActionName(name);
}

QString TTreeListAccessibleRow::localizedActionDescription(const QString& name) const
{
    if (name == ExpandAction())
        return QCoreApplication::translate("TTreeListAccessibleRow", "Shows the item's children");
    if (name == CollapseAction())
        return QCoreApplication::translate("TTreeListAccessibleRow", "Hides the item's children");
    return QAccessibleActionInterface::localizedActionDescription(name);
}

void TTreeListAccessibleRow::doAction(const QString& actionName)
{
    if (actionName == ExpandAction() || actionName == CollapseAction()) {
        m_tree.View()->SetItemOpen(&m_item, actionName == ExpandAction());
    } else if (actionName == setFocusAction()) {
        TTreeListView* view = m_tree.View();
        view->setFocus(Qt::OtherFocusReason);
        m_item.SetFocused();
    }
}

QStringList TTreeListAccessibleRow::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == ExpandAction())
        return {QStringLiteral("Right")};
    if (actionName == CollapseAction())
        return {QStringLiteral("Left")};
    return {};
}
