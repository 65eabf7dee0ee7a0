#include "settings/reginifile.h"

#include "settings/settingserror.h"

#include <QFile>
#include <QStringList>

TRegIniFile::TRegIniFile(const QString& organization, const QString& application)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, organization, application)
{
}

QString TRegIniFile::Key(const QString& section, const QString& ident) const
{
    return section + QLatin1Char('/') + ident;
}

std::optional<QString> TRegIniFile::ReadText(const QString& section, const QString& ident, TTextForm form) const
{
    const QString key = Key(section, ident);
    if (!m_settings.contains(key))
        return std::nullopt;
    const QVariant value = m_settings.value(key);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (form != TTextForm::Plain && value.typeId() == QMetaType::QStringList) {
        const QStringList items = value.toStringList();
        if (form == TTextForm::Verbatim)
            if (std::optional<QString> text = TextInFile(section, ident, items))
                return text;
        return items.join(QLatin1Char(','));
    }
    qWarning("Settings value \"%s\" in %s is not text; its default is used", qPrintable(ident),
             qPrintable(FileName()));
    return std::nullopt;
}

// The reader drops the blanks around the commas of a list, so the text as it
// was written is taken from its line in the file, and only when that line
// splits into the same items: anything escaped or quoted is left to the reader.
std::optional<QString> TRegIniFile::TextInFile(const QString& section, const QString& ident,
                                               const QStringList& items) const
{
    QFile file(FileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0 || line.left(equals).trimmed() != ident)
            continue;
        const QString text = line.mid(equals + 1).trimmed();
        QStringList parts = text.split(QLatin1Char(','));
        for (QString& part : parts)
            part = part.trimmed();
        if (parts == items)
            return text;
        return std::nullopt;
    }
    return std::nullopt;
}

QString TRegIniFile::ReadString(const QString& section, const QString& ident, const QString& defaultValue,
                                TTextForm form) const
{
    return ReadText(section, ident, form).value_or(defaultValue);
}

qint32 TRegIniFile::ReadInteger(const QString& section, const QString& ident, qint32 defaultValue) const
{
    const std::optional<QString> text = ReadText(section, ident);
    if (!text)
        return defaultValue;
    return DecimalToInteger(*text).value_or(defaultValue);
}

void TRegIniFile::WriteString(const QString& section, const QString& ident, const QString& value)
{
    m_settings.setValue(Key(section, ident), value);
}

void TRegIniFile::WriteInteger(const QString& section, const QString& ident, qint32 value)
{
    WriteString(section, ident, QString::number(value));
}

void TRegIniFile::Commit()
{
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError)
        throw ESettingsError("Failed to set data for '" + FileName().toStdString() + "'");
}

QString TRegIniFile::FileName() const
{
    return m_settings.fileName();
}

std::optional<qint32> DecimalToInteger(const QString& text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}
