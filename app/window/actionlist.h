#pragma once

#include <QObject>
#include <QString>
#include <QKeySequence>
#include <functional>
#include <vector>

class QAction;
class TImageList;

// One row of a command table.
struct TActionDef {
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;  // "short|long", or one text for both
    int imageIndex;
    QKeySequence shortcut;
    int tag;
    std::function<void(QAction*)> handler;  // none: the action is disabled on update
    bool enabled = true;
};

// A list of actions sharing one image list and one update handler.
class TActionList : public QObject {
    Q_OBJECT
public:
    TActionList(const QString& name, const TImageList& images, QObject* parent);

    // Builds the actions of a table, in order; they are children of `owner`.
    void Build(QWidget* owner, const std::vector<TActionDef>& table);

    const std::vector<QAction*>& Actions() const { return m_actions; }
    QAction* Find(const QString& name) const;
    bool HasHandler(const QAction* action) const;
    void Execute(QAction* action);

    // Recomputes the enabled states of the list's actions; never claims one.
    std::function<void(QAction* action)> OnUpdate;
    // Lets the focused control claim an action; true when it did.
    std::function<bool(QAction* action)> OnClaim;

    // One update of one action: the list's handler, then the focused
    // control's claim, then "no handler means disabled".
    void Update(QAction* action);
    void UpdateAll();

    static QString ShortHint(const QString& hint);
    static QString LongHint(const QString& hint);
    static int Tag(const QAction* action);

private:
    struct TEntry {
        QAction* action;
        std::function<void(QAction*)> handler;
    };
    const TImageList& m_images;
    std::vector<QAction*> m_actions;
    std::vector<TEntry> m_entries;
};
