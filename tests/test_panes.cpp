#include "app/panes/collapsesplitter.h"
#include "app/panes/collapsetoolbar.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSplitterHandle>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor Navy(0, 0, 128), Highlight(207, 207, 255), White(255, 255, 255), Grey(128, 128, 128);

// The controls take every colour from the palette; on the classic desktop's
// (navy selection, white bevel light, grey shadow) they look as designed.
struct ClassicPalette : ::testing::Environment {
    void SetUp() override
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Highlight, Navy);
        palette.setColor(QPalette::Light, White);
        palette.setColor(QPalette::Dark, Grey);
        QApplication::setPalette(palette);
    }
};
[[maybe_unused]] ::testing::Environment* const classicPalette = ::testing::AddGlobalTestEnvironment(new ClassicPalette);

void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A press, a move and a release; the widget keeps the mouse throughout, as it does on screen.
void Drag(QWidget* widget, QPoint from, QPoint to)
{
    Mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(widget, QEvent::MouseButtonRelease, to);
}

void Click(QWidget* widget, QPoint at) { Drag(widget, at, at); }

QRgb Pixel(QWidget* widget, QPoint at) { return widget->grab().toImage().pixel(at); }

// The tree pane's splitter as the window has it: 442 x 230, the pane 145 wide.
struct SplitterTest : ::testing::Test {
    std::unique_ptr<TCollapseSplitter> splitter = std::make_unique<TCollapseSplitter>();
    QSplitterHandle* handle = nullptr;

    void SetUp() override
    {
        splitter->addWidget(new QWidget);
        splitter->addWidget(new QWidget);
        splitter->setSizes({145, 288});
        splitter->resize(442, 230);
        handle = splitter->handle(1);
    }
    void Show() { splitter->show(); }
    int Pane() const { return splitter->sizes().at(0); }
    // The button's centre, and a point on the splitter above the button.
    QPoint OnButton() const { return splitter->ButtonRect().center(); }
    static QPoint OffButton() { return {4, 10}; }
};

}  // namespace

TEST(CollapseSplitter, ButtonRectangle)
{
    struct { int width, height, percent; QRect expected; } const cases[] = {
        {9, 230, 30, {1, 80, 7, 69}}, {9, 100, 30, {1, 35, 7, 30}}, {9, 230, 100, {1, 1, 7, 228}},
        {9, 230, 250, {1, 1, 7, 228}}, {9, 230, 0, {}}, {9, 230, -5, {}}, {9, 1, 30, {}}, {2, 230, 30, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(TCollapseSplitter::ButtonRect(QSize(c.width, c.height), c.percent), c.expected)
            << c.width << "x" << c.height << " " << c.percent << "%";
}

TEST_F(SplitterTest, ClickingTwiceRestoresTheWidth)
{
    Show();
    EXPECT_EQ(splitter->RestorePos(), 145);
    Drag(handle, OffButton(), OffButton() + QPoint(55, 0));
    ASSERT_EQ(Pane(), 200);
    Click(handle, OnButton());
    EXPECT_EQ(Pane(), 1);
    EXPECT_TRUE(splitter->Maximized());
    // The fold moved the button away from the mouse, which sends no event for it.
    EXPECT_EQ(Pixel(handle, {3, 82}), handle->palette().color(QPalette::Button).rgb());
    Click(handle, OnButton());
    EXPECT_EQ(Pane(), 200);
    EXPECT_FALSE(splitter->Maximized());
    // As the pane's close button does it.
    splitter->SetMaximized(true);
    EXPECT_EQ(Pane(), 1);
    Click(handle, OnButton());
    EXPECT_EQ(Pane(), 200);
}

// A drag to the smallest width folds the pane whether it began on the button
// or not, so the button brings back the width before the drag.
TEST_F(SplitterTest, DragToTheSmallestWidthFolds)
{
    Show();
    for (bool fromButton : {false, true}) {
        const QPoint from = fromButton ? OnButton() : OffButton();
        Drag(handle, from, from + QPoint(-500, 0));
        EXPECT_EQ(Pane(), 1) << fromButton;
        EXPECT_TRUE(splitter->Maximized()) << fromButton;
        Click(handle, OnButton());
        EXPECT_EQ(Pane(), 145) << fromButton;
        EXPECT_FALSE(splitter->Maximized()) << fromButton;
    }
    Drag(handle, OffButton(), OffButton() + QPoint(1000, 0));
    EXPECT_EQ(Pane(), 442 - 9 - 1);
}

TEST_F(SplitterTest, SixPixelsOnTheButtonAreADrag)
{
    Show();
    const QPoint press(1, OnButton().y());
    Drag(handle, press, press + QPoint(5, 0));
    EXPECT_EQ(Pane(), 1);
    Click(handle, OnButton());
    ASSERT_EQ(Pane(), 150);
    Drag(handle, press, press + QPoint(6, 0));
    EXPECT_EQ(Pane(), 156);
    EXPECT_FALSE(splitter->Maximized());
}

TEST_F(SplitterTest, EscapeCancelsTheDrag)
{
    Show();
    Mouse(handle, QEvent::MouseButtonPress, OnButton(), Qt::LeftButton);
    Mouse(handle, QEvent::MouseMove, OnButton() + QPoint(-40, 0), Qt::LeftButton);
    QTest::keyClick(handle, Qt::Key_Escape);
    Mouse(handle, QEvent::MouseButtonRelease, OnButton());
    EXPECT_EQ(Pane(), 145);
    EXPECT_FALSE(splitter->Maximized());
}

TEST_F(SplitterTest, ANarrowedWindowLeavesTheRestOnePixel)
{
    Show();
    splitter->SetMaximized(true);
    splitter->resize(100, 230);
    splitter->SetMaximized(false);
    EXPECT_EQ(Pane(), 100 - 9 - 1);
    EXPECT_EQ(splitter->RestorePos(), 145);
}

// The stored flags are assigned in the order Maximized, Minimized, before or after the splitter is shown.
TEST_F(SplitterTest, StoredMinimizedFoldsThenTheButtonTakesOver)
{
    for (bool shownFirst : {false, true}) {
        splitter = std::make_unique<TCollapseSplitter>();
        SetUp();
        if (shownFirst)
            Show();
        splitter->SetMaximized(false);
        splitter->SetMinimized(true);
        Show();
        EXPECT_EQ(Pane(), 1) << shownFirst;
        EXPECT_EQ(Pixel(handle, {3, 89}), Navy.rgb()) << "arrows point left";
        Click(handle, OnButton());
        EXPECT_EQ(Pane(), 1);
        EXPECT_TRUE(splitter->Maximized());
        EXPECT_FALSE(splitter->Minimized());
        Click(handle, OnButton());
        EXPECT_EQ(Pane(), 145);
    }
}

// The button at 230 pixels: frame at (1, 80), fill from (3, 82), arrows 3 deep
// at rows 87 to 91 and 137 to 141, the texture between them from row 92.
TEST_F(SplitterTest, ButtonPicture)
{
    Show();
    const QColor face = handle->palette().color(QPalette::Button);
    struct { QPoint at; QColor left, right; } const pixels[] = {
        {{1, 80}, Grey, Grey}, {{2, 81}, White, White}, {{3, 82}, face, face},
        {{3, 89}, Navy, Navy}, {{5, 89}, Navy, Navy}, {{5, 87}, Navy, face}, {{3, 87}, face, Navy},
        {{3, 139}, Navy, Navy}, {{5, 137}, Navy, face}, {{3, 137}, face, Navy},
        {{3, 92}, face, face}, {{4, 93}, White, White}, {{5, 94}, Navy, Navy}, {{4, 94}, face, face},
        {{4, 96}, White, White}, {{5, 97}, Navy, Navy}};
    for (bool maximized : {false, true}) {
        splitter->SetMaximized(maximized);
        const QImage image = handle->grab().toImage();
        for (const auto& p : pixels)
            EXPECT_EQ(image.pixel(p.at), (maximized ? p.right : p.left).rgb()) << p.at.x() << "," << p.at.y();
    }
    Mouse(handle, QEvent::MouseMove, OnButton());
    EXPECT_EQ(Pixel(handle, {3, 82}), Highlight.rgb());
    EXPECT_EQ(handle->cursor().shape(), Qt::PointingHandCursor);
    Mouse(handle, QEvent::MouseMove, {0, OnButton().y()});
    EXPECT_EQ(handle->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Pixel(handle, {3, 82}), face.rgb());
    Mouse(handle, QEvent::MouseMove, OffButton());
    EXPECT_EQ(handle->cursor().shape(), Qt::SplitHCursor);
}

namespace {

struct ToolBarTest : ::testing::Test {
    QWidget window;
    TCollapseToolBar* bar = new TCollapseToolBar;
    QList<QWidget*> buttons;

    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addStretch();
        for (const char* text : {"One", "Two", "Three"})
            buttons << bar->widgetForAction(bar->addAction(QString::fromLatin1(text)));
        window.resize(300, 100);
        window.show();
    }
    void Settle() { window.layout()->activate(); }
    bool AnyButtonVisible() const
    {
        return std::any_of(buttons.begin(), buttons.end(), [](QWidget* b) { return b->isVisible(); });
    }
};

}  // namespace

TEST_F(ToolBarTest, FoldsToAStripAndBack)
{
    const int height = bar->height();
    EXPECT_EQ(buttons.first()->x(), 16);
    for (int round = 0; round < 2; ++round) {
        Click(bar, {6, 10});
        Settle();
        EXPECT_FALSE(bar->Maximized());
        EXPECT_EQ(bar->height(), 12);
        EXPECT_EQ(Pixel(bar, {30, 4}), Highlight.rgb()) << "the tab came under the unmoved mouse";
        EXPECT_FALSE(AnyButtonVisible());
        Click(bar, {100, 6});
        EXPECT_FALSE(bar->Maximized()) << "beside the tab";
        Click(bar, {20, 6});
        Settle();
        EXPECT_TRUE(bar->Maximized());
        EXPECT_EQ(bar->height(), height);
        EXPECT_TRUE(std::all_of(buttons.begin(), buttons.end(), [](QWidget* b) { return b->isVisible(); }));
        EXPECT_EQ(buttons.first()->x(), 16);
    }
}

TEST_F(ToolBarTest, OnlyAPressAndReleaseOnTheGripToggle)
{
    const struct { QPoint press, release; } misses[] = {{{6, 10}, {150, 10}}, {{150, 10}, {6, 10}}, {{6, 10}, {13, 10}}};
    for (const auto& m : misses) {
        Drag(bar, m.press, m.release);
        EXPECT_TRUE(bar->Maximized()) << m.press.x() << " to " << m.release.x();
    }
    bar->SetMaximized(false);
    Drag(bar, {20, 6}, {100, 6});
    EXPECT_FALSE(bar->Maximized());
}

// The grip: an arrow pointing down from row 4, the texture below it from row 8.
// The folded tab: an arrow pointing right, its base at column 5, its tip at (7, 6).
TEST_F(ToolBarTest, GripAndTabPictures)
{
    const QColor face = bar->palette().color(QPalette::Button);
    struct { bool maximized; QPoint at; QColor expected; } const pixels[] = {
        {true, {4, 4}, Navy}, {true, {8, 4}, Navy}, {true, {6, 6}, Navy}, {true, {5, 6}, face},
        {true, {4, 8}, face}, {true, {5, 9}, White}, {true, {6, 10}, Navy}, {true, {8, 12}, White},
        {false, {5, 4}, Navy}, {false, {5, 8}, Navy}, {false, {7, 6}, Navy}, {false, {7, 5}, face},
        {false, {2, 2}, bar->palette().color(QPalette::Shadow)}, {false, {3, 3}, White}};
    for (const auto& p : pixels) {
        bar->SetMaximized(p.maximized);
        Settle();
        EXPECT_EQ(Pixel(bar, p.at), p.expected.rgb()) << p.maximized << " " << p.at.x() << "," << p.at.y();
    }
    Mouse(bar, QEvent::MouseMove, {20, 6});
    EXPECT_EQ(Pixel(bar, {30, 4}), Highlight.rgb());
    Mouse(bar, QEvent::MouseMove, {200, 6});
    EXPECT_EQ(Pixel(bar, {30, 4}), face.rgb());
}
