#include "app/droptarget/dropfiletarget.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr Qt::DropActions All = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

std::unique_ptr<QMimeData> Files(const QList<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

// Sends one drag event as the platform's drag and drop delivers it; the
// effect the widget answered, none when it refused.
template <typename Event>
Qt::DropAction Send(QWidget* widget, const QMimeData* data, QPoint at, Qt::DropActions offered = All,
                    Qt::KeyboardModifiers keys = {})
{
    Event event(at, offered, data, Qt::LeftButton, keys);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

// Enter, move and drop at one point: the effect reported at the drop.
Qt::DropAction DragAndDrop(QWidget* widget, const QMimeData* data, Qt::DropActions offered = All)
{
    if (Send<QDragEnterEvent>(widget, data, {5, 5}, offered) != Qt::IgnoreAction)
        Send<QDragMoveEvent>(widget, data, {5, 5}, offered);
    return Send<QDropEvent>(widget, data, {5, 5}, offered);
}

// Stands for a control with drag and drop of its own (the tree's item moves).
class OwnDragsWidget : public QWidget {
public:
    OwnDragsWidget() { setAcceptDrops(true); }
    int seen = 0;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        ++seen;
        if (event->mimeData()->hasFormat(QStringLiteral("application/x-own")))
            event->acceptProposedAction();
    }
};

TEST(DropFileTarget, FilesReachTheHandlerInOrderAndTheWindowComesToTheFront)
{
    QWidget widget, other;
    widget.show();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    TDropFileTarget target;
    target.AttachTo(&widget);
    std::vector<std::vector<std::string>> drops;
    QObject::connect(&target, &TDropTarget::Dropped, [&] { drops.push_back(target.DroppedFiles()); });

    // A name that is not UTF-8 comes percent-encoded and keeps its bytes; a
    // file on another machine is no file here.
    const auto data = Files({QUrl::fromLocalFile("/tmp/b.txt"), QUrl(QStringLiteral("https://example.org/x")),
                             QUrl::fromEncoded("file:///tmp/%E4%F6.txt"), QUrl::fromLocalFile("/tmp/a b.txt"),
                             QUrl::fromEncoded("file://localhost/tmp/c.txt"),
                             QUrl::fromEncoded("file://elsewhere.example/tmp/d.txt")});
    EXPECT_EQ(DragAndDrop(&widget, data.get()), Qt::CopyAction);
    EXPECT_EQ(drops, (std::vector<std::vector<std::string>>{
                         {"/tmp/b.txt", "/tmp/\xE4\xF6.txt", "/tmp/a b.txt", "/tmp/c.txt"}}));
    EXPECT_TRUE(target.DroppedFiles().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &widget; }));

    target.Detach();
    EXPECT_FALSE(widget.acceptDrops());
    DragAndDrop(&widget, data.get());
    EXPECT_EQ(drops.size(), 1u);
}

TEST(DropFileTarget, OtherDragsArePassedOnOrRefused)
{
    QMimeData own, text;
    own.setData(QStringLiteral("application/x-own"), "1");
    text.setText(QStringLiteral("dragged"));
    const auto remote = Files({QUrl(QStringLiteral("https://example.org/a.txt")),
                               QUrl::fromEncoded("file://elsewhere.example/a.txt")});
    const struct {
        const QMimeData* data;
        bool refuseOthers;
        Qt::DropAction effect;
    } cases[] = {
        {&own, false, Qt::CopyAction}, {&text, false, Qt::IgnoreAction},
        {remote.get(), false, Qt::IgnoreAction}, {&own, true, Qt::IgnoreAction}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data->formats().join(' ').toStdString() + (c.refuseOthers ? " refused" : ""));
        OwnDragsWidget widget;
        TDropFileTarget target;
        target.RefuseOtherDrags = c.refuseOthers;
        target.AttachTo(&widget);
        bool dropped = false;
        QObject::connect(&target, &TDropTarget::Dropped, [&] { dropped = true; });
        EXPECT_EQ(Send<QDragEnterEvent>(&widget, c.data, {5, 5}), c.effect);
        EXPECT_EQ(widget.seen, c.refuseOthers ? 0 : 1);
        EXPECT_FALSE(dropped);
    }
}

TEST(DropFileTarget, EffectFollowsTheKeysWithinWhatTheSourceOffers)
{
    const auto data = Files({QUrl::fromLocalFile("/tmp/a.txt")});
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier), ctrl(Qt::ControlModifier);
    const struct {
        Qt::DropActions offered;
        Qt::KeyboardModifiers keys;
        Qt::DropAction effect;
    } cases[] = {
        {All, {}, Qt::CopyAction}, {All, ctrl, Qt::CopyAction}, {All, shift, Qt::MoveAction},
        {All, shift | ctrl, Qt::LinkAction}, {All, Qt::AltModifier, Qt::CopyAction},
        {Qt::CopyAction, shift, Qt::CopyAction}, {Qt::CopyAction | Qt::MoveAction, shift | ctrl, Qt::CopyAction},
        {Qt::MoveAction | Qt::LinkAction, {}, Qt::MoveAction}, {Qt::LinkAction, shift, Qt::LinkAction},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.offered) << " keys " << int(c.keys));
        QWidget widget;
        TDropFileTarget target;
        target.AttachTo(&widget);
        Qt::DropAction seenByHandler = Qt::IgnoreAction;
        QObject::connect(&target, &TDropTarget::Dropped,
                         [&](Qt::KeyboardModifiers, QPoint, Qt::DropAction& e) { seenByHandler = e; });
        Send<QDragEnterEvent>(&widget, data.get(), {5, 5}, c.offered, c.keys);
        EXPECT_EQ(Send<QDragMoveEvent>(&widget, data.get(), {6, 6}, c.offered, c.keys), c.effect);
        EXPECT_EQ(Send<QDropEvent>(&widget, data.get(), {6, 6}, c.offered, c.keys), c.effect);
        EXPECT_EQ(seenByHandler, c.effect);
    }

    // A source that offers only effects the target does not allow is refused.
    QWidget widget;
    TDropFileTarget target;
    target.Dragtypes = Qt::CopyAction;
    target.AttachTo(&widget);
    EXPECT_EQ(DragAndDrop(&widget, data.get(), Qt::MoveAction), Qt::IgnoreAction);
}

TEST(DropFileTarget, EditorScrollsWhileAFileDragRestsNearItsEdge)
{
    QPlainTextEdit editor;
    QFont font = editor.font();
    font.setPixelSize(13);
    editor.setFont(font);
    editor.setPlainText(QStringLiteral("line\n").repeated(200));
    editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor.resize(300, 200);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    TDropFileTarget target;
    target.AttachTo(&editor);
    const auto data = Files({QUrl::fromLocalFile("/tmp/a.txt")});
    QWidget* viewport = editor.viewport();
    QScrollBar* bar = editor.verticalScrollBar();
    const int bottom = viewport->height();

    Send<QDragEnterEvent>(viewport, data.get(), {50, 100});
    EXPECT_FALSE(target.Scrolling());
    Send<QDragMoveEvent>(viewport, data.get(), {50, bottom - 12});  // within the 13 pixels of the margin
    EXPECT_TRUE(target.Scrolling());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() >= 2; }));
    // Moving along the edge keeps it scrolling.
    const int reached = bar->value();
    bool left = false;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        left = !left;
        Send<QDragMoveEvent>(viewport, data.get(), {left ? 50 : 51, bottom - 12});
        return bar->value() >= reached + 2;
    }));
    Send<QDragMoveEvent>(viewport, data.get(), {50, bottom - 14});
    EXPECT_FALSE(target.Scrolling());
    Send<QDragMoveEvent>(viewport, data.get(), {50, 5});
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 0; }));
    QDragLeaveEvent leave;
    QApplication::sendEvent(viewport, &leave);
    EXPECT_FALSE(target.Scrolling());
}

}  // namespace
