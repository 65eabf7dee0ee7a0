#include "app/settingsbinding/widgetplacement.h"

#include <QTimer>
#include <QWidget>

TWidgetPlacement::TWidgetPlacement(QWidget& window) : m_window(window) {}

QMargins TWidgetPlacement::FrameMargins() const
{
    const QRect frame = m_window.frameGeometry();
    const QRect client = m_window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

QMargins TWidgetPlacement::NormalMargins() const
{
    return ShowState() == TShowState::Normal ? FrameMargins() : m_normalMargins;
}

QRect TWidgetPlacement::NormalFrame() const
{
    QRect normal = m_window.normalGeometry();
    if (!normal.isValid())
        normal = m_window.geometry();
    return normal.marginsAdded(NormalMargins());
}

void TWidgetPlacement::SetNormalFrame(const QRect& frame)
{
    m_appliedMargins = FrameMargins();
    m_window.resize(frame.marginsRemoved(m_appliedMargins).size());
    // A top-level window's position is its frame's.
    m_window.move(frame.topLeft());
    m_pendingFrame = frame;
}

void TWidgetPlacement::MoveFrame(const QPoint& topLeft)
{
    m_window.move(topLeft);
}

void TWidgetPlacement::FrameMayHaveChanged()
{
    if (ShowState() != TShowState::Normal)
        return;
    m_normalMargins = FrameMargins();
    if (!m_pendingFrame || m_normalMargins == m_appliedMargins)
        return;
    const QRect frame = *m_pendingFrame;
    SetNormalFrame(frame);
    m_pendingFrame.reset();
}

void TWidgetPlacement::EndFrameCorrection()
{
    if (ShowState() != TShowState::Normal)
        return;
    FrameMayHaveChanged();
    m_pendingFrame.reset();
}

TShowState TWidgetPlacement::ShowState() const
{
    if (m_window.isMinimized())
        return TShowState::Minimized;
    return m_window.isMaximized() ? TShowState::Maximized : TShowState::Normal;
}

void TWidgetPlacement::SetShowState(TShowState state)
{
    Qt::WindowStates states = m_window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == TShowState::Maximized)
        states |= Qt::WindowMaximized;
    else if (state == TShowState::Minimized)
        states |= Qt::WindowMinimized;
    m_window.setWindowState(states);
}

bool TWidgetPlacement::RestoresToMaximized() const
{
    return m_window.windowState().testFlag(Qt::WindowMaximized);
}

void TWidgetPlacement::StartMinimized()
{
    // Shown normal first, so that restoring it gives the normal frame.
    QTimer::singleShot(0, &m_window, [window = &m_window] { window->setWindowState(window->windowState() | Qt::WindowMinimized); });
}

QPoint TWidgetPlacement::MaximizedPosition() const
{
    const QMargins margins = NormalMargins();
    return {-margins.left(), -margins.bottom()};
}

bool TWidgetPlacement::Sizeable() const
{
    return m_window.minimumSize() != m_window.maximumSize();
}
