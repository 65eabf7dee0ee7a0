#include "settings/storedfont.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// The system colour indexes 0 to 30, mapped to the palette's nearest role.
constexpr QPalette::ColorRole SystemColorRoles[] = {
    QPalette::Button,          QPalette::Window,        QPalette::Highlight,   QPalette::Mid,
    QPalette::Window,          QPalette::Base,          QPalette::Shadow,      QPalette::WindowText,
    QPalette::Text,            QPalette::HighlightedText, QPalette::Window,    QPalette::Window,
    QPalette::Dark,            QPalette::Highlight,     QPalette::HighlightedText, QPalette::Button,
    QPalette::Dark,            QPalette::PlaceholderText, QPalette::ButtonText, QPalette::Text,
    QPalette::Light,           QPalette::Shadow,        QPalette::Midlight,    QPalette::ToolTipText,
    QPalette::ToolTipBase,     QPalette::Button,        QPalette::Link,        QPalette::Highlight,
    QPalette::Mid,             QPalette::Highlight,     QPalette::Window};

enum class TFontStyle { Bold, Italic, Underline, StrikeOut };

int PixelHeight(const QFont& font, int pixelsPerInch)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return int(std::lround(font.pointSizeF() * pixelsPerInch / 72.0));
}

// What Qt has no field for, kept from the last assignment.
struct TFontState {
    TFontAccess Access;
    qint32 Charset = 0;
    qint32 Pitch = 0;
    qint32 Color = ClWindowText;
    qint32 PositiveHeight = 0;

    qint32 Height() const
    {
        const int pixels = PixelHeight(Access.GetFont(), Access.PixelsPerInch());
        return PositiveHeight > 0 && PositiveHeight == pixels ? PositiveHeight : -pixels;
    }
    void SetHeight(qint32 height)
    {
        // Zero asks for the default size, which the font already has.
        if (height == 0)
            return;
        QFont font = Access.GetFont();
        // A positive height includes the line's leading, which only the
        // matched face knows; the pixel size is the nearest Qt can request.
        font.setPixelSize(int(std::min(std::abs(qint64(height)), qint64(std::numeric_limits<qint32>::max()))));
        Access.SetFont(font);
        PositiveHeight = height > 0 ? height : 0;
    }
    template <typename Change>
    void ChangeFont(Change change)
    {
        QFont font = Access.GetFont();
        change(font);
        Access.SetFont(font);
    }
};

} // namespace

QColor ColorFromStored(qint32 value, const QPalette& palette)
{
    const quint32 bits = quint32(value);
    if (bits & 0x80000000u) {
        const quint32 index = bits & 0xFFu;
        return palette.color(index < std::size(SystemColorRoles) ? SystemColorRoles[index] : QPalette::Text);
    }
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

qint32 StoredFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16);
}

qint32 MulDiv(qint32 a, qint32 b, qint32 c)
{
    if (c == 0)
        return -1;
    constexpr long long Largest = std::numeric_limits<qint32>::max();
    return qint32(std::clamp(std::llround(double(qint64(a) * b) / c), -Largest, Largest));
}

TStoredProperty FontProperty(TFontAccess access)
{
    auto state = std::make_shared<TFontState>();
    state->Access = std::move(access);
    const auto ppi = [state] { return state->Access.PixelsPerInch(); };

    auto charset = IntegerProperty([state] { return state->Charset; }, [state](qint32 v) { state->Charset = v; });
    auto color = IntegerProperty(
        [state] {
            const QColor current = state->Access.GetColor();
            if (ColorFromStored(state->Color, state->Access.Palette()) == current)
                return state->Color;
            return StoredFromColor(current);
        },
        [state](qint32 v) {
            state->Color = v;
            state->Access.SetColor(ColorFromStored(v, state->Access.Palette()));
        });
    auto height = IntegerProperty([state] { return state->Height(); }, [state](qint32 v) { state->SetHeight(v); });
    auto name = TextProperty([state] { return state->Access.GetFont().family(); },
                             [state](const QString& v) {
                                 if (!v.isEmpty())
                                     state->ChangeFont([&](QFont& font) { font.setFamily(v); });
                             });
    auto pitch = EnumerationProperty(
        {QStringLiteral("fpDefault"), QStringLiteral("fpVariable"), QStringLiteral("fpFixed")},
        [state] { return state->Pitch; },
        [state](qint32 v) {
            state->Pitch = v;
            state->ChangeFont([&](QFont& font) { font.setFixedPitch(v == 2); });
        });
    auto size = IntegerProperty([state, ppi] { return -MulDiv(state->Height(), 72, ppi()); },
                                [state, ppi](qint32 v) { state->SetHeight(-MulDiv(v, ppi(), 72)); });
    auto style = SetProperty(
        {QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
         QStringLiteral("fsStrikeOut")},
        [state] {
            const QFont font = state->Access.GetFont();
            return qint32(font.bold()) << int(TFontStyle::Bold) | qint32(font.italic()) << int(TFontStyle::Italic)
                   | qint32(font.underline()) << int(TFontStyle::Underline)
                   | qint32(font.strikeOut()) << int(TFontStyle::StrikeOut);
        },
        [state](qint32 v) {
            state->ChangeFont([&](QFont& font) {
                font.setBold(v & (1 << int(TFontStyle::Bold)));
                font.setItalic(v & (1 << int(TFontStyle::Italic)));
                font.setUnderline(v & (1 << int(TFontStyle::Underline)));
                font.setStrikeOut(v & (1 << int(TFontStyle::StrikeOut)));
            });
        });
    return ObjectProperty({{QStringLiteral("Charset"), std::move(charset)},
                           {QStringLiteral("Color"), std::move(color)},
                           {QStringLiteral("Height"), std::move(height)},
                           {QStringLiteral("Name"), std::move(name)},
                           {QStringLiteral("Pitch"), std::move(pitch)},
                           {QStringLiteral("Size"), std::move(size)},
                           {QStringLiteral("Style"), std::move(style)}});
}
