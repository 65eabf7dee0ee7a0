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
