#include "app/window/commandtable.h"

#include "app/widgets/imagelists.h"
#include "app/window/application.h"
#include "app/window/descriptionpane.h"
#include "app/window/descriptionspelling.h"
#include "app/window/documentsession.h"
#include "app/window/editcommands.h"
#include "app/window/navigator.h"
#include "app/window/subtreefocus.h"
#include "app/window/treefilter.h"
#include "app/window/treelistevents.h"
#include "document/outlineedit.h"
#include "document/treelist.h"
#include "document/undohistory.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <algorithm>

namespace {
// The steps' names are marked for translation where the steps are made.
constexpr char UndoStepContext[] = "TUndoStep";
}  // namespace

TCommandTable::TCommandTable(const TTreeList& tree, const TDocumentSession& session,
                             const TDescriptionPane& descriptionPane, const TEditCommands& editCommands,
                             TTreeListEvents& treeEvents)
    : m_tree(tree), m_session(session), m_descriptionPane(descriptionPane), m_editCommands(editCommands),
      m_treeEvents(treeEvents)
{
}

void TCommandTable::Build(QWidget* owner, const TCommandTargets& targets, const std::vector<TActionDef>& actionListTV,
                          const std::vector<TActionDef>& actionListMemo)
{
    m_targets = targets;
    m_actionListTV = new TActionList(QStringLiteral("ActionListTV"), ImageListMenu(), this);
    m_actionListMemo = new TActionList(QStringLiteral("ActionListMemo"), ImageListMemo(), this);
    const std::pair<TActionList*, const std::vector<TActionDef>*> lists[] = {{m_actionListTV, &actionListTV},
                                                                            {m_actionListMemo, &actionListMemo}};
    for (const auto& [list, table] : lists) {
        for (const TActionDef& def : *table) {
            const auto index = static_cast<size_t>(def.id);
            if (m_actions.at(index))
                qFatal("%s is twice in the command table", def.name);
            QAction* action = list->Add(owner, def);
            m_actions[index] = action;
            m_handlers[index] = def.handler;
            m_outputs[index] = def.output;
            connect(action, &QAction::triggered, this, [this, action] { Execute(action); });
        }
    }
    for (size_t i = 0; i < m_actions.size(); ++i)
        if (!m_actions[i])
            qFatal("action %zu is missing from the command table", i);
    ConnectGuarded(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                   &TCommandTable::UpdateActions);
    ConnectGuarded(&m_treeEvents, &TTreeListEvents::SelectedCountChange, this,
                   &TCommandTable::TreeListSelectedCountChange);
}

TActionId TCommandTable::IdOf(const QAction* action) const
{
    return static_cast<TActionId>(std::find(m_actions.begin(), m_actions.end(), action) - m_actions.begin());
}

bool TCommandTable::InListTV(TActionId id) const
{
    const std::vector<QAction*>& tv = m_actionListTV->Actions();
    return std::find(tv.begin(), tv.end(), Action(id)) != tv.end();
}

void TCommandTable::Execute(QAction* action)
{
    const TActionId id = IdOf(action);
    if (id == TActionId::Count)
        return;
    const auto index = static_cast<size_t>(id);
    RunGuarded([&] {
        // A command runs only if it is still enabled after a fresh update.
        Update(action);
        if (!action->isEnabled() || !m_handlers[index])
            return;
        // The one place that asks before a protected document's text
        // leaves it in the clear.
        if (m_outputs[index] == TCommandOutput::ClearText && !m_targets.Get<TDocumentSession>().ConfirmClearExport())
            return;
        const TNavigator::TCommandRun run(std::get<TNavigator*>(m_targets.parts));
        m_handlers[index](m_targets, action);
    });
    // Also after a failed command: what it changed before it failed counts.
    RunGuarded([this] { UpdateActions(); });
}

// What follows the list's update handler for one action.
void TCommandTable::Settle(TActionId id, QAction* action)
{
    if (m_editCommands.ClaimEditAction(id, action))
        return;
    if (action->isEnabled() && !m_handlers[static_cast<size_t>(id)])
        action->setEnabled(false);
}

void TCommandTable::Update(QAction* action)
{
    const TActionId id = IdOf(action);
    if (id == TActionId::Count)
        return;
    if (InListTV(id))
        ActionListTVUpdate();
    else
        ActionListMemoUpdate();
    Settle(id, action);
}

void TCommandTable::UpdateList(const TActionList& list)
{
    for (QAction* action : list.Actions())
        Settle(IdOf(action), action);
}

void TCommandTable::SetEnabled(std::initializer_list<TActionId> ids, bool enabled)
{
    for (TActionId id : ids)
        Action(id)->setEnabled(enabled);
}

void TCommandTable::ActionListTVUpdate()
{
    // While the command-line file loads, the document is not there to work on.
    const bool ready = !m_session.Loading();
    // While a save is written, the commands that write or replace the
    // document wait for its end.
    const bool idle = ready && !m_session.Saving();
    Action(TActionId::actFileSave)->setEnabled(idle && m_session.Modified());
    SetEnabled({TActionId::actFileSaveAs, TActionId::actFileClose}, idle && m_tree.TopItemCount() > 0);
    SetEnabled({TActionId::actFileExportTxt,
                TActionId::actFileExportIni, TActionId::actFileExportMulti, TActionId::actFileExportOpml,
                TActionId::actFileExportMarkdown, TActionId::actFileExportHtml, TActionId::actFilePrint,
                TActionId::actFilePrintPreview, TActionId::actFileExportPdf},
               ready && m_tree.TopItemCount() > 0);
    Action(TActionId::actEditItemDelete)->setEnabled(ready && m_tree.SelectedCount() > 0);
    SetEnabled({TActionId::actFileClearRecent, TActionId::actFileImport, TActionId::actEditItemNew,
                TActionId::actEditItemNewSub, TActionId::actEditItemMoveUp},
               ready);
    SetEnabled({TActionId::actFileNew, TActionId::actFileOpen}, idle);
    Action(TActionId::actFileSetPassword)
        ->setEnabled(idle && (m_tree.TopItemCount() > 0 || !m_session.FileName().isEmpty()));
    Action(TActionId::actFileRemovePassword)->setEnabled(idle && m_session.Protected());

    // Typing not yet recorded is the next step to undo, and leaves nothing
    // to redo once it is recorded.
    const TUndoHistory& history = m_session.History();
    const bool typing = m_descriptionPane.TypingPending();
    SetStepCaption(TActionId::actEditItemUndo, tr("&Undo"),
                   typing ? m_descriptionPane.TypingStepName() : history.UndoName(), ready && (typing || history.CanUndo()));
    SetStepCaption(TActionId::actEditItemRedo, tr("&Redo"), history.RedoName(),
                   ready && !typing && history.CanRedo());

    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, true);
    Action(TActionId::actEditItemMoveDown)->setEnabled(ready && CanMoveDown(items));
    Action(TActionId::actEditItemIndent)->setEnabled(ready && IndentTarget(m_tree, items) != nullptr);
    // Inside a focused subtree, outdenting its top items would move them out of sight.
    const TSubtreeFocus* subtree = std::get<TSubtreeFocus*>(m_targets.parts);
    TTreeListTextNode* root = subtree ? subtree->Root() : nullptr;
    Action(TActionId::actEditItemOutdent)->setEnabled(ready && CanOutdent(items) && OutdentStaysInside(items, root));
    SetEnabled({TActionId::actEditItemCut, TActionId::actEditItemCopy, TActionId::actEditItemDuplicate},
               ready && m_tree.SelectedCount() > 0);
    Action(TActionId::actEditItemPaste)
        ->setEnabled(ready && (m_editCommands.ClipboardHasText() || m_editCommands.ClipboardHasItems()));
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    Action(TActionId::actEditItemCopyLink)->setEnabled(ready && focused);
    Action(TActionId::actViewLinksHere)->setEnabled(ready);
    Action(TActionId::actEditItemSortChildren)->setEnabled(ready && (focused ? focused->Count() : m_tree.TopItemCount()) > 1);
    Action(TActionId::actEditItemSortSubtree)
        ->setEnabled(ready && (focused ? focused->HasChildren() : m_tree.TopItemCount() > 0));
    SetEnabled({TActionId::actEditItemExpandAll, TActionId::actEditItemCollapseAll}, ready && m_tree.TopItemCount() > 0);
    const TNavigator* navigator = std::get<TNavigator*>(m_targets.parts);
    Action(TActionId::actGoBack)->setEnabled(ready && navigator && navigator->CanGoBack());
    Action(TActionId::actGoForward)->setEnabled(ready && navigator && navigator->CanGoForward());
    Action(TActionId::actGoToItem)->setEnabled(ready && m_tree.TopItemCount() > 0);
    Action(TActionId::actViewFocusSubtree)->setEnabled(ready && subtree && focused && focused != root);
    Action(TActionId::actViewShowWholeTree)->setEnabled(ready && root);
    Action(TActionId::actViewFilterTree)->setEnabled(ready && std::get<TTreeFilter*>(m_targets.parts));
    // Without a dictionary there is nothing to check with; the commands' hint says so.
    const TDescriptionSpelling* spelling = std::get<TDescriptionSpelling*>(m_targets.parts);
    SetEnabled({TActionId::actViewCheckSpelling, TActionId::actViewSpellingLanguage},
               spelling && spelling->HasDictionary());
}

// "&Undo Delete": the command and the step it would take, or the command
// alone, disabled, when there is none.
void TCommandTable::SetStepCaption(TActionId id, const QString& command, const std::string& step, bool enabled)
{
    QAction* action = Action(id);
    QString caption = command;
    if (enabled && !step.empty())
        caption = tr("%1 %2", "the command and the step it takes")
                      .arg(command, QCoreApplication::translate(UndoStepContext, step.c_str())
                                        .replace(QLatin1Char('&'), QStringLiteral("&&")));
    if (action->text() != caption)
        action->setText(caption);
    action->setEnabled(enabled);
}

void TCommandTable::ActionListMemoUpdate()
{
    SetEnabled({TActionId::actFileOpenMemo, TActionId::actSearchFindAll}, m_tree.TopItemCount() > 0);
    SetEnabled({TActionId::actFileSaveMemo, TActionId::actSearchFind, TActionId::actSearchFindNext,
                TActionId::actSearchReplace},
               m_descriptionPane.MemoLineCount() > 0);
}

void TCommandTable::UpdateActions()
{
    ActionListTVUpdate();
    UpdateList(*m_actionListTV);
    ActionListMemoUpdate();
    UpdateList(*m_actionListMemo);
}

void TCommandTable::TreeListSelectedCountChange()
{
    ActionListTVUpdate();
    UpdateList(*m_actionListTV);
}
