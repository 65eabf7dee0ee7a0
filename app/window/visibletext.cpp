#include "app/window/visibletext.h"

#include <QPlainTextEdit>

#include <algorithm>

std::vector<TVisibleStretch> VisibleStretches(const QPlainTextEdit& memo)
{
    std::vector<TVisibleStretch> stretches;
    const QWidget* viewport = memo.viewport();
    const int height = viewport->height();
    for (QTextBlock block = memo.cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
        const QRect top = memo.cursorRect(QTextCursor(block));
        if (top.top() > height)
            break;
        if (!block.isVisible())
            continue;
        int from = 0, to = block.length() - 1;
        if (block.length() > LargeBlock) {
            // Below a block's last line the editor answers with the end of
            // the text: a long unwrapped line is asked within its own height.
            QTextCursor end(block);
            end.movePosition(QTextCursor::EndOfBlock);
            const int bottom = std::min(height, memo.cursorRect(end).bottom());
            from = memo.cursorForPosition(QPoint(0, std::max(top.top(), 0))).position() - block.position();
            to = memo.cursorForPosition(QPoint(viewport->width(), bottom)).position() - block.position();
            from = std::clamp(from, 0, block.length() - 1);
            to = std::clamp(to, from, block.length() - 1);
        }
        stretches.push_back({block, from, to});
    }
    return stretches;
}

QString StretchText(const TVisibleStretch& stretch, int margin, int* offset)
{
    const QTextBlock& block = stretch.block;
    if (block.length() <= LargeBlock) {
        *offset = 0;
        return block.text();
    }
    int from = std::max(0, stretch.from - margin);
    const int to = std::min(block.length() - 1, stretch.to + margin);
    QTextCursor range(block);
    range.setPosition(block.position() + from);
    range.setPosition(block.position() + to, QTextCursor::KeepAnchor);
    QString text = range.selectedText();
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (from > 0 && space >= 0) {
        text.remove(0, space + 1);
        from += static_cast<int>(space) + 1;
    }
    *offset = from;
    return text;
}
