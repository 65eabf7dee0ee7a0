#include "app/widgets/textsearch.h"

#include <QTextDocument>

#include <algorithm>

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetter() || c.isDigit() || c == QLatin1Char('_');
}

bool IsWholeWord(const QString& text, int pos, int length)
{
    const int end = pos + length;
    return (pos == 0 || !IsWordChar(text.at(pos - 1)))
        && (end == text.size() || !IsWordChar(text.at(end)));
}

} // namespace

int FindInText(const QString& text, const QString& what, int selStart, int selEnd,
               const TSearchOptions& options)
{
    if (what.isEmpty())
        return -1;
    const int size = static_cast<int>(text.size());
    const int length = static_cast<int>(what.size());
    selStart = std::clamp(selStart, 0, size);
    selEnd = std::clamp(selEnd, selStart, size);
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;

    if (options.down) {
        for (int from = selEnd; from <= size - length;) {
            const int pos = static_cast<int>(text.indexOf(what, from, cs));
            if (pos < 0)
                return -1;
            if (!options.wholeWord || IsWholeWord(text, pos, length))
                return pos;
            from = pos + 1;
        }
        return -1;
    }

    // lastIndexOf counts a negative start from the end, so stop before it.
    for (int from = selStart - length; from >= 0;) {
        const int pos = static_cast<int>(text.lastIndexOf(what, from, cs));
        if (pos < 0)
            return -1;
        if (!options.wholeWord || IsWholeWord(text, pos, length))
            return pos;
        from = pos - 1;
    }
    return -1;
}

QTextCursor ReplaceAllInDocument(QTextDocument& document, const QString& what, const QString& with,
                                 TSearchOptions options)
{
    options.down = true;
    const QString text = document.toPlainText();
    const int length = static_cast<int>(what.size());
    QTextCursor cursor(&document);
    int from = 0;
    int shift = 0;  // how far the replacements so far moved the rest of the text
    bool any = false;
    for (int at = FindInText(text, what, from, from, options); at >= 0;
         at = FindInText(text, what, from, from, options)) {
        if (!any)
            cursor.beginEditBlock();
        any = true;
        cursor.setPosition(at + shift);
        cursor.setPosition(at + shift + length, QTextCursor::KeepAnchor);
        cursor.insertText(with);
        shift += static_cast<int>(with.size()) - length;
        from = at + length;
    }
    if (!any)
        return QTextCursor();
    cursor.endEditBlock();
    return cursor;
}
