#pragma once

// Typing not yet in the document: a name still open in the tree's in-place
// editor, or a description's keystrokes not yet a step of the history. The
// document session has it finished before a command reads or changes the
// document, on the command's own path, so that what it throws ends the
// command.
class TUnfinishedEdit {
public:
    virtual ~TUnfinishedEdit() = default;
    virtual void FinishEdit() = 0;
};
