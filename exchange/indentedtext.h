#pragma once

#include <string_view>

class TTreeList;

// Reads an indented outline, as other programs copy one: each line that is
// not blank becomes an item named by the line, nested by its indentation.
// A tab is one level; spaces count in groups of the smallest indentation by
// spaces that any line has, so two-space and four-space outlines both read
// as meant. The least indented lines become top-level items, appended to
// `tree`; a line indented deeper than the one before by more than one level
// becomes that line's child. Line breaks may be CR LF, LF or CR.
void ReadIndentedText(TTreeList& tree, std::string_view text);
