#include "app/widgets/theme.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

struct TRoleColor {
    QPalette::ColorRole Role;
    QRgb Color;
};

// Light keeps the classic desktop's look the window was drawn for: navy
// selection, white bevel lights, grey shadows. Every text colour keeps at
// least 4.5:1 against the background it is drawn on.
constexpr TRoleColor LightColors[] = {
    {QPalette::Window, 0xF0F0F0},        {QPalette::WindowText, 0x000000},
    {QPalette::Base, 0xFFFFFF},          {QPalette::AlternateBase, 0xF5F5F5},
    {QPalette::ToolTipBase, 0xFFFFE1},   {QPalette::ToolTipText, 0x000000},
    {QPalette::PlaceholderText, 0x6E6E6E}, {QPalette::Text, 0x000000},
    {QPalette::Button, 0xF0F0F0},        {QPalette::ButtonText, 0x000000},
    {QPalette::BrightText, 0xFFFFFF},    {QPalette::Light, 0xFFFFFF},
    {QPalette::Midlight, 0xE3E3E3},      {QPalette::Mid, 0xA0A0A0},
    {QPalette::Dark, 0x808080},          {QPalette::Shadow, 0x404040},
    {QPalette::Highlight, 0x000080},     {QPalette::HighlightedText, 0xFFFFFF},
    {QPalette::Link, 0x0000EE},          {QPalette::LinkVisited, 0x551A8B},
};
constexpr TRoleColor LightDisabled[] = {
    {QPalette::WindowText, 0x787878}, {QPalette::Text, 0x787878}, {QPalette::ButtonText, 0x787878},
    {QPalette::Highlight, 0x919191},  {QPalette::HighlightedText, 0xFFFFFF},
};

// Dark: grey faces, a deep blue selection under white text, and links light
// enough to read on the darkest base.
constexpr TRoleColor DarkColors[] = {
    {QPalette::Window, 0x2D2D30},        {QPalette::WindowText, 0xE6E6E6},
    {QPalette::Base, 0x1E1E20},          {QPalette::AlternateBase, 0x28282C},
    {QPalette::ToolTipBase, 0x3C3C40},   {QPalette::ToolTipText, 0xE6E6E6},
    {QPalette::PlaceholderText, 0x969696}, {QPalette::Text, 0xE6E6E6},
    {QPalette::Button, 0x353538},        {QPalette::ButtonText, 0xE6E6E6},
    {QPalette::BrightText, 0xFFFFFF},    {QPalette::Light, 0x505054},
    {QPalette::Midlight, 0x424246},      {QPalette::Mid, 0x28282A},
    {QPalette::Dark, 0x202022},          {QPalette::Shadow, 0x0F0F0F},
    {QPalette::Highlight, 0x264F8C},     {QPalette::HighlightedText, 0xFFFFFF},
    {QPalette::Link, 0x6EAAFF},          {QPalette::LinkVisited, 0xC08CFF},
};
constexpr TRoleColor DarkDisabled[] = {
    {QPalette::WindowText, 0x7F7F7F}, {QPalette::Text, 0x7F7F7F}, {QPalette::ButtonText, 0x7F7F7F},
    {QPalette::Highlight, 0x3A3A3E},  {QPalette::HighlightedText, 0x9A9A9A},
};

template <size_t N, size_t M>
QPalette Build(const TRoleColor (&colors)[N], const TRoleColor (&disabled)[M])
{
    QPalette palette;
    for (const TRoleColor& entry : colors)
        palette.setColor(entry.Role, QColor::fromRgb(entry.Color));
    for (const TRoleColor& entry : disabled)
        palette.setColor(QPalette::Disabled, entry.Role, QColor::fromRgb(entry.Color));
    return palette;
}

double Luminance(const QColor& color)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

// The style the desktop chose, taken before the first change replaces it.
QString DesktopStyle()
{
    static const QString name = QApplication::style()->name();
    return name;
}

}  // namespace

QPalette ThemePalette(TTheme theme)
{
    switch (theme) {
    case TTheme::Light:
        return Build(LightColors, LightDisabled);
    case TTheme::Dark:
        return Build(DarkColors, DarkDisabled);
    case TTheme::System:
        break;
    }
    // No colour of its own: every role resolves to the desktop's, and keeps
    // following the desktop when it changes its colours.
    return QPalette();
}

void ApplyTheme(TTheme theme)
{
    const QString style = theme == TTheme::System ? DesktopStyle() : QStringLiteral("fusion");
    if (QApplication::style()->name().compare(style, Qt::CaseInsensitive) != 0)
        QApplication::setStyle(style);
    QApplication::setPalette(ThemePalette(theme));
}

double ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = Luminance(first), b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void SetOwnTextColor(QWidget& widget, const QColor& color)
{
    QPalette palette;
    if (color != QApplication::palette(&widget).color(QPalette::Text))
        palette.setColor(QPalette::Text, color);
    widget.setPalette(palette);
}

QColor MisspellingColor()
{
    return QColor(Qt::red);
}
