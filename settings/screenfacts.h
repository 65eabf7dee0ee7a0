#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// What the placement needs to know of the screens.
struct TScreenFacts {
    QSize Resolution;       // primary screen, in pixels
    int PixelsPerInch = 96; // primary screen's logical dots per inch, rounded
    QRect PrimaryArea;      // primary screen's area left to windows
    QList<QRect> AvailableAreas; // every screen's, in virtual desktop coordinates

    // The screens as the application sees them now.
    static TScreenFacts Current();
};

// True when a 30-pixel strip at the frame's top, the title bar, lies on one of
// the areas at least 100 pixels wide (or the frame's whole width, if narrower),
// so the user can still reach it and drag the window.
bool TitleBarOnScreen(const QRect& frame, const QList<QRect>& areas);

// A frame of this size, cut to fit the area, centred in it.
QRect CentredFrame(const QSize& size, const QRect& area);
