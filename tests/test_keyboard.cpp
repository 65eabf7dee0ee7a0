#include "tests/apptestkit.h"

#include "app/search/findallpane.h"
#include "app/view/treelistview.h"
#include "app/widgets/iconcombobox.h"
#include "app/window/actionid.h"
#include "app/window/findallcontroller.h"
#include "app/window/mainwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

namespace {

TTreeListTextNode* AddItem(TTreeList& tree, TTreeListTextNode* parent, const char* name)
{
    TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
    item->SetText(TreeListColumnName, name);
    return item;
}

std::string Selection(TTreeList& tree)
{
    std::string names;
    for (int i = 0; i < tree.SelectedCount(); ++i)
        names += std::string(i ? " " : "") + std::string(tree.SelectedItem(i)->GetText(TreeListColumnName));
    return names;
}

} // namespace

// The rows shown: A, A1, Apple, B, Banana, C; A1's child and C's child
// Cherry are hidden.
class KeyboardTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        TTreeList& tree = m_window->TreeList();
        TTreeListTextNode* a = AddItem(tree, nullptr, "A");
        AddItem(tree, AddItem(tree, a, "A1"), "A1a");
        AddItem(tree, a, "Apple");
        AddItem(tree, AddItem(tree, nullptr, "B"), "Banana");
        AddItem(tree, AddItem(tree, nullptr, "C"), "Cherry");
        tree.TopItem(0)->SetExpanded(true);
        tree.TopItem(1)->SetExpanded(true);
        tree.TopItem(0)->SetFocused();
        m_window->activateWindow();
        m_window->TreeListView()->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        if (!QTest::qWaitForWindowActive(m_window.get()) ||
            QApplication::focusWidget() != m_window->TreeListView())
            GTEST_SKIP() << "the platform does not activate windows or move the focus";
    }
    void TearDown() override
    {
        QApplication::setKeyboardInputInterval(m_interval);
        m_window.reset();
        WindowTest::TearDown();
    }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
    int m_interval = QApplication::keyboardInputInterval();
};

TEST_F(KeyboardTest, KeysReachEveryRowAndEveryPane)
{
    QApplication::setKeyboardInputInterval(300);
    struct TStep {
        const char* keys;  // letters typed, or one named key
        Qt::KeyboardModifiers modifiers;
        const char* focused;
        const char* selected;
        const char* keyboardIn;
    };
    const TStep steps[] = {
        {"b", {}, "B", "B", "TreeList"},
        {"b", {}, "Banana", "Banana", "TreeList"},  // the same letter again: the next one
        {"pause", {}, "Banana", "Banana", "TreeList"},
        {"ap", {}, "Apple", "Apple", "TreeList"},  // round past the end, into A's children
        {"pause", {}, "Apple", "Apple", "TreeList"},
        {"ch", {}, "C", "C", "TreeList"},  // Cherry is not shown
        {"Ctrl+A", Qt::ControlModifier, "C", "A A1 Apple B Banana C", "TreeList"},
        {"Home", {}, "A", "A", "TreeList"},
        {"Down", Qt::ShiftModifier, "A1", "A A1", "TreeList"},
        {"Down", Qt::ShiftModifier, "Apple", "A A1 Apple", "TreeList"},
        {"End", Qt::ShiftModifier, "C", "A A1 Apple B Banana C", "TreeList"},
        {"PageUp", Qt::ShiftModifier, "A", "A", "TreeList"},
        {"PageDown", Qt::ShiftModifier, "C", "A A1 Apple B Banana C", "TreeList"},
        {"Up", Qt::ShiftModifier, "Banana", "A A1 Apple B Banana", "TreeList"},
        {"F6", {}, "Banana", "A A1 Apple B Banana", "Memo1"},
        {"F6", {}, "Banana", "A A1 Apple B Banana", "TreeList"},  // Find in All Items is closed
        {"F6", Qt::ShiftModifier, "Banana", "A A1 Apple B Banana", "Memo1"},
        {"find all", {}, "Banana", "A A1 Apple B Banana", "FindAllText"},
        {"F6", {}, "Banana", "A A1 Apple B Banana", "TreeList"},
        {"F6", {}, "Banana", "A A1 Apple B Banana", "Memo1"},
        {"F6", {}, "Banana", "A A1 Apple B Banana", "FindAllText"},
        {"F6", Qt::ShiftModifier, "Banana", "A A1 Apple B Banana", "Memo1"},
    };
    const std::pair<const char*, Qt::Key> named[] = {
        {"Home", Qt::Key_Home}, {"End", Qt::Key_End},         {"Up", Qt::Key_Up},
        {"Down", Qt::Key_Down}, {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown},
        {"F6", Qt::Key_F6},     {"Ctrl+A", Qt::Key_A},
    };
    TTreeList& tree = m_window->TreeList();
    for (const TStep& step : steps) {
        const std::string keys = step.keys;
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << keys;
        if (keys == "pause") {
            QTest::qWait(QApplication::keyboardInputInterval() + 100);
        } else if (keys == "find all") {
            Run(*m_window, TActionId::actSearchFindAll);
            QApplication::processEvents();
        } else if (const auto* key = std::find_if(std::begin(named), std::end(named),
                                                  [&](const auto& n) { return keys == n.first; });
                   key != std::end(named)) {
            QTest::keyClick(target, key->second, step.modifiers);
        } else {
            QTest::keyClicks(target, QString::fromStdString(keys));
        }
        QApplication::processEvents();
        ASSERT_NE(tree.FocusedItem(), nullptr) << keys;
        EXPECT_EQ(tree.FocusedItem()->GetText(TreeListColumnName), step.focused) << keys;
        EXPECT_EQ(Selection(tree), step.selected) << keys;
        ASSERT_NE(QApplication::focusWidget(), nullptr) << keys;
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), step.keyboardIn) << keys;
    }
}

TEST_F(KeyboardTest, ReadersHearEveryControlByName)
{
    Run(*m_window, TActionId::actSearchFindAll);
    QApplication::processEvents();
    const auto widget = [this](const char* name) { return m_window->findChild<QWidget*>(QString::fromLatin1(name)); };
    const auto text = [](QWidget* w, QAccessible::Text type) {
        QAccessibleInterface* iface = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
        return iface ? iface->text(type).toStdString() : std::string("(none)");
    };
    const std::tuple<QWidget*, QAccessible::Text, std::string> cases[] = {
        {widget("Memo1"), QAccessible::Name, "Description"},
        {widget("Memo1"), QAccessible::Description, "The description of the item A"},
        {widget("BtnTreeViewHeader"), QAccessible::Name, "Close Folders"},
        {widget("FindAllText"), QAccessible::Name, "Find in all items"},
        {widget("FindAllResults"), QAccessible::Name, "Items found"},
        {m_window->findChild<QSplitter*>()->handle(1), QAccessible::Name, "Fold handle"},
        {widget("ToolBarTV")->findChild<QWidget*>(QStringLiteral("GripRoom")), QAccessible::Name, "Fold handle"},
        {widget("ToolBarMemo")->findChild<QWidget*>(QStringLiteral("GripRoom")), QAccessible::Name, "Fold handle"},
        {widget("StatusPanel0"), QAccessible::Description, "Messages"},
        {widget("StatusPanel1"), QAccessible::Description, "Unsaved changes"},
        {widget("TreeList"), QAccessible::Name, "Items"},
    };
    for (const auto& [w, type, expected] : cases)
        EXPECT_EQ(text(w, type), expected) << expected;

    // The tree's rows, and the icon box's pictures by their names.
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(m_window->TreeListView());
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    ASSERT_EQ(tree->childCount(), 6);
    EXPECT_EQ(tree->child(2)->text(QAccessible::Name).toStdString(), "Apple");
    EXPECT_EQ(tree->child(2)->text(QAccessible::Description).toStdString(), "Level 2, 2 of 2");
    auto* icons = m_window->findChild<TIconComboBox*>();
    const auto labels = QAccessible::queryAccessibleInterface(icons)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name).trimmed().toStdString(), "icon:");
    for (const auto& [row, name] : {std::pair{0, "folder"}, {14, "text file"}, {215, "paper clip"}}) {
        EXPECT_EQ(icons->itemData(row, Qt::AccessibleTextRole).toString().toStdString(), name);
        EXPECT_EQ(icons->itemData(row, Qt::ToolTipRole).toString().toStdString(), name);
    }
}
