#include "app/window/editcommands.h"

#include "app/window/application.h"
#include "app/window/itemcommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <type_traits>

namespace {
// The text control with the input focus, of whichever kind.
struct TFocusedText {
    QLineEdit* line;
    QPlainTextEdit* plain;
    QTextEdit* rich;

    static TFocusedText Get()
    {
        QWidget* focus = QApplication::focusWidget();
        return {qobject_cast<QLineEdit*>(focus), qobject_cast<QPlainTextEdit*>(focus),
                qobject_cast<QTextEdit*>(focus)};
    }
    bool Exists() const { return line || plain || rich; }
    template <typename F> void Apply(F f) const
    {
        if (line)
            f(line);
        else if (plain)
            f(plain);
        else if (rich)
            f(rich);
    }
};

// What decides the six commands' enabled states.
struct TTextState {
    bool readOnly = false, canUndo = false, hasSelection = false, hasText = false, clipboardHasText = false;
};

TTextState StateOf(const TFocusedText& text)
{
    TTextState state;
    if (text.line) {
        state.readOnly = text.line->isReadOnly();
        state.canUndo = text.line->isUndoAvailable();
        state.hasSelection = text.line->hasSelectedText();
        state.hasText = !text.line->text().isEmpty();
    } else {
        QTextDocument* document = text.plain ? text.plain->document() : text.rich->document();
        state.readOnly = text.plain ? text.plain->isReadOnly() : text.rich->isReadOnly();
        state.canUndo = document->isUndoAvailable();
        state.hasSelection = (text.plain ? text.plain->textCursor() : text.rich->textCursor()).hasSelection();
        state.hasText = !document->isEmpty();
    }
    return state;
}

const struct {
    TActionId id;
    bool (*enabled)(const TTextState& state);
} EnableRules[] = {
    {TActionId::actEditUndo, [](const TTextState& s) { return s.canUndo && !s.readOnly; }},
    {TActionId::actEditCut, [](const TTextState& s) { return s.hasSelection && !s.readOnly; }},
    {TActionId::actEditCopy, [](const TTextState& s) { return s.hasSelection; }},
    {TActionId::actEditPaste, [](const TTextState& s) { return s.clipboardHasText && !s.readOnly; }},
    {TActionId::actEditDelete, [](const TTextState& s) { return s.hasSelection && !s.readOnly; }},
    {TActionId::actEditSelectAll, [](const TTextState& s) { return s.hasText; }},
};
}  // namespace

TEditCommands::TEditCommands()
{
    ClipboardChanged();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            Guarded(this, &TEditCommands::ClipboardChanged));
}

void TEditCommands::actEditUndoExecute()
{
    TFocusedText::Get().Apply([](auto* control) { control->undo(); });
}

void TEditCommands::actEditCutExecute()
{
    TFocusedText::Get().Apply([](auto* control) { control->cut(); });
}

void TEditCommands::actEditCopyExecute()
{
    TFocusedText::Get().Apply([](auto* control) { control->copy(); });
}

void TEditCommands::actEditPasteExecute()
{
    TFocusedText::Get().Apply([](auto* control) { control->paste(); });
}

// Delete removes the selection, which each kind of control does in its own way.
void TEditCommands::actEditDeleteExecute()
{
    TFocusedText::Get().Apply([](auto* control) {
        if constexpr (std::is_same_v<std::remove_pointer_t<decltype(control)>, QLineEdit>)
            control->del();
        else
            control->textCursor().removeSelectedText();
    });
}

void TEditCommands::actEditSelectAllExecute()
{
    TFocusedText::Get().Apply([](auto* control) { control->selectAll(); });
}

bool TEditCommands::ClaimEditAction(TActionId id, QAction* action) const
{
    for (const auto& rule : EnableRules) {
        if (rule.id != id)
            continue;
        const TFocusedText text = TFocusedText::Get();
        if (!text.Exists()) {
            action->setEnabled(false);
            return true;
        }
        TTextState state = StateOf(text);
        state.clipboardHasText = m_clipboardHasText;
        action->setEnabled(rule.enabled(state));
        return true;
    }
    return false;
}

// Asking the clipboard on every update would ask the program that owns it,
// each time the event loop goes idle; its content changes far less often.
void TEditCommands::ClipboardChanged()
{
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasText = clip && clip->hasText();
    m_clipboardHasItems = clip && clip->hasFormat(QString::fromLatin1(TItemCommands::ClipboardMimeType));
}
