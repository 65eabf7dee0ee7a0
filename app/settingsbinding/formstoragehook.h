#pragma once

#include "app/guard/guard.h"
#include "app/settingsbinding/widgetplacement.h"
#include "settings/formstorage.h"

#include <QObject>

class QWidget;

// Runs a window's settings store from the window's own events: the restore at
// each show, before the window's own show handler; the save when the window's
// close query lets it close (a refused close saves nothing); and a second
// chance at destruction when nothing was saved since the show.
//
// The window owns it as its last member, so that when it is destroyed the
// window and its components are still whole. Its work runs through the
// guard, which shows what fails; a failed save does not stop the close.
class TFormStorageHook : public QObject {
    Q_OBJECT
public:
    TFormStorageHook(QWidget& window, TGuard& guard);
    ~TFormStorageHook() override;

    TFormStorage& Storage() { return m_storage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    TGuard& m_guard;
    TWidgetPlacement m_placement;
    TFormStorage m_storage;
};
