#pragma once

#include <QColor>
#include <Qt>

class QPainter;
class QPalette;
class QRect;
class QRegion;

// Pixel drawing shared by the splitter's button and the toolbars' grip. Every
// shape is built from whole device-independent pixels with fillRect, so it stays
// crisp and keeps its proportions at any scale factor.

// The colours of the folding controls, all taken from the palette. On the
// classic desktop palette (navy selection, white bevel light, grey shadow)
// they are the controls' original navy arrows and pale blue hover.
struct TPaneColors {
    QColor Face;
    QColor Hot;  // the face while the mouse is over the control
    QColor Arrow;
    QColor Texture1;
    QColor Texture2;
    QColor Frame;
    QColor Bevel;  // the light lines inside a frame
};
TPaneColors PaneColors(const QPalette& palette);

// The largest odd number not above value, at least 1.
int OddDepth(int value);

// A solid triangle of the given depth pointing Left, Right or Down, its tip at
// the pointed side of box; box is depth long that way and 2 * depth - 1 across.
void DrawArrow(QPainter& painter, const QRect& box, Qt::ArrowType direction, const QColor& color);

// Dots on a grid of 3 x 3 cells anchored at the area's top-left corner: color1
// at (1, 1) of each cell and color2 at (2, 2), wherever the dot lies in area.
void DrawTexture(QPainter& painter, const QRegion& area, const QColor& color1, const QColor& color2);
