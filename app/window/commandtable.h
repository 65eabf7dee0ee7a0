#pragma once

#include "app/window/actionid.h"

#include <QObject>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

class QAction;
class QString;
class QWidget;
class TActionList;
class TDescriptionPane;
class TDocumentSession;
class TTreeList;
struct TActionDef;

// The window's commands: every action reached by its id, the two action
// lists they belong to, the rules that enable them, and the six standard
// edit commands, which act on whichever text control has the focus.
class TCommandTable : public QObject {
    Q_OBJECT
public:
    TCommandTable(const TTreeList& tree, const TDocumentSession& session, const TDescriptionPane& descriptionPane);

    // Builds both lists from their tables; the actions become `owner`'s.
    void Build(QWidget* owner, const std::vector<TActionDef>& actionListTV,
               const std::vector<TActionDef>& actionListMemo);

    QAction* Action(TActionId id) const { return m_actions[static_cast<size_t>(id)]; }
    TActionList& ActionListTV() const { return *m_actionListTV; }
    TActionList& ActionListMemo() const { return *m_actionListMemo; }

    // The enable rules, one per list: each update of a list runs its rule
    // once, which sets the whole family of actions it decides.
    void ActionListTVUpdate();
    void ActionListMemoUpdate();
    // Brings every command up to date: at idle time, when a menu opens and
    // when a shortcut key is pressed.
    void UpdateActions();
    // The selection changed, and with it whether Delete may run.
    void TreeListSelectedCountChange();
    // The execute handler of the six standard edit commands.
    void RunEditCommand(QAction* sender);

private:
    TActionId IdOf(const QAction* action) const;
    bool ClaimEditAction(QAction* action);
    void ClipboardChanged();
    void SetEnabled(std::initializer_list<TActionId> ids, bool enabled);
    void SetStepCaption(TActionId id, const QString& command, const std::string& step, bool enabled);

    const TTreeList& m_tree;
    const TDocumentSession& m_session;
    const TDescriptionPane& m_descriptionPane;
    std::array<QAction*, ActionCount> m_actions{};
    TActionList* m_actionListTV = nullptr;
    TActionList* m_actionListMemo = nullptr;
    bool m_clipboardHasText = false;
    bool m_clipboardHasItems = false;
};
