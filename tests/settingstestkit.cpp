#include "tests/settingstestkit.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {
QStringList warnings;
// The folder the settings are in now; empty for the run's own.
QString currentFolder;

void UseFolder(const QString& folder)
{
    currentFolder = folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                        : folder);
}

void Collect(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        warnings << message;
}
} // namespace

TSettingsFolder::TSettingsFolder() : m_previous(currentFolder)
{
    UseFolder(m_dir.path());
}

TSettingsFolder::~TSettingsFolder()
{
    UseFolder(m_previous);
}

QString TSettingsFolder::ConfPath() const
{
    return m_dir.filePath(QStringLiteral("Vek/VekTreeViewEditor.conf"));
}

void TSettingsFolder::Write(const QStringList& mainLines) const
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Vek"));
    QFile file(ConfPath());
    if (file.open(QIODevice::WriteOnly))
        file.write((QStringLiteral("[Main]\n") + mainLines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

QByteArray TSettingsFolder::Bytes() const
{
    QFile file(ConfPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QString> TSettingsFolder::Values() const
{
    QSettings settings(ConfPath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Main"));
    QMap<QString, QString> values;
    for (const QString& key : settings.childKeys()) {
        const QVariant value = settings.value(key);
        values[key] = value.typeId() == QMetaType::QString ? value.toString() : QStringLiteral("<not text>");
    }
    return values;
}

void TSettingsFolder::BlockWithAFile() const
{
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    if (file.open(QIODevice::WriteOnly))
        file.write("not a folder");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker);
}

QMap<QString, QString> FirstSaveValues(const QString& normPos)
{
    return {{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
            {"MinMaxPos(800x800)", "-1,-1,-2,-2"}, {"MinMaxPos", "-1,-1,-2,-2"},
            {"NormPos(800x800)", normPos}, {"NormPos", normPos}, {"Visible", "0"},
            {"OpenDialog1_InitialDir", ""}, {"SaveDialog1_InitialDir", ""},
            {"Splitter1_Maximized", "False"}, {"Splitter1_Minimized", "False"},
            {"ToolBarTV_Maximized", "True"}, {"ToolBarMemo_Maximized", "True"}, {"IconComboBox_Text", "0"},
            {"Memo1_FontCharset", "0"}, {"Memo1_FontColor", "-2147483640"}, {"Memo1_FontHeight", "-13"},
            {"Memo1_FontName", "Courier New"}, {"Memo1_FontPitch", "fpDefault"}, {"Memo1_FontSize", "10"},
            {"Memo1_FontStyle", "[]"}, {"actViewWordWrap_Checked", "False"}, {"miWordWrap_Checked", "False"},
            {"Memo1_WordWrap", "False"}, {"Memo1_ScrollBars", "ssBoth"}};
}

TWarnings::TWarnings()
{
    warnings.clear();
    qInstallMessageHandler(Collect);
}

TWarnings::~TWarnings()
{
    qInstallMessageHandler(nullptr);
}

QStringList TWarnings::Lines() const
{
    return warnings;
}
