#pragma once

#include "document/fileio.h"

#include <string>

class TTreeList;

// The plain-text exports of the item tree. Each writes the stored bytes as
// they are (no conversion, no byte-order mark), every line ended by CR LF,
// one record per item in document order, every item included whatever is
// collapsed. They only read the tree. Failures raise EInOutError; a file
// being written is closed also then and what was written stays.

// Per item: the name, one "=" per byte of the name, the description, five
// empty lines.
void ExportTxt(const TTreeList& tree, const std::string& fileName);

// Per item: "[" name "]", the description, one empty line.
void ExportIni(const TTreeList& tree, const std::string& fileName);

// One file per item inside `folder` (which must exist), named by
// TMultiExportNames, holding the description and CR LF. Other files of the
// folder are left alone; a file of the same name is replaced, and so is a
// link of that name (the file it leads to is left alone).
void ExportMulti(const TTreeList& tree, const std::string& folder);

// A new (or emptied) file for an export, written through a large buffer;
// failures raise EInOutError naming the file.
TBufferedWriter CreateExportFile(const std::string& fileName);
