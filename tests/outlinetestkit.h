#pragma once

#include "document/treelist.h"

#include <string>
#include <string_view>

// Small trees written the way a person sketches an outline.

// "A(B C) D": each item's name, its children in brackets.
std::string Dump(const TTreeList& tree, const TTreeListTextNode* parent = nullptr);

// The first item of that name in document order; none when there is none.
TTreeListTextNode* Find(const TTreeList& tree, std::string_view name);

// Appends the items of an indented outline ("A\n\tB\nC"), in which a name
// ending in "*" is selected and one starting with ">" has the focus.
void BuildOutline(TTreeList& tree, const std::string& outline);
