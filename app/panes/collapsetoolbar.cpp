#include "app/panes/collapsetoolbar.h"

#include "app/panes/panepainting.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

TCollapseToolBar::TCollapseToolBar(QWidget* parent) : QToolBar(parent)
{
    // The grip takes the place of the movable handle.
    setMovable(false);
    setFloatable(false);
    setMouseTracking(true);
    m_gripRoom = new QWidget;
    m_gripRoom->setObjectName(QStringLiteral("GripRoom"));
    m_gripRoom->setAccessibleName(tr("Fold handle"));
    m_gripRoom->setAccessibleDescription(tr("Folds the toolbar away or brings it back"));
    m_gripRoom->setFixedHeight(1);
    m_gripRoom->setAttribute(Qt::WA_TransparentForMouseEvents);
    addWidget(m_gripRoom);
    UpdateMargins();
}

void TCollapseToolBar::SetMaximized(bool value)
{
    if (value == m_maximized)
        return;
    m_maximized = value;
    m_hot = false;
    if (!value) {
        m_savedHeight = height();
        m_savedMinHeight = minimumHeight();
        m_savedMaxHeight = maximumHeight();
        // With its layout off nothing shows the buttons again until it is back on.
        layout()->setEnabled(false);
        for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!child->isWindow())
                child->hide();
        setFixedHeight(TabSizeMaximized + EdgeSize);
        emit OnRestore();
    } else {
        setMinimumHeight(m_savedMinHeight);
        setMaximumHeight(m_savedMaxHeight);
        resize(width(), m_savedHeight);
        layout()->setEnabled(true);
        layout()->invalidate();
        layout()->activate();
        emit OnMaximize();
    }
    updateGeometry();
    update();
}

QRect TCollapseToolBar::GripRect() const
{
    return QRect(EdgeSize, EdgeSize, m_maximized ? TabSizeMaximized : TabSizeMinimized, height() - EdgeSize);
}

// The tab's right end is slanted at 45 degrees: each row is a pixel shorter.
int TCollapseToolBar::TabRowEnd(int row) const
{
    return EdgeSize + TabSizeMinimized - (row - EdgeSize);
}

bool TCollapseToolBar::OnGrip(const QPoint& pos) const
{
    if (!GripRect().contains(pos))
        return false;
    return m_maximized || pos.x() < TabRowEnd(pos.y());
}

void TCollapseToolBar::UpdateMargins()
{
    // Qt's toolbar layout places its items by the top margin across and the left
    // margin along, so those two stay equal; the grip gets its room from a first
    // item of its own instead.
    layout()->setContentsMargins(EdgeSize, EdgeSize, EdgeSize, 0);
    m_gripRoom->setFixedWidth(std::max(TabSizeMaximized + TabIndent - layout()->spacing(), 0));
}

void TCollapseToolBar::changeEvent(QEvent* event)
{
    QToolBar::changeEvent(event);
    // A new style puts its own margins on the layout.
    if (event->type() == QEvent::StyleChange)
        UpdateMargins();
}

void TCollapseToolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // Etched edges on the left, top and right.
    const QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    const int w = width(), h = height();
    painter.fillRect(0, 0, 1, h, dark);
    painter.fillRect(1, 1, 1, h - 1, light);
    painter.fillRect(0, 0, w - 1, 1, dark);
    painter.fillRect(1, 1, w - 3, 1, light);
    painter.fillRect(w - 2, 1, 1, h - 1, dark);
    painter.fillRect(w - 1, 0, 1, h, light);

    const TPaneColors colors = PaneColors(palette());
    if (m_maximized)
        PaintGrip(painter, colors);
    else
        PaintTab(painter, colors);
}

void TCollapseToolBar::PaintGrip(QPainter& painter, const TPaneColors& colors)
{
    const QColor face = m_hot ? colors.Hot : colors.Face;
    const QRect grip = GripRect();
    const QColor shadow = palette().color(QPalette::Dark);
    painter.fillRect(grip, face);
    painter.fillRect(grip.right(), grip.top(), 1, grip.height(), shadow);
    painter.fillRect(grip.left(), grip.bottom(), grip.width(), 1, shadow);
    const int depth = OddDepth((grip.width() - 2) / 2);
    const int base = 2 * depth - 1;
    const QRect arrow(grip.left() + (grip.width() - base) / 2, grip.top() + 2, base, depth);
    DrawArrow(painter, arrow, Qt::DownArrow, colors.Arrow);
    const QRect inside = grip.adjusted(2, 2, -2, -2);
    DrawTexture(painter, inside.adjusted(0, arrow.bottom() + 2 - inside.top(), 0, 0), colors.Texture1, colors.Texture2);
}

void TCollapseToolBar::PaintTab(QPainter& painter, const TPaneColors& colors)
{
    const QColor face = m_hot ? colors.Hot : colors.Face;
    const QRect tab = GripRect();
    const int left = tab.left(), top = tab.top(), bottom = tab.bottom();
    const QColor outline = palette().color(QPalette::Shadow), shadow = palette().color(QPalette::Dark);
    // Row by row: the fill, then the outline, then the bevel and shadow lines inside it.
    for (int y = top; y <= bottom; ++y) {
        const int end = TabRowEnd(y);
        const bool edgeRow = y == top || y == bottom;
        painter.fillRect(left, y, end - left, 1, edgeRow ? outline : face);
        painter.fillRect(left, y, 1, 1, outline);
        painter.fillRect(end - 1, y, 1, 1, outline);
        if (edgeRow)
            continue;
        if (y == top + 1)
            painter.fillRect(left + 1, y, end - left - 3, 1, colors.Bevel);
        else if (y == bottom - 1)
            painter.fillRect(left + 2, y, end - left - 4, 1, shadow);
        painter.fillRect(left + 1, y, 1, 1, colors.Bevel);
        painter.fillRect(end - 2, y, 1, 1, shadow);
    }
    const int depth = OddDepth((tab.height() - 2) / 2);
    const int base = 2 * depth - 1;
    const QRect arrow(left + 3, top + (tab.height() - base) / 2, depth, base);
    DrawArrow(painter, arrow, Qt::RightArrow, colors.Arrow);
    QRegion texture;
    for (int y = top + 2; y <= bottom - 2; ++y)
        texture += QRect(arrow.right() + 2, y, TabRowEnd(y) - 2 - (arrow.right() + 2), 1);
    DrawTexture(painter, texture, colors.Texture1, colors.Texture2);
}

void TCollapseToolBar::mousePressEvent(QMouseEvent* event)
{
    m_pressOnGrip = event->button() == Qt::LeftButton && OnGrip(event->position().toPoint());
    // The grip is frame: a press on it starts nothing else.
    if (m_pressOnGrip)
        event->accept();
    else
        QToolBar::mousePressEvent(event);
}

void TCollapseToolBar::mouseMoveEvent(QMouseEvent* event)
{
    SetHot(OnGrip(event->position().toPoint()));
    QToolBar::mouseMoveEvent(event);
}

void TCollapseToolBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QToolBar::mouseReleaseEvent(event);
        return;
    }
    const bool click = m_pressOnGrip && OnGrip(event->position().toPoint());
    m_pressOnGrip = false;
    if (!click) {
        QToolBar::mouseReleaseEvent(event);
        return;
    }
    SetMaximized(!m_maximized);
    // The new grip or tab may lie under the mouse, which has not moved.
    SetHot(OnGrip(event->position().toPoint()));
}

void TCollapseToolBar::leaveEvent(QEvent* event)
{
    SetHot(false);
    QToolBar::leaveEvent(event);
}

void TCollapseToolBar::SetHot(bool hot)
{
    if (hot == m_hot)
        return;
    m_hot = hot;
    update(GripRect());
}
