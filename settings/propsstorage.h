#pragma once

#include <QString>

class TRegIniFile;
struct TStoredProperty;

// Turns property values into the text values of one settings section and
// back. Text is stored trimmed, integers as signed decimals, enumerations and
// Booleans by identifier, sets as "[member,member]", and an object as its
// sub-properties, each under the object's value name followed by its own name.
class TPropsStorage {
public:
    TPropsStorage(TRegIniFile& ini, QString section);

    // A missing value leaves the property as it is.
    void LoadProperty(const QString& valueName, const TStoredProperty& property) const;
    void StoreProperty(const QString& valueName, const TStoredProperty& property);

    // The property's current value as text; empty for an object.
    static QString ValueText(const TStoredProperty& property);
    // Assigns text by the property's kind: a non-number sets an integer to 0;
    // identifiers match without regard to case; an enumeration that matches
    // none stays as it is; a set takes the members named and skips other words.
    static void AssignText(const TStoredProperty& property, const QString& text);

private:
    TRegIniFile& m_ini;
    QString m_section;
};
