#pragma once

#include "app/window/actionid.h"

#include <QObject>

class QAction;

// The six standard edit commands (Undo, Cut, Copy, Paste, Delete, Select
// All), which act on whichever text control has the input focus, and what
// the clipboard offers, which decides Paste here and in the tree.
class TEditCommands : public QObject {
    Q_OBJECT
public:
    TEditCommands();

    void actEditUndoExecute();
    void actEditCutExecute();
    void actEditCopyExecute();
    void actEditPasteExecute();
    void actEditDeleteExecute();
    void actEditSelectAllExecute();

    // The text control with the input focus takes over the six commands and
    // sets their enabled state; without one they are disabled. False for
    // every other command.
    bool ClaimEditAction(TActionId id, QAction* action) const;

    bool ClipboardHasText() const { return m_clipboardHasText; }
    bool ClipboardHasItems() const { return m_clipboardHasItems; }

private:
    void ClipboardChanged();

    bool m_clipboardHasText = false;
    bool m_clipboardHasItems = false;
};
