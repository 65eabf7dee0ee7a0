#pragma once

#include "app/widgets/theme.h"
#include "settings/storedproperty.h"

#include <QObject>

class QActionGroup;
class TCommandTable;

// View > Theme: the desktop's colours, or the program's own Light or Dark.
// The choice applies to the whole application at once and is kept in the
// settings, apart from the window's own entries.
class TThemeCommands : public QObject {
    Q_OBJECT
public:
    static constexpr const char Section[] = "Appearance";
    static constexpr const char ValueName[] = "Theme";

    explicit TThemeCommands(QObject* parent = nullptr);
    // Makes the three theme commands one group of choices, one checked.
    void Bind(const TCommandTable& commands);

    TTheme Theme() const { return m_theme; }
    // Applies the theme and checks its command.
    void SetTheme(TTheme theme);
    // The choice as the settings store keeps it: "System", "Light" or "Dark".
    TStoredProperty StoredTheme();

    void actViewThemeSystemExecute();
    void actViewThemeLightExecute();
    void actViewThemeDarkExecute();

private:
    // The desktop's colours are in force until a theme is chosen.
    TTheme m_theme = TTheme::System;
    const TCommandTable* m_commands = nullptr;
    QActionGroup* m_group = nullptr;
};
