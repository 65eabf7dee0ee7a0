#pragma once

#include "settings/formplacement.h"

#include <QMargins>

#include <optional>

class QWidget;

// A top-level QWidget as the placement sees it: its frame is the geometry
// with the window manager's title bar and border around it.
class TWidgetPlacement : public TPlacementWindow {
public:
    explicit TWidgetPlacement(QWidget& window);

    QRect NormalFrame() const override;
    void SetNormalFrame(const QRect& frame) override;
    void MoveFrame(const QPoint& topLeft) override;
    TShowState ShowState() const override;
    void SetShowState(TShowState state) override;
    bool RestoresToMaximized() const override;
    void StartMinimized() override;
    QPoint MaximizedPosition() const override;
    bool Sizeable() const override;

    // A window manager that frames the window only once it is on screen
    // changes the border after the frame was applied; the frame is then
    // applied again as soon as the window is in the normal state. Called on
    // the window's moves and resizes; its activation in the normal state
    // ends the wait.
    void FrameMayHaveChanged();
    void EndFrameCorrection();

private:
    QMargins FrameMargins() const;
    // A maximised window often loses its border; the normal frame keeps the
    // border last seen in the normal state.
    QMargins NormalMargins() const;

    QWidget& m_window;
    std::optional<QRect> m_pendingFrame;
    QMargins m_appliedMargins;
    QMargins m_normalMargins;
};
