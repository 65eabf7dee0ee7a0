#include "app/droptarget/dropfiletarget.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
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

std::unique_ptr<QMimeData> Files(const std::vector<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(QList<QUrl>(urls.begin(), urls.end()));
    return data;
}

std::unique_ptr<QMimeData> Text(const QString& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

// What a widget answered to each step of one drag, as the platform's drag
// and drop would deliver it.
struct Answers {
    bool entered = false;
    Qt::DropAction shown = Qt::IgnoreAction;  // at the last movement
    bool dropped = false;
    Qt::DropAction reported = Qt::IgnoreAction;
};

class Dragger {
public:
    Dragger(QWidget* widget, const QMimeData* data, Qt::DropActions offered, Qt::KeyboardModifiers keys = {})
        : m_widget(widget), m_data(data), m_offered(offered), m_keys(keys)
    {
    }
    bool Enter(QPoint at)
    {
        QDragEnterEvent event(at, m_offered, m_data, Qt::LeftButton, m_keys);
        QApplication::sendEvent(m_widget, &event);
        return m_answers.entered = event.isAccepted();
    }
    Qt::DropAction Move(QPoint at)
    {
        QDragMoveEvent event(at, m_offered, m_data, Qt::LeftButton, m_keys);
        QApplication::sendEvent(m_widget, &event);
        return m_answers.shown = event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    void Leave()
    {
        QDragLeaveEvent event;
        QApplication::sendEvent(m_widget, &event);
    }
    Answers Drop(QPoint at)
    {
        QDropEvent event(at, m_offered, m_data, Qt::LeftButton, m_keys);
        QApplication::sendEvent(m_widget, &event);
        m_answers.dropped = event.isAccepted();
        m_answers.reported = event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
        return m_answers;
    }
    // Enter, move and drop at one point.
    Answers All(QPoint at)
    {
        if (Enter(at))
            Move(at);
        return Drop(at);
    }

private:
    QWidget* m_widget;
    const QMimeData* m_data;
    Qt::DropActions m_offered;
    Qt::KeyboardModifiers m_keys;
    Answers m_answers;
};

// Stands for a control with drag and drop of its own, such as the tree's
// item moves: it takes drags of one private type.
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

std::vector<std::vector<std::string>> g_drops;

void Record(TDropFileTarget& target)
{
    target.OnDrop = [&target](TDropTarget&, Qt::KeyboardModifiers, QPoint, Qt::DropAction&) {
        g_drops.push_back(target.DroppedFiles());
    };
    g_drops.clear();
}

TEST(DropFileTarget, FilesReachTheHandlerInTheSourcesOrderAndTheWindowComesToTheFront)
{
    QWidget widget;
    QWidget other;
    widget.show();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    TDropFileTarget target;
    target.AttachTo(&widget);
    Record(target);

    // Not UTF-8 in the file system: the name comes percent-encoded.
    const auto data = Files({QUrl::fromLocalFile("/tmp/b.txt"), QUrl(QStringLiteral("https://example.org/x")),
                             QUrl::fromEncoded("file:///tmp/%E4%F6.txt"), QUrl::fromLocalFile("/tmp/a b.txt")});
    const Answers answers = Dragger(&widget, data.get(), All).All({5, 5});
    EXPECT_TRUE(answers.entered);
    EXPECT_TRUE(answers.dropped);
    EXPECT_EQ(g_drops, (std::vector<std::vector<std::string>>{{"/tmp/b.txt", "/tmp/\xE4\xF6.txt", "/tmp/a b.txt"}}));
    EXPECT_TRUE(target.DroppedFiles().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &widget; }));

    target.Detach();
    EXPECT_FALSE(widget.acceptDrops());
    Dragger(&widget, data.get(), All).All({5, 5});
    EXPECT_EQ(g_drops.size(), 1u);
}

TEST(DropFileTarget, OtherDragsArePassedOnOrRefusedAndChangeNothing)
{
    auto own = std::make_unique<QMimeData>();
    own->setData(QStringLiteral("application/x-own"), "1");
    const auto text = Text(QStringLiteral("dragged"));
    const auto remote = Files({QUrl(QStringLiteral("https://example.org/a.txt"))});
    const struct {
        const char* label;
        const QMimeData* data;
        bool refuseOthers, taken;
    } cases[] = {
        {"own drag passed on", own.get(), false, true},
        {"text passed on", text.get(), false, false},
        {"no local file", remote.get(), false, false},
        {"own drag refused", own.get(), true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        OwnDragsWidget widget;
        TDropFileTarget target;
        target.RefuseOtherDrags = c.refuseOthers;
        target.AttachTo(&widget);
        Record(target);
        EXPECT_EQ(Dragger(&widget, c.data, All).Enter({5, 5}), c.taken);
        EXPECT_EQ(widget.seen, c.refuseOthers ? 0 : 1);
        EXPECT_TRUE(g_drops.empty());
    }

    // An editor takes text drags itself; for the description they are refused.
    QPlainTextEdit editor(QStringLiteral("kept"));
    TDropFileTarget target;
    target.RefuseOtherDrags = true;
    target.AttachTo(&editor);
    const Answers answers = Dragger(editor.viewport(), text.get(), All).All({5, 5});
    EXPECT_FALSE(answers.entered);
    EXPECT_FALSE(answers.dropped);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("kept"));
}

TEST(DropFileTarget, EffectFollowsTheKeysWithinWhatTheSourceOffers)
{
    const auto data = Files({QUrl::fromLocalFile("/tmp/a.txt")});
    constexpr Qt::KeyboardModifiers None, Ctrl(Qt::ControlModifier), Shift(Qt::ShiftModifier),
        Both(Qt::ShiftModifier | Qt::ControlModifier), Alt(Qt::AltModifier);
    const struct {
        Qt::DropActions offered;
        Qt::KeyboardModifiers keys;
        Qt::DropAction effect;
    } cases[] = {
        {All, None, Qt::CopyAction},
        {All, Ctrl, Qt::CopyAction},
        {All, Shift, Qt::MoveAction},
        {All, Both, Qt::LinkAction},
        {All, Alt, Qt::CopyAction},
        {Qt::CopyAction, Shift, Qt::CopyAction},
        {Qt::CopyAction | Qt::MoveAction, Both, Qt::CopyAction},
        {Qt::MoveAction | Qt::LinkAction, None, Qt::MoveAction},
        {Qt::LinkAction, Shift, Qt::LinkAction},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.offered) << " keys " << int(c.keys));
        QWidget widget;
        TDropFileTarget target;
        target.AttachTo(&widget);
        Qt::DropAction seenByHandler = Qt::IgnoreAction;
        target.OnDrop = [&](TDropTarget&, Qt::KeyboardModifiers, QPoint, Qt::DropAction& effect) {
            seenByHandler = effect;
        };
        Dragger dragger(&widget, data.get(), c.offered, c.keys);
        ASSERT_TRUE(dragger.Enter({5, 5}));
        EXPECT_EQ(dragger.Move({6, 6}), c.effect);
        const Answers answers = dragger.Drop({6, 6});
        EXPECT_EQ(answers.reported, c.effect);
        EXPECT_EQ(seenByHandler, c.effect);
    }

    // Effects the target does not allow are not offered at all: refused.
    QWidget widget;
    TDropFileTarget target;
    target.Dragtypes = Qt::CopyAction;
    target.AttachTo(&widget);
    Record(target);
    EXPECT_FALSE(Dragger(&widget, data.get(), Qt::MoveAction).All({5, 5}).dropped);
    EXPECT_TRUE(g_drops.empty());
}

TEST(DropFileTarget, EditorScrollsWhileAFileDragRestsNearItsEdge)
{
    QPlainTextEdit editor;
    QFont font = editor.font();
    font.setPixelSize(13);
    editor.setFont(font);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString::number(i);
    editor.setPlainText(lines.join(QLatin1Char('\n')));
    editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor.resize(300, 200);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    TDropFileTarget target;
    target.AttachTo(&editor);
    Record(target);
    const auto data = Files({QUrl::fromLocalFile("/tmp/a.txt")});
    QWidget* viewport = editor.viewport();
    QScrollBar* bar = editor.verticalScrollBar();
    const int bottom = viewport->height();

    Dragger dragger(viewport, data.get(), All);
    ASSERT_TRUE(dragger.Enter({50, 100}));
    EXPECT_FALSE(target.Scrolling());
    dragger.Move({50, bottom - 12});  // within the 13 pixels of the margin
    EXPECT_TRUE(target.Scrolling());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() >= 2; }));
    dragger.Move({50, bottom - 14});
    EXPECT_FALSE(target.Scrolling());
    dragger.Move({50, 5});  // near the top: back up
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 0; }));
    dragger.Leave();
    EXPECT_FALSE(target.Scrolling());

    // Switching word wrap keeps the editor and its drops.
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(Dragger(viewport, data.get(), All).All({50, 100}).dropped);
    EXPECT_EQ(g_drops.size(), 1u);
    EXPECT_FALSE(target.Scrolling());
}

}  // namespace
