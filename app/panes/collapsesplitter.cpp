#include "app/panes/collapsesplitter.h"

#include "app/panes/panepainting.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSplitterHandle>

#include <algorithm>
#include <cstdlib>

namespace {

// A press and release on the button closer than this is a click, not a drag.
constexpr int ClickSlop = 6;

void DrawButton(QPainter& painter, const QRect& button, bool highlighted, Qt::ArrowType direction,
                const TPaneColors& colors)
{
    painter.fillRect(button, colors.Frame);
    const QRect inner = button.adjusted(1, 1, -1, -1);
    if (inner.isEmpty())
        return;
    painter.fillRect(inner, colors.Bevel);
    const QRect filled = inner.adjusted(1, 1, 0, 0);
    if (filled.isEmpty())
        return;
    painter.fillRect(filled, highlighted ? colors.Hot : colors.Face);
    painter.setClipRect(filled);
    const int depth = OddDepth(filled.width() - 1);
    const int base = 2 * depth - 1;
    const int x = filled.left() + (filled.width() - depth) / 2;
    const QRect first(x, filled.top() + 5, depth, base);
    const QRect second(x, filled.bottom() + 1 - 6 - base, depth, base);
    DrawArrow(painter, first, direction, colors.Arrow);
    DrawArrow(painter, second, direction, colors.Arrow);
    if (second.top() > first.bottom() + 1)
        DrawTexture(painter, QRect(filled.left(), first.bottom() + 1, filled.width(), second.top() - first.bottom() - 1),
                    colors.Texture1, colors.Texture2);
}

}  // namespace

// Where the splitter will land while it is dragged.
class TSplitterLine : public QWidget
{
public:
    explicit TSplitterLine(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QBrush(palette().color(QPalette::Shadow), Qt::Dense4Pattern));
    }
};

class TCollapseSplitterHandle : public QSplitterHandle
{
public:
    explicit TCollapseSplitterHandle(TCollapseSplitter* splitter)
        : QSplitterHandle(Qt::Horizontal, splitter), m_splitter(splitter)
    {
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        const QRect button = m_splitter->ButtonRect();
        if (button.isEmpty())
            return;
        // Drawn whole before it is shown, so a repaint never shows it half done.
        const qreal ratio = devicePixelRatioF();
        QPixmap picture(button.size() * ratio);
        picture.setDevicePixelRatio(ratio);
        {
            QPainter offscreen(&picture);
            DrawButton(offscreen, QRect(QPoint(0, 0), button.size()), m_hot,
                       m_splitter->Maximized() ? Qt::RightArrow : Qt::LeftArrow, PaneColors(palette()));
        }
        painter.drawPixmap(button.topLeft(), picture);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        m_pressOnButton = m_splitter->ButtonRect().contains(event->position().toPoint());
        m_pressX = qRound(event->globalPosition().x());
        if (m_splitter->StartDrag(m_pressX))
            qApp->installEventFilter(this);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        const QRect button = m_splitter->ButtonRect();
        SetHot(button.contains(pos));
        if (m_splitter->m_dragging) {
            m_splitter->MoveDrag(qRound(event->globalPosition().x()));
            return;
        }
        const bool alongButton = !button.isEmpty() && pos.y() >= button.top() && pos.y() <= button.bottom();
        setCursor(alongButton ? Qt::PointingHandCursor : Qt::SplitHCursor);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int distance = std::abs(qRound(event->globalPosition().x()) - m_pressX);
        const bool click = m_pressOnButton && distance < ClickSlop &&
                           m_splitter->ButtonRect().contains(event->position().toPoint());
        m_pressOnButton = false;
        qApp->removeEventFilter(this);
        if (!m_splitter->EndDrag(true))
            return;
        if (click)
            m_splitter->SetMaximized(!m_splitter->Maximized());
        else
            m_splitter->DragFinished();
        // The handle may have moved away from the mouse, which sends no event for it.
        SetHot(m_splitter->ButtonRect().contains(mapFromGlobal(event->globalPosition().toPoint())));
    }

    void leaveEvent(QEvent* event) override
    {
        SetHot(false);
        QSplitterHandle::leaveEvent(event);
    }

    // Esc cancels a drag wherever the keyboard focus is.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            m_splitter->EndDrag(false)) {
            qApp->removeEventFilter(this);
            m_pressOnButton = false;
            return true;
        }
        return QSplitterHandle::eventFilter(watched, event);
    }

private:
    void SetHot(bool hot)
    {
        if (hot == m_hot)
            return;
        m_hot = hot;
        update();
    }

    TCollapseSplitter* m_splitter;
    bool m_hot = false;
    bool m_pressOnButton = false;
    int m_pressX = 0;
};

TCollapseSplitter::TCollapseSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(9);
    setChildrenCollapsible(false);
    m_addingOwnChild = true;
    m_line = new TSplitterLine(this);
    m_addingOwnChild = false;
    m_line->hide();
}

TCollapseSplitter::~TCollapseSplitter() = default;

QSplitterHandle* TCollapseSplitter::createHandle()
{
    m_addingOwnChild = true;
    auto* handle = new TCollapseSplitterHandle(this);
    m_addingOwnChild = false;
    handle->setAccessibleName(tr("Fold handle"));
    handle->setAccessibleDescription(tr("Its button folds the pane on the left away or brings it back"));
    return handle;
}

// Every widget is a pane that may shrink to MinSize; all but the first take the
// room the splitter gains or loses, so the first keeps its width.
void TCollapseSplitter::childEvent(QChildEvent* event)
{
    if (m_addingOwnChild || event->child() == m_line) {
        QObject::childEvent(event);
        return;
    }
    QSplitter::childEvent(event);
    if (!event->added() || !event->child()->isWidgetType())
        return;
    auto* widget = static_cast<QWidget*>(event->child());
    widget->setMinimumWidth(m_minSize);
    // A widget given to addWidget is a child before the splitter lists it.
    const int index = indexOf(widget) >= 0 ? indexOf(widget) : count();
    if (index > 0) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setHorizontalStretch(1);
        widget->setSizePolicy(policy);
    }
}

void TCollapseSplitter::showEvent(QShowEvent* event)
{
    QSplitter::showEvent(event);
    if (m_built)
        return;
    m_built = true;
    m_restorePos = PaneWidth();
    if ((m_maximized || m_minimized) && Pane())
        ResizePane(m_minSize);
}

void TCollapseSplitter::SetMaximized(bool value)
{
    SetFolded(value, m_maximized, m_minimized, &TCollapseSplitter::OnMaximize);
}

void TCollapseSplitter::SetMinimized(bool value)
{
    SetFolded(value, m_minimized, m_maximized, &TCollapseSplitter::OnMinimize);
}

void TCollapseSplitter::SetFolded(bool value, bool& flag, bool& other, void (TCollapseSplitter::*signal)())
{
    if (value == flag || (m_built && !Pane()))
        return;
    // Folding from the other folded state keeps the width the pane had before.
    // A pane already at its smallest width (a narrowed window squeezes it) has
    // no width worth coming back to.
    if (value && other)
        other = false;
    else if (value && m_built && PaneWidth() > m_minSize)
        m_restorePos = PaneWidth();
    flag = value;
    if (!m_built)
        return;
    ResizePane(value ? m_minSize : m_restorePos);
    if (value)
        emit(this->*signal)();
    else
        emit OnRestore();
}

void TCollapseSplitter::SetMinSize(int value)
{
    m_minSize = std::max(value, 1);
    for (int i = 0; i < count(); ++i)
        widget(i)->setMinimumWidth(m_minSize);
}

void TCollapseSplitter::SetButtonWidth(int percent)
{
    m_buttonWidth = std::clamp(percent, 0, 100);
    if (count() > 1)
        handle(1)->update();
}

QRect TCollapseSplitter::ButtonRect() const
{
    return count() > 1 ? ButtonRect(handle(1)->size(), m_buttonWidth) : QRect();
}

QRect TCollapseSplitter::ButtonRect(const QSize& handleSize, int percent)
{
    const int length = (handleSize.height() * std::clamp(percent, 0, 100) + 50) / 100;
    if (length <= 0)
        return {};
    const QRect button(1, (handleSize.height() - length) / 2, handleSize.width() - 2, length);
    return button & QRect(QPoint(0, 0), handleSize).adjusted(1, 1, -1, -1);
}

QWidget* TCollapseSplitter::Pane() const
{
    QWidget* pane = count() > 1 ? widget(0) : nullptr;
    return pane && !pane->isHidden() && pane->isEnabled() ? pane : nullptr;
}

int TCollapseSplitter::PaneWidth() const
{
    return count() > 1 ? sizes().constFirst() : 0;
}

int TCollapseSplitter::LargestWidth() const
{
    return contentsRect().width() - handleWidth() - m_minSize;
}

void TCollapseSplitter::ResizePane(int width)
{
    width = std::max(std::min(width, LargestWidth()), m_minSize);
    setSizes({width, std::max(contentsRect().width() - handleWidth() - width, 0)});
    handle(1)->update();
}

bool TCollapseSplitter::StartDrag(int globalX)
{
    if (!Pane())
        return false;
    m_dragging = true;
    m_dragStartX = globalX;
    m_dragStartWidth = PaneWidth();
    MoveDrag(globalX);
    m_line->raise();
    m_line->show();
    return true;
}

void TCollapseSplitter::MoveDrag(int globalX)
{
    m_dragWidth = std::max(std::min(m_dragStartWidth + globalX - m_dragStartX, LargestWidth()), m_minSize);
    const QWidget* bar = handle(1);
    m_line->setGeometry(widget(0)->x() + m_dragWidth, bar->y(), bar->width(), bar->height());
}

bool TCollapseSplitter::EndDrag(bool commit)
{
    if (!m_dragging)
        return false;
    m_dragging = false;
    m_line->hide();
    if (commit && m_dragWidth != PaneWidth())
        ResizePane(m_dragWidth);
    return true;
}

// A drag that is not a click on the button decides the state by the width it
// leaves, whether it began on the button or not.
void TCollapseSplitter::DragFinished()
{
    const bool wasFolded = m_maximized || m_minimized;
    m_minimized = false;
    if (PaneWidth() <= m_minSize) {
        ResizePane(m_minSize);
        if (!m_maximized) {
            m_maximized = true;
            emit OnMaximize();
        }
    } else {
        m_maximized = false;
        m_restorePos = PaneWidth();
        if (wasFolded)
            emit OnRestore();
    }
    handle(1)->update();
}
