#pragma once

#include "settings/screenfacts.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class TRegIniFile;

enum class TShowState { Normal, Minimized, Maximized };

// What the placement needs of a window. Frames are in virtual desktop
// coordinates and include the window's title bar and border.
class TPlacementWindow {
public:
    virtual ~TPlacementWindow() = default;
    // The frame of the normal state, also while minimised or maximised.
    virtual QRect NormalFrame() const = 0;
    virtual void SetNormalFrame(const QRect& frame) = 0;
    // Moves the frame, keeping the window's size.
    virtual void MoveFrame(const QPoint& topLeft) = 0;
    virtual TShowState ShowState() const = 0;
    virtual void SetShowState(TShowState state) = 0;
    // True while minimised from the maximised state.
    virtual bool RestoresToMaximized() const = 0;
    // Minimises the window once it is on screen; restoring it gives the normal state.
    virtual void StartMinimized() = 0;
    // Where a maximised frame goes: minus the thickness of the sizing border.
    virtual QPoint MaximizedPosition() const = 0;
    virtual bool Sizeable() const = 0;
};

// Where a window goes when no stored position is applied.
enum class TFormPosition { Designed, ScreenCenter };

// Keeps a window's placement (frame, normal/minimised/maximised state) from
// one run to the next in the per-user settings "Vek/VekTreeViewEditor",
// section "Main". A derived store adds properties of the window's components.
//
// The window's show runs FormShow, its close query FormCloseQuery, and its
// destruction FormDestroy; nothing else needs to call the store.
class TFormPlacement {
public:
    static constexpr qint32 Version = 0;

    explicit TFormPlacement(TPlacementWindow& window);
    virtual ~TFormPlacement();
    TFormPlacement(const TFormPlacement&) = delete;
    TFormPlacement& operator=(const TFormPlacement&) = delete;

    // The screens to place the window on; the application's by default.
    void SetScreens(std::function<TScreenFacts()> screens);
    TFormPosition Position() const { return m_position; }
    void SetPosition(TFormPosition position) { m_position = position; }

    // Placement, then properties. A stored "FormVersion" below Version skips both.
    void RestoreWindowSettings();
    // Placement, then properties; only after a restore. Throws ESettingsError
    // when the settings file cannot be written.
    void SaveWindowSettings();

    void FormShow();
    // Saves only when the window agreed to close.
    void FormCloseQuery(bool canClose);
    // Saves when nothing was saved since the last show, recording "Visible" "1".
    void FormDestroy();

    bool PlacementRestored() const { return m_placementRestored; }
    bool SettingsSaved() const { return m_settingsSaved; }

protected:
    virtual void RestoreProperties(TRegIniFile& ini, const QString& section);
    virtual void SaveProperties(TRegIniFile& ini, const QString& section);

private:
    void RestorePlacement(const TRegIniFile& ini, const TScreenFacts& screens);
    void SavePlacement(TRegIniFile& ini, const TScreenFacts& screens);
    void ApplyStartPosition(const TScreenFacts& screens);

    TPlacementWindow& m_window;
    std::function<TScreenFacts()> m_screens;
    TFormPosition m_position = TFormPosition::ScreenCenter;
    bool m_placementRestored = false;
    bool m_settingsSaved = false;
    bool m_savingOnDestroy = false;
    // Written back as read: Qt has no minimised position and does not say
    // whether one was set (bit 0 of the flags).
    qint32 m_flags = 0;
    QPoint m_minPosition{-1, -1};
};
