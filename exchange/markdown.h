#pragma once

#include "exchange/importsupport.h"

#include <string>

class TTreeList;

// Markdown (CommonMark) in UTF-8. The first six levels of items are headings
// ("#" to "######"), deeper items nested bullet lists ("- ") below their
// level-six heading, two spaces of indentation per level. A name is escaped
// so that it reads back as the same text: every ASCII punctuation character
// gets a backslash; tabs, line breaks, other control characters and leading
// or trailing spaces are written as numeric character references. A
// non-empty description follows its item as a fenced code block whose fence
// is longer than any run of backticks inside.
//
// What survives the round trip: names (a NUL comes back as U+FFFD),
// descriptions (every line break comes back as CR LF), order and depth.
// Icons do not. Text stored as Windows-1252 comes back in UTF-8.
constexpr int MarkdownMaxDepth = 2000;

// Writes the whole tree; failures raise EInOutError naming the file. A tree
// with items deeper than MarkdownMaxDepth levels is refused before anything
// is written: their indentation would grow with the square of the depth.
void ExportMarkdown(const TTreeList& tree, const std::string& fileName);

// Appends the items of a Markdown document to `tree` (normally an empty tree
// built apart). Headings become items nested by their level, list items
// become items below the last heading (nested lists one level deeper), their
// text the name. A fenced or indented code block that is the only other block
// of an item becomes its description as it is; other blocks (paragraphs,
// quotes, tables...) become the description as Markdown. Text before the
// first heading goes to a first item without a name. A large file is parsed
// in parts (see TImportLimits::MarkdownPartBytes). Failures (invalid UTF-8,
// nesting beyond the limits) raise EImportError with line and column,
// without a file name; what was added stays.
void ReadMarkdown(TTreeList& tree, TByteSource& source, const TImportLimits& limits = {});
