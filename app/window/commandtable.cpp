#include "app/window/commandtable.h"

#include "app/widgets/imagelists.h"
#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/itemcommands.h"
#include "document/outlineedit.h"
#include "document/treelist.h"
#include "document/undohistory.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

namespace {
bool IsStandardEditCommand(TActionId id)
{
    switch (id) {
    case TActionId::actEditUndo:
    case TActionId::actEditCut:
    case TActionId::actEditCopy:
    case TActionId::actEditPaste:
    case TActionId::actEditDelete:
    case TActionId::actEditSelectAll:
        return true;
    default:
        return false;
    }
}

// Runs a standard edit command on a text control. Delete removes the
// selection, which each kind of control does in its own way.
template <typename TControl, typename TDelete>
void RunOn(TControl* control, TActionId id, TDelete removeSelection)
{
    switch (id) {
    case TActionId::actEditUndo:
        control->undo();
        break;
    case TActionId::actEditCut:
        control->cut();
        break;
    case TActionId::actEditCopy:
        control->copy();
        break;
    case TActionId::actEditPaste:
        control->paste();
        break;
    case TActionId::actEditDelete:
        removeSelection(control);
        break;
    case TActionId::actEditSelectAll:
        control->selectAll();
        break;
    default:
        break;
    }
}
}  // namespace

TCommandTable::TCommandTable(const TTreeList& tree, const TDocumentSession& session,
                             const TDescriptionPane& descriptionPane)
    : m_tree(tree), m_session(session), m_descriptionPane(descriptionPane)
{
}

void TCommandTable::Build(QWidget* owner, const std::vector<TActionDef>& actionListTV,
                          const std::vector<TActionDef>& actionListMemo)
{
    m_actionListTV = new TActionList(QStringLiteral("ActionListTV"), ImageListMenu(), this);
    m_actionListMemo = new TActionList(QStringLiteral("ActionListMemo"), ImageListMemo(), this);
    const std::pair<TActionList*, const std::vector<TActionDef>*> lists[] = {{m_actionListTV, &actionListTV},
                                                                            {m_actionListMemo, &actionListMemo}};
    for (const auto& [list, table] : lists) {
        for (const TActionDef& def : *table) {
            QAction*& slot = m_actions.at(static_cast<size_t>(def.id));
            if (slot)
                qFatal("%s is twice in the command table", def.name);
            slot = list->Add(owner, def);
        }
    }
    for (size_t i = 0; i < m_actions.size(); ++i)
        if (!m_actions[i])
            qFatal("action %zu is missing from the command table", i);

    m_actionListTV->OnUpdate = [this] { ActionListTVUpdate(); };
    m_actionListMemo->OnUpdate = [this] { ActionListMemoUpdate(); };
    m_actionListMemo->OnClaim = [this](QAction* action) { return ClaimEditAction(action); };

    ClipboardChanged();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, Guarded([this] { ClipboardChanged(); }));
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            Guarded([this] { UpdateActions(); }));
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
    Action(TActionId::actFileSave)->setEnabled(ready && m_session.Modified());
    SetEnabled({TActionId::actFileSaveAs, TActionId::actFileClose, TActionId::actFileExportTxt,
                TActionId::actFileExportIni, TActionId::actFileExportMulti, TActionId::actFileExportOpml,
                TActionId::actFileExportMarkdown, TActionId::actFileExportHtml},
               ready && m_tree.TopItemCount() > 0);
    Action(TActionId::actEditItemDelete)->setEnabled(ready && m_tree.SelectedCount() > 0);
    SetEnabled({TActionId::actFileNew, TActionId::actFileOpen, TActionId::actFileImport, TActionId::actEditItemNew,
                TActionId::actEditItemNewSub, TActionId::actEditItemMoveUp},
               ready);
    Action(TActionId::actFileSetPassword)
        ->setEnabled(ready && (m_tree.TopItemCount() > 0 || !m_session.FileName().isEmpty()));
    Action(TActionId::actFileRemovePassword)->setEnabled(ready && m_session.Protected());

    // Typing not yet recorded is the next step to undo, and leaves nothing
    // to redo once it is recorded.
    const TUndoHistory& history = m_session.History();
    const bool typing = m_descriptionPane.TypingPending();
    SetStepCaption(TActionId::actEditItemUndo, QStringLiteral("&Undo"),
                   typing ? m_descriptionPane.TypingStepName() : history.UndoName(), ready && (typing || history.CanUndo()));
    SetStepCaption(TActionId::actEditItemRedo, QStringLiteral("&Redo"), history.RedoName(),
                   ready && !typing && history.CanRedo());

    const std::vector<TTreeListTextNode*> items = OutlineItems(m_tree, true);
    Action(TActionId::actEditItemMoveDown)->setEnabled(ready && CanMoveDown(items));
    Action(TActionId::actEditItemIndent)->setEnabled(ready && IndentTarget(m_tree, items) != nullptr);
    Action(TActionId::actEditItemOutdent)->setEnabled(ready && CanOutdent(items));
    SetEnabled({TActionId::actEditItemCut, TActionId::actEditItemCopy, TActionId::actEditItemDuplicate},
               ready && m_tree.SelectedCount() > 0);
    Action(TActionId::actEditItemPaste)->setEnabled(ready && (m_clipboardHasText || m_clipboardHasItems));
    const TTreeListTextNode* focused = m_tree.FocusedItem();
    Action(TActionId::actEditItemSortChildren)->setEnabled(ready && (focused ? focused->Count() : m_tree.TopItemCount()) > 1);
    Action(TActionId::actEditItemSortSubtree)
        ->setEnabled(ready && (focused ? focused->HasChildren() : m_tree.TopItemCount() > 0));
    SetEnabled({TActionId::actEditItemExpandAll, TActionId::actEditItemCollapseAll}, ready && m_tree.TopItemCount() > 0);
}

// "&Undo Delete": the command and the step it would take, or the command
// alone, disabled, when there is none.
void TCommandTable::SetStepCaption(TActionId id, const QString& command, const std::string& step, bool enabled)
{
    QAction* action = Action(id);
    QString caption = command;
    if (enabled && !step.empty())
        caption += QLatin1Char(' ') + QString::fromStdString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
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
    m_actionListTV->UpdateAll();
    m_actionListMemo->UpdateAll();
}

void TCommandTable::TreeListSelectedCountChange()
{
    m_actionListTV->UpdateAll();
}

TActionId TCommandTable::IdOf(const QAction* action) const
{
    return static_cast<TActionId>(std::find(m_actions.begin(), m_actions.end(), action) - m_actions.begin());
}

void TCommandTable::RunEditCommand(QAction* sender)
{
    const TActionId id = IdOf(sender);
    QWidget* target = QApplication::focusWidget();
    auto removeFromDocument = [](auto* control) { control->textCursor().removeSelectedText(); };
    if (auto* line = qobject_cast<QLineEdit*>(target))
        RunOn(line, id, [](QLineEdit* control) { control->del(); });
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        RunOn(plain, id, removeFromDocument);
    else if (auto* rich = qobject_cast<QTextEdit*>(target))
        RunOn(rich, id, removeFromDocument);
}

// The text control with the input focus takes over the six standard edit
// commands; without one they are disabled.
bool TCommandTable::ClaimEditAction(QAction* action)
{
    const TActionId id = IdOf(action);
    if (!IsStandardEditCommand(id))
        return false;
    QWidget* focus = QApplication::focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focus);
    auto* plain = qobject_cast<QPlainTextEdit*>(focus);
    auto* rich = qobject_cast<QTextEdit*>(focus);
    if (!line && !plain && !rich) {
        action->setEnabled(false);
        return true;
    }
    bool readOnly = false, canUndo = false, hasSelection = false, hasText = false;
    if (line) {
        readOnly = line->isReadOnly();
        canUndo = line->isUndoAvailable();
        hasSelection = line->hasSelectedText();
        hasText = !line->text().isEmpty();
    } else {
        QTextDocument* document = plain ? plain->document() : rich->document();
        readOnly = plain ? plain->isReadOnly() : rich->isReadOnly();
        canUndo = document->isUndoAvailable();
        hasSelection = (plain ? plain->textCursor() : rich->textCursor()).hasSelection();
        hasText = !document->isEmpty();
    }
    bool enabled = false;
    switch (id) {
    case TActionId::actEditUndo:
        enabled = canUndo && !readOnly;
        break;
    case TActionId::actEditCut:
    case TActionId::actEditDelete:
        enabled = hasSelection && !readOnly;
        break;
    case TActionId::actEditCopy:
        enabled = hasSelection;
        break;
    case TActionId::actEditPaste:
        enabled = m_clipboardHasText && !readOnly;
        break;
    default:  // Select All
        enabled = hasText;
        break;
    }
    action->setEnabled(enabled);
    return true;
}

// Asking the clipboard on every update would ask the program that owns it,
// each time the event loop goes idle; its content changes far less often.
void TCommandTable::ClipboardChanged()
{
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasText = clip && clip->hasText();
    m_clipboardHasItems = clip && clip->hasFormat(QString::fromLatin1(TItemCommands::ClipboardMimeType));
}
