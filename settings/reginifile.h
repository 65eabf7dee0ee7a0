#pragma once

#include <QSettings>
#include <QString>

#include <optional>

// How a value's text may look in the settings file. The file format reads an
// unquoted text with commas as a list, and that is how a person writes a
// position ("101,71,543,390") or a set ("[fsBold, fsItalic]") by hand. A
// free text (a folder "Notes, 2026") is wanted as it stands in the file.
enum class TTextForm { Plain, CommaList, Verbatim };

// The per-user settings of one program, reached like an ini file: a section
// is a group, an ident a value name, and every value is text. Opened for one
// restore or one save and closed at its end.
class TRegIniFile {
public:
    TRegIniFile(const QString& organization, const QString& application);

    // The value's text, or nothing when the value is missing or is not text
    // (a list, a byte array or a variant another program wrote): such a value
    // counts as missing, and a one-line warning names it.
    std::optional<QString> ReadText(const QString& section, const QString& ident,
                                    TTextForm form = TTextForm::Plain) const;
    QString ReadString(const QString& section, const QString& ident, const QString& defaultValue,
                       TTextForm form = TTextForm::Plain) const;
    // Text that is not a decimal integer gives the default.
    qint32 ReadInteger(const QString& section, const QString& ident, qint32 defaultValue) const;

    void WriteString(const QString& section, const QString& ident, const QString& value);
    void WriteInteger(const QString& section, const QString& ident, qint32 value);

    // Puts the written values into the file. Throws ESettingsError
    // "Failed to set data for '<file>'" when the file cannot be written.
    void Commit();

    QString FileName() const;

private:
    QString Key(const QString& section, const QString& ident) const;
    std::optional<QString> TextInFile(const QString& section, const QString& ident, const QStringList& items) const;

    mutable QSettings m_settings;
};

// Decimal text to a 32-bit integer, blanks around it allowed.
std::optional<qint32> DecimalToInteger(const QString& text);
