#pragma once

#include "app/window/actionid.h"
#include "app/window/actionlist.h"

#include <QObject>
#include <array>
#include <initializer_list>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

class QAction;
class QString;
class QWidget;
class TDescriptionPane;
class TDescriptionSpelling;
class TDocumentSession;
class TEditCommands;
class TExportCommands;
class TFindAllController;
class TImportCommands;
class TItemCommands;
class TNavigator;
class TSubtreeFocus;
class TTreeFilter;
class TLinksHereController;
class TTreeList;
class TTreeListEvents;
class TThemeCommands;
class TfrmTreeViewEditorMain;

// The parts of the window whose methods handle the commands.
struct TCommandTargets {
    std::tuple<TfrmTreeViewEditorMain*, TDocumentSession*, TItemCommands*, TDescriptionPane*, TExportCommands*,
               TImportCommands*, TFindAllController*, TEditCommands*, TThemeCommands*, TNavigator*,
               TLinksHereController*, TDescriptionSpelling*, TSubtreeFocus*, TTreeFilter*>
        parts;
    template <typename T> T& Get() const { return *std::get<T*>(parts); }
};

namespace CommandTableDetail {
template <typename M> struct TMethodOf;
template <typename T, typename... A> struct TMethodOf<void (T::*)(A...)> {
    using Class = T;
};
}  // namespace CommandTableDetail

// A table row's handler: `Handler<&TItemCommands::actEditItemNewExecute>`
// runs that method of the part that owns it, with the action as sender when
// the method takes one.
template <auto Method>
void Handler(const TCommandTargets& targets, QAction* sender)
{
    using T = typename CommandTableDetail::TMethodOf<decltype(Method)>::Class;
    T& target = targets.Get<T>();
    if constexpr (std::is_invocable_v<decltype(Method), T&, QAction*>)
        (target.*Method)(sender);
    else
        (target.*Method)();
}

// The one path of every command: each action of the two lists reaches its
// handler through Execute, which brings the action up to date, runs the
// handler inside the guard and brings every action up to date afterwards.
// The enable rules of the two lists live here too.
class TCommandTable : public QObject {
    Q_OBJECT
public:
    TCommandTable(const TTreeList& tree, const TDocumentSession& session, const TDescriptionPane& descriptionPane,
                  const TEditCommands& editCommands, TTreeListEvents& treeEvents);

    // Builds both lists from their tables; the actions become `owner`'s.
    void Build(QWidget* owner, const TCommandTargets& targets, const std::vector<TActionDef>& actionListTV,
               const std::vector<TActionDef>& actionListMemo);

    QAction* Action(TActionId id) const { return m_actions[static_cast<size_t>(id)]; }
    TActionList& ActionListTV() const { return *m_actionListTV; }
    TActionList& ActionListMemo() const { return *m_actionListMemo; }

    // Runs the action's handler, guarded, if the action is enabled after an
    // update, and for a command that writes clear text only once the
    // protection allows it; then brings every command up to date.
    void Execute(QAction* action);
    // One update of one action: its list's update handler, then the focused
    // control's claim, then "no handler means disabled".
    void Update(QAction* action);

    // The enable rules, one per list: each update of a list runs its rule
    // once, which sets the whole family of actions it decides.
    void ActionListTVUpdate();
    void ActionListMemoUpdate();
    // Brings every command up to date: at idle time, when a menu opens and
    // when a shortcut key is pressed.
    void UpdateActions();
    // The selection changed, and with it whether Delete may run.
    void TreeListSelectedCountChange();

private:
    TActionId IdOf(const QAction* action) const;
    bool InListTV(TActionId id) const;
    void UpdateList(const TActionList& list);
    void Settle(TActionId id, QAction* action);
    void SetEnabled(std::initializer_list<TActionId> ids, bool enabled);
    void SetStepCaption(TActionId id, const QString& command, const std::string& step, bool enabled);

    const TTreeList& m_tree;
    const TDocumentSession& m_session;
    const TDescriptionPane& m_descriptionPane;
    const TEditCommands& m_editCommands;
    TTreeListEvents& m_treeEvents;
    TCommandTargets m_targets;
    std::array<QAction*, ActionCount> m_actions{};
    std::array<TCommandHandler, ActionCount> m_handlers{};
    std::array<TCommandOutput, ActionCount> m_outputs{};
    TActionList* m_actionListTV = nullptr;
    TActionList* m_actionListMemo = nullptr;
};
