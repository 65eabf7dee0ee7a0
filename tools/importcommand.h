#pragma once

#include <string>
#include <vector>

class TTreeList;

// trdtool import opml|md|txt|trd SOURCE OUT.trd
// `arguments` are the three words after "import". Reads SOURCE in the format
// named into `tree` and saves it as the tree data file OUT.trd (replaced
// whole, or left as it was when anything fails). Returns the exit status (2
// with the usage on stderr for an unknown format); read, parse and save
// errors are thrown for the tool to report.
int RunImportCommand(TTreeList& tree, const std::vector<std::string>& arguments);

// The command's line in the tool's help text, in English: print it through ToolText.
extern const char* const ImportCommandHelp;
