#include "settings/propsstorage.h"

#include "settings/reginifile.h"
#include "settings/storedproperty.h"

#include <QRegularExpression>

namespace {

// Lowest value first, so the first identifier that matches wins.
qsizetype IdentifierIndex(const QStringList& identifiers, const QString& word)
{
    for (qsizetype i = 0; i < identifiers.size(); ++i) {
        if (identifiers[i].compare(word, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString SetText(const QStringList& members, qint32 bits)
{
    QStringList names;
    for (int i = 0; i < members.size() && i < 32; ++i) {
        if (bits & (qint32(1) << i))
            names << members[i];
    }
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
}

qint32 TextSet(const QStringList& members, const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,\\[\\]]+"));
    qint32 bits = 0;
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts)) {
        const qsizetype index = IdentifierIndex(members, word);
        if (index >= 0 && index < 32)
            bits |= qint32(1) << index;
    }
    return bits;
}

} // namespace

TPropsStorage::TPropsStorage(TRegIniFile& ini, QString section) : m_ini(ini), m_section(std::move(section)) {}

QString TPropsStorage::ValueText(const TStoredProperty& property)
{
    switch (property.Kind) {
    case TPropertyKind::Text:
        return property.GetText().trimmed();
    case TPropertyKind::Integer:
        return QString::number(property.GetOrdinal());
    case TPropertyKind::Enumeration: {
        const qint32 ordinal = property.GetOrdinal();
        return ordinal >= 0 && ordinal < property.Identifiers.size() ? property.Identifiers[ordinal] : QString();
    }
    case TPropertyKind::Set:
        return SetText(property.Identifiers, property.GetOrdinal());
    case TPropertyKind::Object:
        break;
    }
    return QString();
}

void TPropsStorage::AssignText(const TStoredProperty& property, const QString& text)
{
    const QString trimmed = text.trimmed();
    switch (property.Kind) {
    case TPropertyKind::Text:
        property.SetText(trimmed);
        break;
    case TPropertyKind::Integer:
        property.SetOrdinal(DecimalToInteger(trimmed).value_or(0));
        break;
    case TPropertyKind::Enumeration: {
        const qsizetype index = IdentifierIndex(property.Identifiers, trimmed);
        if (index >= 0)
            property.SetOrdinal(qint32(index));
        break;
    }
    case TPropertyKind::Set:
        property.SetOrdinal(TextSet(property.Identifiers, trimmed));
        break;
    case TPropertyKind::Object:
        break;
    }
}

void TPropsStorage::LoadProperty(const QString& valueName, const TStoredProperty& property) const
{
    if (property.Kind == TPropertyKind::Object) {
        for (const TStoredProperty& sub : property.SubProperties)
            LoadProperty(valueName + sub.Name, sub);
        return;
    }
    const TTextForm form = property.Kind == TPropertyKind::Set    ? TTextForm::CommaList
                           : property.Kind == TPropertyKind::Text ? TTextForm::Verbatim
                                                                  : TTextForm::Plain;
    if (const std::optional<QString> text = m_ini.ReadText(m_section, valueName, form))
        AssignText(property, *text);
}

void TPropsStorage::StoreProperty(const QString& valueName, const TStoredProperty& property)
{
    if (property.Kind == TPropertyKind::Object) {
        for (const TStoredProperty& sub : property.SubProperties)
            StoreProperty(valueName + sub.Name, sub);
        return;
    }
    const QString text = ValueText(property);
    if (!text.isEmpty() || property.Kind == TPropertyKind::Text)
        m_ini.WriteString(m_section, valueName, text);
}
