#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QDropEvent;
class QMimeData;
class QTimer;
class QWidget;

// Takes drags of one kind onto a control that knows nothing of them. It sits
// in front of the control as an event filter: drags it can read it answers
// itself, with the effect the keyboard asks for; every other drag goes on to
// the control untouched (or is refused, see RefuseOtherDrags), so the
// control's own drag and drop keeps working. While a drag it took rests near
// an edge of a scrolling control, it scrolls the control.
class TDropTarget : public QObject {
    Q_OBJECT

public:
    explicit TDropTarget(QObject* parent = nullptr);
    ~TDropTarget() override;

    // Starts taking drops on `control` (none: stops), leaving the previous one.
    void AttachTo(QWidget* control);
    void Detach();
    QWidget* Target() const;

    // The effects this target may report.
    Qt::DropActions Dragtypes = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    // Drags this target cannot read are refused instead of passed on to the
    // control (for a control that must take nothing else).
    bool RefuseOtherDrags = false;
    // True while the control scrolls because a drag rests near its edge.
    bool Scrolling() const;

    // Raises and activates the window of `control`, or the modal dialog open
    // over it, when it is visible and enabled.
    static void BringToFront(QWidget* control);

signals:
    // A drop whose data was read, after the window came to the front; the
    // data stays readable until the receivers return. `effect` is what the
    // drag source is told, and a receiver may change it.
    void Dropped(Qt::KeyboardModifiers shift, QPoint point, Qt::DropAction& effect);

protected:
    // Reads the usable data of a drop; true when there is some.
    virtual bool ReadDropData(const QMimeData& data) = 0;
    // Forgets data read before.
    virtual void ResetDropData() = 0;
    // Whether the drag offers data this target can read.
    virtual bool HasAcceptedFormat(const QMimeData& data) const = 0;
    // The effect to report for the keyboard state and the effects the source
    // offers: Shift+Ctrl links, Shift alone moves, otherwise copy, each only
    // when allowed; failing that the first allowed of copy, move, link.
    virtual Qt::DropAction ChooseDropEffect(Qt::KeyboardModifiers shift, QPoint point,
                                            Qt::DropActions offered) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TDrag { None, Taken, Passed, Refused };

    QWidget* Client() const;
    QPoint ClientPoint(QObject* watched, QPoint pos) const;
    void Enter(QDropEvent* event, QPoint point);
    void Move(QDropEvent* event, QPoint point);
    void Leave();
    void Drop(QDropEvent* event, QPoint point);
    bool InScrollBand(QPoint point) const;
    void ScrollTick();

    QPointer<QWidget> m_target;
    QPointer<QWidget> m_viewport;  // where a scrolling control gets its drags
    bool m_targetAcceptedDrops = false;
    bool m_viewportAcceptedDrops = false;
    TDrag m_drag = TDrag::None;
    bool m_scrollHorizontal = false;
    bool m_scrollVertical = false;
    int m_scrollMargin = 0;
    QPoint m_lastPoint;
    QTimer* m_scrollTimer;
};
