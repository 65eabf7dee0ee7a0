#pragma once

#include "settings/formplacement.h"
#include "settings/storedproperty.h"

#include <QMetaObject>
#include <QStringList>

#include <vector>

class QObject;

// The placement store with a list of component properties, each stored as
// text under "<component>_<property>" in the order the properties were added.
class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TPlacementWindow& window);
    ~TFormStorage() override;

    // Adds the entry "Component.Property". An entry without both names is
    // refused (false). When the component object is given, its entries leave
    // the list when it is destroyed.
    bool AddStoredProperty(const QString& entry, TStoredProperty property, const QObject* component = nullptr);
    // The entries, as added.
    QStringList StoredProps() const;
    // A value stored under a name of its own in a section of its own, apart
    // from the window's entries.
    void AddSectionValue(const QString& section, const QString& valueName, TStoredProperty property);

protected:
    // A property whose assignment fails keeps its value; the next one goes on.
    void RestoreProperties(TRegIniFile& ini, const QString& section) override;
    void SaveProperties(TRegIniFile& ini, const QString& section) override;

private:
    struct TEntry {
        QString Entry;
        QString ValueName;
        TStoredProperty Property;
        const QObject* Component = nullptr;
        QMetaObject::Connection Watch;
    };
    void RemoveEntriesOf(const QObject* component);

    struct TSectionValue {
        QString Section;
        QString ValueName;
        TStoredProperty Property;
    };

    std::vector<TEntry> m_entries;
    std::vector<TSectionValue> m_sectionValues;
};
