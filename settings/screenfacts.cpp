#include "settings/screenfacts.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

TScreenFacts TScreenFacts::Current()
{
    TScreenFacts facts;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        facts.Resolution = primary->size() * primary->devicePixelRatio();
        facts.PixelsPerInch = int(std::lround(primary->logicalDotsPerInch()));
        facts.PrimaryArea = primary->availableGeometry();
    }
    for (QScreen* screen : QGuiApplication::screens())
        facts.AvailableAreas << screen->availableGeometry();
    return facts;
}

bool TitleBarOnScreen(const QRect& frame, const QList<QRect>& areas)
{
    constexpr int TitleHeight = 30;
    constexpr int TitleWidth = 100;
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), TitleHeight));
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) {
        const QRect visible = titleBar & area;
        return visible.height() >= TitleHeight && visible.width() >= std::min(TitleWidth, frame.width());
    });
}

QRect CentredFrame(const QSize& size, const QRect& area)
{
    QRect frame(QPoint(0, 0), size.boundedTo(area.size()));
    frame.moveCenter(area.center());
    return frame;
}
