#include "settings/formstorage.h"

#include "settings/propsstorage.h"

#include <QObject>

#include <algorithm>
#include <exception>

TFormStorage::TFormStorage(TPlacementWindow& window) : TFormPlacement(window) {}

TFormStorage::~TFormStorage()
{
    for (const TEntry& entry : m_entries)
        QObject::disconnect(entry.Watch);
}

bool TFormStorage::AddStoredProperty(const QString& entry, TStoredProperty property, const QObject* component)
{
    const qsizetype dot = entry.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString componentName = entry.left(dot).trimmed();
    const QString propertyName = entry.mid(dot + 1).trimmed();
    if (componentName.isEmpty() || propertyName.isEmpty())
        return false;
    TEntry added{entry, componentName + QLatin1Char('_') + propertyName, std::move(property), component, {}};
    if (component)
        added.Watch = QObject::connect(component, &QObject::destroyed, [this, component] { RemoveEntriesOf(component); });
    m_entries.push_back(std::move(added));
    return true;
}

void TFormStorage::RemoveEntriesOf(const QObject* component)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [component](const TEntry& entry) { return entry.Component == component; }),
                    m_entries.end());
}

QStringList TFormStorage::StoredProps() const
{
    QStringList entries;
    for (const TEntry& entry : m_entries)
        entries << entry.Entry;
    return entries;
}

void TFormStorage::AddSectionValue(const QString& section, const QString& valueName, TStoredProperty property)
{
    m_sectionValues.push_back({section, valueName, std::move(property)});
}

namespace {
void Load(const TPropsStorage& props, const QString& valueName, const TStoredProperty& property)
{
    try {
        props.LoadProperty(valueName, property);
    } catch (const std::exception&) {
        // The component refused the value and keeps its own.
    }
}
}  // namespace

void TFormStorage::RestoreProperties(TRegIniFile& ini, const QString& section)
{
    const TPropsStorage props(ini, section);
    for (const TEntry& entry : m_entries)
        Load(props, entry.ValueName, entry.Property);
    for (const TSectionValue& value : m_sectionValues)
        Load(TPropsStorage(ini, value.Section), value.ValueName, value.Property);
}

void TFormStorage::SaveProperties(TRegIniFile& ini, const QString& section)
{
    TPropsStorage props(ini, section);
    for (const TEntry& entry : m_entries)
        props.StoreProperty(entry.ValueName, entry.Property);
    for (const TSectionValue& value : m_sectionValues)
        TPropsStorage(ini, value.Section).StoreProperty(value.ValueName, value.Property);
}
