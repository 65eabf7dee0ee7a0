#include "app/droptarget/droptarget.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

constexpr int ScrollIntervalMs = 100;

// Lets a widget take drags while this target is attached, and says whether
// it took them before.
bool TakeDrops(QWidget* widget)
{
    const bool before = widget->acceptDrops();
    widget->setAcceptDrops(true);
    return before;
}

}  // namespace

TDropTarget::TDropTarget(QObject* parent) : QObject(parent), m_scrollTimer(new QTimer(this))
{
    m_scrollTimer->setInterval(ScrollIntervalMs);
    connect(m_scrollTimer, &QTimer::timeout, this, &TDropTarget::ScrollTick);
}

TDropTarget::~TDropTarget()
{
    // The derived part, with its data, is gone already: only unhook.
    m_drag = TDrag::None;
    Detach();
}

QWidget* TDropTarget::Target() const
{
    return m_target;
}

void TDropTarget::AttachTo(QWidget* control)
{
    if (control == m_target)
        return;
    Detach();
    if (!control)
        return;
    m_target = control;
    m_targetAcceptedDrops = TakeDrops(control);
    control->installEventFilter(this);
    // A scrolling control gets its drags on the viewport that shows its content.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        m_viewport = area->viewport();
        m_viewportAcceptedDrops = TakeDrops(m_viewport);
        m_viewport->installEventFilter(this);
    }
}

void TDropTarget::Detach()
{
    if (m_drag == TDrag::Taken)
        Leave();
    m_drag = TDrag::None;
    if (m_viewport) {
        m_viewport->removeEventFilter(this);
        m_viewport->setAcceptDrops(m_viewportAcceptedDrops);
    }
    if (m_target) {
        m_target->removeEventFilter(this);
        m_target->setAcceptDrops(m_targetAcceptedDrops);
    }
    m_viewport = nullptr;
    m_target = nullptr;
}

bool TDropTarget::Scrolling() const
{
    return m_scrollTimer->isActive();
}

void TDropTarget::BringToFront(QWidget* control)
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window && control)
        window = control->window();
    if (!window || !window->isVisible() || !window->isEnabled())
        return;
    window->raise();
    window->activateWindow();
}

Qt::DropAction TDropTarget::ChooseDropEffect(Qt::KeyboardModifiers shift, QPoint /*point*/,
                                             Qt::DropActions offered) const
{
    const Qt::DropActions allowed = offered & Dragtypes;
    const bool withShift = shift.testFlag(Qt::ShiftModifier);
    const bool withCtrl = shift.testFlag(Qt::ControlModifier);
    if (withShift && withCtrl && allowed.testFlag(Qt::LinkAction))
        return Qt::LinkAction;
    if (withShift && !withCtrl && allowed.testFlag(Qt::MoveAction))
        return Qt::MoveAction;
    for (Qt::DropAction action : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction})
        if (allowed.testFlag(action))
            return action;
    return Qt::IgnoreAction;
}

QWidget* TDropTarget::Client() const
{
    return m_viewport ? m_viewport.data() : m_target.data();
}

QPoint TDropTarget::ClientPoint(QObject* watched, QPoint pos) const
{
    QWidget* client = Client();
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == client)
        return pos;
    return client->mapFrom(widget->window(), widget->mapTo(widget->window(), pos));
}

bool TDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_target || (watched != m_target && watched != m_viewport))
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        ResetDropData();
        if (!drag->mimeData() || !HasAcceptedFormat(*drag->mimeData())) {
            m_drag = RefuseOtherDrags ? TDrag::Refused : TDrag::Passed;
            if (m_drag == TDrag::Passed)
                return false;
            drag->ignore();
            return true;
        }
        Enter(drag, ClientPoint(watched, drag->position().toPoint()));
        return true;
    }
    case QEvent::DragMove:
    case QEvent::Drop: {
        if (m_drag == TDrag::Passed || m_drag == TDrag::None)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        if (m_drag == TDrag::Refused) {
            drop->ignore();
            return true;
        }
        const QPoint point = ClientPoint(watched, drop->position().toPoint());
        if (event->type() == QEvent::DragMove)
            Move(drop, point);
        else
            Drop(drop, point);
        return true;
    }
    case QEvent::DragLeave: {
        const TDrag drag = std::exchange(m_drag, TDrag::None);
        if (drag == TDrag::Taken)
            Leave();
        return drag == TDrag::Taken || drag == TDrag::Refused;
    }
    default:
        return false;
    }
}

void TDropTarget::Enter(QDropEvent* event, QPoint point)
{
    m_drag = TDrag::Taken;
    auto* area = qobject_cast<QAbstractScrollArea*>(m_target.data());
    m_scrollHorizontal = area && area->horizontalScrollBar()->isVisibleTo(area);
    m_scrollVertical = area && area->verticalScrollBar()->isVisibleTo(area);
    m_scrollMargin = QFontInfo(m_target->font()).pixelSize();
    Move(event, point);
}

void TDropTarget::Move(QDropEvent* event, QPoint point)
{
    m_lastPoint = point;
    const Qt::DropAction effect = ChooseDropEffect(event->modifiers(), point, event->possibleActions());
    if (effect == Qt::IgnoreAction) {
        event->ignore();
    } else {
        event->setDropAction(effect);
        event->accept();
    }
    // A running timer keeps its beat: restarted at every move, it would not
    // scroll while the pointer moves along the edge.
    if (!InScrollBand(point))
        m_scrollTimer->stop();
    else if (!m_scrollTimer->isActive())
        m_scrollTimer->start();
}

void TDropTarget::Leave()
{
    m_scrollTimer->stop();
    ResetDropData();
}

void TDropTarget::Drop(QDropEvent* event, QPoint point)
{
    m_drag = TDrag::None;
    m_scrollTimer->stop();
    Qt::DropAction effect = ChooseDropEffect(event->modifiers(), point, event->possibleActions());
    if (effect == Qt::IgnoreAction || !event->mimeData() || !ReadDropData(*event->mimeData())) {
        event->ignore();
        ResetDropData();
        return;
    }
    event->setDropAction(effect);
    event->accept();
    BringToFront(m_target);
    emit Dropped(event->modifiers(), point, effect);
    event->setDropAction(effect);
    ResetDropData();
}

bool TDropTarget::InScrollBand(QPoint point) const
{
    const QWidget* client = Client();
    const bool nearSide = point.x() < m_scrollMargin || point.x() > client->width() - m_scrollMargin;
    const bool nearEnd = point.y() < m_scrollMargin || point.y() > client->height() - m_scrollMargin;
    return (m_scrollHorizontal && nearSide) || (m_scrollVertical && nearEnd);
}

void TDropTarget::ScrollTick()
{
    auto* area = qobject_cast<QAbstractScrollArea*>(m_target.data());
    if (!area || m_drag != TDrag::Taken) {
        m_scrollTimer->stop();
        return;
    }
    const QWidget* client = Client();
    const auto scroll = [](QScrollBar* bar, int position, int size, int margin) {
        if (position < margin)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (position > size - margin)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    };
    if (m_scrollVertical)
        scroll(area->verticalScrollBar(), m_lastPoint.y(), client->height(), m_scrollMargin);
    if (m_scrollHorizontal)
        scroll(area->horizontalScrollBar(), m_lastPoint.x(), client->width(), m_scrollMargin);
}
