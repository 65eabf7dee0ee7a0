#include "tests/apptestkit.h"

#include "app/widgets/theme.h"
#include "app/window/themecommands.h"

#include <QAction>
#include <QImage>
#include <QMap>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSettings>

namespace {

// Every pair of colours that carries text, in both of the program's palettes.
TEST(ThemePalettes, TextSelectionAndLinksKeepTheirContrast)
{
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::Text, QPalette::Base},           {QPalette::WindowText, QPalette::Window},
        {QPalette::ButtonText, QPalette::Button},   {QPalette::HighlightedText, QPalette::Highlight},
        {QPalette::Link, QPalette::Base},           {QPalette::Link, QPalette::Window},
        {QPalette::LinkVisited, QPalette::Base},    {QPalette::ToolTipText, QPalette::ToolTipBase},
        {QPalette::PlaceholderText, QPalette::Base}, {QPalette::Text, QPalette::AlternateBase}};
    for (TTheme theme : {TTheme::Light, TTheme::Dark}) {
        const QPalette palette = ThemePalette(theme);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const auto& [text, back] : pairs)
                EXPECT_GE(ContrastRatio(palette.color(group, text), palette.color(group, back)), 4.5)
                    << "theme " << int(theme) << " group " << group << " roles " << text << " on " << back;
    }
}

// Painting takes its colours from the palette; a colour written into the
// code would stay light in Dark. Only the palettes themselves name colours.
TEST(ThemePalettes, NoColourIsWrittenIntoThePaintingCode)
{
    const QStringList allowed = {QStringLiteral("app/widgets/theme.cpp")};
    const QRegularExpression literal(
        QStringLiteral(R"(Qt::(white|black|red|green|blue|cyan|magenta|yellow|gray|darkGray|lightGray|dark(Red|Green|)"
                       R"(Blue|Cyan|Magenta|Yellow))\b|QColor(::from\w+)?\(\s*(\d|")|qRgba?\(|"#[0-9A-Fa-f]{3,8}"|)"
                       R"(color\s*:)"));
    const QString root = QStringLiteral(VEK_TEST_DATA "/../../");
    int files = 0;
    for (QDirIterator it(root + "app", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
        ++files;
        if (allowed.contains(relative))
            continue;
        int line = 0;
        for (const QByteArray& text : file.readAll().split('\n')) {
            ++line;
            const QRegularExpressionMatch match = literal.match(QString::fromUtf8(text));
            EXPECT_FALSE(match.hasMatch()) << relative.toStdString() << ":" << line << ": " << text.toStdString();
        }
    }
    EXPECT_GT(files, 100);
}

class ThemeTest : public WindowTest {
protected:
    // The theme is the whole application's; the next test starts on the desktop's.
    void TearDown() override
    {
        ApplyTheme(TTheme::System);
        WindowTest::TearDown();
    }
};

TEST_F(ThemeTest, SwitchingRecoloursTheTreeAndTheDescriptionAtOnceAndIsKept)
{
    auto window = MakeWindow();
    const QPalette desktop = window->TreeListView()->palette();
    const struct {
        TActionId action;
        TTheme theme;
    } steps[] = {{TActionId::actViewThemeDark, TTheme::Dark},
                 {TActionId::actViewThemeLight, TTheme::Light},
                 {TActionId::actViewThemeSystem, TTheme::System},
                 {TActionId::actViewThemeDark, TTheme::Dark}};
    for (const auto& step : steps) {
        // Widgets take the application's new palette from a posted event.
        Run(*window, step.action);
        QApplication::processEvents();
        const QPalette expected = step.theme == TTheme::System ? desktop : ThemePalette(step.theme);
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Text, QPalette::Highlight}) {
            EXPECT_EQ(window->TreeListView()->palette().color(role), expected.color(role))
                << "tree, theme " << int(step.theme) << " role " << role;
            EXPECT_EQ(window->Memo1()->palette().color(role), expected.color(role))
                << "description, theme " << int(step.theme) << " role " << role;
        }
        EXPECT_TRUE(Action(*window, step.action)->isChecked());
        EXPECT_EQ(window->ThemeCommands().Theme(), step.theme);
    }

    ASSERT_TRUE(window->close());
    window.reset();
    EXPECT_EQ(QSettings(m_settings.ConfPath(), QSettings::IniFormat).value("Appearance/Theme").toString(), "Dark");
    EXPECT_FALSE(m_settings.Values().contains("Theme"));
    ApplyTheme(TTheme::System);
    window = MakeWindow();
    EXPECT_EQ(window->ThemeCommands().Theme(), TTheme::Dark);
    EXPECT_TRUE(Action(*window, TActionId::actViewThemeDark)->isChecked());
    QApplication::processEvents();
    // The stored font colour is the palette's own text colour, read before the theme.
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Text})
        EXPECT_EQ(window->Memo1()->palette().color(role), ThemePalette(TTheme::Dark).color(role)) << role;
}

// The tree paints its rows, the selection and the drop mark in the palette's
// colours, so no light patch is left in Dark and no navy one in Light.
TEST_F(ThemeTest, TheTreePaintsFromThePalette)
{
    WriteBytes(Path("doc.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("doc.trd")});
    TTreeListTextNode* first = window->TreeList().TopItem(0);
    ASSERT_NE(first, nullptr);
    first->SetFocused();
    first->SetSelected(true);
    for (const auto& [action, theme, other] :
         {std::tuple{TActionId::actViewThemeDark, TTheme::Dark, TTheme::Light},
          std::tuple{TActionId::actViewThemeLight, TTheme::Light, TTheme::Dark}}) {
        Run(*window, action);
        QApplication::processEvents();
        const QPalette palette = ThemePalette(theme);
        const QImage picture = window->TreeListView()->viewport()->grab().toImage();
        QMap<QRgb, int> count;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                ++count[picture.pixel(x, y)];
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Highlight}) {
            EXPECT_GT(count.value(palette.color(role).rgb()), 20) << "theme " << int(theme) << " role " << role;
            EXPECT_EQ(count.value(ThemePalette(other).color(role).rgb()), 0) << "theme " << int(theme) << " role " << role;
        }
    }
}

}  // namespace
