#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

struct TSearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

// Finds `what` in `text` relative to the selection [selStart, selEnd):
// searching down takes the first occurrence starting at or after selEnd,
// searching up the last one ending at or before selStart, so repeated searches
// walk through the text. There is no wrap-around. A whole word is bounded on
// both sides by the text's ends or by a character that is neither a letter, a
// digit nor an underscore. Returns the occurrence's position, or -1 when there
// is none or `what` is empty.
int FindInText(const QString& text, const QString& what, int selStart, int selEnd,
               const TSearchOptions& options);

// Replaces every occurrence of `what` in the document, from its start
// whatever the selection, as one edit that one Undo takes back. Returns a
// cursor after the last replacement, or a null cursor when there was none.
QTextCursor ReplaceAllInDocument(QTextDocument& document, const QString& what, const QString& with,
                                 TSearchOptions options);
