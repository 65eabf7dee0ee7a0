#include "app/window/actionlist.h"

#include "app/widgets/imagelists.h"
#include "app/window/application.h"

#include <QAction>
#include <QWidget>

TActionList::TActionList(const QString& name, const TImageList& images, QObject* parent)
    : QObject(parent), m_images(images)
{
    setObjectName(name);
}

void TActionList::Build(QWidget* owner, const std::vector<TActionDef>& table)
{
    for (const TActionDef& def : table) {
        auto* action = new QAction(owner);
        action->setObjectName(QString::fromLatin1(def.name));
        action->setProperty("category", QString::fromLatin1(def.category));
        action->setProperty("tag", def.tag);
        action->setProperty("imageIndex", def.imageIndex);
        const QString hint = QString::fromLatin1(def.hint);
        action->setProperty("hint", hint);
        action->setText(QString::fromLatin1(def.caption));
        action->setStatusTip(LongHint(hint));
        // Commands show no tooltips; the long hint goes to the status bar.
        action->setToolTip(QString());
        action->setIcon(m_images.Icon(def.imageIndex));
        action->setShortcut(def.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(def.enabled);
        owner->addAction(action);
        m_actions.push_back(action);
        m_entries.push_back({action, def.handler});
        connect(action, &QAction::triggered, this, [this, action] { Execute(action); });
    }
}

QAction* TActionList::Find(const QString& name) const
{
    for (QAction* action : m_actions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

bool TActionList::HasHandler(const QAction* action) const
{
    for (const TEntry& entry : m_entries)
        if (entry.action == action)
            return static_cast<bool>(entry.handler);
    return false;
}

void TActionList::Update(QAction* action)
{
    if (OnUpdate)
        OnUpdate(action);
    if (OnClaim && OnClaim(action))
        return;
    if (action->isEnabled() && !HasHandler(action))
        action->setEnabled(false);
}

void TActionList::UpdateAll()
{
    for (QAction* action : m_actions)
        Update(action);
}

void TActionList::Execute(QAction* action)
{
    // A command runs only if it is still enabled after a fresh update.
    Update(action);
    if (!action->isEnabled())
        return;
    for (const TEntry& entry : m_entries)
        if (entry.action == action && entry.handler)
            Protected([&] { entry.handler(action); });
}

QString TActionList::ShortHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString TActionList::LongHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

int TActionList::Tag(const QAction* action)
{
    return action ? action->property("tag").toInt() : 0;
}
