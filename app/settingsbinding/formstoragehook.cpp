#include "app/settingsbinding/formstoragehook.h"

#include <QEvent>
#include <QWidget>

TFormStorageHook::TFormStorageHook(QWidget& window, TGuard& guard)
    : m_window(window), m_guard(guard), m_placement(window), m_storage(m_placement)
{
    m_window.installEventFilter(this);
}

TFormStorageHook::~TFormStorageHook()
{
    m_window.removeEventFilter(this);
    m_guard.Run([this] { m_storage.FormDestroy(); });
}

bool TFormStorageHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // A window coming back from the task bar is not a new show.
        if (!event->spontaneous())
            m_guard.Run([this] { m_storage.FormShow(); });
        break;
    case QEvent::Close: {
        // The window's own close query answers first; QObject::event is the
        // public door to it.
        static_cast<QObject&>(m_window).event(event);
        const bool canClose = event->isAccepted();
        m_guard.Run([this, canClose] { m_storage.FormCloseQuery(canClose); });
        return true;
    }
    case QEvent::Move:
    case QEvent::Resize:
        m_placement.FrameMayHaveChanged();
        break;
    case QEvent::WindowActivate:
        m_placement.EndFrameCorrection();
        break;
    default:
        break;
    }
    return false;
}
