#pragma once

#include <QString>
#include <QTextBlock>

#include <vector>

class QPlainTextEdit;

// A stretch of one block the editor shows, in the block's characters.
struct TVisibleStretch {
    QTextBlock block;
    int from = 0;
    int to = 0;
};

// What the layers over the description draw is worked out for the screen
// only, so a description of many megabytes costs no more to show or to
// type in than a short one. Blocks longer than this are taken only around
// what is on screen.
inline constexpr int LargeBlock = 64 * 1024;

// The blocks on screen, top to bottom: whole, and of a block longer than
// LargeBlock the part on screen.
std::vector<TVisibleStretch> VisibleStretches(const QPlainTextEdit& memo);

// The text of `stretch`: a whole block, or of a long one the stretch
// widened by `margin` on both sides and started after a space, so that
// nothing that begins off screen is taken by halves. `offset` gets where
// the text begins in the block.
QString StretchText(const TVisibleStretch& stretch, int margin, int* offset);
