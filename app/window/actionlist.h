#pragma once

#include "app/window/actionid.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QWidget;
class TImageList;

// One row of a command table.
struct TActionDef {
    TActionId id;
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;  // "short|long", or one text for both
    int imageIndex;
    QKeySequence shortcut;
    int tag;
    std::function<void(QAction* sender)> handler;  // none: the action is disabled on update
    bool enabled = true;
};

// A list of actions sharing one image list and one update handler.
class TActionList : public QObject {
    Q_OBJECT
public:
    TActionList(const QString& name, const TImageList& images, QObject* parent);

    // Makes the action of a table row; it becomes `owner`'s.
    QAction* Add(QWidget* owner, const TActionDef& def);
    const std::vector<QAction*>& Actions() const { return m_actions; }

    // Recomputes the enabled states of the whole list; never claims an action.
    std::function<void()> OnUpdate;
    // Lets the focused control claim an action; true when it did.
    std::function<bool(QAction* action)> OnClaim;

    // One update of one action: the list's update handler, then the focused
    // control's claim, then "no handler means disabled".
    void Update(QAction* action);
    // The same for every action of the list, with the update handler run once.
    void UpdateAll();
    // Runs the action's handler if the action is enabled after an update.
    void Execute(QAction* action);

    static QString LongHint(const QString& hint);
    static int Tag(const QAction* action);

private:
    struct TEntry {
        QAction* action;
        std::function<void(QAction*)> handler;
    };
    const TEntry* EntryOf(const QAction* action) const;
    void Settle(QAction* action);

    const TImageList& m_images;
    std::vector<QAction*> m_actions;
    std::vector<TEntry> m_entries;
};
