#pragma once

#include "exchange/importsupport.h"

#include <string_view>

class TTreeList;

// Reads an outline written as indented lines: one item per line that holds
// more than white space, named by the line without its indentation (the
// bytes are kept as they are; a UTF-8 byte-order mark at the start is
// dropped). Line breaks may be CR LF, LF or CR.
//
// A line's indentation counts its tabs plus its spaces divided by the
// indentation unit, rounded down; the unit is the number of spaces that the
// first line indented with spaces has, so a file indented by 2, 3 or 4 spaces
// reads the same. A line's parent is the nearest line above it that is
// indented less: a line indented by more than one step below the line above
// is still just its child, and a line between two levels goes below the
// lesser one.
//
// Items are appended to `tree` without descriptions. Lines longer than the
// limit and too deep nesting raise EImportError with the line number, without
// a file name; what was added stays.
void ReadIndentedText(TTreeList& tree, std::string_view text, const TImportLimits& limits = {});
