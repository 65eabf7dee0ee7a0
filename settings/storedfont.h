#pragma once

#include "settings/storedproperty.h"

#include <QColor>
#include <QFont>
#include <QPalette>

#include <functional>

// Colours in their stored 32-bit form: 0x00BBGGRR for a plain colour; with the
// top bit set, a system colour named by the low byte (8 is the window text).
inline constexpr qint32 ClWindowText = qint32(0x80000008u);

// A system colour takes its colour from the palette.
QColor ColorFromStored(qint32 value, const QPalette& palette);
qint32 StoredFromColor(const QColor& color);

// Where a font property finds the font of a component and its text colour.
struct TFontAccess {
    std::function<QFont()> GetFont;
    std::function<void(const QFont&)> SetFont;
    std::function<QColor()> GetColor;
    std::function<void(const QColor&)> SetColor;
    // The palette that gives system colours their value.
    std::function<QPalette()> Palette;
    // Converts between a height in pixels and a size in points.
    std::function<int()> PixelsPerInch;
};

// The font as an object property with the sub-properties Charset, Color,
// Height, Name, Pitch, Size and Style, in that order. Height is in pixels,
// negative for the character height; Size in points at PixelsPerInch, and
// assigning it sets the height. Charset and Pitch, which Qt does not use, a
// system colour and a positive height are kept as last assigned for as long
// as the font still shows what they gave, so they are written back as read.
TStoredProperty FontProperty(TFontAccess access);

// Rounded a * b / c, halves away from zero, cut to the integers that can be
// negated: a hand-edited size may be any number.
qint32 MulDiv(qint32 a, qint32 b, qint32 c);
