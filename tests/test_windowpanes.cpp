#include "tests/apptestkit.h"

#include "app/panes/collapsesplitter.h"
#include "app/panes/collapsetoolbar.h"

#include <QContextMenuEvent>
#include <QMenuBar>
#include <QSplitterHandle>
#include <QTest>
#include <QToolButton>
#include <algorithm>

namespace {

// The folding panes of a window, found as the stored settings find them: by name.
struct TPanes {
    explicit TPanes(TfrmTreeViewEditorMain& window)
        : splitter(window.findChild<TCollapseSplitter*>(QStringLiteral("Splitter1"))),
          handle(splitter->handle(1)),
          pnlLeft(window.findChild<QWidget*>(QStringLiteral("pnlLeft")))
    {
    }
    TCollapseSplitter* splitter;
    QSplitterHandle* handle;
    QWidget* pnlLeft;

    void ClickButton() const { QTest::mouseClick(handle, Qt::LeftButton, {}, splitter->ButtonRect().center()); }
};

bool AnyChildVisible(const QWidget* bar)
{
    const auto children = bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(children.begin(), children.end(), [](const QWidget* w) { return w->isVisible(); });
}

}  // namespace

TEST_F(WindowTest, HeaderButtonFoldsThePaneAndTheSplitterButtonBringsItBack)
{
    auto window = MakeWindow();
    TPanes panes(*window);
    ASSERT_EQ(panes.pnlLeft->width(), 145);
    auto* close = window->findChild<QToolButton*>(QStringLiteral("BtnTreeViewHeader"));
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_TRUE(panes.splitter->Maximized());
        EXPECT_EQ(panes.pnlLeft->width(), 1);
        EXPECT_EQ(panes.splitter->RestorePos(), 145) << "a second click changes nothing";
    }
    panes.ClickButton();
    EXPECT_FALSE(panes.splitter->Maximized());
    EXPECT_EQ(panes.pnlLeft->width(), 145);
}

namespace {

// Assigns the stored flags by name, in the settings store's order, as the
// window's show event arrives, which is where the store restores them.
class TRestoreOnShow : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            Restore(*watched);
        return false;
    }
    static void Restore(QObject& window)
    {
        const struct { const char *component, *property; bool value; } stored[] = {
            {"Splitter1", "Maximized", false}, {"Splitter1", "Minimized", true},
            {"ToolBarTV", "Maximized", false}, {"ToolBarMemo", "Maximized", true}};
        for (const auto& s : stored)
            EXPECT_TRUE(window.findChild<QObject*>(QString::fromLatin1(s.component))->setProperty(s.property, s.value))
                << s.component << "." << s.property;
    }
};

}  // namespace

// Also before the window is shown, where the splitter only records the flag.
TEST_F(WindowTest, StoredFlagsFoldAsTheUserWould)
{
    for (bool onShow : {true, false}) {
        // The first window's settings would fold the second's panes.
        TSettingsFolder settings;
        auto window = std::make_unique<TfrmTreeViewEditorMain>();
        TRestoreOnShow restore;
        if (onShow)
            window->installEventFilter(&restore);
        else
            TRestoreOnShow::Restore(*window);
        window->show();
        QApplication::processEvents();
        window->removeEventFilter(&restore);
        TPanes panes(*window);
        EXPECT_EQ(panes.pnlLeft->width(), 1) << onShow;
        EXPECT_EQ(window->ToolBarTV()->height(), 12);
        EXPECT_FALSE(AnyChildVisible(window->ToolBarTV()));
        EXPECT_TRUE(window->ToolBarMemo()->Maximized());

        // The first click turns Minimized into Maximized, the second unfolds.
        panes.ClickButton();
        EXPECT_TRUE(panes.splitter->Maximized() && !panes.splitter->Minimized());
        panes.ClickButton();
        EXPECT_EQ(panes.pnlLeft->width(), 145) << onShow;
    }
}

// Folded, a toolbar gives its room to what lies below it; unfolded, it shows
// every button again, none of them behind the overflow arrow.
TEST_F(WindowTest, ToolbarsFoldToAStripAndBack)
{
    auto window = MakeWindow();
    for (TCollapseToolBar* bar : {window->ToolBarTV(), window->ToolBarMemo()}) {
        const QWidget* below = bar == window->ToolBarTV() ? window->centralWidget() : window->Memo1();
        const int height = bar->height(), top = below->y();
        QTest::mouseClick(bar, Qt::LeftButton, {}, {6, 10});
        QApplication::processEvents();
        EXPECT_EQ(below->y(), top - height + 12) << bar->objectName().toStdString();
        QTest::mouseClick(bar, Qt::LeftButton, {}, {20, 6});
        QApplication::processEvents();
        EXPECT_EQ(bar->height(), height);
        EXPECT_EQ(below->y(), top);
        for (QAction* action : bar->actions())
            EXPECT_TRUE(bar->widgetForAction(action)->isVisible())
                << bar->widgetForAction(action)->objectName().toStdString();
    }
}

// Folding is the toolbars' one way out of sight; nothing offers to hide them.
TEST_F(WindowTest, NoMenuHidesAToolbar)
{
    auto window = MakeWindow();
    for (QWidget* widget : {static_cast<QWidget*>(window->ToolBarTV()), static_cast<QWidget*>(window->menuBar())}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, {100, 5}, widget->mapToGlobal(QPoint(100, 5)));
        QApplication::sendEvent(widget, &event);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << widget->objectName().toStdString();
    }
}
