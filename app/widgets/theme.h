#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

// The window's colours: the desktop's own, or one of the two Fusion palettes
// the program defines so it looks the same on every desktop.
enum class TTheme { System, Light, Dark };

// The palette of Light or Dark; System's has no colour of its own, so each
// resolves to the desktop's.
QPalette ThemePalette(TTheme theme);

// Makes the theme the whole application's: its style and palette change at
// once, and every widget that takes its colours from the palette follows.
void ApplyTheme(TTheme theme);

// The contrast ratio of two colours as the web's accessibility guidelines
// define it, from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& first, const QColor& second);

// The wavy line under a misspelled word, in every theme: red reads on light
// and dark faces alike.
QColor MisspellingColor();

// Gives `widget` a text colour of its own; the palette's own text colour is
// no choice of the user's, so with it the widget follows the theme instead.
void SetOwnTextColor(QWidget& widget, const QColor& color);
