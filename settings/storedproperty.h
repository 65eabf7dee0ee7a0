#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

// The kinds of value the store knows; each has its own text form.
enum class TPropertyKind { Text, Integer, Enumeration, Set, Object };

// One property of a component as the settings store sees it: its kind, how
// its value is read and written, and for an enumeration or a set the
// identifiers of its values in ascending order (a Boolean is the enumeration
// "False", "True"). An object has no value of its own, only sub-properties.
struct TStoredProperty {
    TPropertyKind Kind = TPropertyKind::Text;
    // Declared name of a sub-property; a stored entry names its top-level property.
    QString Name;
    QStringList Identifiers;
    std::function<QString()> GetText;
    std::function<void(const QString&)> SetText;
    // The integer, the enumeration's index or the set's members as bits (member i is bit i).
    std::function<qint32()> GetOrdinal;
    std::function<void(qint32)> SetOrdinal;
    std::vector<TStoredProperty> SubProperties;
};

TStoredProperty TextProperty(std::function<QString()> get, std::function<void(const QString&)> set);
TStoredProperty IntegerProperty(std::function<qint32()> get, std::function<void(qint32)> set);
TStoredProperty BooleanProperty(std::function<bool()> get, std::function<void(bool)> set);
TStoredProperty EnumerationProperty(QStringList identifiers, std::function<qint32()> get,
                                    std::function<void(qint32)> set);
TStoredProperty SetProperty(QStringList members, std::function<qint32()> get, std::function<void(qint32)> set);
// Sub-properties by declared name, in the order they are stored.
TStoredProperty ObjectProperty(std::vector<std::pair<QString, TStoredProperty>> subProperties);
