#include "app/window/actionlist.h"

#include "app/widgets/imagelists.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

TActionList::TActionList(const QString& name, const TImageList& images, QObject* parent)
    : QObject(parent), m_images(images)
{
    setObjectName(name);
}

QAction* TActionList::Add(QWidget* owner, const TActionDef& def)
{
    auto* action = new QAction(owner);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setProperty("category", QString::fromLatin1(def.category));
    action->setProperty("tag", def.tag);
    const QString hint = QCoreApplication::translate(TActionDef::TextContext, def.hint);
    action->setProperty("hint", hint);
    action->setText(QCoreApplication::translate(TActionDef::TextContext, def.caption));
    action->setStatusTip(LongHint(hint));
    // Commands show no tooltips; the long hint goes to the status bar.
    action->setToolTip(QString());
    action->setIcon(m_images.Icon(def.imageIndex));
    action->setShortcut(def.shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(def.enabled);
    owner->addAction(action);
    m_actions.push_back(action);
    return action;
}

// The part after "|", shown in the status bar; the part before it would be
// the tooltip, and the window shows none.
QString TActionList::LongHint(const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

int TActionList::Tag(const QAction* action)
{
    return action ? action->property("tag").toInt() : 0;
}
