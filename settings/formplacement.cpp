#include "settings/formplacement.h"

#include "settings/reginifile.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString Organization = QStringLiteral("Vek");
const QString Application = QStringLiteral("VekTreeViewEditor");
const QString Section = QStringLiteral("Main");

enum TPlacementFlag : qint32 { SetMinPosition = 1, RestoreToMaximized = 2 };
enum TShowCmd : qint32 { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

QString ResolutionSuffix(const TScreenFacts& screens)
{
    return QStringLiteral("(%1x%2)").arg(screens.Resolution.width()).arg(screens.Resolution.height());
}

// The value for this resolution, else the one saved last at any resolution.
QString ReadPosition(const TRegIniFile& ini, const QString& name, const QString& suffix)
{
    const QString text = ini.ReadString(Section, name + suffix, QString(), TTextForm::CommaList);
    return text.isEmpty() ? ini.ReadString(Section, name, QString(), TTextForm::CommaList) : text;
}

// Up to four numbers separated by blanks or commas; a missing or malformed
// one keeps its default.
void ParseWords(const QString& text, std::initializer_list<int*> values)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    int i = 0;
    for (int* value : values) {
        if (i < words.size())
            *value = DecimalToInteger(words[i]).value_or(*value);
        ++i;
    }
}

QString FormatWords(std::initializer_list<int> values)
{
    QStringList words;
    for (int value : values)
        words << QString::number(value);
    return words.join(QLatin1Char(','));
}

TShowState StateOfShowCmd(qint32 showCmd)
{
    switch (showCmd) {
    case 2: case 6: case 7:
        return TShowState::Minimized;
    case 3:
        return TShowState::Maximized;
    default:
        return TShowState::Normal;
    }
}

} // namespace

TFormPlacement::TFormPlacement(TPlacementWindow& window) : m_window(window), m_screens(&TScreenFacts::Current) {}

TFormPlacement::~TFormPlacement() = default;

void TFormPlacement::SetScreens(std::function<TScreenFacts()> screens)
{
    m_screens = std::move(screens);
}

void TFormPlacement::RestoreWindowSettings()
{
    m_settingsSaved = false;
    const TScreenFacts screens = m_screens();
    TRegIniFile ini(Organization, Application);
    if (ini.ReadInteger(Section, QStringLiteral("FormVersion"), 0) >= Version) {
        RestorePlacement(ini, screens);
        RestoreProperties(ini, Section);
    } else {
        ApplyStartPosition(screens);
    }
    m_placementRestored = true;
}

void TFormPlacement::ApplyStartPosition(const TScreenFacts& screens)
{
    if (m_position != TFormPosition::ScreenCenter)
        return;
    const QSize size = m_window.NormalFrame().size();
    const QRect frame = CentredFrame(size, screens.PrimaryArea);
    if (frame.size() == size)
        m_window.MoveFrame(frame.topLeft());
    else
        m_window.SetNormalFrame(frame);
}

void TFormPlacement::RestorePlacement(const TRegIniFile& ini, const TScreenFacts& screens)
{
    const QString suffix = ResolutionSuffix(screens);
    m_flags = ini.ReadInteger(Section, QStringLiteral("Flags"), m_flags);
    const QString minMaxPos = ReadPosition(ini, QStringLiteral("MinMaxPos"), suffix);
    if (!minMaxPos.isEmpty()) {
        int x = 0, y = 0;
        ParseWords(minMaxPos, {&x, &y});
        m_minPosition = {x, y};
    }
    const QRect current = m_window.NormalFrame();
    int left = current.left(), top = current.top();
    int right = left + current.width(), bottom = top + current.height();
    const QString normPos = ReadPosition(ini, QStringLiteral("NormPos"), suffix);
    if (!normPos.isEmpty())
        ParseWords(normPos, {&left, &top, &right, &bottom});
    const qint32 pixelsPerInch = ini.ReadInteger(Section, QStringLiteral("PixelsPerInch"), screens.PixelsPerInch);

    if ((!minMaxPos.isEmpty() || !normPos.isEmpty()) && pixelsPerInch == screens.PixelsPerInch) {
        if (!m_window.Sizeable()) {
            right = left + current.width();
            bottom = top + current.height();
        }
        // An empty frame is nothing a window could be given.
        if (right > left && bottom > top) {
            m_position = TFormPosition::Designed;
            const QRect frame(QPoint(left, top), QSize(right - left, bottom - top));
            m_window.SetNormalFrame(TitleBarOnScreen(frame, screens.AvailableAreas)
                                        ? frame
                                        : CentredFrame(frame.size(), screens.PrimaryArea));
        }
    }
    // Before the state: the frame is the normal one the state starts from.
    ApplyStartPosition(screens);

    const TShowState state = StateOfShowCmd(ini.ReadInteger(Section, QStringLiteral("ShowCmd"), 0));
    if (state == TShowState::Minimized)
        m_window.StartMinimized();
    else
        m_window.SetShowState(state);
}

void TFormPlacement::RestoreProperties(TRegIniFile&, const QString&) {}

void TFormPlacement::SaveWindowSettings()
{
    if (!m_placementRestored)
        return;
    const TScreenFacts screens = m_screens();
    TRegIniFile ini(Organization, Application);
    ini.WriteInteger(Section, QStringLiteral("FormVersion"), Version);
    SavePlacement(ini, screens);
    SaveProperties(ini, Section);
    ini.Commit();
    m_settingsSaved = true;
}

void TFormPlacement::SavePlacement(TRegIniFile& ini, const TScreenFacts& screens)
{
    const QString suffix = ResolutionSuffix(screens);
    const TShowState state = m_window.ShowState();
    qint32 flags = m_flags & SetMinPosition;
    if (state == TShowState::Minimized && m_window.RestoresToMaximized())
        flags |= RestoreToMaximized;
    const qint32 showCmd = state == TShowState::Minimized   ? ShowMinimized
                           : state == TShowState::Maximized ? ShowMaximized
                                                            : ShowNormal;
    ini.WriteInteger(Section, QStringLiteral("Flags"), flags);
    ini.WriteInteger(Section, QStringLiteral("ShowCmd"), showCmd);
    ini.WriteInteger(Section, QStringLiteral("PixelsPerInch"), screens.PixelsPerInch);

    const QPoint maxPosition = m_window.MaximizedPosition();
    const QString minMaxPos = FormatWords({m_minPosition.x(), m_minPosition.y(), maxPosition.x(), maxPosition.y()});
    ini.WriteString(Section, QStringLiteral("MinMaxPos") + suffix, minMaxPos);
    ini.WriteString(Section, QStringLiteral("MinMaxPos"), minMaxPos);
    const QRect frame = m_window.NormalFrame();
    const QString normPos = FormatWords({frame.left(), frame.top(), frame.left() + frame.width(),
                                         frame.top() + frame.height()});
    ini.WriteString(Section, QStringLiteral("NormPos") + suffix, normPos);
    ini.WriteString(Section, QStringLiteral("NormPos"), normPos);
    ini.WriteString(Section, QStringLiteral("Visible"), m_savingOnDestroy ? QStringLiteral("1") : QStringLiteral("0"));
}

void TFormPlacement::SaveProperties(TRegIniFile&, const QString&) {}

void TFormPlacement::FormShow()
{
    RestoreWindowSettings();
}

void TFormPlacement::FormCloseQuery(bool canClose)
{
    if (canClose)
        SaveWindowSettings();
}

void TFormPlacement::FormDestroy()
{
    if (m_settingsSaved)
        return;
    struct TSavingOnDestroy {
        bool& flag;
        explicit TSavingOnDestroy(bool& f) : flag(f) { flag = true; }
        ~TSavingOnDestroy() { flag = false; }
    } saving(m_savingOnDestroy);
    SaveWindowSettings();
}
