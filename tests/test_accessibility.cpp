#include "tests/viewtestkit.h"

#include "app/view/treelistaccessible.h"
#include "app/view/treelistview.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* g_events = nullptr;

std::string Text(QAccessibleInterface* iface)
{
    return iface ? iface->text(QAccessible::Name).toStdString() : std::string("?");
}

// What a reader hears, in short: "Focus A1", "RowsInserted 1-3", ...
void Record(QAccessibleEvent* event)
{
    if (!g_events)
        return;
    const QAccessible::Event type = event->type();
    if (type == QAccessible::TableModelChanged) {
        const auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
        static const char* const names[] = {"ModelReset", "DataChanged", "RowsInserted", "ColumnsInserted",
                                            "RowsRemoved", "ColumnsRemoved"};
        g_events->push_back(std::string(names[change->modelChangeType()]) + " " +
                            std::to_string(change->firstRow()) + "-" + std::to_string(change->lastRow()));
        return;
    }
    const char* name = type == QAccessible::Focus             ? "Focus"
                       : type == QAccessible::SelectionAdd    ? "Selected"
                       : type == QAccessible::SelectionRemove ? "Unselected"
                       : type == QAccessible::NameChanged     ? "Renamed"
                       : type == QAccessible::StateChanged    ? "State"
                                                              : nullptr;
    if (name && event->accessibleInterface() && event->accessibleInterface()->role() == QAccessible::TreeItem)
        g_events->push_back(std::string(name) + " " + Text(event->accessibleInterface()));
}

class TRecorder : public TTreeListAccessible::TAnnouncer {
public:
    void Announce(QAccessibleEvent& event) override { Record(&event); }
};

// The rows as a reader lists them: name and the states that matter.
std::vector<std::string> Rows(QAccessibleInterface* tree)
{
    std::vector<std::string> rows;
    for (int i = 0; i < tree->childCount(); ++i) {
        QAccessibleInterface* row = tree->child(i);
        const QAccessible::State state = row->state();
        std::string text = Text(row);
        text += state.expandable ? (state.expanded ? " +" : " -") : "";
        text += state.selected ? " sel" : "";
        text += state.focused ? " foc" : "";
        EXPECT_EQ(tree->indexOfChild(row), i) << text;
        EXPECT_EQ(row->tableCellInterface()->rowIndex(), i) << text;
        EXPECT_EQ(row->parent(), tree);
        rows.push_back(text);
    }
    return rows;
}

struct Step {
    const char* what;
    std::function<void(TTreeList&, QAccessibleInterface* tree)> action;
    std::vector<std::string> events;
    std::vector<std::string> rows;
};

TTreeListTextNode* Find(TTreeList& tree, const char* name)
{
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        if (item->GetText(TreeListColumnName) == name)
            return item;
    return nullptr;
}

void DoAction(QAccessibleInterface* tree, int row, const QString& action)
{
    tree->child(row)->actionInterface()->doAction(action);
}

} // namespace

// A tree A(A1(A1a), A2), B; every step acts as a user or a reader would and
// checks what a reader hears and then sees.
TEST(Accessibility, ReaderHearsAndSeesTheRows)
{
    TTreeList tree;
    TTreeListTextNode* a = Add(tree, nullptr, "A");
    Add(tree, Add(tree, a, "A1"), "A1a");
    Add(tree, a, "A2");
    Add(tree, nullptr, "B");
    TTreeListView view(tree);
    ShowView(view);
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setFocus();
    std::vector<std::string> events;
    g_events = &events;
    TRecorder recorder;
    TTreeListAccessible::SetAnnouncer(&recorder);

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Tree);
    ASSERT_NE(iface->tableInterface(), nullptr);

    const auto sel = [](TTreeList& t, const char* name) { Find(t, name)->SetSelected(true); };
    const std::vector<Step> steps = {
        {"start", [](TTreeList&, QAccessibleInterface*) {}, {}, {"A - foc", "B"}},
        {"focus B", [](TTreeList& t, QAccessibleInterface*) { t.TopItem(1)->SetFocused(); }, {"Focus B"},
         {"A -", "B foc"}},
        {"arrow up", [](TTreeList&, QAccessibleInterface*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); },
         {"Selected A", "Focus A"}, {"A - sel foc", "B"}},
        {"expand action", [](TTreeList&, QAccessibleInterface* i) { DoAction(i, 0, QStringLiteral("Expand")); },
         {"State A", "RowsInserted 1-2"}, {"A + sel foc", "A1 -", "A2", "B"}},
        {"arrow down", [](TTreeList&, QAccessibleInterface*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); },
         {"Unselected A", "Selected A1", "Focus A1"}, {"A +", "A1 - sel foc", "A2", "B"}},
        {"select B", [sel](TTreeList& t, QAccessibleInterface*) { sel(t, "B"); }, {"Selected B"},
         {"A +", "A1 - sel foc", "A2", "B sel"}},
        {"rename A1", [](TTreeList& t, QAccessibleInterface*) { t.EndRename(Find(t, "A1"), "Apple", true); },
         {"Renamed Apple"}, {"A +", "Apple - sel foc", "A2", "B sel"}},
        {"expand Apple", [](TTreeList& t, QAccessibleInterface*) { Find(t, "Apple")->SetExpanded(true); },
         {"State Apple", "RowsInserted 2-2"}, {"A +", "Apple + sel foc", "A1a", "A2", "B sel"}},
        {"insert under A", [](TTreeList& t, QAccessibleInterface*) { Add(t, t.TopItem(0), "A3"); },
         {"RowsInserted 4-4"}, {"A +", "Apple + sel foc", "A1a", "A2", "A3", "B sel"}},
        {"move B first", [](TTreeList& t, QAccessibleInterface*) { t.MoveItem(Find(t, "B"), nullptr, 0); },
         {"RowsRemoved 5-5", "RowsInserted 0-0"}, {"B sel", "A +", "Apple + sel foc", "A1a", "A2", "A3"}},
        {"collapse action", [](TTreeList&, QAccessibleInterface* i) { DoAction(i, 1, QStringLiteral("Collapse")); },
         {"State A", "RowsRemoved 2-5", "Focus A"}, {"B sel", "A - foc"}},
        {"delete A", [](TTreeList& t, QAccessibleInterface*) { t.Delete(Find(t, "A")); },
         {"RowsRemoved 1-1", "Focus B"}, {"B sel foc"}},
        {"unselect row", [](TTreeList&, QAccessibleInterface* i) { i->tableInterface()->unselectRow(0); },
         {"Unselected B"}, {"B foc"}},
    };
    for (const Step& step : steps) {
        events.clear();
        step.action(tree, iface);
        EXPECT_EQ(events, step.events) << step.what;
        EXPECT_EQ(Rows(iface), step.rows) << step.what;
    }

    // Rows are kept only while on screen, focused or lately asked for.
    for (int i = 0; i < 400; ++i)
        Add(tree, nullptr, "x" + std::to_string(i));
    for (int i = 0; i < iface->childCount(); ++i)
        ASSERT_NE(iface->child(i), nullptr);
    QApplication::processEvents();
    EXPECT_LE(static_cast<TTreeListAccessible*>(iface)->CachedRows(), 64 + view.height() / 8 + 2);
    EXPECT_EQ(Text(iface->child(300)), "x299");

    TTreeListAccessible::SetAnnouncer(nullptr);
    g_events = nullptr;
}
