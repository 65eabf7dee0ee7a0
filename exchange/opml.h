#pragma once

#include "exchange/importsupport.h"

#include <string>

class TTreeList;

// OPML 2.0 in UTF-8: one <outline> per item, nested as the items are. `text`
// holds the name and `_note` the description, every line break and tab kept
// as a character reference. What only this program needs goes in attributes
// of its own namespace (OpmlNamespace, prefix "vek"):
//   vek:icon  the icon index, left out when it is 0;
//   vek:text, vek:note  the exact name or description, present only when it
//             holds a character XML 1.0 cannot carry (U+0001, U+FFFF ...);
//             there `text`/`_note` show U+FFFD instead, and the exact copy
//             writes each such character's UTF-8 bytes, and every "%", as
//             "%XX" (hex).
// Names and descriptions stored as Windows-1252 are written as the same
// characters in UTF-8, and so come back in UTF-8.
extern const char OpmlNamespace[];

// Writes the whole tree; failures raise EInOutError naming the file.
void ExportOpml(const TTreeList& tree, const std::string& fileName);

// Appends the outlines of an OPML document to `tree` (normally an empty tree
// built apart). Outlines outside <body> and elements other than <outline>
// are skipped with their content; without `text` the name is `title`, or
// empty.
// Document type declarations, and so every entity but the five predefined
// ones, are refused. Failures raise EImportError with the line and column,
// without a file name; what was added stays.
void ReadOpml(TTreeList& tree, TByteSource& source, const TImportLimits& limits = {});
