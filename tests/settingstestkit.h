#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// The program's per-user settings, moved into a fresh temporary folder while
// it lives; then back where they were.
class TSettingsFolder {
public:
    TSettingsFolder();
    ~TSettingsFolder();
    TSettingsFolder(const TSettingsFolder&) = delete;
    TSettingsFolder& operator=(const TSettingsFolder&) = delete;
    QString ConfPath() const;
    // A hand-written file: the lines go into the section "Main".
    void Write(const QStringList& mainLines) const;
    QByteArray Bytes() const;
    // Every value of "Main" as text; a value that is not text reads "<not text>".
    QMap<QString, QString> Values() const;
    // Points the settings at a path below a plain file, which cannot be written.
    void BlockWithAFile() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Collects the warnings written while it lives.
class TWarnings {
public:
    TWarnings();
    ~TWarnings();
    QStringList Lines() const;
};
