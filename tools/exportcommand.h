#pragma once

#include "document/treefile.h"

#include <string>
#include <vector>

class TTreeList;

// trdtool export txt|ini|multi|opml|md|html FILE.trd TARGET
// `arguments` are the three words after "export". Loads FILE.trd into `tree`
// and writes it to TARGET: the output file, or the existing output folder for
// multi. Returns the exit status (2 with the usage on stderr for an unknown
// format); load and write errors are thrown for the tool to report.
// `keySource` gives the key of a protected FILE.trd.
int RunExportCommand(TTreeList& tree, const std::vector<std::string>& arguments, const TKeySource& keySource);

// The command's line in the tool's help text, in English: print it through ToolText.
extern const char* const ExportCommandHelp;
