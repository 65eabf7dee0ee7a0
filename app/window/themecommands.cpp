#include "app/window/themecommands.h"

#include "app/window/commandtable.h"

#include <QAction>
#include <QActionGroup>

namespace {
constexpr TActionId ThemeActions[] = {TActionId::actViewThemeSystem, TActionId::actViewThemeLight,
                                      TActionId::actViewThemeDark};
}  // namespace

TThemeCommands::TThemeCommands(QObject* parent)
    : QObject(parent)
{
}

void TThemeCommands::Bind(const TCommandTable& commands)
{
    m_commands = &commands;
    m_group = new QActionGroup(this);
    m_group->setExclusive(true);
    for (TActionId id : ThemeActions) {
        QAction* action = commands.Action(id);
        action->setCheckable(true);
        m_group->addAction(action);
    }
    commands.Action(ThemeActions[static_cast<int>(m_theme)])->setChecked(true);
}

void TThemeCommands::SetTheme(TTheme theme)
{
    if (theme != m_theme)
        ApplyTheme(theme);
    m_theme = theme;
    if (m_commands != nullptr)
        m_commands->Action(ThemeActions[static_cast<int>(theme)])->setChecked(true);
}

TStoredProperty TThemeCommands::StoredTheme()
{
    return EnumerationProperty(
        {QStringLiteral("System"), QStringLiteral("Light"), QStringLiteral("Dark")},
        [this] { return static_cast<qint32>(m_theme); },
        [this](qint32 value) {
            if (value >= 0 && value < static_cast<qint32>(std::size(ThemeActions)))
                SetTheme(static_cast<TTheme>(value));
        });
}

void TThemeCommands::actViewThemeSystemExecute()
{
    SetTheme(TTheme::System);
}

void TThemeCommands::actViewThemeLightExecute()
{
    SetTheme(TTheme::Light);
}

void TThemeCommands::actViewThemeDarkExecute()
{
    SetTheme(TTheme::Dark);
}
