#pragma once

#include <string>
#include <vector>

// trdtool export txt|ini|multi FILE.trd TARGET
// `arguments` are the three words after "export". Writes FILE.trd's tree to
// TARGET: the output file, or the existing output folder for multi. Returns
// the exit status (2 with the usage on stderr for an unknown format); load
// and write errors are thrown for the tool to report.
int RunExportCommand(const std::vector<std::string>& arguments);

// The command's line in the tool's help text.
extern const char* const ExportCommandHelp;
