#include "app/panes/panepainting.h"

#include <QPainter>
#include <QPalette>
#include <QRegion>

#include <algorithm>

TPaneColors PaneColors(const QPalette& palette)
{
    const QColor face = palette.color(QPalette::Button), selection = palette.color(QPalette::Highlight);
    const bool lightFace = face.lightness() >= 128;
    // The hover is the selection's hue: pale on a light face, deep on a dark
    // one. A selection deep enough to carry white text would hardly show on a
    // dark face, so there the arrows take a lighter shade of it.
    const QColor hot = QColor::fromHsl(selection.hslHue(), selection.hslSaturation(), lightFace ? 231 : 72);
    const QColor accent = lightFace ? selection : selection.lighter(200);
    const QColor bevel = palette.color(QPalette::Light);
    return {face, hot, accent, bevel, accent, palette.color(QPalette::Dark), bevel};
}

int OddDepth(int value)
{
    if (value % 2 == 0)
        --value;
    return std::max(value, 1);
}

void DrawArrow(QPainter& painter, const QRect& box, Qt::ArrowType direction, const QColor& color)
{
    const bool across = direction == Qt::DownArrow;
    const int depth = across ? box.height() : box.width();
    // Slice i lies i pixels back from the tip and spans i pixels either side of the middle.
    for (int i = 0; i < depth; ++i) {
        switch (direction) {
        case Qt::LeftArrow:
            painter.fillRect(box.left() + i, box.top() + depth - 1 - i, 1, 2 * i + 1, color);
            break;
        case Qt::RightArrow:
            painter.fillRect(box.right() - i, box.top() + depth - 1 - i, 1, 2 * i + 1, color);
            break;
        case Qt::DownArrow:
            painter.fillRect(box.left() + depth - 1 - i, box.bottom() - i, 2 * i + 1, 1, color);
            break;
        default:
            return;
        }
    }
}

void DrawTexture(QPainter& painter, const QRegion& area, const QColor& color1, const QColor& color2)
{
    const QRect bounds = area.boundingRect();
    for (int y = bounds.top(); y <= bounds.bottom(); y += 3) {
        for (int x = bounds.left(); x <= bounds.right(); x += 3) {
            if (area.contains(QPoint(x + 1, y + 1)))
                painter.fillRect(x + 1, y + 1, 1, 1, color1);
            if (area.contains(QPoint(x + 2, y + 2)))
                painter.fillRect(x + 2, y + 2, 1, 1, color2);
        }
    }
}
