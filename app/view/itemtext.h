#pragma once

#include "document/textcodec.h"

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

class TTreeListTextNode;

// An item's string as an editor shows it, with the encoding its bytes were
// read in, so an edit can be stored back in that same encoding.
struct TItemText {
    QString text;
    TTextEncoding encoding;
};

// Item bytes to editor text and back, through the text codec. Line breaks
// pass through unchanged; the description pane treats them itself.
TItemText ItemBytesToText(std::string_view bytes);
std::string ItemTextToBytes(const QString& text, TTextEncoding encoding);

// The text as the description editor shows it: decoded, every line break
// (CR LF, a lone CR or LF) one "\n". What the editor selects and what a
// search finds are positions in this text.
TItemText ItemBytesToEditorText(std::string_view bytes);

// True when every line break is CR LF: the editor's text then maps to the
// bytes position by position, so an edit can be put into them in place.
bool HasOnlyCrLfBreaks(std::string_view bytes);
// The byte offset in such `bytes`, read in `encoding`, where the editor's
// text position `position` falls; npos when it falls inside a character
// (between the halves of a surrogate pair) or beyond the end.
size_t EditorPositionToOffset(std::string_view bytes, TTextEncoding encoding, size_t position);

// " › ", between the names of a path.
QString PathSeparator();
// The names from the top level down to `item`, the item's own last.
QStringList ItemPath(const TTreeListTextNode* item);
