#include "settings/storedproperty.h"

namespace {

TStoredProperty OrdinalProperty(TPropertyKind kind, QStringList identifiers, std::function<qint32()> get,
                                std::function<void(qint32)> set)
{
    TStoredProperty property;
    property.Kind = kind;
    property.Identifiers = std::move(identifiers);
    property.GetOrdinal = std::move(get);
    property.SetOrdinal = std::move(set);
    return property;
}

} // namespace

TStoredProperty TextProperty(std::function<QString()> get, std::function<void(const QString&)> set)
{
    TStoredProperty property;
    property.Kind = TPropertyKind::Text;
    property.GetText = std::move(get);
    property.SetText = std::move(set);
    return property;
}

TStoredProperty IntegerProperty(std::function<qint32()> get, std::function<void(qint32)> set)
{
    return OrdinalProperty(TPropertyKind::Integer, {}, std::move(get), std::move(set));
}

TStoredProperty BooleanProperty(std::function<bool()> get, std::function<void(bool)> set)
{
    return OrdinalProperty(
        TPropertyKind::Enumeration, {QStringLiteral("False"), QStringLiteral("True")},
        [get = std::move(get)] { return get() ? 1 : 0; }, [set = std::move(set)](qint32 value) { set(value != 0); });
}

TStoredProperty EnumerationProperty(QStringList identifiers, std::function<qint32()> get,
                                    std::function<void(qint32)> set)
{
    return OrdinalProperty(TPropertyKind::Enumeration, std::move(identifiers), std::move(get), std::move(set));
}

TStoredProperty SetProperty(QStringList members, std::function<qint32()> get, std::function<void(qint32)> set)
{
    return OrdinalProperty(TPropertyKind::Set, std::move(members), std::move(get), std::move(set));
}

TStoredProperty ObjectProperty(std::vector<std::pair<QString, TStoredProperty>> subProperties)
{
    TStoredProperty property;
    property.Kind = TPropertyKind::Object;
    for (auto& [name, sub] : subProperties) {
        sub.Name = name;
        property.SubProperties.push_back(std::move(sub));
    }
    return property;
}
