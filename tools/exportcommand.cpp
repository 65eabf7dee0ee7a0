#include "tools/exportcommand.h"

#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"

#include <cstdio>

const char* const ExportCommandHelp =
    "  export txt|ini|multi FILE TARGET\n"
    "               write the tree as one text file, one ini file or one file\n"
    "               per item into the existing folder TARGET\n";

int RunExportCommand(TTreeList& tree, const std::vector<std::string>& arguments, const TKeySource& keySource)
{
    using Writer = void (*)(const TTreeList&, const std::string&);
    Writer writer = nullptr;
    if (arguments.size() == 3) {
        const std::string& format = arguments[0];
        writer = format == "txt" ? &ExportTxt : format == "ini" ? &ExportIni : format == "multi" ? &ExportMulti : nullptr;
    }
    if (!writer) {
        std::fprintf(stderr, "Usage: trdtool export txt|ini|multi FILE TARGET\n");
        return 2;
    }
    LoadItems(tree, arguments[1], keySource);
    writer(tree, arguments[2]);
    return 0;
}
